// Track bar, up-down and progress bar skinners (see range_skinners.h).
#include "skin/controls/range_skinners.h"

#include <commctrl.h>

#include "skin/controls/range_painting.h"
#include "skin/controls/skinner_kinds.h"

DEFINE_SKINNER(TSkinTrackBar, TSkinTrackBar)
DEFINE_SKINNER(TSkinUpDown, TSkinUpDown)
DEFINE_SKINNER(TSkinProgress, TSkinProgress)

// ---- TSkinTrackBar ---------------------------------------------------------------

TSkinTrackBar::TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& draw)
{
    if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT || !FSkinData) return CDRF_DODEFAULT;
    const LONG style = GetWindowLongA(FWindow, GWL_STYLE);
    switch (draw.dwItemSpec) {
    case TBCD_THUMB: {
        if (!IsWindow(FWindow)) return CDRF_DODEFAULT;
        RECT thumb{};
        SendMessageA(FWindow, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        skin::PaintTrackThumb(draw.hdc, thumb, Skin(), (style & TBS_VERT) != 0);
        return CDRF_SKIPDEFAULT;
    }
    case TBCD_CHANNEL: {
        RECT channel{};
        SendMessageA(FWindow, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
        // The channel is the skin's; a skin without its image shows none.
        skin::PaintTrackChannel(draw.hdc, channel, Skin(), (style & TBS_VERT) != 0);
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;  // the tick marks stay the control's own
    }
}

bool TSkinTrackBar::BeforeMessage(TMessage& m)
{
    if (m.Msg == WM_NOTIFY || m.Msg == CN_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(m.LParam);
        if (header && header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            m.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(m.LParam));
            return false;
        }
        return true;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinTrackBar::SkinChanged()
{
    TSkinControl::SkinChanged();
    // A focus round trip makes the control draw itself again, asking for
    // each part anew; the window that had the focus gets it back.
    if (!FWindow || !IsWindow(FWindow)) return;
    HWND previous = GetFocus();
    SetFocus(FWindow);
    if (previous && previous != FWindow && IsWindow(previous)) SetFocus(previous);
}

// ---- TSkinUpDown --------------------------------------------------------------------

TSkinUpDown::TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

void TSkinUpDown::Configure(int kind, const std::string& property)
{
    if (kind == 1) FKind = 1;
    if (property == "embedded") FEmbedded = 1;
}

bool TSkinUpDown::BeforeMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        PaintMessage(m);
        return false;
    case WM_ERASEBKGND:
        if (!FControl) {
            RECT client;
            GetClientRect(FWindow, &client);
            FillRect(reinterpret_cast<HDC>(m.WParam), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
        m.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(m);
        FMouseState |= msPressed;
        PaintFrame(nullptr);
        return false;
    case WM_LBUTTONUP:
        FMouseState &= ~msPressed;
        CallPrevious(m);
        PaintFrame(nullptr);
        return false;
    case WM_MOUSEMOVE:
        if (!(FMouseState & msHot)) {
            FMouseState |= msHot;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, FWindow, 0};
            TrackMouseEvent(&track);
        }
        CallPrevious(m);
        PaintFrame(nullptr);
        return false;
    case WM_MOUSELEAVE:
        FMouseState &= ~msHot;
        CallPrevious(m);
        PaintFrame(nullptr);
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinUpDown::Draw(HDC dc, const RECT& rect)
{
    if (!FSkinData || !dc) return;
    RECT drawn = rect;
    HWND parent = GetParent(FWindow);
    if (FEmbedded && parent) {
        FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        // Keep 3 pixels inside the edit's border.
        RECT own, outer;
        GetWindowRect(FWindow, &own);
        GetWindowRect(parent, &outer);
        if (own.top - outer.top < 3) drawn.top += 3 - (own.top - outer.top);
        if (outer.bottom - own.bottom < 3) drawn.bottom -= 3 - (outer.bottom - own.bottom);
        if (outer.right - own.right < 3) drawn.right -= 3 - (outer.right - own.right);
    }
    const LONG style = GetWindowLongA(FWindow, GWL_STYLE);
    skin::TUpDownLook look;
    look.Horizontal = FKind == 1 || (style & UDS_HORZ);
    look.Enabled = !(style & WS_DISABLED);
    look.Hot = (FMouseState & msHot) != 0;
    look.Pressed = (FMouseState & msPressed) != 0;
    GetCursorPos(&look.Cursor);
    ScreenToClient(FWindow, &look.Cursor);
    skin::PaintUpDown(dc, drawn, Skin(), look);
}

// ---- TSkinProgress ----------------------------------------------------------------------

TSkinProgress::TSkinProgress(TComponent* owner) : TSkinControl(owner) {}

bool TSkinProgress::BeforeMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        if (!(FSkinData && skin::SkinHasProgress(&Skin()))) return true;
        PaintMessage(m);
        m.Result = 0;
        return false;
    case WM_ERASEBKGND:
        m.Result = 1;
        return false;
    }
    return TSkinControl::BeforeMessage(m);
}

void TSkinProgress::Draw(HDC dc, const RECT& rect)
{
    if (!FSkinData || !dc) return;
    skin::TProgressLook look;
    look.Position = static_cast<int>(SendMessageA(FWindow, PBM_GETPOS, 0, 0));
    look.High = static_cast<int>(SendMessageA(FWindow, PBM_GETRANGE, FALSE, 0));
    look.Low = static_cast<int>(SendMessageA(FWindow, PBM_GETRANGE, TRUE, 0));
    look.Vertical = (GetWindowLongA(FWindow, GWL_STYLE) & PBS_VERTICAL) != 0;
    skin::PaintProgress(dc, rect, Skin(), look);
}
