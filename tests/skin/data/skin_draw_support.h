// Helpers for the drawing tests: source bitmaps made from pixel functions and
// a memory canvas whose pixels can be read back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/gdi_handles.h"
#include "skin/data/image_utils.h"

namespace drawtest {

// A 24-bit bitmap of width x height whose pixel (x, y) is colour(x, y) (COLORREF).
inline TGdiBitmap MakeSource(int width, int height, const std::function<COLORREF(int, int)>& colour,
                             int bitsPerPixel = 24)
{
    skin::TPixels pixels;
    pixels.Width = width;
    pixels.Height = height;
    pixels.Data.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = colour(x, y);
            pixels.At(x, y) = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return skin::MakeBitmap(pixels, bitsPerPixel);
}

// Pixel (x, y) of `pixels` as a COLORREF.
inline COLORREF ColourAt(const skin::TPixels& pixels, int x, int y)
{
    const std::uint32_t p = pixels.At(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A 32-bit top-down DIB section selected into its own memory DC, filled with
// one colour, read back directly from its bits.
class TCanvas {
public:
    TCanvas(int width, int height, COLORREF fill) : FWidth(width), FHeight(height)
    {
        void* bits = nullptr;
        FBitmap = skin::MakeDibSection(width, height, 32, &bits);
        FBits = static_cast<std::uint32_t*>(bits);
        FOld = SelectObject(FDC, FBitmap);
        Fill(fill);
    }
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    ~TCanvas() { SelectObject(FDC, FOld); }

    HDC DC() const { return FDC; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Ok() const { return FBits != nullptr && !FDC.IsNull(); }

    void Fill(COLORREF colour)
    {
        RECT all{0, 0, FWidth, FHeight};
        TGdiBrush brush(CreateSolidBrush(colour));
        FillRect(FDC, &all, brush);
    }

    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        const std::uint32_t p = FBits[static_cast<size_t>(y) * FWidth + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    int FWidth;
    int FHeight;
    TMemoryDC FDC;
    TGdiBitmap FBitmap;
    std::uint32_t* FBits = nullptr;
    HGDIOBJ FOld = nullptr;
};

inline std::string Hex(COLORREF c)
{
    char text[16];
    wsprintfA(text, "%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

}  // namespace drawtest
