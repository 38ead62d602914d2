// Frame drawing: pixels read back from memory canvases for the nine-slice
// routine (every slice, narrow and short targets, tiling, transparency), the
// strip, three-part, stretched and centred variants, transparent copies and
// tiling, compared with a per-pixel reference written here.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/data/skin_draw.h"
#include "tests/skin/data/skin_draw_support.h"

using drawtest::Hex;
using drawtest::MakeSource;
using drawtest::TCanvas;

namespace {

const COLORREF BACKGROUND = RGB(1, 2, 3);
const COLORREF MAGENTA = RGB(255, 0, 255);

enum class TPalette { Regions, RowsOnly, ColumnsOnly, MagentaMiddle };

// A skin bitmap of `count` frames of fw x fh. Each frame is cut into nine
// regions by the margins; each region has its own colour, and frame k is
// told apart by its blue channel. With `patternMiddle` every pixel of the
// middle region has its own colour, so tiles can be checked exactly.
struct TFrameSource {
    int Count, Fw, Fh;
    bool Vertical;
    RECT Margins;
    TPalette Palette;
    bool PatternMiddle;

    int Region(int v, int low, int size, int high) const { return v < low ? 0 : v >= size - high ? 2 : 1; }

    COLORREF RegionColour(int frame, int col, int row) const
    {
        if (Palette == TPalette::RowsOnly)
            col = 0;
        if (Palette == TPalette::ColumnsOnly)
            row = 0;
        if (Palette == TPalette::MagentaMiddle && col == 1 && row == 1)
            return MAGENTA;
        return RGB(40 + 60 * col, 40 + 60 * row, 20 * frame);
    }

    COLORREF PatternColour(int frame, int mx, int my) const { return RGB(150 + mx, 150 + my, 20 * frame + 10); }

    // Colour of pixel (fx, fy) of frame `frame` (from 1).
    COLORREF Colour(int frame, int fx, int fy) const
    {
        const int col = Region(fx, Margins.left, Fw, Margins.right);
        const int row = Region(fy, Margins.top, Fh, Margins.bottom);
        if (PatternMiddle && col == 1 && row == 1)
            return PatternColour(frame, fx - Margins.left, fy - Margins.top);
        return RegionColour(frame, col, row);
    }

