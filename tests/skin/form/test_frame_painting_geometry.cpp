// Frame geometry as pure arithmetic: frame sizes from the border images,
// the client rectangle inside them, where the caption text goes and how it
// is cut, and the opaque runs that make the window region.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "skin/form/nc_geometry.h"

namespace {

using namespace skin;

void SetImage(TDataSkinBorder& border, int width, int height, int frames) {
    TBmpImage image;
    image.Width = width;
    image.Height = height;
    image.BitCount = 24;
    image.Pixels.assign(static_cast<size_t>(width) * height, 0);
    border.Bitmap.Assign(image);
    border.Frame = frames;
}

TEST(FrameSizes, BordersGiveTheirFrameThickness) {
    TDataSkinBorder left("Left"), top("Top"), right("Right"), bottom("Bottom");
    SetImage(left, 4, 250, 2);     // side by side: 2 wide
    SetImage(top, 205, 50, 2);     // stacked: 25 high
    SetImage(right, 9, 250, 2);    // 4 (truncated)
    SetImage(bottom, 246, 16, 0);  // no frame count: one frame, 16 high
    const struct {
        bool Framed;
        TFrameSizes Expected;
    } cases[] = {
        {true, {2, 25, 4, 16}},
        {false, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const TFrameSizes s = FrameSizesOf(&left, &top, &right, &bottom, c.Framed);
        EXPECT_EQ(s.Left, c.Expected.Left) << c.Framed;
        EXPECT_EQ(s.Top, c.Expected.Top) << c.Framed;
        EXPECT_EQ(s.Right, c.Expected.Right) << c.Framed;
        EXPECT_EQ(s.Bottom, c.Expected.Bottom) << c.Framed;
    }
    TDataSkinBorder empty("Left");
    EXPECT_EQ(FrameSizesOf(&empty, nullptr, &right, &bottom, true).Left, 0);
    EXPECT_EQ(FrameSizesOf(&empty, nullptr, &right, &bottom, true).Top, 0);
}

TEST(FrameSizes, ClientRectangleSitsInsideTheBordersAndBelowTheMenu) {
    const RECT c = FrameClientRect(RECT{100, 50, 400, 350}, TFrameSizes{4, 25, 5, 8}, 19);
    EXPECT_EQ(c.left, 104);
    EXPECT_EQ(c.top, 94);
    EXPECT_EQ(c.right, 395);
    EXPECT_EQ(c.bottom, 342);
}

// The stored skin's title: text 36 px in, cut 75 px before the right edge.
TCaptionTextInput Caption(int alignment, int textWidth, int areaRight = 296) {
    TCaptionTextInput in;
    in.Area = RECT{4, 0, areaRight, 25};
    in.Text = SIZE{textWidth, 16};
    in.TextShift = 36;
    in.TextShiftVert = -1;
    in.TextRightClip = 75;
    in.TextAlignment = alignment;
    return in;
}

TEST(CaptionText, AlignmentAndClipping) {
    struct Case {
        const char* Name;
        TCaptionTextInput In;
        RECT Back, Text;
    };
    TCaptionTextInput centred = Caption(1, 60);
    TCaptionTextInput right = Caption(2, 60);
    TCaptionTextInput withBack = Caption(0, 60);
    withBack.BackLeft = 5;
    withBack.BackRight = 7;
    TCaptionTextInput narrow = Caption(0, 200, 150);
    TCaptionTextInput dialog = Caption(0, 60);
    dialog.DialogBorder = true;
    TCaptionTextInput popup = Caption(0, 260);
    popup.Popup = true;
    popup.RightButtonsExtent = 42;
    TCaptionTextInput popupFewButtons = popup;
    popupFewButtons.RightButtonsExtent = 5;
    TCaptionTextInput rtl = Caption(0, 60);
    rtl.RightToLeft = true;
    rtl.RightButtonsExtent = 42;
    TCaptionTextInput shiftDown = Caption(0, 60);
    shiftDown.TextShiftVert = 5;
    TCaptionTextInput other = Caption(7, 60);
    const Case cases[] = {
        // (25 - 16) / 2 + (-1) / 2 = 4 down; left aligned at 4 + 36.
        {"left", Caption(0, 60), {40, 4, 100, 20}, {40, 4, 100, 20}},
        // Centred in the caption area (292 wide), not in the window.
        {"centred", centred, {120, 4, 180, 20}, {120, 4, 180, 20}},
        // 292 - 75 - 60 = 157 from the area's left; cut at 296 - 75 = 221.
        {"right", right, {161, 4, 221, 20}, {161, 4, 221, 20}},
        {"back image margins", withBack, {40, 4, 112, 20}, {45, 4, 105, 20}},
        // Too wide: cut at 150 - 75.
        {"cut at TextRightClip", narrow, {40, 4, 75, 20}, {40, 4, 75, 20}},
        {"dialog frame moves over the missing icon", dialog, {24, 4, 100, 20}, {24, 4, 100, 20}},
        // Popup windows are cut 5 px before the right buttons instead.
        {"popup cut before the buttons", popup, {40, 4, 249, 20}, {40, 4, 249, 20}},
        {"popup with few buttons is not cut", popupFewButtons, {40, 4, 300, 20}, {40, 4, 300, 20}},
        // Right-to-left: 292 - 42 - 60 = 190, then 10 px further right, uncut.
        {"right to left", rtl, {204, 4, 264, 20}, {204, 4, 264, 20}},
        {"shifted down", shiftDown, {40, 6, 100, 22}, {40, 6, 100, 22}},
        {"unknown alignment", other, {4, 4, 64, 20}, {4, 4, 64, 20}},
    };
    for (const Case& c : cases) {
        const TCaptionTextPlace p = PlaceCaptionText(c.In);
        EXPECT_TRUE(EqualRect(&p.Back, &c.Back)) << c.Name << " back " << p.Back.left << "," << p.Back.top << ","
                                                 << p.Back.right << "," << p.Back.bottom;
        EXPECT_TRUE(EqualRect(&p.Text, &c.Text)) << c.Name << " text " << p.Text.left << "," << p.Text.top << ","
                                                 << p.Text.right << "," << p.Text.bottom;
    }
}

// Reference: one rectangle per opaque pixel, merged by hand per row.
std::vector<RECT> PixelByPixel(const TPixels& px, int dx, int dy) {
    std::vector<RECT> out;
    for (int y = 0; y < px.Height; ++y)
        for (int x = 0; x < px.Width; ++x) {
            const std::uint32_t p = px.At(x, y) & 0xFFFFFF;
            // Within +1 of the key (capped at 255) is still transparent.
            const bool key = (p >> 16) == 0xFF && ((p >> 8) & 0xFF) <= 1 && (p & 0xFF) == 0xFF;
            if (key) continue;
            if (!out.empty() && out.back().top == y + dy && out.back().right == x + dx)
                out.back().right++;
            else
                out.push_back(RECT{x + dx, y + dy, x + dx + 1, y + dy + 1});
        }
    return out;
}

TEST(WindowRegionRuns, RunsMatchPixelByPixelReference) {
    TPixels px;
    px.Width = 9;
    px.Height = 4;
    px.Data = {
        0xFF00FF, 0xFF00FF, 0x000000, 0x123456, 0xFF00FF, 0x00FF00, 0xFF00FF, 0xFF00FF, 0xFF00FF,
        0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000,
        0xFF00FF, 0xFE00FF, 0xFF00FE, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF,
        0xFF01FF, 0xFF00FF, 0xFD00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xFF00FF, 0xAAFF00FF,
    };
    // Row 2: red 254 and blue 254 lie below the key: opaque. Row 3: green 1
    // is still keyed, red 253 is not; the fourth byte plays no part.
    const std::vector<RECT> runs = OpaqueRuns(px, RGB(255, 0, 255), 10, 20);
    const std::vector<RECT> expected = {
        {12, 20, 14, 21}, {15, 20, 16, 21},  // row 0
        {10, 21, 19, 22},                    // row 1
        {11, 22, 13, 23},                    // row 2
        {12, 23, 13, 24},                    // row 3
    };
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i)
        EXPECT_TRUE(EqualRect(&runs[i], &expected[i])) << i << ": " << runs[i].left << "," << runs[i].top << ","
                                                       << runs[i].right;
}

TEST(WindowRegionRuns, RandomImagesAgreeWithTheReference) {
    unsigned seed = 12345;
    auto next = [&] { seed = seed * 1103515245u + 12345u; return seed >> 16; };
    for (int round = 0; round < 20; ++round) {
        TPixels px;
        px.Width = 1 + static_cast<int>(next() % 40);
        px.Height = 1 + static_cast<int>(next() % 6);
        for (int i = 0; i < px.Width * px.Height; ++i)
            px.Data.push_back(next() % 3 == 0 ? 0x00FF00FFu : (next() % 2 ? 0x00FF01FFu : 0x00FE00FFu));
        const std::vector<RECT> runs = OpaqueRuns(px, RGB(255, 0, 255), -3, 7);
        const std::vector<RECT> expected = PixelByPixel(px, -3, 7);
        ASSERT_EQ(runs.size(), expected.size()) << round;
        for (size_t i = 0; i < runs.size(); ++i) EXPECT_TRUE(EqualRect(&runs[i], &expected[i])) << round << ":" << i;
    }
}

}  // namespace
