// Colour text of the skin description (see colour_text.h).
#include "skin/data/colour_text.h"

#include "skin/data/quick_ini.h"

bool ParseColourText(const std::string& text, std::uint32_t& colour) {
    const std::string trimmed = SkinTrim(text);
    if (trimmed.empty()) return false;

    std::uint32_t parts[3] = {0, 0, 0};
    int taken = 0;
    std::size_t i = 0;
    while (i < trimmed.size() && taken < 3) {
        if (trimmed[i] < '0' || trimmed[i] > '9') {
            ++i;
            continue;
        }
        std::uint32_t number = 0;   // only the low 8 bits matter, so wrapping is harmless
        while (i < trimmed.size() && trimmed[i] >= '0' && trimmed[i] <= '9')
            number = number * 10u + static_cast<std::uint32_t>(trimmed[i++] - '0');
        const bool atEnd = i == trimmed.size();
        if (!atEnd || taken == 2) parts[taken++] = number & 0xFFu;
    }
    colour = parts[0] | (parts[1] << 8) | (parts[2] << 16);
    return true;
}

std::uint32_t ColourTextToColour(const std::string& text, std::uint32_t defaultColour) {
    std::uint32_t colour = 0;
    return ParseColourText(text, colour) ? colour : defaultColour;
}
