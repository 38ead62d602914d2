// Typed characters of ANSI window procedures passed on to a standard control.
//
// The program's windows are ANSI windows, so a Chinese character typed into
// one arrives as two WM_CHAR messages, its lead byte and its trail byte (code
// page 936). A standard control's ANSI procedure under Wine turns each
// WM_CHAR into a character on its own: both bytes would become '?'.
// CallWindowProcChar keeps a lead byte back (per thread, as the system's own
// translation of sent messages does) and hands the pair to the control's
// Unicode procedure as one wide character.
#pragma once

#include <windows.h>

// CallWindowProcA(ansiProc, ...), except for WM_CHAR when the control's
// Unicode procedure is known: a lead byte is kept back (the answer is 0) and
// the byte that follows it for the same window goes with it to
// `unicodeProc` as one character.
LRESULT CallWindowProcChar(WNDPROC ansiProc, WNDPROC unicodeProc, HWND window, UINT msg, WPARAM wParam,
                           LPARAM lParam);
