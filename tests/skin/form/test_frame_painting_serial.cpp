// A skinned window as the user sees it: the caption strip in the active and
// inactive frames of the top border, the caption text in the title colours,
// caption buttons in their normal, hot, pressed and disabled frames as the
// mouse moves over and presses them, a press released elsewhere doing
// nothing, the window region cut from the transparent border pixels, and
// what the mouse finds at each point of the frame. Pixels are read back from
// the window DC.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>

#include "../data/skin_model_support.h"
#include "framework/display_scale.h"
#include "framework/streams.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_scale.h"
#include "skin/form/form_skinner.h"
#include "skin/form/nc_objects.h"

namespace {

using namespace skintest;

constexpr std::uint32_t MAGENTA = Px(255, 0, 255);
constexpr std::uint32_t TOP_ACTIVE = Px(200, 30, 30);
constexpr std::uint32_t TOP_INACTIVE = Px(30, 30, 200);
constexpr std::uint32_t SIDE = Px(0, 150, 0);
constexpr std::uint32_t BOTTOM = Px(0, 100, 100);
// The button strip's six frames: normal, pressed, hot, inactive, and two spare.
const std::vector<std::uint32_t> BUTTON_FRAMES = {Px(40, 40, 40), Px(80, 80, 80), Px(120, 120, 120),
                                                  Px(160, 160, 160), Px(10, 90, 10), Px(90, 10, 90)};

COLORREF Ref(std::uint32_t p) { return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF); }

// A skin whose parts have one colour each: a 20-high top border (magenta in
// its top-left pixel), 4-wide side borders, an 8-high bottom border with a
// magenta last row, a close button and a maximize button.
TTestSkin FrameSkin() {
    TBmpImage top = SolidFrames(60, 20, {TOP_ACTIVE});
    TBmpImage topInactive = Solid(60, 20, TOP_INACTIVE);
    top.Height = 40;
    top.Pixels.insert(top.Pixels.end(), topInactive.Pixels.begin(), topInactive.Pixels.end());
    top.Pixels[0] = MAGENTA;
    top.Pixels[60 * 20] = MAGENTA;
    TBmpImage bottom = Solid(60, 16, BOTTOM);
    for (int x = 0; x < 60; ++x) bottom.Pixels[7 * 60 + x] = bottom.Pixels[15 * 60 + x] = MAGENTA;
    TTestSkin skin;
    skin.Ini =
        "[Colours]\r\nButtonFace=229 229 229\r\nTitleTextActive=255 255 0\r\nTitleTextNoActive=0 255 255\r\n"
        "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nTopTrans=1\r\n"
        "Left=side.bmp\r\nLeftFrame=2\r\nLeftTrans=0\r\nRight=side.bmp\r\nRightFrame=2\r\nRightTrans=0\r\n"
        "Bottom=bottom.bmp\r\nBottomFrame=2\r\nBottomTrans=1\r\n"
        "[ButtonClose]\r\nAction=0\r\nAlign=1\r\nXcoord=20\r\nYcoord=4\r\nframe=6\r\nButtonImage=button.bmp\r\n"
        "[ButtonMax]\r\nAction=1\r\nAlign=1\r\nXcoord=36\r\nYcoord=4\r\nframe=6\r\nButtonImage=button.bmp\r\n";
    skin.Images = {{"top.bmp", top},
                   {"side.bmp", SolidFrames(4, 40, {SIDE, SIDE})},
                   {"bottom.bmp", bottom},
                   {"button.bmp", SolidFrames(12, 12, BUTTON_FRAMES)}};
    return skin;
}

std::map<UINT, int>& Received() {
    static std::map<UINT, int> counts;
    return counts;
}

LRESULT CALLBACK PlainProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    ++Received()[msg];
    if (msg == WM_CLOSE) return 0;  // counted, the window stays
    return DefWindowProcA(window, msg, wParam, lParam);
}

void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    } while (static_cast<int>(GetTickCount() - end) < 0);
}

