// The glyphs of the skinned system menu: restore, maximize, minimize and
// close, 16 x 16 each, side by side in one 64 x 16 one-bit picture whose
// white pixels are transparent.
#include <windows.h>

#include <cstdint>

#include "skin/data/skin_component.h"

namespace {

constexpr int GLYPH_SIZE = 16;
constexpr int GLYPH_COUNT = 4;

// "#" is drawn (black), "." is background (white).
constexpr const char* GLYPHS[GLYPH_COUNT][GLYPH_SIZE] = {
    {   // restore: two overlapping windows
        "................",
        "................",
        ".....########...",
        ".....########...",
        ".....#......#...",
        "...########.#...",
        "...########.#...",
        "...#......#.#...",
        "...#......###...",
        "...#......#.....",
        "...#......#.....",
        "...#......#.....",
        "...########.....",
        "................",
        "................",
        "................",
    },
    {   // maximize: one window
        "................",
        "................",
        "...##########...",
        "...##########...",
        "...#........#...",
        "...#........#...",
        "...#........#...",
        "...#........#...",
        "...#........#...",
        "...#........#...",
        "...#........#...",
        "...#........#...",
        "...##########...",
        "................",
        "................",
        "................",
    },
    {   // minimize: a short bar at the bottom
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "................",
        "....######......",
        "....######......",
        "................",
        "................",
        "................",
    },
    {   // close: a cross
        "................",
        "................",
        "...##......##...",
        "....##....##....",
        ".....##..##.....",
        "......####......",
        ".......##.......",
        "......####......",
        ".....##..##.....",
        "....##....##....",
        "...##......##...",
        "................",
        "................",
        "................",
        "................",
        "................",
    },
};

}  // namespace

HBITMAP LoadSkinMenuGlyphs(HINSTANCE instance)
{
    if (HBITMAP resource = LoadBitmapA(instance, SKIN_MENU_GLYPHS_RESOURCE)) return resource;

    // One bit per pixel, rows of 64 pixels = 8 bytes (already word aligned);
    // a set bit is white.
    constexpr int ROW_BYTES = GLYPH_SIZE * GLYPH_COUNT / 8;
    std::uint8_t bits[ROW_BYTES * GLYPH_SIZE] = {};
    for (int y = 0; y < GLYPH_SIZE; ++y)
        for (int g = 0; g < GLYPH_COUNT; ++g)
            for (int x = 0; x < GLYPH_SIZE; ++x) {
                if (GLYPHS[g][y][x] == '#') continue;
                const int px = g * GLYPH_SIZE + x;
                bits[y * ROW_BYTES + px / 8] |= static_cast<std::uint8_t>(0x80 >> (px % 8));
            }
    return CreateBitmap(GLYPH_SIZE * GLYPH_COUNT, GLYPH_SIZE, 1, 1, bits);
}
