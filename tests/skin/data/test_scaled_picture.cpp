// Small pictures drawn at a display scale: coverage read from a paint over
// black and over white, enlarged by whole and other factors without a fringe
// of the background, and laid over a target so that what the picture leaves
// transparent stays the target's.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/gdi_handles.h"
#include "skin/data/image_utils.h"
#include "skin/data/scaled_picture.h"

namespace {

std::uint32_t Alpha(std::uint32_t p) { return p >> 24; }
std::uint32_t Red(std::uint32_t p) { return (p >> 16) & 0xFF; }
std::uint32_t Green(std::uint32_t p) { return (p >> 8) & 0xFF; }
std::uint32_t Blue(std::uint32_t p) { return p & 0xFF; }

TEST(ScaledPicture, CoverageAndEnlargingKeepTransparentPartsOut)
{
    // Opaque red, untouched, blue at half coverage, opaque green.
    const std::vector<std::uint32_t> overBlack{0xFF0000, 0x000000, 0x000080, 0x00FF00};
    const std::vector<std::uint32_t> overWhite{0xFF0000, 0xFFFFFF, 0x7F7FFF, 0x00FF00};
    const skin::TCoveredPixels covered = skin::CoverageFromBlackAndWhite(2, 2, overBlack, overWhite);
    ASSERT_EQ(covered.Data.size(), 4u);
    EXPECT_EQ(covered.Data[0], 0xFFFF0000u);
    EXPECT_EQ(covered.Data[1], 0x00000000u);
    EXPECT_EQ(Alpha(covered.Data[2]), 0x80u);
    EXPECT_EQ(Blue(covered.Data[2]), 0x80u);
    EXPECT_EQ(Red(covered.Data[2]) + Green(covered.Data[2]), 0u);
    EXPECT_EQ(covered.Data[3], 0xFF00FF00u);

    // Twice: every pixel repeated in a 2 x 2 block, nothing mixed.
    const skin::TCoveredPixels doubled = skin::ResampleCovered(covered, 4, 4);
    ASSERT_EQ(doubled.Data.size(), 16u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(doubled.Data[static_cast<size_t>(y * 4 + x)], covered.Data[static_cast<size_t>((y / 2) * 2 + x / 2)])
                << x << "," << y;

    // One and a half times: the corners keep their pixels; what lies between
    // mixes covered pixels only (premultiplied: no colour above its
    // coverage, so the untouched pixel adds no black or white).
    const skin::TCoveredPixels larger = skin::ResampleCovered(covered, 3, 3);
    ASSERT_EQ(larger.Data.size(), 9u);
    EXPECT_EQ(larger.Data[0], covered.Data[0]);
    EXPECT_EQ(larger.Data[2], covered.Data[1]);
    EXPECT_EQ(larger.Data[8], covered.Data[3]);
    for (std::uint32_t p : larger.Data) {
        EXPECT_LE(Red(p), Alpha(p));
        EXPECT_LE(Green(p), Alpha(p));
        EXPECT_LE(Blue(p), Alpha(p));
    }
    const std::uint32_t middle = larger.Data[4];
    EXPECT_GT(Alpha(middle), 0u);
    EXPECT_LT(Alpha(middle), 255u);
}

// A 4 x 4 glyph with a key colour (magenta) in its right half, drawn over a
// grey target by a key-colour transfer, as button glyphs are drawn.
struct TDrawn {
    std::vector<COLORREF> Pixels;
    int Width = 0;
    COLORREF At(int x, int y) const { return Pixels[static_cast<size_t>(y * Width + x)]; }
};

TDrawn DrawGlyphAt(UINT dpi)
{
    TGdiBitmap glyph = skin::MakeDibSection(4, 4, 24);
    TMemoryDC glyphDC;
    TSelectObject useGlyph(glyphDC, glyph);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) SetPixel(glyphDC, x, y, x < 2 ? RGB(200, 0, 0) : RGB(255, 0, 255));
    TDrawn drawn;
    drawn.Width = 16;
    TGdiBitmap target = skin::MakeDibSection(16, 16, 32);
    TMemoryDC dc;
    TSelectObject useTarget(dc, target);
    RECT all{0, 0, 16, 16};
    TGdiBrush grey(CreateSolidBrush(RGB(128, 128, 128)));
    FillRect(dc, &all, grey);
    skin::DrawScaledPicture(dc, 2, 2, SIZE{4, 4}, dpi, [&](HDC to, int x, int y) {
        TransparentBlt(to, x, y, 4, 4, glyphDC, 0, 0, 4, 4, RGB(255, 0, 255));
    });
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) drawn.Pixels.push_back(GetPixel(dc, x, y));
    return drawn;
}

TEST(ScaledPicture, AGlyphGrowsWithTheScaleAndItsKeyColourStaysTransparent)
{
    const COLORREF red = RGB(200, 0, 0), grey = RGB(128, 128, 128);
    struct TCase {
        UINT Dpi;
        int Size;  // the glyph's drawn size
    } cases[] = {{96, 4}, {144, 6}, {192, 8}};
    for (const TCase& c : cases) {
        const TDrawn drawn = DrawGlyphAt(c.Dpi);
        int reds = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF p = drawn.At(x, y);
                const bool inside = x >= 2 && y >= 2 && x < 2 + c.Size && y < 2 + c.Size;
                if (!inside) {
                    EXPECT_EQ(p, grey) << c.Dpi << " DPI: outside the glyph at " << x << "," << y;
                }
                // Red, grey or a mix of the two: never the key colour or a
                // blend with it.
                EXPECT_EQ(GetGValue(p), GetBValue(p)) << c.Dpi << " DPI at " << x << "," << y;
                reds += p == red;
            }
        // The left half red, the right half the target's grey.
        EXPECT_EQ(drawn.At(2, 2), red) << c.Dpi;
        EXPECT_EQ(drawn.At(2 + c.Size - 1, 2 + c.Size - 1), grey) << c.Dpi;
        EXPECT_GE(reds, c.Size * (c.Size / 2 - (c.Size % 4 == 2 ? 1 : 0))) << c.Dpi << " DPI";
        EXPECT_LE(reds, c.Size * c.Size / 2) << c.Dpi << " DPI";
    }
}

}  // namespace