    TGdiBitmap Make() const
    {
        const int w = Vertical ? Fw : Fw * Count, h = Vertical ? Fh * Count : Fh;
        return MakeSource(w, h, [this](int x, int y) {
            return Vertical ? Colour(y / Fh + 1, x, y % Fh) : Colour(x / Fw + 1, x % Fw, y);
        });
    }
};

struct TNineSliceCase {
    const char* Name;
    TFrameSource Source;
    int FrameIndex;
    int ExpectedFrame;
    int W, H;
    bool Tile;
};

// What a W x H nine-slice fit of `frame` must show at (x, y): the region the
// pixel falls in after the margin rules, or the tiled middle pattern.
COLORREF ExpectedNineSlice(const TNineSliceCase& c, int x, int y)
{
    const TFrameSource& s = c.Source;
    int L = s.Margins.left, T = s.Margins.top, R = s.Margins.right, B = s.Margins.bottom;
    if (c.W < L + R)
        L = R = 0;
    if (c.H < T + B)
        T = B = 0;
    const int col = x < L ? 0 : x >= c.W - R ? 2 : 1;
    const int row = y < T ? 0 : y >= c.H - B ? 2 : 1;
    if (col == 1 && row == 1 && s.PatternMiddle) {
        const int mw = s.Fw - s.Margins.left - s.Margins.right, mh = s.Fh - s.Margins.top - s.Margins.bottom;
        return s.PatternColour(c.ExpectedFrame, (x - L) % mw, (y - T) % mh);
    }
    return s.RegionColour(c.ExpectedFrame, col, row);
}

const TFrameSource THREE_FRAMES{3, 12, 10, false, {3, 2, 4, 3}, TPalette::Regions, false};
const TFrameSource THREE_FRAMES_PATTERN{3, 12, 10, false, {3, 2, 4, 3}, TPalette::Regions, true};

const TNineSliceCase NINE_SLICE_CASES[] = {
    {"stretched, all four margins", THREE_FRAMES, 2, 2, 40, 30, false},
    {"tiled middle overflowing into right and bottom margins", THREE_FRAMES_PATTERN, 2, 2, 41, 29, true},
    {"tiled middle of exact multiples", THREE_FRAMES_PATTERN, 1, 1, 17, 15, true},
    {"zero left margin: no left corners", {3, 12, 10, false, {0, 2, 4, 3}, TPalette::Regions, false}, 3, 3, 30, 20,
     false},
    {"zero top margin, tiled", {2, 12, 10, false, {3, 0, 4, 3}, TPalette::Regions, true}, 1, 1, 33, 21, true},
    {"only a bottom margin", {1, 8, 8, false, {0, 0, 0, 2}, TPalette::Regions, false}, 1, 1, 20, 9, false},
    {"target narrower than left + right: whole width stretched",
     {3, 12, 10, false, {3, 2, 4, 3}, TPalette::RowsOnly, false}, 2, 2, 6, 30, false},
    {"target shorter than top + bottom: whole height stretched",
     {3, 12, 10, false, {3, 2, 4, 3}, TPalette::ColumnsOnly, false}, 2, 2, 40, 4, true},
    {"target exactly as wide as the margins: no middle", THREE_FRAMES, 1, 1, 7, 30, false},
    {"target the size of the frame", THREE_FRAMES_PATTERN, 3, 3, 12, 10, false},
    {"target smaller than the frame", THREE_FRAMES, 2, 2, 8, 6, false},
    {"frames stacked vertically", {3, 12, 10, true, {3, 2, 4, 3}, TPalette::Regions, true}, 3, 3, 26, 23, true},
    {"index past the last frame draws the last", THREE_FRAMES, 7, 3, 20, 20, false},
    {"index 0 draws the first", THREE_FRAMES, 0, 1, 20, 20, false},
    {"negative margins count as zero", {1, 10, 10, false, {-2, -1, 2, 2}, TPalette::Regions, false}, 1, 1, 20, 20,
     false},
};

class NineSlice : public ::testing::TestWithParam<TNineSliceCase> {};

TEST_P(NineSlice, EveryPixelMatchesTheReference)
{
    const TNineSliceCase& c = GetParam();
    TGdiBitmap source = c.Source.Make();
    ASSERT_FALSE(source.IsNull());
    const int ox = 5, oy = 4;
    TCanvas canvas(c.W + 2 * ox, c.H + 2 * oy, BACKGROUND);
    ASSERT_TRUE(canvas.Ok());
    // Negative margins in the source palette are empty regions.
    TNineSliceCase ref = c;
    ref.Source.Margins = {std::max<LONG>(c.Source.Margins.left, 0), std::max<LONG>(c.Source.Margins.top, 0),
                          std::max<LONG>(c.Source.Margins.right, 0), std::max<LONG>(c.Source.Margins.bottom, 0)};

    skin::DrawFrameBitmap(canvas.DC(), RECT{ox, oy, ox + c.W, oy + c.H}, source, c.Source.Margins, c.FrameIndex,
                          c.Source.Count, false, c.Tile, c.Source.Vertical);

    int wrong = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const bool inside = x >= ox && x < ox + c.W && y >= oy && y < oy + c.H;
            const COLORREF expected = inside ? ExpectedNineSlice(ref, x - ox, y - oy) : BACKGROUND;
            const COLORREF actual = canvas.Pixel(x, y);
            if (actual != expected && ++wrong <= 5)
                ADD_FAILURE() << c.Name << ": pixel (" << x - ox << "," << y - oy << ") is " << Hex(actual)
                              << ", expected " << Hex(expected);
        }
    EXPECT_EQ(wrong, 0) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(FrameDraw, NineSlice, ::testing::ValuesIn(NINE_SLICE_CASES));

// When the margins do not fit, the whole frame (margins and middle) is
// squeezed across the target: its first and last lines show the margin
// colours and the lines between show the middle.
TEST(FrameDraw, TargetSmallerThanTheMarginsSqueezesTheWholeFrame)
{
    const TFrameSource s{2, 12, 10, false, {3, 2, 4, 3}, TPalette::Regions, false};
    TGdiBitmap source = s.Make();
    {
        TCanvas canvas(6, 20, BACKGROUND);  // 6 < 3 + 4: 12 columns into 6
        skin::DrawFrameBitmap(canvas.DC(), RECT{0, 0, 6, 20}, source, s.Margins, 2, 2, false, false, false);
        for (int y : {0, 10, 19}) {
            const int row = y < 2 ? 0 : y >= 17 ? 2 : 1;
            EXPECT_EQ(Hex(canvas.Pixel(0, y)), Hex(s.RegionColour(2, 0, row))) << "row " << y;
            EXPECT_EQ(Hex(canvas.Pixel(2, y)), Hex(s.RegionColour(2, 1, row))) << "row " << y;
            EXPECT_EQ(Hex(canvas.Pixel(3, y)), Hex(s.RegionColour(2, 1, row))) << "row " << y;
            EXPECT_EQ(Hex(canvas.Pixel(5, y)), Hex(s.RegionColour(2, 2, row))) << "row " << y;
        }
    }
    {
        TCanvas canvas(30, 4, BACKGROUND);  // 4 < 2 + 3: 10 rows into 4
        skin::DrawFrameBitmap(canvas.DC(), RECT{0, 0, 30, 4}, source, s.Margins, 1, 2, false, false, false);
        for (int x : {0, 15, 29}) {
            const int col = x < 3 ? 0 : x >= 26 ? 2 : 1;
            EXPECT_EQ(Hex(canvas.Pixel(x, 0)), Hex(s.RegionColour(1, col, 0))) << "column " << x;
            EXPECT_EQ(Hex(canvas.Pixel(x, 1)), Hex(s.RegionColour(1, col, 1))) << "column " << x;
            EXPECT_EQ(Hex(canvas.Pixel(x, 2)), Hex(s.RegionColour(1, col, 1))) << "column " << x;
            EXPECT_EQ(Hex(canvas.Pixel(x, 3)), Hex(s.RegionColour(1, col, 2))) << "column " << x;
        }
    }
}

TEST(FrameDraw, TransparentMiddleShowsWhatWasUnderneath)
{
    const TFrameSource s{2, 12, 10, false, {3, 2, 4, 3}, TPalette::MagentaMiddle, false};
    TGdiBitmap source = s.Make();
    TCanvas canvas(30, 24, BACKGROUND);
    skin::DrawFrameBitmap(canvas.DC(), RECT{2, 2, 28, 22}, source, s.Margins, 1, 2, true, false, false);
    EXPECT_EQ(Hex(canvas.Pixel(15, 12)), Hex(BACKGROUND));
    EXPECT_EQ(Hex(canvas.Pixel(2, 2)), Hex(s.RegionColour(1, 0, 0)));
    EXPECT_EQ(Hex(canvas.Pixel(27, 21)), Hex(s.RegionColour(1, 2, 2)));
    EXPECT_EQ(Hex(canvas.Pixel(15, 2)), Hex(s.RegionColour(1, 1, 0)));

    // Without transparency the magenta is copied.
    skin::DrawFrameBitmap(canvas.DC(), RECT{2, 2, 28, 22}, source, s.Margins, 1, 2, false, false, false);
    EXPECT_EQ(Hex(canvas.Pixel(15, 12)), Hex(MAGENTA));
}

TEST(FrameDraw, BuiltBitmapHasTheTargetSize)
{
    TGdiBitmap source = THREE_FRAMES.Make();
    TGdiBitmap built = skin::BuildFrameBitmap(RECT{10, 20, 47, 31}, source, THREE_FRAMES.Margins, 1, 3, false, false);
    ASSERT_FALSE(built.IsNull());
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(built, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
    EXPECT_EQ(bm.bmWidth, 37);
    EXPECT_EQ(bm.bmHeight, 11);
    skin::TPixels pixels;
    ASSERT_TRUE(skin::ReadPixels(built, pixels));
    EXPECT_EQ(Hex(drawtest::ColourAt(pixels, 36, 10)), Hex(THREE_FRAMES.RegionColour(1, 2, 2)));
}

// Each routine must leave the canvas untouched for unusable arguments.
TEST(FrameDraw, UnusableArgumentsDrawNothing)
{
    TGdiBitmap source = THREE_FRAMES.Make();
    const RECT m = THREE_FRAMES.Margins;
    struct TCase {
        const char* Name;
        RECT Dest;
        HBITMAP Bitmap;
        bool CentredDrawsNothing;  // a centred frame overhangs an empty rectangle
    };
    const TCase cases[] = {
        {"inverted horizontally", {20, 5, 10, 15}, source, true},
        {"inverted vertically", {5, 20, 15, 10}, source, true},
        {"empty", {5, 5, 5, 15}, source, false},
        {"null bitmap", {5, 5, 25, 25}, nullptr, true},
    };
    for (const TCase& c : cases) {
        TCanvas canvas(32, 32, BACKGROUND);
        HDC dc = canvas.DC();
        skin::DrawFrameBitmap(dc, c.Dest, c.Bitmap, m, 1, 3, false, false, false);
        skin::DrawFrameBitmap(dc, c.Dest, c.Bitmap, m, 1, 3, true, true, false);
        skin::DrawFrameStrip(dc, c.Dest, c.Bitmap, m, 1, 3, false, false);
        skin::DrawFrameThreePart(dc, c.Dest, c.Bitmap, m, 1, 3, false);
        skin::DrawFrameStretched(dc, c.Dest, c.Bitmap, 1, 3, false);
        skin::DrawTransparentBitmap(dc, c.Dest, c.Bitmap, MAGENTA);
        if (c.CentredDrawsNothing)
            skin::DrawFrameCentred(dc, c.Dest, c.Bitmap, 1, 3, false);
        int changed = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                changed += canvas.Pixel(x, y) != BACKGROUND;
        EXPECT_EQ(changed, 0) << c.Name;
    }
    // A bitmap narrower than its frame count has empty frames.
    TGdiBitmap tiny = MakeSource(2, 4, [](int, int) { return RGB(9, 9, 9); });
    TCanvas canvas(16, 16, BACKGROUND);
    skin::DrawFrameBitmap(canvas.DC(), RECT{0, 0, 16, 16}, tiny, RECT{}, 1, 5, false, false, false);
    EXPECT_EQ(canvas.Pixel(8, 8), BACKGROUND);
}

// Every routine leaves the target's stretch mode, colours and selected bitmap as it found them.
TEST(FrameDraw, TargetStateIsLeftAsFound)
{
    TGdiBitmap source = THREE_FRAMES.Make();
    const RECT m = THREE_FRAMES.Margins;
    TCanvas canvas(64, 64, BACKGROUND);
    HDC dc = canvas.DC();
    SetStretchBltMode(dc, HALFTONE);
    SetBkColor(dc, RGB(10, 20, 30));
    SetTextColor(dc, RGB(40, 50, 60));
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);

    skin::DrawFrameBitmap(dc, RECT{0, 0, 40, 30}, source, m, 1, 3, true, true, false);
    skin::DrawFrameStrip(dc, RECT{0, 0, 40, 30}, source, m, 2, 3, true, false);
    skin::DrawFrameThreePart(dc, RECT{0, 0, 40, 30}, source, m, 2, 3, false);
    skin::DrawFrameStretched(dc, RECT{0, 0, 40, 30}, source, 2, 3, true);
    skin::DrawFrameCentred(dc, RECT{0, 0, 40, 30}, source, 2, 3, true);
    skin::DrawTransparentBitmap(dc, RECT{0, 0, 40, 30}, source, MAGENTA, skin::TTransparentMethod::InvertAndMask);
    skin::TileBitmap(dc, RECT{0, 0, 40, 30}, source, RECT{1, 1, 5, 5});

    EXPECT_EQ(GetStretchBltMode(dc), HALFTONE);
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(GetTextColor(dc), RGB(40, 50, 60));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), selected);
    // The source is free again: it can be selected elsewhere.
    TMemoryDC other;
    TSelectObject select(other, source);
    EXPECT_NE(select.Previous(), nullptr);
}

