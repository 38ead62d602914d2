// Fuzzes BMP reading under the pixel budget the program loads skin images
// with (TSkinData::ScreenBudget: one image at most the screen's size, and
// never less than 1920 x 1200, the size it has on the machines here);
// whatever reads must survive a write and a second read unchanged.
#include <cstddef>
#include <cstdint>

#include "skin/data/bmp_file.h"

namespace {
constexpr std::uint64_t PROGRAM_IMAGE_PIXELS = 1920u * 1200u;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBmpImage image;
    if (!ParseBmp(data, size, image, nullptr, PROGRAM_IMAGE_PIXELS)) return 0;
    if (image.Pixels.size() > PROGRAM_IMAGE_PIXELS) __builtin_trap();
    if (image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height))
        __builtin_trap();
    const auto written = WriteBmp24(image);
    TBmpImage again;
    if (!ParseBmp(written.data(), written.size(), again) || again.Pixels != image.Pixels) __builtin_trap();
    return 0;
}
