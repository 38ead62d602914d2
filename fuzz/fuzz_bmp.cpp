// Fuzzes BMP reading; whatever reads must survive a write and a second read
// unchanged.
#include <cstddef>
#include <cstdint>

#include "skin/data/bmp_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TBmpImage image;
    if (!ParseBmp(data, size, image)) return 0;
    if (image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height))
        __builtin_trap();
    const auto written = WriteBmp24(image);
    TBmpImage again;
    if (!ParseBmp(written.data(), written.size(), again) || again.Pixels != image.Pixels) __builtin_trap();
    return 0;
}