TEST(FrameDraw, StripRepeatsTheMiddleColumnsUnscaled)
{
    // Two frames of 10 x 4; colour depends on the column only, so the
    // vertical stretch to 7 rows keeps every column's colour.
    const int fw = 10, L = 2, R = 3, m = fw - L - R;
    auto colour = [](int frame, int fx) { return RGB(20 * fx, 7 * frame, 100); };
    TGdiBitmap source = MakeSource(2 * fw, 4, [&](int x, int) { return colour(x / fw + 1, x % fw); });
    for (int W : {23, 25, 5}) {
        TCanvas canvas(W + 4, 9, BACKGROUND);
        skin::DrawFrameStrip(canvas.DC(), RECT{2, 1, 2 + W, 8}, source, RECT{L, 99, R, 99}, 2, 2, false, false);
        for (int x = 0; x < W; ++x) {
            const int fx = x < L ? x : x >= W - R ? fw - (W - x) : L + (x - L) % m;
            for (int y : {1, 4, 7})
                EXPECT_EQ(Hex(canvas.Pixel(2 + x, y)), Hex(colour(2, fx))) << "W " << W << " x " << x << " y " << y;
        }
        EXPECT_EQ(canvas.Pixel(1, 4), BACKGROUND);
        EXPECT_EQ(canvas.Pixel(2 + W, 4), BACKGROUND) << "W " << W;
        EXPECT_EQ(canvas.Pixel(5, 0), BACKGROUND);
        EXPECT_EQ(canvas.Pixel(5, 8), BACKGROUND);
    }
}

