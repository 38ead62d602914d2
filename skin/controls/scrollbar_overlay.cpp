// The scroll-bar overlay window (see scrollbar_overlay.h).
#include "skin/controls/scrollbar_overlay.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/graphics.h"
#include "framework/rtti.h"
#include "framework/sysutils.h"
#include "skin/controls/skin_control.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_messages.h"

namespace {

int IntProp(TObject* object, const char* name, int fallback)
{
    const TPropInfo* info = FindPropInfo(object, name);
    if (!info || info->Kind != TTypeKind::tkInteger) return fallback;
    try {
        return GetOrdProp(*object, name);
    } catch (...) {
        return fallback;
    }
}

// Lower-case text of an enumeration property, empty when there is none.
std::string EnumPropText(TObject* object, const char* name)
{
    if (!FindPropInfo(object, name)) return std::string();
    try {
        std::string text = GetPropValue(*object, name);
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    } catch (...) {
        return std::string();
    }
}

}  // namespace

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomControl(owner), FAlive(std::make_shared<bool>(true))
{
    FControlStyle = csOpaque | csDoubleClicks | csCaptureMouse;
    FTabStop = false;
    FVisible = false;
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
}

TWScrollbar::~TWScrollbar()
{
    *FAlive = false;
    SetComponentState(csDestroying);
    DestroyHandle();
}

void TWScrollbar::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style &= ~WS_TABSTOP;
    p.ExStyle = WS_EX_TOOLWINDOW;
}

void TWScrollbar::ParentWindowOf(HWND host)
{
    HWND parent = host ? GetParent(host) : nullptr;
    if (parent) SetParentWindow(parent);
}

void TWScrollbar::AttachToControl(TSkinData* skinData, TWinControl* control, BYTE kind)
{
    FSkinData = skinData;
    FHostControl = control;
    FHostWindow = control ? control->Handle() : nullptr;
    FKind = kind;
    FOrientation = kind == okVertScroll ? 1 : 0;
    if (kind == okScrollControl) FOrientation = EnumPropText(control, "Kind") == "sbhorizontal" ? 0 : 1;
    TWinControl* parent = control ? control->Parent() : nullptr;
    const int colour = parent ? IntProp(parent, "Color", -1) : -1;
    SetColor(colour != -1 ? static_cast<TColor>(colour)
                          : static_cast<TColor>(skinData ? skinData->FaceColour() : GetSysColor(COLOR_BTNFACE)));
    ParentWindowOf(FHostWindow);
    Reposition();
}

void TWScrollbar::AttachToWindow(TSkinData* skinData, HWND window, BYTE kind)
{
    FSkinData = skinData;
    FHostControl = nullptr;
    FHostWindow = window;
    FKind = kind;
    FOrientation = kind == okVertScroll ? 1 : 0;
    ParentWindowOf(window);
    Reposition();
}

// ---- reading the bar ------------------------------------------------------------

bool TWScrollbar::ReadBar(SCROLLBARINFO& info) const
{
    if (!FHostWindow || !IsWindow(FHostWindow)) return false;
    if (FKind == okScrollControl) return ReadControlBar(info);
    info = SCROLLBARINFO{};
    info.cbSize = sizeof info;
    return SkinGetScrollBarInfo(FHostWindow, FKind == okVertScroll ? OBJID_VSCROLL : OBJID_HSCROLL, info);
}

bool TWScrollbar::ReadControlBar(SCROLLBARINFO& info) const
{
    info = SCROLLBARINFO{};
    info.cbSize = sizeof info;
    if (FHostControl) {
        info.rcScrollBar = FHostControl->BoundsRect();
    } else {
        GetWindowRect(FHostWindow, &info.rcScrollBar);
        MapWindowPoints(nullptr, GetParent(FHostWindow), reinterpret_cast<POINT*>(&info.rcScrollBar), 2);
    }
    const RECT& r = info.rcScrollBar;
    const int length = FOrientation == 1 ? r.bottom - r.top : r.right - r.left;
    SCROLLINFO scroll{sizeof scroll, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS};
    if (!GetScrollInfo(FHostWindow, SB_CTL, &scroll)) return false;
    const skin::TThumbExtent thumb =
        skin::ControlBarThumb(length, FArrowSize, scroll.nMin, scroll.nMax, static_cast<int>(scroll.nPage), scroll.nPos);
    info.xyThumbTop = thumb.Start;
    info.xyThumbBottom = thumb.End;
    info.dxyLineButton = FArrowSize;
    const LONG style = GetWindowLongA(FHostWindow, GWL_STYLE);
    if (!(style & WS_VISIBLE)) info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
    if (style & WS_DISABLED) info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
    return true;
}

