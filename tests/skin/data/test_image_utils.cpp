// Colour maths against obviously-correct references, the gradient fill and
// its cache, and the whole-bitmap transforms read back pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

#include "skin/data/image_utils.h"
#include "tests/skin/data/skin_draw_support.h"

using drawtest::ColourAt;
using drawtest::Hex;
using drawtest::MakeSource;
using drawtest::TCanvas;

namespace {

const COLORREF BACKGROUND = RGB(1, 2, 3);
const COLORREF MAGENTA = RGB(255, 0, 255);
const COLORREF SYS_BTNFACE = 0xFF000000u | COLOR_BTNFACE;

TEST(ImageUtils, BlendColoursExamples)
{
    struct TCase {
        COLORREF C1, C2;
        int Weight;
        COLORREF Expected;
    };
    const TCase cases[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), 150, RGB(217, 217, 217)},  // 15 % black, 85 % white
        {RGB(0, 0, 0), RGB(255, 255, 255), 50, RGB(128, 128, 128)},    // percent, half rounds up
        {RGB(10, 20, 30), RGB(11, 21, 31), 50, RGB(11, 21, 31)},
        {RGB(200, 100, 0), RGB(0, 100, 200), 100, RGB(20, 100, 180)},  // 100 is per mille
        {RGB(200, 100, 0), RGB(0, 100, 200), 99, RGB(198, 100, 2)},    // 99 is percent
        {RGB(1, 2, 3), RGB(4, 5, 6), 0, RGB(4, 5, 6)},
        {RGB(1, 2, 3), RGB(4, 5, 6), 1000, RGB(1, 2, 3)},
        // Weights past the divisor still give a colour, held per channel.
        {RGB(255, 0, 100), RGB(0, 255, 100), 1500, RGB(255, 0, 100)},
        {RGB(255, 0, 100), RGB(0, 255, 100), -50, RGB(0, 255, 100)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(skin::BlendColours(c.C1, c.C2, c.Weight)), Hex(c.Expected))
            << Hex(c.C1) << " " << Hex(c.C2) << " w " << c.Weight;

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(skin::BlendColours(SYS_BTNFACE, RGB(0, 0, 0), 1000), face & 0xFFFFFF);
    EXPECT_EQ(skin::BlendColours(RGB(0, 0, 0), SYS_BTNFACE, 0), face & 0xFFFFFF);
}

// Reference: the weighted mean in floating point, rounded half up, held to 0..255.
TEST(ImageUtils, BlendColoursMatchesReference)
{
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> channel(0, 255), weight(-200, 1300);
    for (int i = 0; i < 20000; ++i) {
        const COLORREF c1 = RGB(channel(random), channel(random), channel(random));
        const COLORREF c2 = RGB(channel(random), channel(random), channel(random));
        const int w = weight(random);
        const double d = w < 100 ? 100.0 : 1000.0;
        auto mix = [&](int a, int b) {
            const double v = std::floor((a * w + b * (d - w)) / d + 0.5);
            return static_cast<int>(std::min(255.0, std::max(0.0, v)));
        };
        const COLORREF expected = RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
                                      mix(GetBValue(c1), GetBValue(c2)));
        ASSERT_EQ(Hex(skin::BlendColours(c1, c2, w)), Hex(expected)) << Hex(c1) << " " << Hex(c2) << " w " << w;
    }
}

TEST(ImageUtils, SaturationExamples)
{
    struct TCase {
        COLORREF Colour;
        int Expected;
    };
    const TCase cases[] = {
        {RGB(100, 100, 100), 200}, {RGB(255, 0, 0), 255},   {RGB(200, 200, 200), 0},
        {RGB(159, 0, 0), 200},     {RGB(160, 0, 0), 255},   {RGB(0, 0, 160), 255},
        {RGB(170, 169, 169), 2},   // 1.5 rounds to 2
        {RGB(170, 167, 167), 4},   // 4.5 rounds to the even 4
        {RGB(170, 165, 165), 8},   // 7.5 rounds to 8
        {RGB(229, 229, 229), 0},   {RGB(216, 208, 200), 19},  // 18.89
    };
    for (const auto& c : cases)
        EXPECT_EQ(skin::Saturation(c.Colour), c.Expected) << Hex(c.Colour);
}

