// Small pictures drawn at a display scale (see scaled_picture.h).
#include "skin/data/scaled_picture.h"

#include <algorithm>
#include <cmath>

#include "framework/display_scale.h"
#include "framework/gdi_handles.h"
#include "skin/data/image_utils.h"

namespace skin {

namespace {

int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// One channel of `source` (premultiplied) at the fractional point (x, y).
double Sample(const TCoveredPixels& source, double x, double y, int shift)
{
    const int x0 = std::clamp(static_cast<int>(std::floor(x)), 0, source.Width - 1);
    const int y0 = std::clamp(static_cast<int>(std::floor(y)), 0, source.Height - 1);
    const int x1 = std::min(x0 + 1, source.Width - 1);
    const int y1 = std::min(y0 + 1, source.Height - 1);
    const double fx = std::clamp(x - x0, 0.0, 1.0);
    const double fy = std::clamp(y - y0, 0.0, 1.0);
    auto at = [&](int px, int py) {
        return static_cast<double>(Channel(source.Data[static_cast<size_t>(py) * source.Width + px], shift));
    };
    const double top = at(x0, y0) * (1 - fx) + at(x1, y0) * fx;
    const double bottom = at(x0, y1) * (1 - fx) + at(x1, y1) * fx;
    return top * (1 - fy) + bottom * fy;
}

}  // namespace

TCoveredPixels CoverageFromBlackAndWhite(int width, int height, const std::vector<std::uint32_t>& overBlack,
                                         const std::vector<std::uint32_t>& overWhite)
{
    TCoveredPixels covered;
    const size_t count = static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0));
    if (overBlack.size() < count || overWhite.size() < count) return covered;
    covered.Width = width;
    covered.Height = height;
    covered.Data.resize(count);
    for (size_t i = 0; i < count; ++i) {
        // Over black a pixel reads colour * coverage; over white that plus
        // (1 - coverage) of the full range in each channel.
        int uncovered = 0;
        for (int shift = 0; shift <= 16; shift += 8)
            uncovered += std::clamp(Channel(overWhite[i], shift) - Channel(overBlack[i], shift), 0, 255);
        const int alpha = 255 - (uncovered + 1) / 3;
        std::uint32_t pixel = static_cast<std::uint32_t>(alpha) << 24;
        for (int shift = 0; shift <= 16; shift += 8)
            pixel |= static_cast<std::uint32_t>(std::min(Channel(overBlack[i], shift), alpha)) << shift;
        covered.Data[i] = pixel;
    }
    return covered;
}

TCoveredPixels ResampleCovered(const TCoveredPixels& source, int width, int height)
{
    TCoveredPixels result;
    if (source.Width <= 0 || source.Height <= 0 || width <= 0 || height <= 0) return result;
    result.Width = width;
    result.Height = height;
    result.Data.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const bool whole = width % source.Width == 0 && height % source.Height == 0 &&
                       width / source.Width == height / source.Height;
    const double sx = static_cast<double>(source.Width) / width;
    const double sy = static_cast<double>(source.Height) / height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t& out = result.Data[static_cast<size_t>(y) * width + x];
            if (whole) {
                out = source.Data[static_cast<size_t>(y * source.Height / height) * source.Width +
                                  x * source.Width / width];
                continue;
            }
            // The target pixel's centre in the source, between the centres
            // of the source pixels around it.
            const double fx = (x + 0.5) * sx - 0.5;
            const double fy = (y + 0.5) * sy - 0.5;
            std::uint32_t pixel = 0;
            for (int shift = 0; shift <= 24; shift += 8)
                pixel |= static_cast<std::uint32_t>(std::lround(Sample(source, fx, fy, shift))) << shift;
            out = pixel;
        }
    }
    return result;
}

void DrawScaledPicture(HDC dc, int x, int y, SIZE size, UINT dpi, const TPicturePaint& paint)
{
    if (!dc || !paint || size.cx <= 0 || size.cy <= 0) return;
    if (dpi == 0 || dpi == DesignDpi) {
        paint(dc, x, y);
        return;
    }
    const int width = static_cast<int>(size.cx);
    const int height = static_cast<int>(size.cy);
    std::vector<std::uint32_t> painted[2];
    for (int pass = 0; pass < 2; ++pass) {
        void* bits = nullptr;
        TGdiBitmap surface = MakeDibSection(width, height, 32, &bits);
        TMemoryDC memory(dc);
        if (surface.IsNull() || memory.IsNull() || !bits) return;
        {
            TSelectObject selected(memory, surface);
            RECT all{0, 0, width, height};
            FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(pass == 0 ? BLACK_BRUSH : WHITE_BRUSH)));
            paint(memory, 0, 0);
            GdiFlush();
            const auto* first = static_cast<const std::uint32_t*>(bits);
            painted[pass].assign(first, first + static_cast<size_t>(width) * height);
        }
    }
    const TCoveredPixels covered = ResampleCovered(CoverageFromBlackAndWhite(width, height, painted[0], painted[1]),
                                                   ScaleToDpi(width, dpi), ScaleToDpi(height, dpi));
    if (covered.Data.empty()) return;
    void* bits = nullptr;
    TGdiBitmap scaled = MakeDibSection(covered.Width, covered.Height, 32, &bits);
    TMemoryDC memory(dc);
    if (scaled.IsNull() || memory.IsNull() || !bits) return;
    std::copy(covered.Data.begin(), covered.Data.end(), static_cast<std::uint32_t*>(bits));
    TSelectObject selected(memory, scaled);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, covered.Width, covered.Height, memory, 0, 0, covered.Width, covered.Height, blend);
}

}  // namespace skin
