// The skinned vertical scroll bar of a drop-down list (the list window a
// combo box opens). Unlike the overlays it paints straight into the list
// window's non-client area, every part in its normal state, and it drags the
// thumb itself in a message loop of its own; presses on the arrows and the
// track stay the list's own business.
#pragma once

#include <windows.h>

class TSkinData;
class TSkinModel;

namespace skin {

// Paints bar `which` (0 horizontal, 1 vertical) of `list` into `dc`, a DC of
// the whole window; `windowRect` is the window's rectangle at the origin.
// Nothing when the skin has no "Scrollbar" image or the bar cannot be read
// or is not shown.
void PaintListBar(HDC dc, const RECT& windowRect, int which, HWND list, const TSkinModel& skin);

// WM_NCLBUTTONDOWN on `list` (hitTest = its wParam, screenPoint = its
// point): a press on the vertical bar's thumb is dragged here until the
// button is released, sending the list WM_VSCROLL SB_THUMBTRACK for each new
// position, SB_THUMBPOSITION at the release and posting SB_ENDSCROLL. True
// when the press was on the thumb and handled; false leaves it to the list.
bool DragListThumb(HWND list, WPARAM hitTest, POINT screenPoint);

}  // namespace skin