bool TWScrollbar::ReadControlProperties(SCROLLBARINFO& info) const
{
    if (!FHostControl) return ReadControlBar(info);
    info = SCROLLBARINFO{};
    info.cbSize = sizeof info;
    GetClientRect(FHostWindow, &info.rcScrollBar);
    MapWindowPoints(FHostWindow, nullptr, reinterpret_cast<POINT*>(&info.rcScrollBar), 2);
    const RECT& r = info.rcScrollBar;
    const int length = FOrientation == 1 ? r.bottom - r.top : r.right - r.left;
    const skin::TThumbExtent thumb = skin::ControlPropertiesThumb(
        length, FArrowSize, IntProp(FHostControl, "Min", 0), IntProp(FHostControl, "Max", 100),
        IntProp(FHostControl, "PageSize", 0), IntProp(FHostControl, "Position", 0));
    info.xyThumbTop = thumb.Start;
    info.xyThumbBottom = thumb.End;
    return true;
}

// ---- placing ----------------------------------------------------------------------

void TWScrollbar::HideOverlay()
{
    if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
    FShown = false;
    SetVisible(false);
}

void TWScrollbar::Reposition()
{
    // The overlay's window is made when its bar is first on screen: over a
    // control on a page not shown (or in a window not shown yet) it is made
    // at the control's first paint, and a bar that never shows costs none.
    if (!HandleAllocated() && FHostWindow && !IsWindowVisible(FHostWindow)) {
        FShown = false;
        return;
    }
    SCROLLBARINFO info;
    if (!ReadBar(info)) {
        FShown = false;
        return;
    }
    if (!(GetWindowLongA(FHostWindow, GWL_STYLE) & WS_VISIBLE) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
        HideOverlay();
        return;
    }
    RECT bar = info.rcScrollBar;
    POINT position{bar.left, bar.top};
    if (FKind == okScrollControl) {
        FBarRect = RECT{0, 0, bar.right - bar.left, bar.bottom - bar.top};
        FBarOrigin = position;
        ::ClientToScreen(GetParent(FHostWindow), &FBarOrigin);
    } else {
        FBarOrigin = position;
        FBarRect = bar;
        MapWindowPoints(nullptr, FHostWindow, reinterpret_cast<POINT*>(&FBarRect), 2);
        ::ScreenToClient(GetParent(FHostWindow), &position);
    }
    FLength = FOrientation == 1 ? bar.bottom - bar.top : bar.right - bar.left;
    const int width = bar.right - bar.left, height = bar.bottom - bar.top;
    HWND window = Handle();
    HWND before = GetWindow(FHostWindow, GW_HWNDPREV);
    if (before == window) before = GetWindow(window, GW_HWNDPREV);
    FShown = true;
    FVisible = true;
    // One request places, sizes, stacks and shows it.
    SetWindowPos(window, before ? before : HWND_TOP, position.x, position.y, width, height,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// ---- painting ---------------------------------------------------------------------

void TWScrollbar::PaintBar(HDC dc)
{
    if (!(FSkinData && skin::SkinHasScrollBar(&SkinAt(*FSkinData, FHandle)))) return;
    SCROLLBARINFO info;
    if (!ReadBar(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return;
    RECT client;
    GetClientRect(FHandle, &client);
    RECT r{0, 0, info.rcScrollBar.right - info.rcScrollBar.left, info.rcScrollBar.bottom - info.rcScrollBar.top};
    if (r.right < 0 || r.bottom < 0 || r.right > client.right || r.bottom > client.bottom) return;
    const bool vertical = FOrientation == 1;
    const int length = vertical ? r.bottom : r.right;
    const int thickness =
        skin::BarThickness(SkinAt(*FSkinData, FHandle).Object(ssScrollbar)->Bitmap.Height(), FArrowSize);

    skin::TScrollBarLook look;
    look.Vertical = vertical;
    if (FKind == okScrollControl) (vertical ? r.right : r.bottom) = thickness;
    look.BitmapSize = SIZE{r.right, r.bottom};
    if (FKind != okScrollControl) (vertical ? r.right : r.bottom) = thickness;
    look.Bar = r;
    look.ArrowSize = FArrowSize;
    look.ArrowLength = skin::ArrowButtonLength(length, FArrowSize);
    look.Enabled = !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    look.Hot = static_cast<skin::TScrollZone>(FHotZone);
    look.Pressed = FPressed;
    look.Limit = vertical ? client.bottom : client.right;
    FLength = length;
    skin::TThumbExtent thumb{info.xyThumbTop, info.xyThumbBottom};
    if (FPressed && FHotZone == skin::szThumb && FKind != okScrollControl) {
        POINT cursor;
        GetCursorPos(&cursor);
        const int delta = vertical ? cursor.y - FPressPoint.y : cursor.x - FPressPoint.x;
        thumb = skin::DraggedThumb(skin::TThumbExtent{FThumbStart, FThumbEnd}, FPressThumbStart, delta, length,
                                   FArrowSize);
    }
    FThumbStart = thumb.Start;
    FThumbEnd = thumb.End;
    look.Thumb = thumb;
    const TSkinModel& model = SkinAt(*FSkinData, FHandle);
    if (FPicture.IsNull() || !(FPictureLook == look) || FPictureSkin != FSkinData || FPictureModel != &model ||
        FPictureGeneration != FSkinData->ModelGeneration()) {
        FPicture = skin::ComposeScrollBar(model, look);
        FPictureModel = &model;
        FPictureLook = look;
        FPictureSkin = FSkinData;
        FPictureGeneration = FSkinData->ModelGeneration();
    }
    if (!FPicture.IsNull()) skin::CopyPicture(dc, FPicture, 0, 0);
    if (FKind == okScrollControl) {
        // A scroll-bar control may be thicker than the skin's bar: the rest
        // of the overlay takes the overlay's colour instead of showing the
        // system's bar underneath.
        RECT rest = client;
        (vertical ? rest.left : rest.top) = thickness;
        if (rest.left < rest.right && rest.top < rest.bottom) {
            TGdiBrush brush(CreateSolidBrush(ColorToRGB(Color())));
            FillRect(dc, &rest, brush);
        }
    }
}

void TWScrollbar::Paint()
{
    try {
        PaintBar(Canvas()->Handle());
    } catch (...) {
    }
}

void TWScrollbar::PaintNow()
{
    if (!HandleAllocated() || !FShown) return;
    TWindowDC dc = TWindowDC::Client(FHandle);
    try {
        PaintBar(dc);
    } catch (...) {
    }
}

// ---- the mouse ------------------------------------------------------------------------

skin::TScrollZone TWScrollbar::HitTest(POINT point) const
{
    const int p = FOrientation == 1 ? point.y : point.x;
    return skin::ScrollHitTest(skin::TBarAxis{FLength, FArrowSize, skin::TThumbExtent{FThumbStart, FThumbEnd}}, p);
}

void TWScrollbar::SetHotZone(int zone)
{
    const bool changed = zone != FHotZone;
    FHotZone = zone;
    if (changed || zone == skin::szThumb) PaintNow();
}

void TWScrollbar::MouseMoved(TMessage& m)
{
    const POINT point{static_cast<int>(LOWORD(m.LParam)), static_cast<int>(HIWORD(m.LParam))};
    const int zone = HitTest(point);
    if (zone != FHotZone) {
        FHotZone = zone;
        PaintNow();
    }
    if (!FTrackingLeave) {
        SkinTrackMouseLeave(FHandle);
        FTrackingLeave = SkinTrackMouseEventProc != nullptr;
    }
}

void TWScrollbar::PressBar(TMessage& m)
{
    GetCursorPos(&FPressPoint);
    SCROLLBARINFO info;
    const bool read = FKind == okScrollControl ? ReadControlProperties(info) : ReadBar(info);
    if (read) FPressThumbStart = info.xyThumbTop;
    POINT point{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    FHotZone = HitTest(point);
    if (FKind != okScrollControl) {
        if (read) FBarOrigin = POINT{info.rcScrollBar.left, info.rcScrollBar.top};
        point.x += FBarOrigin.x;
        point.y += FBarOrigin.y;
    }
    FPressed = true;
    PaintNow();
    ReleaseCapture();
    std::shared_ptr<bool> alive = FAlive;
    HWND host = FHostWindow;
    if (FKind == okScrollControl)
        SendMessageA(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    else
        SendMessageA(host, WM_NCLBUTTONDOWN, FKind == okVertScroll ? HTVSCROLL : HTHSCROLL,
                     MAKELPARAM(point.x, point.y));
    if (!*alive) return;
    FPressed = false;
    ReleaseCapture();
    // The system's tracking is over: the part under the pointer now is the
    // hot one (none when the button was let go away from the bar), not the
    // part that was pressed or the last scroll request.
    FHotZone = ZoneUnderCursor();
    PaintNow();
}

int TWScrollbar::ZoneUnderCursor() const
{
    POINT cursor;
    if (!HandleAllocated() || !FShown || !GetCursorPos(&cursor) || WindowFromPoint(cursor) != FHandle)
        return skin::szNone;
    ::ScreenToClient(FHandle, &cursor);
    return HitTest(cursor);
}

void TWScrollbar::ReleaseBar(TMessage& m)
{
    POINT point{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (FKind != okScrollControl) {
        point.x += FBarOrigin.x;
        point.y += FBarOrigin.y;
    }
    FPressed = false;
    ReleaseCapture();
    if (FKind == okScrollControl)
        PostMessageA(FHostWindow, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    else
        PostMessageA(FHostWindow, WM_NCLBUTTONUP, FKind == okVertScroll ? HTVSCROLL : HTHSCROLL,
                     MAKELPARAM(point.x, point.y));
    if (FKind == okScrollControl) PaintNow();
}

void TWScrollbar::WndProc(TMessage& m)
{
    try {
        switch (m.Msg) {
        case SKM_QUERYSKIN:
            m.Result = 1;
            return;
        case WM_ERASEBKGND:
            m.Result = 1;
            return;
        case WM_MOUSEMOVE:
            TCustomControl::WndProc(m);
            MouseMoved(m);
            return;
        case WM_MOUSELEAVE:
            FTrackingLeave = false;
            if (!FPressed && FHotZone != skin::szNone) {
                FHotZone = skin::szNone;
                PaintNow();
            }
            m.Result = 0;
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            TCustomControl::WndProc(m);
            PressBar(m);
            return;
        case WM_LBUTTONUP:
            TCustomControl::WndProc(m);
            ReleaseBar(m);
            return;
        }
    } catch (...) {
        return;
    }
    TCustomControl::WndProc(m);
}