TEST(FrameDraw, StripWithTransparencyAndStackedFrames)
{
    // Three stacked frames of 6 x 3; frame 2 has a magenta middle.
    TGdiBitmap source = MakeSource(6, 9, [](int x, int y) {
        const int frame = y / 3 + 1;
        if (frame == 2 && x >= 1 && x < 5)
            return MAGENTA;
        return RGB(50 * frame, x, 0);
    });
    TCanvas canvas(20, 6, BACKGROUND);
    skin::DrawFrameStrip(canvas.DC(), RECT{0, 0, 20, 6}, source, RECT{1, 0, 1, 0}, 2, 3, true, true);
    EXPECT_EQ(Hex(canvas.Pixel(0, 3)), Hex(RGB(100, 0, 0)));
    EXPECT_EQ(Hex(canvas.Pixel(10, 3)), Hex(BACKGROUND));
    EXPECT_EQ(Hex(canvas.Pixel(19, 3)), Hex(RGB(100, 5, 0)));
}

TEST(FrameDraw, ThreePartStretchesTheMiddleStraightOntoTheTarget)
{
    // Two frames of 10 x 5 with left 2 and right 3 columns; one colour per part.
    const int fw = 10, L = 2, R = 3;
    auto part = [&](int fx) { return fx < L ? 0 : fx >= fw - R ? 2 : 1; };
    auto colour = [](int frame, int p) { return RGB(60 + 70 * p, 30 * frame, 7); };
    TGdiBitmap source = MakeSource(2 * fw, 5, [&](int x, int) { return colour(x / fw + 1, part(x % fw)); });

    TCanvas canvas(40, 12, BACKGROUND);
    skin::DrawFrameThreePart(canvas.DC(), RECT{3, 2, 33, 10}, source, RECT{L, 0, R, 0}, 2, 2, false);
    for (int x = 0; x < 40; ++x)
        for (int y : {1, 2, 6, 9, 10}) {
            const bool inside = x >= 3 && x < 33 && y >= 2 && y < 10;
            const int p = x - 3 < L ? 0 : x >= 33 - R ? 2 : 1;
            EXPECT_EQ(Hex(canvas.Pixel(x, y)), Hex(inside ? colour(2, p) : BACKGROUND)) << x << "," << y;
        }

    // Narrower than the frame: the whole frame, shrunk, in one piece.
    TCanvas narrow(12, 5, BACKGROUND);
    skin::DrawFrameThreePart(narrow.DC(), RECT{2, 0, 8, 5}, source, RECT{L, 0, R, 0}, 1, 2, false);
    EXPECT_EQ(Hex(narrow.Pixel(2, 2)), Hex(colour(1, 0)));
    EXPECT_EQ(Hex(narrow.Pixel(7, 2)), Hex(colour(1, 2)));
    EXPECT_EQ(Hex(narrow.Pixel(8, 2)), Hex(BACKGROUND));
    EXPECT_EQ(Hex(narrow.Pixel(1, 2)), Hex(BACKGROUND));
}

