// Fuzzes colour text: any text gives a plain red-green-blue colour or the
// default.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/data/colour_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::uint32_t colour = ColourTextToColour(text, 0xFF000000u);
    if (colour != 0xFF000000u && colour > 0xFFFFFFu) __builtin_trap();
    return 0;
}
