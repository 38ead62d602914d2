// Geometry of a skinned window's non-client area; see nc_geometry.h.
#include "skin/form/nc_geometry.h"

#include <algorithm>

namespace skin {

int BorderThickness(const TDataSkinBorder* border, bool stackedFrames)
{
    if (!border || border->Bitmap.Empty())
        return 0;
    const int frames = std::max(1, static_cast<int>(border->Frame));
    return stackedFrames ? border->Bitmap.Height() / frames : border->Bitmap.Width() / frames;
}

TFrameSizes FrameSizesOf(const TDataSkinBorder* left, const TDataSkinBorder* top, const TDataSkinBorder* right,
                         const TDataSkinBorder* bottom, bool framed)
{
    TFrameSizes sizes;
    if (!framed)
        return sizes;
    sizes.Left = BorderThickness(left, false);
    sizes.Top = BorderThickness(top, true);
    sizes.Right = BorderThickness(right, false);
    sizes.Bottom = BorderThickness(bottom, true);
    return sizes;
}

RECT FrameClientRect(const RECT& window, const TFrameSizes& frame, int menuHeight)
{
    return RECT{window.left + frame.Left, window.top + frame.Top + menuHeight, window.right - frame.Right,
                window.bottom - frame.Bottom};
}

namespace {

// One visibility condition. `second` selects the rules of Visibility1,
// which differ from Visibility's for a few values.
bool VisibilityHolds(int value, bool second, const TCaptionWindowState& s, const TAskButtonVisible& ask, int action)
{
    switch (value) {
    case 0: return true;
    case 1: return s.Maximized;
    case 2: return !s.Maximized;
    case 3: return s.Active;
    case 4: return !s.Active;
    case 6:
    case 8: return (second || s.SystemMenu) && (s.MinimizeBox || s.MaximizeBox);
    case 7: return !s.MaximizeBox;
    case 9: return !s.MinimizeBox;
    case 10: return s.HelpButton && (second || (!s.MinimizeBox && !s.MaximizeBox));
    case 100: return s.MdiChildMaximizedInFrame;
    case 200: return s.DialogBorder && !s.DialogClass;
    default: break;
    }
    if (value >= 201 && value <= 999)
        return true;
    if (value >= 1000 && value <= 2000)
        return second || (ask && ask(value, action) > 0);
    return false;  // -1 and any value without a rule
}

}  // namespace

TButtonStatus CaptionButtonStatus(const TDataSkinSysButton& button, const TCaptionWindowState& state,
                                  const TAskButtonVisible& ask)
{
    TButtonStatus status;
    status.Visible = VisibilityHolds(button.Visibility, false, state, ask, button.Action) &&
                     VisibilityHolds(button.Visibility1, true, state, ask, button.Action);
    switch (button.Action) {
    case 0:
        if (!state.SystemMenu)
            status.Visible = false;
        break;
    case 1: status.Enabled = state.MaximizeBox && state.SystemMenu; break;
    case 2: status.Enabled = state.MinimizeBox && state.SystemMenu; break;
    case 3:
    case 11:
    case 12:
        if (state.DialogBorder)
            status.Visible = false;
        break;
    default: break;
    }
    return status;
}

bool LayoutCaptionButton(const TDataSkinSysButton& button, int width, int height, const TButtonLayoutInput& input,
                         RECT& rect)
{
    int x = 0;
    int y = button.Ycoord;
    switch (button.Align) {
    case 0: x = button.Xcoord; break;
    case 1: x = input.WindowWidth - button.Xcoord; break;
    case 2:
    case 8: x = input.CaptionArea.left - width - button.Xcoord; break;
    case 3:
    case 9: x = input.CaptionArea.right + button.Xcoord; break;
    case 100:
        x = input.WindowWidth - button.Xcoord - input.BorderRight - input.MenuBarLeftMargin;
        y = input.BorderTop + (input.MenuHeight - height) / 2;
        break;
    default: return false;
    }
    rect = RECT{x, y, x + width, y + height};
    return true;
}

int CaptionStripFrame(int frameCount, bool windowActive, bool enabled)
{
    return (frameCount < 4 || (windowActive && enabled)) ? 1 : 4;
}

int ButtonStateFrame(TNCState state, int frameCount, bool enabled, bool menuBarRow)
{
    if (!enabled)
        return frameCount > 3 ? 4 : 1;
    if (state == ncsHot && menuBarRow)
        return 4;
    return state;
}

TCaptionTextPlace PlaceCaptionText(const TCaptionTextInput& in)
{
    const int areaWidth = in.Area.right - in.Area.left;
    const int areaHeight = in.Area.bottom - in.Area.top;
    RECT r{in.Area.left, in.Area.top, in.Area.left + in.Text.cx + in.BackLeft + in.BackRight,
           in.Area.top + in.Text.cy};
    const int a = r.right - r.left;

    int x = 0;
    if (!in.RightToLeft) {
        switch (in.TextAlignment) {
        case 0: x = in.TextShift; break;
        case 1: x = (areaWidth - a) / 2; break;
        case 2: x = areaWidth - in.TextRightClip - a; break;
        default: x = 0; break;
        }
    } else {
        switch (in.TextAlignment) {
        case 0: x = areaWidth - in.RightButtonsExtent - a; break;
        case 1: x = (areaWidth - a - in.RightButtonsExtent) / 2; break;
        case 2: x = in.TextShift; break;
        default: x = 0; break;
        }
    }
    const int y = (areaHeight - in.Text.cy) / 2 + in.TextShiftVert / 2;
    OffsetRect(&r, x, y);

    if (in.RightToLeft && x <= 0)
        r.left = in.TextShift;

    if (in.RightToLeft) {
        OffsetRect(&r, 10, 0);
    } else if (in.Popup) {
        const int limit = in.Area.right - in.RightButtonsExtent - 5;
        if (in.RightButtonsExtent > 5 && limit < r.right)
            r.right = limit;
    } else {
        const int limit = in.Area.right - in.TextRightClip;
        if (limit < r.right)
            r.right = limit;
    }

    if (in.DialogBorder && in.TextAlignment == 0)
        r.left -= 16;

    TCaptionTextPlace place;
    place.Back = r;
    place.Text = RECT{r.left + in.BackLeft, r.top, r.right - in.BackRight, r.bottom};
    return place;
}

int ButtonIndexAt(const std::vector<TButtonHit>& buttons, POINT point)
{
    for (size_t i = 0; i < buttons.size(); ++i) {
        const TButtonHit& b = buttons[i];
        if (b.Visible && b.Action >= 0 && PtInRect(&b.Rect, point))
            return static_cast<int>(i);
    }
    return -1;
}

int ButtonHitCode(int action)
{
    switch (action) {
    case 0: return HTCLOSE;
    case 1:
    case 22: return HTMAXBUTTON;
    case 2:
    case 23: return HTMINBUTTON;
    case 3:
    case 11:
    case 12: return HTSYSMENU;
    case 4: return HTHELP;
    default: return HTCAPTION;
    }
}

int FrameHitTest(const TFrameHitGeometry& g, POINT p)
{
    if (p.x < 0 || p.y < 0 || p.x >= g.Width || p.y >= g.Height)
        return HTNOWHERE;
    const RECT client = FrameClientRect(RECT{0, 0, g.Width, g.Height}, g.Frame, g.MenuHeight);
    if (PtInRect(&client, p))
        return HTCLIENT;

    const int button = ButtonIndexAt(g.Buttons, p);
    if (button >= 0)
        return ButtonHitCode(g.Buttons[static_cast<size_t>(button)].Action);

    if (g.Sizeable) {
        const int c = g.CornerSize;
        const bool nearLeft = p.x < c;
        const bool nearRight = p.x >= g.Width - c;
        const bool nearTop = p.y < c;
        const bool nearBottom = p.y >= g.Height - c;
        if (p.y < g.TopGrip)
            return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
        if (p.y >= g.Height - g.Frame.Bottom)
            return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
        if (p.x < g.Frame.Left)
            return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
        if (p.x >= g.Width - g.Frame.Right)
            return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
    }
    if (p.y < g.Frame.Top)
        return HTCAPTION;
    if (p.y < g.Frame.Top + g.MenuHeight && p.x >= g.Frame.Left && p.x < g.Width - g.Frame.Right)
        return HTMENU;
    return HTBORDER;
}

int CombineHitTest(int systemAnswer, int frameAnswer)
{
    switch (systemAnswer) {
    case HTERROR:
    case HTTRANSPARENT:
    case HTVSCROLL:
    case HTHSCROLL:
    case HTGROWBOX: return systemAnswer;
    default: return frameAnswer;
    }
}

int SkinnedHitTest(int systemAnswer, POINT point, int borderTop, int menuHeight)
{
    if (systemAnswer != HTNOWHERE && systemAnswer != HTCAPTION)
        return systemAnswer;
    if (menuHeight > 0 && point.y >= borderTop && point.y < borderTop + menuHeight)
        return HTMENU;
    return point.y > 3 ? HTCAPTION : systemAnswer;
}

std::vector<RECT> OpaqueRuns(const TPixels& pixels, COLORREF key, int dx, int dy)
{
    const int kr = GetRValue(key), kg = GetGValue(key), kb = GetBValue(key);
    auto keyed = [](int value, int k) { return value >= k && value <= std::min(k + 1, 255); };
    std::vector<RECT> runs;
    for (int y = 0; y < pixels.Height; ++y) {
        int x = 0;
        while (x < pixels.Width) {
            auto opaque = [&](int at) {
                const std::uint32_t p = pixels.At(at, y);
                return !(keyed(static_cast<int>(p >> 16 & 0xFF), kr) && keyed(static_cast<int>(p >> 8 & 0xFF), kg) &&
                         keyed(static_cast<int>(p & 0xFF), kb));
            };
            while (x < pixels.Width && !opaque(x))
                ++x;
            const int start = x;
            while (x < pixels.Width && opaque(x))
                ++x;
            if (x > start)
                runs.push_back(RECT{start + dx, y + dy, x + dx, y + 1 + dy});
        }
    }
    return runs;
}

}  // namespace skin