TEST(FrameDraw, StretchedFrameDoublesEveryPixel)
{
    // Three frames of 4 x 3, every pixel distinct; frame 3 enlarged 2x.
    auto colour = [](int x, int y) { return RGB(30 * (x % 4) + 5, 40 * y + 5, 60 * (x / 4)); };
    TGdiBitmap source = MakeSource(12, 3, colour);
    TCanvas canvas(12, 8, BACKGROUND);
    skin::DrawFrameStretched(canvas.DC(), RECT{1, 1, 9, 7}, source, 3, 3, false);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inside = x >= 1 && x < 9 && y >= 1 && y < 7;
            const COLORREF expected = inside ? colour(8 + (x - 1) / 2, (y - 1) / 2) : BACKGROUND;
            EXPECT_EQ(Hex(canvas.Pixel(x, y)), Hex(expected)) << x << "," << y;
        }
}

TEST(FrameDraw, CentredFrameOverhangsEvenlyAndTruncatesTowardZero)
{
    struct TCase {
        int FrameW, FrameH;
        RECT Rect;
        POINT Origin;
    };
    const TCase cases[] = {
        {20, 20, {30, 30, 40, 40}, {25, 25}},  // larger: starts 5 pixels before the rectangle
        {5, 3, {30, 30, 40, 40}, {32, 33}},    // smaller: rounded toward the start
        {21, 1, {30, 30, 40, 40}, {25, 34}},   // (10 - 21) / 2 = -5, not -6
        {10, 10, {30, 30, 40, 40}, {30, 30}},
    };
    for (const TCase& c : cases) {
        // Two frames side by side; frame 2 is the one drawn.
        TGdiBitmap source = MakeSource(2 * c.FrameW, c.FrameH, [&](int x, int y) {
            return x < c.FrameW ? RGB(200, 0, 0) : RGB(10 + (x - c.FrameW) * 5, 10 + y * 5, 200);
        });
        TCanvas canvas(80, 80, BACKGROUND);
        skin::DrawFrameCentred(canvas.DC(), c.Rect, source, 2, 2, false);
        const POINT o = c.Origin;
        EXPECT_EQ(Hex(canvas.Pixel(o.x, o.y)), Hex(RGB(10, 10, 200))) << c.FrameW;
        EXPECT_EQ(Hex(canvas.Pixel(o.x + c.FrameW - 1, o.y + c.FrameH - 1)),
                  Hex(RGB(10 + (c.FrameW - 1) * 5, 10 + (c.FrameH - 1) * 5, 200)))
            << c.FrameW;
        EXPECT_EQ(canvas.Pixel(o.x - 1, o.y), BACKGROUND) << c.FrameW;
        EXPECT_EQ(canvas.Pixel(o.x, o.y - 1), BACKGROUND) << c.FrameW;
        EXPECT_EQ(canvas.Pixel(o.x + c.FrameW, o.y), BACKGROUND) << c.FrameW;
        EXPECT_EQ(canvas.Pixel(o.x, o.y + c.FrameH), BACKGROUND) << c.FrameW;
    }
}

