// Colour text of the skin description.
#include <gtest/gtest.h>

#include "skin/data/colour_text.h"

namespace {

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | g << 8 | b << 16; }

TEST(ColourText, ReadsRedGreenBlue) {
    const std::uint32_t DEFAULT = 0x12345678;
    const struct {
        const char* Text;
        std::uint32_t Expected;
    } cases[] = {
        {"216 208 200", Rgb(216, 208, 200)},
        {"  216 208 200  ", Rgb(216, 208, 200)},
        {"216,208,200", Rgb(216, 208, 200)},
        {"12", 0},                          // a lone number gives black
        {"12 34", Rgb(12, 0, 0)},           // the last is only blue after two
        {"12 34 ", Rgb(12, 0, 0)},          // trailing blanks are trimmed first
        {"12 34 56 78", Rgb(12, 34, 56)},
        {"1 2 3 4 5", Rgb(1, 2, 3)},
        {"256 257 511", Rgb(0, 1, 255)},    // low 8 bits
        {"99999999999 0 1", Rgb(99999999999ull % 256, 0, 1)},
        {"red", 0},
        {"-5 -6 -7", Rgb(5, 6, 7)},
        {"", DEFAULT},
        {" \t ", DEFAULT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ColourTextToColour(c.Text, DEFAULT), c.Expected);
    }
}

}  // namespace
