// The drop-down list's scroll-bar skinner (see combo_list_bar.h).
#include "skin/controls/combo_list_bar.h"
#include "skin/controls/skinner_kinds.h"

DEFINE_SKINNER(TComboxScrollBar, TComboxScrollBar)

#include <windowsx.h>

#include "skin/controls/list_scrollbar.h"

namespace {
// A list message that leaves the scroll bar redrawn by the system.
constexpr UINT LIST_CARET_MESSAGE = 0x1AE;
}  // namespace

TComboxScrollBar::TComboxScrollBar(TComponent* owner) : TSkinControl(owner)
{
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
}

void TComboxScrollBar::Detach()
{
    const bool wasActive = FActive != 0;
    TSkinControl::Detach();
    if (wasActive && FLifeState != lsWindowGone && IsWindow(FWindow))
        RedrawWindow(FWindow, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool TComboxScrollBar::BeforeMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCPAINT:
        return true;
    case WM_NCMOUSEMOVE:
        // The system would draw its hot arrows over the skinned bar.
        if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
            m.Result = 0;
            return false;
        }
        return true;
    case WM_NCLBUTTONDOWN:
        if (skin::DragListThumb(FWindow, m.WParam, POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)})) {
            m.Result = 0;
            return false;
        }
        return true;
    }
    return TSkinControl::BeforeMessage(m);
}

void TComboxScrollBar::AfterMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case LIST_CARET_MESSAGE:
    // The list scrolls itself on these too; the system then redraws its
    // own bar over ours.
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_MOUSEMOVE:
    case WM_TIMER:
    case WM_NCLBUTTONUP:
    case LB_SETTOPINDEX:
    case LB_SETCURSEL:
    case WM_SHOWWINDOW:
        PaintFrame(nullptr);
        if (m.Msg != WM_NCPAINT) return;
        break;
    }
    TSkinControl::AfterMessage(m);
}

void TComboxScrollBar::Draw(HDC dc, const RECT& rect)
{
    if (FSkinData) skin::PaintListBar(dc, rect, 1, FWindow, Skin());
}