// Both ways of drawing with a transparent colour must give the same pixels:
// the image where it is not the key colour, the old target elsewhere.
TEST(FrameDraw, TransparentBitmapLeavesOutExactlyTheKeyColour)
{
    const COLORREF nearMagenta = RGB(254, 0, 255);
    auto colour = [&](int x, int y) -> COLORREF {
        if ((x + 2 * y) % 3 == 0)
            return MAGENTA;
        if (x == 4 && y == 1)
            return nearMagenta;
        return RGB(20 * x, 30 * y, 77);
    };
    TGdiBitmap source = MakeSource(8, 6, colour);
    struct TCase {
        const char* Name;
        RECT Dest;
        COLORREF Key;
    };
    const TCase cases[] = {
        {"same size", {3, 2, 11, 8}, MAGENTA},
        {"smaller target takes the top-left part", {3, 2, 8, 5}, MAGENTA},
        {"larger target: the rest is left alone", {3, 2, 17, 13}, MAGENTA},
        {"another key colour", {3, 2, 11, 8}, RGB(40, 30, 77)},
    };
    for (auto method : {skin::TTransparentMethod::Auto, skin::TTransparentMethod::MaskBlt,
                        skin::TTransparentMethod::InvertAndMask}) {
        for (const TCase& c : cases) {
            TCanvas canvas(20, 16, BACKGROUND);
            skin::DrawTransparentBitmap(canvas.DC(), c.Dest, source, c.Key, method);
            int wrong = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 20; ++x) {
                    const int sx = x - c.Dest.left, sy = y - c.Dest.top;
                    const bool covered = x >= c.Dest.left && x < c.Dest.right && y >= c.Dest.top &&
                                         y < c.Dest.bottom && sx < 8 && sy < 6;
                    const COLORREF expected = covered && colour(sx, sy) != c.Key ? colour(sx, sy) : BACKGROUND;
                    if (canvas.Pixel(x, y) != expected && ++wrong <= 3)
                        ADD_FAILURE() << c.Name << " method " << static_cast<int>(method) << " at " << x << ","
                                      << y << ": " << Hex(canvas.Pixel(x, y)) << " expected " << Hex(expected);
                }
            EXPECT_EQ(wrong, 0) << c.Name;
        }
    }
}

