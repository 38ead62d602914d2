// Finding the windows the system makes for this thread while a test waits
// inside their loops: a message box (class "#32770") or an open popup menu
// (class "#32768").
#pragma once

#include <windows.h>

#include <cstring>

namespace testwin {

constexpr const char* MESSAGE_BOX_CLASS = "#32770";
constexpr const char* MENU_WINDOW_CLASS = "#32768";

// The first visible top-level window of this thread whose class is
// `className`, or null.
inline HWND VisibleThreadWindow(const char* className)
{
    struct TSearch {
        const char* ClassName;
        HWND Found;
    } search{className, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(context);
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::strcmp(name, s->ClassName) != 0 || !IsWindowVisible(window)) return TRUE;
            s->Found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

}  // namespace testwin