// A plain 300 x 200 (client) window without a maximize box, skinned with
// FrameSkin by a form skinner made here.
class SkinnedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        Received().clear();
        WNDCLASSA cls{};
        cls.lpfnWndProc = PlainProc;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = "RbFramePaintTest";
        RegisterClassA(&cls);

        TMemoryStream stream;
        const TBytes bytes = FrameSkin().Stored();
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        Data.ReadSkinStream(stream);
        ASSERT_FALSE(Data.NoSkin());

        RECT outer{0, 0, 300, 200};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
        AdjustWindowRect(&outer, style, FALSE);
        Window = CreateWindowExA(0, "RbFramePaintTest", "Skinned", style, 100, 100, outer.right - outer.left,
                                 outer.bottom - outer.top, nullptr, nullptr, cls.hInstance, nullptr);
        ASSERT_TRUE(Window);
        ShowWindow(Window, SW_SHOW);
        SetForegroundWindow(Window);
        Skinner = new TWinSkinForm(nullptr);
        Skinner->SetWindow(Window, nullptr, "RbFramePaintTest");
        Skinner->AttachPlainWindow(&Data);
        SendMessageA(Window, SKM_ACTIVATESKIN, 0, 1000);
        RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(50);
    }
    void TearDown() override {
        delete Skinner;
        if (Window) DestroyWindow(Window);
    }

    // Pixel (x, y) of the whole window, read back from the window DC.
    COLORREF WindowPixel(int x, int y) {
        HDC dc = GetWindowDC(Window);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(Window, dc);
        return c;
    }
    // Number of pixels of `colour` in a rectangle of the window.
    int CountPixels(const RECT& r, COLORREF colour) {
        HDC dc = GetWindowDC(Window);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == colour;
        ReleaseDC(Window, dc);
        return n;
    }
    RECT WindowRect() {
        RECT r{};
        GetWindowRect(Window, &r);
        return r;
    }
    // A window point as a screen lParam, with the real cursor put there too
    // (the hover timer checks where the cursor is).
    LPARAM At(int x, int y) {
        const RECT r = WindowRect();
        SetCursorPos(r.left + x, r.top + y);
        return MAKELPARAM(r.left + x, r.top + y);
    }

    // A size of the skin at the scale the window is drawn at.
    int S(int value) { return SkinScaled(value, static_cast<int>(WindowDpi(Window))); }

    TSkinData Data{nullptr};
    HWND Window = nullptr;
    TWinSkinForm* Skinner = nullptr;
};

