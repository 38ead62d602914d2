// What the files of the controls (controls.h) share and their callers do
// not need.
#pragma once

#include <windows.h>

// A client-area mouse message, which goes to the control under the mouse
// (the wheel goes to the focused window instead).
inline bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL; }
