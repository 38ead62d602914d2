// The bidirectional mode of forms and menus: how a right-to-left program
// (Arabic, Hebrew, Persian) wants its windows laid out and read.
//
// bdLeftToRight is the ordinary layout. bdRightToLeft reads right to left,
// aligns to the right and puts the vertical scroll bar on the left (the
// window's extended styles WS_EX_RTLREADING, WS_EX_RIGHT and
// WS_EX_LEFTSCROLLBAR); bdRightToLeftNoAlign does so without the right
// alignment; bdRightToLeftReadingOnly only reads right to left. A menu in any
// mode but bdLeftToRight is laid out and drawn mirrored.
#pragma once

#include <windows.h>

#include "framework/rtti.h"

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
extern const TEnumInfo BiDiModeEnum;

// The extended window styles of `mode`.
inline DWORD BiDiExStyle(TBiDiMode mode)
{
    switch (mode) {
    case bdRightToLeft: return WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
    case bdRightToLeftNoAlign: return WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    case bdRightToLeftReadingOnly: return WS_EX_RTLREADING;
    default: return 0;
    }
}
