// The display scale: how many pixels an inch of the screen holds (96 at
// 100 %, 120 at 125 %, 144 at 150 %, 192 at 200 %), and the arithmetic that
// turns the program's 96-pixels-an-inch design sizes into the pixels of a
// window's monitor.
//
// The program is aware of the scale per monitor: the system does not stretch
// its windows as pictures, so every size the forms, the skin and the
// skinners draw with is scaled here. Windows older than 10 (1703) know less
// of the scale; the functions fall back to what they have, down to 96.
#pragma once

#include <windows.h>

constexpr UINT DesignDpi = 96;

// The program is built for Windows XP's headers; the message of a window
// whose monitor's scale changed (Windows 8.1 on) is named here.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// Declares the process aware of each monitor's scale (version 2 where the
// system has it, else per monitor, else the system scale). Called once,
// before the first window. Returns the awareness reached: 2 per monitor
// (either version), 1 system, 0 none.
int DeclareDpiAwareness();

// The scale `window` is laid out and drawn at now: the one its top-level
// window last took from WM_DPICHANGED (see NoteWindowDpi), else that of its
// monitor as the system tells it, else the system's. The forms and the
// skinners of one window ask this, so they always agree.
UINT WindowDpi(HWND window);
UINT SystemDpi();

// Records that the top-level window of `window` is now laid out at `dpi`:
// called by whoever handles WM_DPICHANGED first (the form skinner, the
// form), before the window is laid out again. A window property, removed by
// ForgetWindowDpi when the window is destroyed.
void NoteWindowDpi(HWND window, UINT dpi);
void ForgetWindowDpi(HWND window);

// `value` in 96-DPI pixels at `dpi`, rounded half away from zero, so that a
// size and its negative scale alike and sizes at a whole factor stay exact.
inline int ScaleToDpi(int value, UINT dpi)
{
    if (dpi == DesignDpi || dpi == 0) return value;
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(DesignDpi));
}

// Back from `dpi` to the design's 96 (the inverse of ScaleToDpi up to rounding).
inline int UnscaleFromDpi(int value, UINT dpi)
{
    if (dpi == DesignDpi || dpi == 0) return value;
    return MulDiv(value, static_cast<int>(DesignDpi), static_cast<int>(dpi));
}

// The system metric `index` as it is at `dpi` (GetSystemMetricsForDpi where
// the system has it; else the metric at the system scale, rescaled).
int SystemMetricForDpi(int index, UINT dpi);