TEST(FrameDraw, TileRepeatsTheSourceWithoutClippingTheLastTiles)
{
    auto colour = [](int x, int y) { return RGB(10 * x + 5, 10 * y + 5, 33); };
    TGdiBitmap source = MakeSource(8, 6, colour);
    const RECT sourceRect{2, 1, 5, 3};  // 3 x 2
    const RECT dest{4, 3, 12, 8};       // 8 x 5: tiles reach x 13 and y 8
    TCanvas canvas(20, 14, BACKGROUND);
    skin::TileBitmap(canvas.DC(), dest, source, sourceRect);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool tiled = x >= 4 && x < 13 && y >= 3 && y < 9;
            const COLORREF expected = tiled ? colour(2 + (x - 4) % 3, 1 + (y - 3) % 2) : BACKGROUND;
            EXPECT_EQ(Hex(canvas.Pixel(x, y)), Hex(expected)) << x << "," << y;
        }

    // An empty or inverted source draws nothing.
    TCanvas empty(20, 14, BACKGROUND);
    skin::TileBitmap(empty.DC(), dest, source, RECT{2, 1, 2, 3});
    skin::TileBitmap(empty.DC(), dest, source, RECT{5, 1, 2, 3});
    EXPECT_EQ(empty.Pixel(5, 4), BACKGROUND);
}

}  // namespace

// Scratch surfaces are lent and given back: a surface given back is lent
// again blank and with the DC's state of before, one lent twice at once
// never, and a large one is made for its user alone.
TEST(FrameDraw, ScratchSurfacesComeBackBlankAndAreNeverLentTwice)
{
    HDC first = nullptr;
    {
        skin::TScratchSurface a(20, 10);
        ASSERT_TRUE(a.Ok());
        first = a.DC();
        ASSERT_GE(a.Pitch(), 20);
        RECT all{0, 0, 20, 10};
        FillRect(a.DC(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(a.DC(), RGB(10, 20, 30));
        SetBkMode(a.DC(), TRANSPARENT);
        skin::TScratchSurface b(20, 10);
        ASSERT_TRUE(b.Ok());
        EXPECT_NE(b.DC(), a.DC()) << "a surface in use is not lent again";
        GdiFlush();
        EXPECT_EQ(a.Pixels()[0] & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(a.Pixels()[9 * a.Pitch() + 19] & 0xFFFFFF, 0xFFFFFFu);
    }
    skin::TScratchSurface again(16, 8);
    ASSERT_TRUE(again.Ok());
    EXPECT_EQ(again.DC(), first) << "the smallest idle surface that fits is lent";
    GdiFlush();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(again.Pixels()[y * again.Pitch() + x] & 0xFFFFFF, 0u) << x << "," << y;
    EXPECT_EQ(GetTextColor(again.DC()), RGB(0, 0, 0));
    EXPECT_EQ(GetBkMode(again.DC()), OPAQUE);

    skin::TScratchSurface large(900, 700);
    ASSERT_TRUE(large.Ok());
    EXPECT_EQ(large.Pitch(), 900);
    EXPECT_NE(large.DC(), first);
}