TEST(ImageUtils, GradientColoursEndsAndRounding)
{
    // One line is the middle colour.
    EXPECT_EQ(Hex(skin::GradientColours(1, RGB(0, 0, 0), RGB(255, 255, 255))[0]), Hex(RGB(127, 127, 127)));
    EXPECT_EQ(Hex(skin::GradientColours(1, RGB(100, 50, 0), RGB(200, 50, 10))[0]), Hex(RGB(150, 50, 5)));
    EXPECT_TRUE(skin::GradientColours(0, 0, 0).empty());

    // Rising channels: ends exact, every entry within half a step of the ideal line.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> channel(0, 255), length(2, 600);
    for (int i = 0; i < 300; ++i) {
        const int n = length(random);
        int from[3], to[3];
        for (int k = 0; k < 3; ++k) {
            from[k] = channel(random);
            to[k] = channel(random);
            if (to[k] < from[k])
                std::swap(from[k], to[k]);
        }
        const auto table = skin::GradientColours(n, RGB(from[0], from[1], from[2]), RGB(to[0], to[1], to[2]));
        ASSERT_EQ(static_cast<int>(table.size()), n);
        EXPECT_EQ(table.front(), RGB(from[0], from[1], from[2]));
        EXPECT_EQ(table.back(), RGB(to[0], to[1], to[2]));
        for (int j = 0; j < n; ++j) {
            const int got[3] = {GetRValue(table[j]), GetGValue(table[j]), GetBValue(table[j])};
            for (int k = 0; k < 3; ++k) {
                const double ideal = from[k] + double(j) * (to[k] - from[k]) / (n - 1);
                ASSERT_LE(std::fabs(got[k] - ideal), 0.5) << "n " << n << " entry " << j;
            }
        }
    }
    // Falling channels: the division truncates toward zero, so entries lie
    // at or above the ideal line, by less than one and a half steps.
    const auto falling = skin::GradientColours(7, RGB(255, 90, 3), RGB(0, 10, 0));
    EXPECT_EQ(falling.front(), RGB(255, 90, 3));
    for (int j = 0; j < 7; ++j) {
        const double ideal[3] = {255 - 255.0 * j / 6, 90 - 80.0 * j / 6, 3 - 3.0 * j / 6};
        const int got[3] = {GetRValue(falling[j]), GetGValue(falling[j]), GetBValue(falling[j])};
        for (int k = 0; k < 3; ++k) {
            EXPECT_GE(got[k] - ideal[k], 0.0) << "entry " << j << " channel " << k;
            EXPECT_LT(got[k] - ideal[k], 1.5) << "entry " << j << " channel " << k;
        }
    }
}

TEST(ImageUtils, GradientCacheReusesMatchingTablesAndTakesSlotsInTurn)
{
    skin::TGradientCache cache;
    const auto& first = cache.Lookup(10, RGB(0, 0, 0), RGB(90, 90, 90));
    EXPECT_EQ(cache.NextSlot(), 1);
    EXPECT_EQ(&cache.Lookup(10, RGB(0, 0, 0), RGB(90, 90, 90)), &first);
    EXPECT_EQ(cache.Hits(), 1);
    EXPECT_EQ(cache.NextSlot(), 1);

    // Same ends, other length: a new table.
    cache.Lookup(11, RGB(0, 0, 0), RGB(90, 90, 90));
    EXPECT_EQ(cache.Hits(), 1);
    EXPECT_EQ(cache.NextSlot(), 2);

    // Fourteen more fill the ring; the sixteenth new table wraps to slot 0
    // and replaces the first one.
    for (int i = 0; i < 14; ++i)
        cache.Lookup(20 + i, RGB(0, 0, 0), RGB(90, 90, 90));
    EXPECT_EQ(cache.NextSlot(), 0);
    EXPECT_EQ(cache.Hits(), 1);
    cache.Lookup(10, RGB(0, 0, 0), RGB(90, 90, 90));
    EXPECT_EQ(cache.Hits(), 2);
    cache.Lookup(99, RGB(0, 0, 0), RGB(90, 90, 90));
    EXPECT_EQ(cache.NextSlot(), 1);
    const auto& again = cache.Lookup(10, RGB(0, 0, 0), RGB(90, 90, 90));
    EXPECT_EQ(cache.Hits(), 2) << "slot 0 was taken over";
    EXPECT_EQ(again.size(), 10u);
    EXPECT_EQ(again.back(), RGB(90, 90, 90));
}

