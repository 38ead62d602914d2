// The date-time picker's skinned arrow button (see picker_arrow.h).
#include "skin/controls/picker_arrow.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/controls/skin_control.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_messages.h"

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner)
{
    FControlStyle = csOpaque | csCaptureMouse | csClickEvents;
    FTabStop = false;
    FArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
}

TArrowButton::~TArrowButton()
{
    SetComponentState(csDestroying);
    DestroyHandle();
    if (FAddedClipChildren && FPickerWindow && IsWindow(FPickerWindow))
        SetWindowLongA(FPickerWindow, GWL_STYLE, GetWindowLongA(FPickerWindow, GWL_STYLE) & ~WS_CLIPCHILDREN);
}

void TArrowButton::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style &= ~WS_TABSTOP;
}

bool TArrowButton::RightToLeft() const
{
    return FPickerWindow && (GetWindowLongA(FPickerWindow, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
}

void TArrowButton::PlaceArrow(TSkinControl* skinner, TWinControl* picker)
{
    FSkinner = skinner;
    FSkinData = skinner ? skinner->SkinData() : nullptr;
    FPicker = picker;
    FPickerWindow = picker ? picker->Handle() : nullptr;
    if (!FPickerWindow) return;
    SetParentWindow(FPickerWindow);
    RECT bounds;
    GetWindowRect(FPickerWindow, &bounds);
    const int left = RightToLeft() ? 2 : (bounds.right - bounds.left) - FArrowWidth - 4;
    SetBounds(left, 0, FArrowWidth, picker->Height() - 4);
    const LONG style = GetWindowLongA(FPickerWindow, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN)) {
        SetWindowLongA(FPickerWindow, GWL_STYLE, style | WS_CLIPCHILDREN);
        FAddedClipChildren = true;
    }
    // Over a picker not on screen (on a page not shown) the button's window
    // is made at the picker's first paint.
    if (IsWindowVisible(FPickerWindow)) HandleNeeded();
}

void TArrowButton::AlignArrow(const RECT& rect)
{
    SetLeft(RightToLeft() ? 2 : rect.right - FArrowWidth - 4);
}

int TArrowButton::ArrowFrame() const
{
    return Hover() && FPicker && FPicker->Enabled() ? 4 : 1;
}

void TArrowButton::Paint()
{
    try {
        HDC dc = Canvas()->Handle();
        const int height = FPicker ? FPicker->Height() - 4 : Height();
        const RECT dest{0, 0, Width(), height};
        const TSkinColour face = FSkinData ? FSkinData->FaceColour() : SkinSystemColour(COLOR_BTNFACE);
        TGdiBrush brush(CreateSolidBrush(skin::ResolveColour(face)));
        FillRect(dc, &dest, brush);
        const TDataSkinObject* arrow = FSkinData ? SkinAt(*FSkinData, FHandle).Object(ssComboxArrow) : nullptr;
        if (!arrow || arrow->Bitmap.Empty() || !arrow->Bitmap.Handle()) return;
        const int frames = std::max(arrow->Frame, 1);
        skin::DrawFrameStretched(dc, dest, arrow->Bitmap.Handle(), std::min(ArrowFrame(), frames), frames, false);
    } catch (...) {
    }
}

void TArrowButton::SetHover(bool value)
{
    if (!FPicker || !FPicker->Enabled()) return;
    const BYTE state = value ? (FState | 1) : (FState & ~1);
    if (state == FState) return;
    FState = state;
    Invalidate();
}

void TArrowButton::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case SKM_QUERYSKIN:
        m.Result = 1;
        return;
    case CM_MOUSEENTER:
        TCustomControl::WndProc(m);
        SetHover(true);
        return;
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(m);
        SetHover(false);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TCustomControl::WndProc(m);
        if (!FPickerWindow) return;
        // The click goes to the picker's own drop-down button under us, at
        // the arrow's outer edge: the picker may make its button narrower
        // than the arrow (Wine's keeps a few pixels of it at 200 %), and a
        // click elsewhere on the arrow would fall on the date.
        const int x = RightToLeft() ? Left() + 1 : Left() + Width() - 2;
        const LPARAM point = MAKELPARAM(x, GET_Y_LPARAM(m.LParam) + Top());
        ReleaseCapture();
        PostMessageA(FPickerWindow, WM_LBUTTONDOWN, m.WParam, point);
        PostMessageA(FPickerWindow, WM_LBUTTONUP, m.WParam, point);
        Invalidate();
        return;
    }
    case WM_LBUTTONUP:
        TCustomControl::WndProc(m);
        if (FPickerWindow) ::SetFocus(FPickerWindow);
        return;
    }
    TCustomControl::WndProc(m);
}
