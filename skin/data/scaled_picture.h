// Small pictures the program holds at their 96-DPI size (a button's glyph,
// an image list's icon, a menu item's picture) drawn at a window's display
// scale.
//
// The picture is painted once at its own size over black and once over
// white; the two give every pixel's colour and coverage (a pixel the picture
// leaves alone differs by the whole range, an opaque one not at all, a
// blended edge in between). The covered picture is then enlarged and laid
// over the target with its coverage, so transparent parts stay the
// target's, whichever way the picture marks them (a key colour, an image
// list's mask, an alpha channel). Whole factors repeat pixels, other factors
// interpolate between the covered pixels only, so no fringe of the
// background's colour appears.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace skin {

// Paints the picture with its top-left corner at (x, y) of the DC, at its
// own size.
using TPicturePaint = std::function<void(HDC dc, int x, int y)>;

// The picture of `size` (96-DPI pixels) drawn by `paint` at `dpi` with its
// top-left corner at (x, y): at 96 (or 0) `paint` draws on `dc` directly.
void DrawScaledPicture(HDC dc, int x, int y, SIZE size, UINT dpi, const TPicturePaint& paint);

// The pixels behind it, 0xAARRGGBB with premultiplied colour, top row first.
struct TCoveredPixels {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Data;
};
// The covered picture from its paint over black and over white (0x00RRGGBB).
TCoveredPixels CoverageFromBlackAndWhite(int width, int height, const std::vector<std::uint32_t>& overBlack,
                                         const std::vector<std::uint32_t>& overWhite);
// `source` at `width` x `height`: repeated pixels at whole factors, else
// interpolated.
TCoveredPixels ResampleCovered(const TCoveredPixels& source, int width, int height);

}  // namespace skin
