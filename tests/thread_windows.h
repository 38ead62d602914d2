// Finding the windows the system makes for this thread while a test waits
// inside their loops: a message box (class "#32770") or an open popup menu
// (class "#32768").
#pragma once

#include <windows.h>

#include <cstring>

namespace testwin {

constexpr const char* MESSAGE_BOX_CLASS = "#32770";
constexpr const char* MENU_WINDOW_CLASS = "#32768";

struct TThreadWindowSearch {
    const char* ClassName;
    HWND Found;
};

// EnumThreadWindows' callback (a named function: the 32-bit build needs its
// calling convention, which a lambda does not take).
inline BOOL CALLBACK TakeVisibleOfClass(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<TThreadWindowSearch*>(context);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, search->ClassName) != 0 || !IsWindowVisible(window)) return TRUE;
    search->Found = window;
    return FALSE;
}

// The first visible top-level window of this thread whose class is
// `className`, or null.
inline HWND VisibleThreadWindow(const char* className)
{
    TThreadWindowSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), TakeVisibleOfClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

}  // namespace testwin
