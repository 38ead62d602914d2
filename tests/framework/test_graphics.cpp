// Bitmaps read from BMP bytes, drawn and read back through canvases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "framework/graphics.h"
#include "framework/streams.h"

namespace {

void Put16(std::string& s, size_t at, unsigned v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, size_t at, unsigned v)
{
    Put16(s, at, v & 0xFFFF);
    Put16(s, at + 2, v >> 16);
}

// A BMP file written field by field, independently of the reader: a
// BITMAPFILEHEADER, a 40-byte BITMAPINFOHEADER, `extra` (palette or masks)
// and `pixels` as given.
std::string MakeBmp(int width, int height, int bits, unsigned compression, const std::string& extra,
                    const std::string& pixels)
{
    std::string s(54, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 2, static_cast<unsigned>(54 + extra.size() + pixels.size()));
    Put32(s, 10, static_cast<unsigned>(54 + extra.size()));
    Put32(s, 14, 40);
    Put32(s, 18, static_cast<unsigned>(width));
    Put32(s, 22, static_cast<unsigned>(height));
    Put16(s, 26, 1);
    Put16(s, 28, static_cast<unsigned>(bits));
    Put32(s, 30, compression);
    if (bits <= 8) Put32(s, 46, static_cast<unsigned>(extra.size() / 4));  // colours used
    return s + extra + pixels;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

void Load(TBitmap& bitmap, const std::string& file)
{
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
    stream.SetPosition(0);
    bitmap.LoadFromStream(stream);
}

TEST(Bitmap, ReadsTheUsualBmpLayouts)
{
    // Each file is 2 pixels wide and 2 high: top row red, green; bottom row
    // blue, white (24-bit rows are bottom-up, padded to 4 bytes).
    const std::string rows24 = Bytes({0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, /* top */ 0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
    const std::string rows24TopDown = Bytes({0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0});
    const std::string palette = Bytes({0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
    const std::string rows8 = Bytes({2, 3, 0, 0, 0, 1, 0, 0});
    const std::string masks565 = Bytes({0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});
    const std::string rows565 = Bytes({0x1F, 0x00, 0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07});
    struct Case {
        const char* Name;
        std::string File;
        TPixelFormat Format;
    } cases[] = {
        {"24-bit bottom-up", MakeBmp(2, 2, 24, BI_RGB, "", rows24), pf24bit},
        {"24-bit top-down", MakeBmp(2, -2, 24, BI_RGB, "", rows24TopDown), pf24bit},
        {"8-bit palette", MakeBmp(2, 2, 8, BI_RGB, palette, rows8), pf8bit},
        {"16-bit 565", MakeBmp(2, 2, 16, BI_BITFIELDS, masks565, rows565), pf16bit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TBitmap bitmap;
        Load(bitmap, c.File);
        EXPECT_EQ(bitmap.Width(), 2);
        EXPECT_EQ(bitmap.Height(), 2);
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        TCanvas* canvas = bitmap.Canvas();
        EXPECT_EQ(canvas->Pixel(0, 0), clRed);
        EXPECT_EQ(canvas->Pixel(1, 0), clLime);
        EXPECT_EQ(canvas->Pixel(0, 1), clBlue);
        EXPECT_EQ(canvas->Pixel(1, 1), clWhite);
    }
}

TEST(Bitmap, RefusesBrokenFiles)
{
    const std::string rows = Bytes({0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
    std::string good = MakeBmp(2, 2, 24, BI_RGB, "", rows);
    std::string badMagic = good;
    badMagic[0] = 'X';
    std::string rle = MakeBmp(2, 2, 8, BI_RLE8, std::string(1024, '\0'), rows);
    std::string hugeWidth = MakeBmp(100000, 2, 24, BI_RGB, "", rows);
    std::string offsetPastEnd = good;
    Put32(offsetPastEnd, 10, 5000);
    struct Case {
        const char* Name;
        std::string File;
    } cases[] = {
        {"truncated pixels", good.substr(0, good.size() - 3)},
        {"header only", good.substr(0, 30)},
        {"empty", ""},
        {"not a bitmap", badMagic},
        {"compressed", rle},
        {"bit count 7", MakeBmp(2, 2, 7, BI_RGB, "", rows)},
        {"width out of range", hugeWidth},
        {"zero height", MakeBmp(2, 0, 24, BI_RGB, "", rows)},
        {"pixel offset past the end", offsetPastEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TBitmap bitmap(3, 3, pf24bit);
        EXPECT_THROW(Load(bitmap, c.File), EInvalidGraphic);
        EXPECT_EQ(bitmap.Width(), 3) << "a refused file leaves the bitmap as it was";
    }
}

TEST(Bitmap, SavesWhatItReadsAndKeepsPixelsWhenResized)
{
    TBitmap bitmap(5, 3, pf24bit);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clNavy);
    canvas->FillRect(RECT{0, 0, 5, 3});
    canvas->SetPixel(4, 2, clYellow);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    EXPECT_EQ(stream.Size(), 54 + 3 * 16) << "rows of 15 bytes padded to 16";
    stream.SetPosition(0);
    TBitmap copy;
    copy.LoadFromStream(stream);
    EXPECT_EQ(copy.Width(), 5);
    EXPECT_EQ(copy.Canvas()->Pixel(0, 0), clNavy);
    EXPECT_EQ(copy.Canvas()->Pixel(4, 2), clYellow);
    ASSERT_NE(copy.ScanLine(2), nullptr);
    EXPECT_EQ(static_cast<unsigned char*>(copy.ScanLine(2))[4 * 3 + 2], 0xFF) << "red byte of (4, 2)";

    copy.SetSize(8, 8);
    EXPECT_EQ(copy.Canvas()->Pixel(4, 2), clYellow);
    EXPECT_EQ(copy.Canvas()->Pixel(7, 7), clWhite);
    EXPECT_THROW(copy.ScanLine(8), EInvalidGraphic);
}

TEST(Bitmap, ChangingThePixelFormatKeepsThePicture)
{
    TBitmap bitmap(4, 2, pf24bit);
    bitmap.Canvas()->SetPixel(0, 0, clRed);
    bitmap.Canvas()->SetPixel(3, 1, clBlue);
    for (TPixelFormat format : {pf32bit, pfDevice, pf24bit}) {
        bitmap.SetPixelFormat(format);
        EXPECT_EQ(bitmap.PixelFormat(), format);
        EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clRed) << "format " << format;
        EXPECT_EQ(bitmap.Canvas()->Pixel(3, 1), clBlue) << "format " << format;
    }
    bitmap.SetPixelFormat(pf1bit);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 0), clWhite);
    EXPECT_EQ(bitmap.Canvas()->Pixel(0, 0), clBlack) << "red is dark in black and white";

    // A copy is independent of its original.
    TBitmap copy;
    copy.Assign(bitmap);
    copy.Canvas()->SetPixel(1, 0, clBlack);
    EXPECT_EQ(bitmap.Canvas()->Pixel(1, 0), clWhite);
    EXPECT_EQ(copy.PixelFormat(), pf1bit);
}

TEST(Bitmap, TransparentDrawLeavesTheKeyColourOut)
{
    TBitmap sprite(4, 4, pf24bit);
    sprite.Canvas()->Brush()->SetColor(clFuchsia);
    sprite.Canvas()->FillRect(RECT{0, 0, 4, 4});
    sprite.Canvas()->Brush()->SetColor(clRed);
    sprite.Canvas()->FillRect(RECT{1, 1, 3, 3});
    sprite.SetTransparent(true);
    sprite.SetTransparentColor(clFuchsia);

    TBitmap target(10, 10, pf24bit);
    target.Canvas()->Brush()->SetColor(clGreen);
    target.Canvas()->FillRect(RECT{0, 0, 10, 10});
    target.Canvas()->Draw(2, 2, &sprite);
    EXPECT_EQ(target.Canvas()->Pixel(2, 2), clGreen);
    EXPECT_EQ(target.Canvas()->Pixel(3, 3), clRed);
    EXPECT_EQ(target.Canvas()->Pixel(5, 5), clGreen);

    sprite.SetTransparent(false);
    target.Canvas()->Draw(2, 2, &sprite);
    EXPECT_EQ(target.Canvas()->Pixel(2, 2), clFuchsia);
}

TEST(Canvas, TextAndLinesUseTheCanvasObjects)
{
    TBitmap bitmap(60, 30, pf24bit);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(RECT{0, 0, 60, 30});
    canvas->Pen()->SetColor(clRed);
    canvas->MoveTo(0, 25);
    canvas->LineTo(60, 25);
    EXPECT_EQ(canvas->Pixel(30, 25), clRed);
    EXPECT_EQ(canvas->PenPos().x, 60);

    canvas->Font()->SetColor(clBlue);
    canvas->Font()->SetHeight(-12);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(2, 2, "编号");
    SIZE size = canvas->TextExtent("编号");
    EXPECT_GT(size.cx, 8) << "the Chinese face draws real glyphs";
    // Text may be drawn smoothed: its pixels are the font colour blended
    // with the white under it, blue well above red and green.
    int blue = 0;
    for (int y = 2; y < 2 + size.cy; ++y)
        for (int x = 2; x < 2 + size.cx; ++x) {
            const TColor pixel = canvas->Pixel(x, y);
            blue += GetBValue(pixel) - std::max(GetRValue(pixel), GetGValue(pixel)) > 128;
        }
    EXPECT_GT(blue, 10);
}

}  // namespace