TEST(ImageUtils, GradientFillDrawsOneColourPerLine)
{
    struct TCase {
        const char* Name;
        RECT Rect;
        COLORREF From, To;
        bool Vertical;
    };
    const TCase cases[] = {
        {"vertical 0..255 over 256 rows", {3, 2, 9, 258}, RGB(0, 0, 0), RGB(255, 255, 255), true},
        {"horizontal", {1, 4, 101, 9}, RGB(200, 10, 40), RGB(20, 190, 40), false},
        {"one line is the middle colour", {0, 5, 30, 6}, RGB(0, 0, 0), RGB(255, 255, 255), true},
        {"one column", {7, 0, 8, 20}, RGB(10, 20, 30), RGB(50, 60, 70), false},
        {"system colours resolved", {0, 0, 10, 40}, SYS_BTNFACE, RGB(0, 0, 0), true},
    };
    for (const TCase& c : cases) {
        TCanvas canvas(110, 260, BACKGROUND);
        skin::GradientFill(canvas.DC(), c.Rect, c.From, c.To, c.Vertical);
        const int n = c.Vertical ? c.Rect.bottom - c.Rect.top : c.Rect.right - c.Rect.left;
        const auto table = skin::GradientColours(n, skin::ResolveColour(c.From), skin::ResolveColour(c.To));
        int wrong = 0;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x) {
                const bool inside = x >= c.Rect.left && x < c.Rect.right && y >= c.Rect.top && y < c.Rect.bottom;
                const int line = c.Vertical ? y - c.Rect.top : x - c.Rect.left;
                const COLORREF expected = inside ? table[line] : BACKGROUND;
                if (canvas.Pixel(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << c.Name << " at " << x << "," << y << ": " << Hex(canvas.Pixel(x, y))
                                  << " expected " << Hex(expected);
            }
        EXPECT_EQ(wrong, 0) << c.Name;
    }
    // 0..255 over 256 rows gives row i the grey i.
    TCanvas canvas(4, 256, BACKGROUND);
    skin::GradientFill(canvas.DC(), RECT{0, 0, 4, 256}, RGB(0, 0, 0), RGB(255, 255, 255), true);
    for (int y = 0; y < 256; ++y)
        ASSERT_EQ(Hex(canvas.Pixel(2, y)), Hex(RGB(y, y, y)));
}

TEST(ImageUtils, GradientFillDrawsOnlyInsideTheClipBoxWithUnshiftedColours)
{
    for (bool vertical : {true, false}) {
        TCanvas canvas(60, 60, BACKGROUND);
        TGdiRegion clip(CreateRectRgn(10, 15, 50, 40));
        SelectClipRgn(canvas.DC(), clip);
        const RECT rect{5, 5, 55, 55};
        skin::GradientFill(canvas.DC(), rect, RGB(0, 0, 250), RGB(250, 0, 0), vertical);
        const auto table = skin::GradientColours(50, RGB(0, 0, 250), RGB(250, 0, 0));
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x) {
                const bool visible = x >= 10 && x < 50 && y >= 15 && y < 40;
                const COLORREF expected = visible ? table[vertical ? y - 5 : x - 5] : BACKGROUND;
                ASSERT_EQ(Hex(canvas.Pixel(x, y)), Hex(expected)) << (vertical ? "rows " : "columns ") << x << ","
                                                                  << y;
            }
    }
    // A rectangle outside the clip box draws nothing, and an empty one neither.
    TCanvas canvas(60, 60, BACKGROUND);
    TGdiRegion clip(CreateRectRgn(0, 0, 10, 10));
    SelectClipRgn(canvas.DC(), clip);
    skin::GradientFill(canvas.DC(), RECT{20, 20, 40, 40}, RGB(0, 0, 0), RGB(255, 255, 255), true);
    SelectClipRgn(canvas.DC(), nullptr);
    skin::GradientFill(canvas.DC(), RECT{20, 20, 40, 20}, RGB(0, 0, 0), RGB(255, 255, 255), true);
    skin::GradientFill(canvas.DC(), RECT{40, 20, 20, 40}, RGB(0, 0, 0), RGB(255, 255, 255), false);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(canvas.Pixel(x, y), BACKGROUND) << x << "," << y;
}

