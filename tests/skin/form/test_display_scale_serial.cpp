// A skinned window moved between display scales (WM_DPICHANGED sent as the
// system sends it when a window changes monitor): the frame takes the
// skin's border sizes times the factor, moves to the suggested rectangle,
// its caption button is hit exactly where it is drawn, the rounded corners
// of the region follow the scaled corner pixels, the stretched bottom
// border has no seam, and the window given back is pixel-identical to what
// it was before it was skinned.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include "../../app/window_capture.h"
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
constexpr std::uint32_t TOP = Px(200, 30, 30);
constexpr std::uint32_t SIDE = Px(0, 150, 0);
constexpr std::uint32_t END = Px(90, 0, 90);
constexpr std::uint32_t NORMAL = Px(40, 40, 40);
constexpr std::uint32_t HOT = Px(120, 120, 120);
constexpr int TOP_HEIGHT = 20, SIDE_WIDTH = 4, BOTTOM_HEIGHT = 8, BUTTON = 12;

COLORREF Ref(std::uint32_t p) { return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF); }
std::uint32_t BottomRow(int y) { return Px(0, 20 + 25 * y, 100); }
// The top border's rounded corners: magenta where x + y < 3 at both ends.
bool CornerPixel(int x, int y) { return x + y < 3 || (59 - x) + y < 3; }

TTestSkin RoundedSkin()
{
    TBmpImage top = Solid(60, 2 * TOP_HEIGHT, TOP);
    for (int y = 0; y < 2 * TOP_HEIGHT; ++y)
        for (int x = 0; x < 60; ++x)
            if (CornerPixel(x, y % TOP_HEIGHT)) top.Pixels[static_cast<std::size_t>(y * 60 + x)] = MAGENTA;
    TBmpImage bottom = Solid(60, 2 * BOTTOM_HEIGHT, END);
    for (int y = 0; y < 2 * BOTTOM_HEIGHT; ++y)
        for (int x = 10; x < 50; ++x) bottom.Pixels[static_cast<std::size_t>(y * 60 + x)] = BottomRow(y % BOTTOM_HEIGHT);
    TTestSkin skin;
    skin.Ini =
        "[Colours]\r\nButtonFace=229 229 229\r\n"
        "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\nTopTrans=1\r\nTopTopHeight=10\r\nTopBotHeight=10\r\n"
        "Left=side.bmp\r\nLeftFrame=2\r\nLeftTrans=0\r\nRight=side.bmp\r\nRightFrame=2\r\nRightTrans=0\r\n"
        "Bottom=bottom.bmp\r\nBottomFrame=2\r\nBottomTrans=0\r\nBottomTopHeight=10\r\nBottomBotHeight=10\r\n"
        "[ButtonClose]\r\nAction=0\r\nAlign=1\r\nXcoord=24\r\nYcoord=4\r\nframe=6\r\nButtonImage=button.bmp\r\n";
    skin.Images = {{"top.bmp", top},
                   {"side.bmp", SolidFrames(SIDE_WIDTH, 40, {SIDE, SIDE})},
                   {"bottom.bmp", bottom},
                   {"button.bmp", SolidFrames(BUTTON, BUTTON, {NORMAL, Px(80, 80, 80), HOT, Px(160, 160, 160),
                                                               Px(10, 90, 10), Px(90, 10, 90)})}};
    return skin;
}

void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(5);
    } while (static_cast<int>(GetTickCount() - end) < 0);
}

class ScaledWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA cls{};
        cls.lpfnWndProc = DefWindowProcA;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        cls.lpszClassName = "RbDisplayScaleTest";
        RegisterClassA(&cls);
        TMemoryStream stream;
        const TBytes bytes = RoundedSkin().Stored();
        stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        Data.ReadSkinStream(stream);
        ASSERT_FALSE(Data.NoSkin());

        StartDpi = WindowDpi(nullptr);
        RECT outer{0, 0, ScaleToDpi(300, StartDpi), ScaleToDpi(200, StartDpi)};
        const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX;
        AdjustWindowRect(&outer, style, FALSE);
        Window = CreateWindowExA(0, "RbDisplayScaleTest", "Scaled", style, 40, 30, outer.right - outer.left,
                                 outer.bottom - outer.top, nullptr, nullptr, cls.hInstance, nullptr);
        ASSERT_TRUE(Window);
        ShowWindow(Window, SW_SHOW);
        SetForegroundWindow(Window);
        UpdateWindow(Window);
        Pump(50);
        Before = CaptureWindow(Window);
        Skinner = new TWinSkinForm(nullptr);
        Skinner->SetWindow(Window, nullptr, "RbDisplayScaleTest");
        Skinner->AttachPlainWindow(&Data);
        SendMessageA(Window, SKM_ACTIVATESKIN, 0, 1000);
        RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(50);
    }
    void TearDown() override
    {
        delete Skinner;
        if (Window) DestroyWindow(Window);
        Data.SkinPassDone();
    }
    RECT WindowRect()
    {
        RECT r{};
        GetWindowRect(Window, &r);
        return r;
    }
    // Tells the window it is now on a monitor of `dpi`, suggesting `place`.
    void MoveToScale(UINT dpi, RECT place)
    {
        SendMessageA(Window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&place));
        Pump(60);
    }
    // `rect` grown from the window's current scale to `dpi`, top-left kept.
    RECT Grown(const RECT& rect, UINT from, UINT to)
    {
        return RECT{rect.left, rect.top, rect.left + MulDiv(rect.right - rect.left, static_cast<int>(to), static_cast<int>(from)),
                    rect.top + MulDiv(rect.bottom - rect.top, static_cast<int>(to), static_cast<int>(from))};
    }
    LPARAM At(int x, int y)
    {
        const RECT r = WindowRect();
        SetCursorPos(r.left + x, r.top + y);
        return MAKELPARAM(r.left + x, r.top + y);
    }

    TSkinData Data{nullptr};
    HWND Window = nullptr;
    TWinSkinForm* Skinner = nullptr;
    UINT StartDpi = 96;
    TCapture Before;
};