TEST_F(SkinnedWindow, FrameKeepsTheClientAreaInsideTheSkinBorders) {
    RECT client{};
    GetClientRect(Window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    const RECT window = WindowRect();
    EXPECT_EQ(window.right - window.left, 300 + S(4) + S(4));
    EXPECT_EQ(window.bottom - window.top, 200 + S(20) + S(8));
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    EXPECT_EQ(origin.x - window.left, S(4));
    EXPECT_EQ(origin.y - window.top, S(20));
}

TEST_F(SkinnedWindow, CaptionShowsTheActiveThenTheInactiveFrame) {
    const int width = 300 + 2 * S(4);
    const RECT textRows{S(4), S(2), width - S(40), S(18)};
    EXPECT_EQ(WindowPixel(width / 2, 1), Ref(TOP_ACTIVE));
    EXPECT_EQ(WindowPixel(1, 100), Ref(SIDE));
    EXPECT_EQ(WindowPixel(width / 2, S(20) + 200 + S(2)), Ref(BOTTOM));
    EXPECT_GT(CountPixels(textRows, RGB(255, 255, 0)), 10) << "caption text in the active title colour";

    SendMessageA(Window, WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ(WindowPixel(width / 2, 1), Ref(TOP_INACTIVE));
    EXPECT_GT(CountPixels(textRows, RGB(0, 255, 255)), 10) << "caption text in the inactive title colour";
    EXPECT_EQ(CountPixels(textRows, RGB(255, 255, 0)), 0);

    SendMessageA(Window, WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(WindowPixel(width / 2, 1), Ref(TOP_ACTIVE));
}

TEST_F(SkinnedWindow, RegionLeavesOutTheTransparentBorderPixels) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(Window, region), ERROR);
    const struct {
        int X, Y;
        bool Inside;
    } points[] = {
        {0, 0, true},      // side borders are not transparent
        {S(4), 0, false},  // the top border's magenta corner, stretched 5 times (it starts after the left border)
        {S(20), 0, true},
        {150, S(20) + 200 + S(8) - 1, false}, // the bottom border's magenta last row (scaled)
        {150, S(20) + 200 + S(8) - S(1) - 1, true},
        {2, S(20) + 200 + S(8) - 1, true},
        {150, 100, true},  // client
        {300 + 2 * S(4), 10, false},  // outside the window
    };
    for (const auto& p : points) EXPECT_EQ(PtInRegion(region, p.X, p.Y) != 0, p.Inside) << p.X << "," << p.Y;
    DeleteObject(region);
}

TEST_F(SkinnedWindow, HitTestFollowsTheSkinGeometry) {
    const int w = 300 + 2 * S(4), h = 200 + S(20) + S(8);
    const struct {
        int X, Y;
        int Code;
    } points[] = {
        // The caption buttons answer as caption (their clicks are the
        // skinner's); the sizing borders are the system's answers.
        {150, S(10), HTCAPTION}, {w - S(14), S(10), HTCAPTION}, {w - S(30), S(10), HTCAPTION}, {1, 100, HTLEFT},
        {w - 2, 100, HTRIGHT},   {150, h - 4, HTBOTTOM},       {150, 100, HTCLIENT},          {150, 1, HTTOP},
    };
    for (const auto& p : points) {
        const RECT r = WindowRect();
        EXPECT_EQ(SendMessageA(Window, WM_NCHITTEST, 0, MAKELPARAM(r.left + p.X, r.top + p.Y)), p.Code)
            << p.X << "," << p.Y;
    }
}

TEST_F(SkinnedWindow, ButtonsShowNormalHotPressedAndDisabledFrames) {
    // Close at window width - 20 = 288, 4 down, 12 x 12; maximize at 272
    // (skin sizes, scaled with the window's scale).
    const int w = 300 + 2 * S(4);
    const int cx = w - S(14), cy = S(10), mx = w - S(30);
    EXPECT_EQ(WindowPixel(cx, cy), Ref(BUTTON_FRAMES[0]));
    EXPECT_EQ(WindowPixel(mx, cy), Ref(BUTTON_FRAMES[3])) << "no maximize box: the disabled frame";

    SendMessageA(Window, WM_NCMOUSEMOVE, HTCLOSE, At(cx, cy));
    EXPECT_EQ(WindowPixel(cx, cy), Ref(BUTTON_FRAMES[2])) << "hot";
    SendMessageA(Window, WM_NCLBUTTONDOWN, HTCLOSE, At(cx, cy));
    EXPECT_EQ(WindowPixel(cx, cy), Ref(BUTTON_FRAMES[1])) << "pressed";
    EXPECT_EQ(WindowPixel(150, 1), Ref(TOP_ACTIVE)) << "the caption around it is kept";

    // Released elsewhere: nothing happens; moving off makes it normal.
    SendMessageA(Window, WM_NCLBUTTONUP, HTCAPTION, At(150, 10));
    SendMessageA(Window, WM_NCMOUSEMOVE, HTCAPTION, At(150, 10));
    Pump(400);
    EXPECT_EQ(Received()[WM_CLOSE], 0);
    EXPECT_EQ(WindowPixel(cx, cy), Ref(BUTTON_FRAMES[0]));

    // The disabled maximize button does nothing when clicked.
    const RECT before = WindowRect();
    SendMessageA(Window, WM_NCMOUSEMOVE, HTMAXBUTTON, At(mx, cy));
    SendMessageA(Window, WM_NCLBUTTONDOWN, HTMAXBUTTON, At(mx, cy));
    SendMessageA(Window, WM_NCLBUTTONUP, HTMAXBUTTON, At(mx, cy));
    Pump(300);
    const RECT after = WindowRect();
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_FALSE(IsZoomed(Window));

    // A press and a release on the close button close the window.
    SendMessageA(Window, WM_NCMOUSEMOVE, HTCLOSE, At(cx, cy));
    SendMessageA(Window, WM_NCLBUTTONDOWN, HTCLOSE, At(cx, cy));
    SendMessageA(Window, WM_NCLBUTTONUP, HTCLOSE, At(cx, cy));
    Pump(300);
    EXPECT_EQ(Received()[WM_CLOSE], 1);
}

TEST_F(SkinnedWindow, CaptionRepaintsANewWindowText) {
    // As wide as the 300-pixel design at the window's scale, so that the
    // caption font's text has the room it has at 96.
    const RECT before = WindowRect();
    const int width = S(300) + 2 * S(4);
    SetWindowPos(Window, nullptr, 0, 0, width, before.bottom - before.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const RECT textRows{S(4), S(2), width - S(40), S(18)};
    const int shortText = CountPixels(textRows, RGB(255, 255, 0));
    EXPECT_GT(shortText, 10);

    SetWindowTextA(Window, "Skinned window, caption text made longer");
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const int longText = CountPixels(textRows, RGB(255, 255, 0));
    EXPECT_GT(longText, shortText * 2) << "the caption shows the new text, not the one painted before";

    SetWindowTextA(Window, "Skinned");
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(CountPixels(textRows, RGB(255, 255, 0)), shortText);
}

TEST_F(SkinnedWindow, CaptionFollowsANewWindowSize) {
    // The cursor off the buttons, so that none is hot.
    SendMessageA(Window, WM_NCMOUSEMOVE, HTCAPTION, At(150, 10));
    const RECT before = WindowRect();
    SetWindowPos(Window, nullptr, 0, 0, before.right - before.left + 100, before.bottom - before.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    // Close now at window width - 20 = 388, 4 down, 12 x 12.
    EXPECT_EQ(WindowPixel(394, 10), Ref(BUTTON_FRAMES[0]));
    EXPECT_EQ(WindowPixel(294, 10), Ref(TOP_ACTIVE)) << "no button left at its old place";
    EXPECT_EQ(WindowPixel(350, 1), Ref(TOP_ACTIVE));
}

TEST_F(SkinnedWindow, CaptionTakesTheNewSkinsColours) {
    TTestSkin skin = FrameSkin();
    const std::string from = "TitleTextActive=255 255 0";
    skin.Ini.replace(skin.Ini.find(from), from.size(), "TitleTextActive=255 128 0");
    TMemoryStream stream;
    const TBytes bytes = skin.Stored();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(0);
    Data.ReadSkinStream(stream);
    ASSERT_FALSE(Data.NoSkin());
    Skinner->RebuildButtons();
    Skinner->ApplySkinChange();
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);

    const RECT textRows{S(4), S(2), 300 + 2 * S(4) - S(40), S(18)};
    EXPECT_GT(CountPixels(textRows, RGB(255, 128, 0)), 10) << "caption text in the new skin's title colour";
    EXPECT_EQ(CountPixels(textRows, RGB(255, 255, 0)), 0);
}

TEST_F(SkinnedWindow, CaptionHintsNameTheButtons) {
    const struct {
        int Action;
        const char* Text;
    } cases[] = {{0, "Close"},    {9, "Close"},    {62, "Close"},  {1, "Maximize"}, {22, "Maximize"},
                 {2, "Minimize"}, {7, "Minimize"}, {60, "Minimize"}, {8, "Restore"}, {61, "Restore"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(CaptionHintText(c.Action)) << c.Action;
        EXPECT_STREQ(CaptionHintText(c.Action), c.Text) << c.Action;
    }
    EXPECT_EQ(CaptionHintText(3), nullptr);
    EXPECT_EQ(CaptionHintText(40), nullptr);
}

}  // namespace