// Reference transforms written as "where does source pixel (x, y) land".
struct TTransformCase {
    const char* Name;
    bool (*Apply)(TGdiBitmap&);
    bool SwapsSize;
    POINT (*Land)(int x, int y, int w, int h);
    int ResultBits;  // 0: as the source
};

const TTransformCase TRANSFORMS[] = {
    {"MirrorHorizontal", skin::MirrorHorizontal, false, [](int x, int y, int w, int) { return POINT{w - 1 - x, y}; },
     0},
    {"FlipVertical", skin::FlipVertical, false, [](int x, int y, int, int h) { return POINT{x, h - 1 - y}; }, 0},
    // Counter-clockwise: the top row becomes the left column, read bottom up.
    {"RotateLeft", skin::RotateLeft, true, [](int x, int y, int w, int) { return POINT{y, w - 1 - x}; }, 24},
    // Clockwise: the top row becomes the right column, read top down.
    {"RotateRight", skin::RotateRight, true, [](int x, int y, int, int h) { return POINT{h - 1 - y, x}; }, 24},
};

TEST(ImageUtils, TransformsMovePixelsWhereExpected)
{
    const int w = 5, h = 3;
    auto colour = [](int x, int y) { return RGB(40 * x + 3, 60 * y + 7, 11); };
    for (const auto& t : TRANSFORMS) {
        for (int bits : {24, 32}) {
            TGdiBitmap bitmap = MakeSource(w, h, colour, bits);
            ASSERT_TRUE(t.Apply(bitmap)) << t.Name;
            skin::TPixels out;
            ASSERT_TRUE(skin::ReadPixels(bitmap, out)) << t.Name;
            EXPECT_EQ(out.Width, t.SwapsSize ? h : w) << t.Name;
            EXPECT_EQ(out.Height, t.SwapsSize ? w : h) << t.Name;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const POINT p = t.Land(x, y, w, h);
                    EXPECT_EQ(Hex(ColourAt(out, p.x, p.y)), Hex(colour(x, y)))
                        << t.Name << " " << bits << "-bit source pixel " << x << "," << y;
                }
            BITMAP bm{};
            GetObjectW(bitmap, sizeof(bm), &bm);
            EXPECT_EQ(bm.bmBitsPixel, t.ResultBits ? t.ResultBits : bits) << t.Name;
        }
    }
    // The named corner checks: turning left puts the top-right pixel at the top left.
    TGdiBitmap bitmap = MakeSource(w, h, colour);
    ASSERT_TRUE(skin::RotateLeft(bitmap));
    skin::TPixels out;
    ASSERT_TRUE(skin::ReadPixels(bitmap, out));
    EXPECT_EQ(Hex(ColourAt(out, 0, 0)), Hex(colour(w - 1, 0)));
    EXPECT_EQ(Hex(ColourAt(out, 0, w - 1)), Hex(colour(0, 0)));
}