TEST_F(ScaledWindow, FrameButtonsRegionAndBordersFollowTheScaleAndGiveBackIsExact)
{
    const RECT skinnedAtStart = WindowRect();
    UINT previous = StartDpi;
    for (UINT dpi : {144u, 192u, 120u, StartDpi}) {
        SCOPED_TRACE(dpi);
        const RECT place = dpi == StartDpi ? skinnedAtStart : Grown(WindowRect(), previous, dpi);
        MoveToScale(dpi, place);
        previous = dpi;
        EXPECT_EQ(WindowDpi(Window), dpi);
        EXPECT_EQ(Skinner->Dpi(), dpi);
        const RECT r = WindowRect();
        EXPECT_TRUE(EqualRect(&r, &place)) << "the window takes the suggested rectangle";
        const int width = r.right - r.left, height = r.bottom - r.top;

        // Border widths: the skin's times the factor; the client area inside.
        EXPECT_EQ(Skinner->BorderLeft(), SkinScaled(SIDE_WIDTH, dpi));
        EXPECT_EQ(Skinner->BorderRight(), SkinScaled(SIDE_WIDTH, dpi));
        EXPECT_EQ(Skinner->BorderTop(), SkinScaled(TOP_HEIGHT, dpi));
        EXPECT_EQ(Skinner->BorderBottom(), SkinScaled(BOTTOM_HEIGHT, dpi));
        POINT origin{0, 0};
        ClientToScreen(Window, &origin);
        RECT client{};
        GetClientRect(Window, &client);
        EXPECT_EQ(origin.x - r.left, Skinner->BorderLeft());
        EXPECT_EQ(origin.y - r.top, Skinner->BorderTop());
        EXPECT_EQ(client.right, width - Skinner->BorderLeft() - Skinner->BorderRight());
        EXPECT_EQ(client.bottom, height - Skinner->BorderTop() - Skinner->BorderBottom());

        HDC dc = GetWindowDC(Window);
        const int bl = Skinner->BorderLeft(), bt = Skinner->BorderTop(), bb = Skinner->BorderBottom();
        EXPECT_EQ(GetPixel(dc, bl - 1, height / 2), Ref(SIDE));
        EXPECT_NE(GetPixel(dc, bl, height / 2), Ref(SIDE));
        EXPECT_EQ(GetPixel(dc, width / 2, bt - 1), Ref(TOP));

        // The stretched middle of the bottom border: each row one colour all
        // the way, the rows in the skin's order, its ends the end colour.
        const int from = bl + SkinScaled(10, dpi), to = width - Skinner->BorderRight() - SkinScaled(10, dpi);
        std::uint32_t last = 0;
        for (int y = height - bb; y < height; ++y) {
            std::set<COLORREF> row;
            for (int x = from; x < to; ++x) row.insert(GetPixel(dc, x, y));
            ASSERT_EQ(row.size(), 1u) << "seam in row " << y;
            const COLORREF c = *row.begin();
            EXPECT_EQ(GetRValue(c), 0);
            EXPECT_GE(GetGValue(c), last) << y;
            last = GetGValue(c);
            EXPECT_EQ(GetPixel(dc, from - 1, y), Ref(END));
            EXPECT_EQ(GetPixel(dc, to, y), Ref(END));
        }
        EXPECT_EQ(last, 20 + 25 * (BOTTOM_HEIGHT - 1));

        // The close button: drawn as large as the skin's times the factor,
        // and found by the mouse on exactly the pixels it covers.
        ASSERT_FALSE(Skinner->Buttons().empty());
        TWinSysButton* close = Skinner->Buttons()[0];
        ASSERT_TRUE(close->Visible);
        const RECT b = close->Rect;
        EXPECT_EQ(b.right - b.left, SkinScaled(BUTTON, dpi));
        EXPECT_EQ(b.bottom - b.top, SkinScaled(BUTTON, dpi));
        EXPECT_EQ(b.right, width - SkinScaled(24, dpi) + SkinScaled(BUTTON, dpi));
        EXPECT_EQ(b.top, SkinScaled(4, dpi));
        int drawn = 0;
        for (int y = b.top - 1; y <= b.bottom; ++y)
            for (int x = b.left - 1; x <= b.right; ++x) drawn += GetPixel(dc, x, y) == Ref(NORMAL);
        EXPECT_EQ(drawn, (b.right - b.left) * (b.bottom - b.top));
        ReleaseDC(Window, dc);
        const POINT corners[] = {{b.left, b.top}, {b.right - 1, b.bottom - 1}};
        for (POINT p : corners) EXPECT_EQ(Skinner->ObjectAt(POINT{r.left + p.x, r.top + p.y}), close);
        const POINT outside[] = {{b.left - 1, b.top}, {b.right, b.bottom - 1}, {b.left, b.bottom}};
        for (POINT p : outside) EXPECT_EQ(Skinner->ObjectAt(POINT{r.left + p.x, r.top + p.y}), nullptr);
        // Hot from its very corner pixel: the whole drawn button changes.
        SendMessageA(Window, WM_NCMOUSEMOVE, HTCAPTION, At(b.right - 1, b.top));
        dc = GetWindowDC(Window);
        EXPECT_EQ(GetPixel(dc, b.left, b.bottom - 1), Ref(HOT));
        EXPECT_EQ(GetPixel(dc, b.left - 1, b.bottom - 1), Ref(TOP));
        ReleaseDC(Window, dc);
        SendMessageA(Window, WM_NCMOUSEMOVE, HTCAPTION, At(width / 2, bt / 2));
        Pump(20);

        // The region: each of the skin's corner pixels, scaled, is cut out
        // at both top corners; its neighbours stay.
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(Window, region), ERROR);
        // (The centre of a skin pixel, through the scale of the border's
        // unstretched end piece.)
        const int end = SkinScaled(10, dpi), high = SkinScaled(TOP_HEIGHT, dpi);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                const int px = bl + (2 * x + 1) * end / 20;
                const int py = (2 * y + 1) * high / (2 * TOP_HEIGHT);
                const bool cut = CornerPixel(x, y);
                EXPECT_EQ(PtInRegion(region, px, py) == 0, cut) << "left " << x << "," << y;
                EXPECT_EQ(PtInRegion(region, width - 1 - px, py) == 0, cut) << "right " << x << "," << y;
            }
        DeleteObject(region);
    }

    // Given back after all the changes of scale: exactly the window it was.
    const TFormSkinnerLink* link = Skinner;
    ASSERT_EQ(link->SkinnedWindow(), Window);
    Skinner->Unskin();
    delete Skinner;
    Skinner = nullptr;
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump(60);
    const TCapture after = CaptureWindow(Window);
    ASSERT_EQ(after.Width, Before.Width);
    ASSERT_EQ(after.Height, Before.Height);
    size_t differing = 0;
    for (size_t i = 0; i < Before.Pixels.size(); ++i) differing += (Before.Pixels[i] & 0xFFFFFF) != (after.Pixels[i] & 0xFFFFFF);
    EXPECT_EQ(differing, 0u);
}

}  // namespace
