// The selection of an edit window (single- or multi-line), read and set with
// the edit messages; shared by TCustomEdit and TCustomMemo. Positions count
// characters from the start of the text.
#pragma once

#include <windows.h>

inline int EditSelStart(HWND edit)
{
    DWORD start = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

inline int EditSelLength(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

// Selects from `start` to `end` (a caret when they are equal); 0 to -1
// selects everything.
inline void EditSetSel(HWND edit, int start, int end) { ::SendMessageA(edit, EM_SETSEL, start, end); }