TEST(ImageUtils, ReplaceColourChangesOnlyExactMagenta)
{
    for (int bits : {24, 32}) {
        auto colour = [](int x, int y) -> COLORREF {
            if (x == y)
                return MAGENTA;
            if (x == 0)
                return RGB(255, 1, 255);
            if (x == 1)
                return RGB(254, 0, 255);
            return RGB(10 * x, 20 * y, 30);
        };
        TGdiBitmap bitmap = MakeSource(6, 5, colour, bits);
        ASSERT_TRUE(skin::ReplaceColour(bitmap, RGB(12, 34, 56)));
        BITMAP bm{};
        GetObjectW(bitmap, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmBitsPixel, 24);
        skin::TPixels out;
        ASSERT_TRUE(skin::ReadPixels(bitmap, out));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                const COLORREF expected = colour(x, y) == MAGENTA ? RGB(12, 34, 56) : colour(x, y);
                EXPECT_EQ(Hex(ColourAt(out, x, y)), Hex(expected)) << bits << "-bit " << x << "," << y;
            }
    }
    // A system colour is replaced by its current value.
    TGdiBitmap bitmap = MakeSource(2, 1, [](int, int) { return MAGENTA; });
    ASSERT_TRUE(skin::ReplaceColour(bitmap, SYS_BTNFACE));
    skin::TPixels out;
    ASSERT_TRUE(skin::ReadPixels(bitmap, out));
    EXPECT_EQ(Hex(ColourAt(out, 1, 0)), Hex(GetSysColor(COLOR_BTNFACE)));
}

TEST(ImageUtils, TransformsOfAnEmptyBitmapFailWithoutChange)
{
    for (auto apply : {skin::MirrorHorizontal, skin::FlipVertical, skin::RotateLeft, skin::RotateRight}) {
        TGdiBitmap none;
        EXPECT_FALSE(apply(none));
        EXPECT_TRUE(none.IsNull());
    }
    TGdiBitmap none;
    EXPECT_FALSE(skin::ReplaceColour(none, 0));
    EXPECT_TRUE(skin::CopyBitmap(nullptr).IsNull());
}

TEST(ImageUtils, CopyBitmapIsIndependentOfItsSource)
{
    // A screen-compatible bitmap (not a DIB) copied to a 24-bit DIB section.
    TWindowDC screen = TWindowDC::Client(nullptr);
    TGdiBitmap ddb(CreateCompatibleBitmap(screen, 4, 3));
    {
        TMemoryDC dc;
        TSelectObject select(dc, ddb);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                SetPixel(dc, x, y, RGB(x * 50, y * 70, 9));
    }
    TGdiBitmap copy = skin::CopyBitmap(ddb);
    ASSERT_FALSE(copy.IsNull());
    ddb.Reset();
    skin::TPixels out;
    ASSERT_TRUE(skin::ReadPixels(copy, out));
    EXPECT_EQ(Hex(ColourAt(out, 3, 2)), Hex(RGB(150, 140, 9)));
    BITMAP bm{};
    GetObjectW(copy, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 24);
}

TEST(ImageUtils, DibSectionIsTopDownWithItsFirstRowAtBits)
{
    void* bits = nullptr;
    TGdiBitmap dib = skin::MakeDibSection(3, 2, 32, &bits);
    ASSERT_FALSE(dib.IsNull());
    ASSERT_NE(bits, nullptr);
    BITMAP bm{};
    GetObjectW(dib, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmWidth, 3);
    EXPECT_EQ(bm.bmHeight, 2);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < 6; ++i) pixels[i] = 0x00102030u * static_cast<std::uint32_t>(i + 1);
    skin::TPixels read;
    ASSERT_TRUE(skin::ReadPixels(dib, read));
    // Pixels are 0x00RRGGBB; (2, 0) is the last of the first row, (0, 1) the
    // first of the second.
    EXPECT_EQ(Hex(ColourAt(read, 2, 0)), Hex(RGB(0x10 * 3, 0x20 * 3, 0x30 * 3)));
    EXPECT_EQ(Hex(ColourAt(read, 0, 1)), Hex(RGB(0x10 * 4, 0x20 * 4, 0x30 * 4)));

    for (auto [width, height] : {std::pair{0, 2}, std::pair{3, 0}, std::pair{-1, -1}}) {
        bits = &bits;
        EXPECT_TRUE(skin::MakeDibSection(width, height, 32, &bits).IsNull()) << width << " x " << height;
        EXPECT_EQ(bits, nullptr);
    }
}

}  // namespace
