// BMP files: every supported layout reads to the same pixels; damaged files
// are refused without reading outside the buffer.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/data/bmp_file.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(TBytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BMP file from its parts: an info header (40 bytes) unless `core`, the
// palette (0x00RRGGBB entries), optional masks and the pixel bytes.
TBytes MakeBmp(int width, int height, int bits, std::uint32_t compression, const std::vector<std::uint32_t>& palette,
               const TBytes& pixels, const std::vector<std::uint32_t>& masks = {}, bool core = false) {
    TBytes header;
    const std::uint32_t headerSize = core ? 12 : 40;
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(palette.size()) * (core ? 3 : 4);
    const std::uint32_t offset = 14 + headerSize + static_cast<std::uint32_t>(masks.size()) * 4 + paletteBytes;
    header.push_back('B');
    header.push_back('M');
    Put32(header, offset + static_cast<std::uint32_t>(pixels.size()));
    Put32(header, 0);
    Put32(header, offset);
    Put32(header, headerSize);
    if (core) {
        Put16(header, static_cast<std::uint32_t>(width));
        Put16(header, static_cast<std::uint32_t>(height));
        Put16(header, 1);
        Put16(header, static_cast<std::uint32_t>(bits));
    } else {
        Put32(header, static_cast<std::uint32_t>(width));
        Put32(header, static_cast<std::uint32_t>(height));
        Put16(header, 1);
        Put16(header, static_cast<std::uint32_t>(bits));
        Put32(header, compression);
        Put32(header, static_cast<std::uint32_t>(pixels.size()));
        Put32(header, 0);
        Put32(header, 0);
        Put32(header, static_cast<std::uint32_t>(palette.size()));
        Put32(header, 0);
    }
    for (std::uint32_t m : masks) Put32(header, m);
    for (std::uint32_t c : palette) {
        header.push_back(static_cast<std::uint8_t>(c));
        header.push_back(static_cast<std::uint8_t>(c >> 8));
        header.push_back(static_cast<std::uint8_t>(c >> 16));
        if (!core) header.push_back(0);
    }
    header.insert(header.end(), pixels.begin(), pixels.end());
    return header;
}

