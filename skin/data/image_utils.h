// Colour maths and whole-bitmap helpers used by the skin engine: resolving
// and blending colours, saturation, the cached line-by-line gradient fill,
// magenta replacement, mirroring, flipping and quarter turns.
//
// Colours are COLORREF values: plain red-green-blue with red in the low byte,
// or, when the sign bit is set (0xFF0000nn), the symbolic system colour whose
// index is the low byte; such a colour is resolved with GetSysColor when used.
//
// All functions are in namespace skin (GradientFill would otherwise clash
// with the msimg32 function of the same name).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "framework/gdi_handles.h"

namespace skin {

// The colour the skins use for "transparent".
inline constexpr COLORREF TRANSPARENT_COLOUR = RGB(255, 0, 255);

// True for a symbolic system colour (sign bit set).
constexpr bool IsSystemColour(COLORREF colour)
{
    return (colour & 0x80000000u) != 0;
}

// The plain RGB value of `colour`: system colours through GetSysColor, and
// the flag byte of any other value dropped.
COLORREF ResolveColour(COLORREF colour);

// Mixes two colours channel by channel. A weight below 100 is a percentage
// of colour1, from 100 on a per-mille share: each channel is
// (c1 * w + c2 * (d - w) + d / 2) / d with d = 100 or 1000. A weight outside
// 0..d still gives a valid colour: each channel is held to 0..255.
COLORREF BlendColours(COLORREF colour1, COLORREF colour2, int weight);

// How colourful a light colour is: when a channel exceeds 159, 255 * (max -
// min) / max rounded to nearest (halves to even); otherwise 200.
int Saturation(COLORREF colour);

// A table of `count` colours running from `from` to `to`, one per line of a
// gradient: entry i = from + (c / 2 + i * delta) / c per channel, c = count - 1,
// division truncating toward zero. A single line is the middle colour.
// Colours must already be resolved. Empty for count <= 0.
std::vector<COLORREF> GradientColours(int count, COLORREF from, COLORREF to);

// The last sixteen gradient tables, reused when a request's length and end
// colours match one of them. Slots are taken in turn, the oldest replaced.
class TGradientCache {
public:
    static constexpr int SLOTS = 16;

    // The table for (count, from, to): the most recently filled slot whose
    // table has `count` entries, first entry `from` and last entry `to`, or a
    // newly computed table put in the next slot. The reference stays valid
    // until sixteen more tables have been computed. count must be > 0.
    const std::vector<COLORREF>& Lookup(int count, COLORREF from, COLORREF to);

    // Number of lookups answered from a stored table.
    int Hits() const { return FHits; }
    // Slot that the next new table takes (0 .. SLOTS - 1).
    int NextSlot() const { return FNext; }

private:
    std::array<std::vector<COLORREF>, SLOTS> FTables;
    int FNext = 0;
    int FHits = 0;
};

// Fills `rect` of `dc` with a gradient from `from` to `to`, one line at a time
// (rows from top to bottom when `vertical`, else columns from left to right),
// each a solid line of its colour. Only the lines inside the DC's clip box are
// drawn. System colours are resolved first. Uses a program-wide TGradientCache;
// call from the user-interface thread.
void GradientFill(HDC dc, const RECT& rect, COLORREF from, COLORREF to, bool vertical);

// Pixels of a bitmap, top row first, each 0xAARRGGBB (the byte order of a
// 32-bit DIB: blue, green, red, fourth byte). The fourth byte is kept from
// 32-bit sources and written only to 32-bit results; compare colours on the
// low 24 bits. Invariant: Data.size() == Width * Height.
struct TPixels {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Data;

    std::uint32_t& At(int x, int y) { return Data[static_cast<size_t>(y) * Width + x]; }
    std::uint32_t At(int x, int y) const { return Data[static_cast<size_t>(y) * Width + x]; }
};

// Reads `bitmap` as 32-bit pixels. False (and `pixels` emptied) when the
// handle is not a readable bitmap. The bitmap must not be selected into a DC.
bool ReadPixels(HBITMAP bitmap, TPixels& pixels);

// A new top-down DIB section, width x height at `bitsPerPixel`, its contents
// undefined; `bits` (when given) receives its first row. Null (and *bits
// null) on failure, a size below 1 included.
TGdiBitmap MakeDibSection(int width, int height, int bitsPerPixel, void** bits = nullptr);

// A new DIB section of `bitsPerPixel` (24 or 32) holding `pixels`; null on failure.
TGdiBitmap MakeBitmap(const TPixels& pixels, int bitsPerPixel = 24);

// A copy of `bitmap` as a DIB section of `bitsPerPixel` (24 or 32); null on failure.
TGdiBitmap CopyBitmap(HBITMAP bitmap, int bitsPerPixel = 24);

// Pure pixel transforms behind the bitmap functions below.
TPixels MirroredPixels(const TPixels& source);      // (x, y) from (w - 1 - x, y)
TPixels FlippedPixels(const TPixels& source);       // row y from row h - 1 - y
TPixels RotatedLeftPixels(const TPixels& source);   // 90 degrees counter-clockwise
TPixels RotatedRightPixels(const TPixels& source);  // 90 degrees clockwise

// The functions below replace the bitmap held by `bitmap` with a new DIB
// section and free the old one. They return false, leaving `bitmap` as it
// was, when it is empty or cannot be read or created.

// Makes the bitmap 24-bit and sets every magenta ($FF00FF) pixel to `colour`.
bool ReplaceColour(TGdiBitmap& bitmap, COLORREF colour);
// Reverses every row (left becomes right). Keeps 32-bit bitmaps 32-bit;
// every other format becomes 24-bit.
bool MirrorHorizontal(TGdiBitmap& bitmap);
// Reverses the row order (top becomes bottom); formats as MirrorHorizontal.
bool FlipVertical(TGdiBitmap& bitmap);
// Turns the bitmap 90 degrees counter-clockwise; width and height swap; 24-bit.
bool RotateLeft(TGdiBitmap& bitmap);
// Turns the bitmap 90 degrees clockwise; width and height swap; 24-bit.
bool RotateRight(TGdiBitmap& bitmap);

}  // namespace skin
