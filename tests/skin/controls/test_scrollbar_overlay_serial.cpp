// The scroll-bar overlay over a real list box: it sits exactly over the
// list's vertical bar, above the list, with the tool-window style; it paints
// the skin's frames where the system's thumb is; presses on it scroll the
// list as the system's bar does (an arrow a line, the track a page, the thumb
// dragged to the end shows the last line); freeing it leaves no window
// behind and the list as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <vector>
#include <string>

#include "framework/forms.h"
#include "framework/list_box.h"
#include "skin/controls/scrollbar_overlay.h"
#include "skin/data/skin_messages.h"
#include "tests/skin/controls/bar_skin_support.h"

using namespace bartest;

namespace {

class TListForm : public TForm {
    DECLARE_CLASS_INLINE(TListForm, TForm)
public:
    explicit TListForm(TComponent* owner) : TForm(owner)
    {
        SetBounds(60, 60, 300, 320);
        List = new TListBox(this);
        List->SetParent(this);
        List->SetBounds(10, 10, 200, 240);
        for (int i = 0; i < 300; ++i) List->Items()->Add("Line " + std::to_string(i));
        FinishCreation();
    }
    TListBox* List;
};

SCROLLBARINFO VerticalBar(HWND window)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(window, OBJID_VSCROLL, &info);
    return info;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A pixel of a window's client area as it was last painted.
COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

int TopIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }

// Presses the overlay at `y` (its client coordinates); the system's tracking
// inside the press runs through `afterPress` (queued for the list) and ends
// with the button's release at `releaseY` (the list's client coordinates).
void PressOverlay(TWScrollbar& overlay, HWND list, int y, int releaseY, const std::vector<int>& movesY = {})
{
    RECT client;
    GetClientRect(list, &client);
    const int x = client.right + 8;
    for (int moveY : movesY) PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, moveY));
    PostMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(x, releaseY));
    SendMessageA(overlay.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, y));
    Pump();
}

}  // namespace

TEST(ScrollBarOverlay, CoversTheListsBarPaintsItAndScrollsTheList)
{
    TSkinData skin(nullptr);
    ASSERT_TRUE(LoadSkin(skin, BarSkin()));
    TListForm form(nullptr);
    form.Show();
    HWND list = form.List->Handle();
    UpdateWindow(form.Handle());
    // The list as the system draws it, before anything is laid over it.
    HDC listDC = GetWindowDC(list);
    RECT listRect;
    GetWindowRect(list, &listRect);
    const int width = listRect.right - listRect.left, height = listRect.bottom - listRect.top;
    std::vector<COLORREF> before;
    for (int y = 0; y < height; y += 7)
        for (int x = 0; x < width; x += 5) before.push_back(GetPixel(listDC, x, y));
    ReleaseDC(list, listDC);

    auto overlay = std::make_unique<TWScrollbar>(nullptr);
    overlay->AttachToControl(&skin, form.List, okVertScroll);
    HWND window = overlay->Handle();
    ASSERT_TRUE(overlay->Shown());
    EXPECT_EQ(GetParent(window), form.Handle());
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetWindow(window, GW_HWNDNEXT), list);  // directly above the list
    EXPECT_EQ(SendMessageA(window, SKM_QUERYSKIN, 0, 0), 1);
    SCROLLBARINFO bar = VerticalBar(list);
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_TRUE(EqualRect(&placed, &bar.rcScrollBar));

    // Painted from the skin where the system puts the thumb. The arrows are
    // as long as the system's (its scroll-bar metric at the display's scale).
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    auto checkPicture = [&](const char* when) {
        SCOPED_TRACE(when);
        overlay->PaintNow();
        const SCROLLBARINFO now = VerticalBar(list);
        const int length = now.rcScrollBar.bottom - now.rcScrollBar.top;
        EXPECT_EQ(WindowPixel(window, 8, 3), Ref(ScrollFrame(9)));
        EXPECT_EQ(WindowPixel(window, 8, length - 3), Ref(ScrollFrame(13)));
        EXPECT_EQ(WindowPixel(window, 8, now.xyThumbTop + 1), Ref(ThumbFrame(1)));
        // Track beside the thumb, unless the thumb is that close to an arrow
        // (the system's arrow length, at the display's scale).
        if (now.xyThumbTop - 2 >= arrow) {
            EXPECT_EQ(WindowPixel(window, 8, now.xyThumbTop - 2), Ref(TrackFrame(1)));
        }
        if (now.xyThumbBottom + 2 < length - arrow) {
            EXPECT_EQ(WindowPixel(window, 8, now.xyThumbBottom + 2), Ref(TrackFrame(1)));
        }
        EXPECT_EQ(overlay->Thumb().Start, now.xyThumbTop);
        EXPECT_EQ(overlay->Thumb().End, now.xyThumbBottom);
    };
    checkPicture("at the top");

    const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
    const int pageLines = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    ASSERT_EQ(TopIndex(list), 0);
    // The down arrow: one line.
    PressOverlay(*overlay, list, length - 5, length - 5);
    EXPECT_EQ(TopIndex(list), 1);
    EXPECT_FALSE(overlay->Pressed());
    // The track below the thumb: a page.
    PressOverlay(*overlay, list, length - arrow - 10, length - arrow - 10);
    const int afterPage = TopIndex(list);
    EXPECT_GT(afterPage, 5);
    checkPicture("after a page down");
    // The up arrow: a line back.
    PressOverlay(*overlay, list, 5, 5);
    EXPECT_EQ(TopIndex(list), afterPage - 1);

    // The thumb dragged past the end shows the last line. (The pointer stays
    // near the bar: let go farther away and the system puts the thumb back
    // where the drag began.)
    bar = VerticalBar(list);
    const int grab = (bar.xyThumbTop + bar.xyThumbBottom) / 2;
    PressOverlay(*overlay, list, grab, length + 8, {grab + 40, length, length + 8});
    const int visible = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(TopIndex(list), pageLines - client.bottom / visible);
    checkPicture("dragged to the end");

    // Given back: no overlay left, the list drawn by the system as before.
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    overlay.reset();
    EXPECT_FALSE(IsWindow(window));
    RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    listDC = GetWindowDC(list);
    size_t i = 0, differing = 0;
    for (int y = 0; y < height; y += 7)
        for (int x = 0; x < width; x += 5) differing += GetPixel(listDC, x, y) != before[i++];
    ReleaseDC(list, listDC);
    EXPECT_EQ(differing, 0u);
}