// The picture every layout below encodes: 3 x 2 pixels, top row
// magenta, red, green; bottom row blue, white, black.
const std::vector<std::uint32_t> EXPECTED = {0xFF00FF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000};
const std::vector<std::uint32_t> PALETTE = {0x000000, 0xFF00FF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

TEST(BmpFile, ReadsEveryLayoutToTheSamePixels) {
    // Bottom row first unless the height is negative; rows padded to 4 bytes.
    const struct {
        const char* Name;
        TBytes File;
    } cases[] = {
        {"24 bits", MakeBmp(3, 2, 24, 0, {}, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0,
                                              0xFF, 0, 0xFF, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0})},
        {"24 bits top-down", MakeBmp(3, -2, 24, 0, {}, {0xFF, 0, 0xFF, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0,
                                                        0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0})},
        {"32 bits", MakeBmp(3, 2, 32, 0, {}, {0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0,
                                              0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0})},
        {"16 bits 5-6-5 fields", MakeBmp(3, 2, 16, 3, {}, {0x1F, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0, 0,
                                                           0x1F, 0xF8, 0x00, 0xF8, 0xE0, 0x07, 0, 0},
                                         {0xF800, 0x07E0, 0x001F})},
        {"16 bits 5-5-5", MakeBmp(3, 2, 16, 0, {}, {0x1F, 0x00, 0xFF, 0x7F, 0x00, 0x00, 0, 0,
                                                    0x1F, 0x7C, 0x00, 0x7C, 0xE0, 0x03, 0, 0})},
        {"8 bits", MakeBmp(3, 2, 8, 0, PALETTE, {4, 5, 0, 0, 1, 2, 3, 0})},
        {"4 bits", MakeBmp(3, 2, 4, 0, PALETTE, {0x45, 0x00, 0, 0, 0x12, 0x30, 0, 0})},
        {"8 bits core header", MakeBmp(3, 2, 8, 0, std::vector<std::uint32_t>(PALETTE.begin(), PALETTE.end()),
                                       {4, 5, 0, 0, 1, 2, 3, 0}, {}, true)},
        {"RLE8", MakeBmp(3, 2, 8, 1, PALETTE, {1, 4, 1, 5, 1, 0, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1})},
        {"RLE4", MakeBmp(3, 2, 4, 2, PALETTE, {2, 0x45, 1, 0x00, 0, 0, 0, 3, 0x12, 0x30, 0, 1})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TBmpImage image;
        std::string error;
        ASSERT_TRUE(ParseBmp(c.File.data(), c.File.size(), image, &error)) << error;
        EXPECT_EQ(image.Width, 3);
        EXPECT_EQ(image.Height, 2);
        EXPECT_EQ(image.Pixels, EXPECTED);
    }
}

TEST(BmpFile, OneBitPalette) {
    // 10 x 1: bits 1011001110, rows padded to 4 bytes.
    const TBytes file = MakeBmp(10, 1, 1, 0, {0x000000, 0xFFFFFF}, {0xB3, 0x80, 0, 0});
    TBmpImage image;
    ASSERT_TRUE(ParseBmp(file.data(), file.size(), image));
    std::string bits;
    for (std::uint32_t p : image.Pixels) bits += p ? '1' : '0';
    EXPECT_EQ(bits, "1011001110");
}

TEST(BmpFile, RefusesDamagedFiles) {
    const TBytes good = MakeBmp(3, 2, 24, 0, {}, TBytes(24, 0x80));
    auto with = [&](std::size_t at, std::uint8_t value) {
        TBytes b = good;
        b[at] = value;
        return b;
    };
    const struct {
        const char* Name;
        TBytes File;
    } cases[] = {
        {"empty", {}},
        {"no signature", with(0, 'X')},
        {"header only", TBytes(good.begin(), good.begin() + 30)},
        {"pixels cut short", TBytes(good.begin(), good.end() - 1)},
        {"odd header size", with(14, 41)},
        {"bit count 7", with(28, 7)},
        {"zero width", with(18, 0)},
        {"JPEG inside", with(30, 4)},
        {"too large", MakeBmp(70000, 70000, 24, 0, {}, {})},
        {"RLE top-down", MakeBmp(3, -2, 8, 1, PALETTE, {0, 1})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TBmpImage image;
        image.Width = 99;
        std::string error;
        EXPECT_FALSE(ParseBmp(c.File.data(), c.File.size(), image, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(image.Width, 0);
        EXPECT_TRUE(image.Pixels.empty());
    }
}

TEST(BmpFile, DamagedRunsAndPalettesStayInside) {
    // Runs past the row end, deltas past the image and a missing end mark.
    const TBytes rle = MakeBmp(3, 2, 8, 1, {0x111111, 0x222222},
                               {200, 1, 0, 2, 250, 250, 0, 200, 1, 1});
    TBmpImage image;
    ASSERT_TRUE(ParseBmp(rle.data(), rle.size(), image));
    EXPECT_EQ(image.Pixels[3], 0x222222u);   // the first run fills the bottom row
    // Palette indices past a short palette read as black.
    const TBytes shortPalette = MakeBmp(2, 1, 8, 0, {0x123456}, {0, 200, 0, 0});
    ASSERT_TRUE(ParseBmp(shortPalette.data(), shortPalette.size(), image));
    EXPECT_EQ(image.Pixels, (std::vector<std::uint32_t>{0x123456, 0}));

    // A colour mask with a gap (damaged, or odd): only its lowest run of
    // bits is the channel, and no channel spills into the next.
    const TBytes gapped = MakeBmp(2, 1, 16, 3, {}, {0xFF, 0xFF, 0x01, 0x00}, {0xFF33, 0x00C0, 0x0003});
    ASSERT_TRUE(ParseBmp(gapped.data(), gapped.size(), image));
    EXPECT_EQ(image.Pixels, (std::vector<std::uint32_t>{0xFFFFFF, 0x550055})) << std::hex << image.Pixels[0];

    std::mt19937 rng(4);
    const TBytes base = MakeBmp(5, 3, 4, 2, PALETTE, {4, 0x12, 0, 5, 1, 2, 3, 4, 5, 0, 0, 0, 2, 0x55, 0, 1});
    for (int i = 0; i < 2000; ++i) {
        TBytes b = base;
        for (int f = 0; f < 3; ++f) b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
        ParseBmp(b.data(), rng() % (b.size() + 1), image);
    }
}

TEST(BmpFile, WrittenFilesReadBack) {
    TBmpImage image;
    image.Width = 5;
    image.Height = 3;
    for (int i = 0; i < 15; ++i) image.Pixels.push_back(static_cast<std::uint32_t>(i * 0x0F0E0D));
    const TBytes file = WriteBmp24(image);
    TBmpImage back;
    ASSERT_TRUE(ParseBmp(file.data(), file.size(), back));
    EXPECT_EQ(back.Pixels, image.Pixels);
    EXPECT_EQ(back.BitCount, 24);
}

}  // namespace
