// Windows BMP files as skins store them, read into plain pixels and written
// back (24-bit). Reading accepts the file header "BM" followed by a core (12
// bytes), info (40), OS/2 (64) or V4/V5 (108/124) header; 1, 4, 8, 16, 24 and
// 32 bits per pixel; no compression, RLE4, RLE8 and bit fields. A damaged file
// is refused with a message and never read outside its buffer. Standard
// library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Images larger than this many pixels are refused (a caller may ask for
// less: the skin loader's budget does).
inline constexpr std::uint32_t BMP_MAX_PIXELS = 4096u * 4096u;
// The error ParseBmp gives for an image above its pixel limit.
inline constexpr const char* BMP_ERROR_TOO_LARGE = "BMP is too large";

struct TBmpImage {
    int Width = 0;
    int Height = 0;
    int BitCount = 0;   // bits per pixel of the file
    // Top row first, each pixel 0x00RRGGBB.
    std::vector<std::uint32_t> Pixels;

    std::uint32_t Pixel(int x, int y) const {
        return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                      static_cast<std::size_t>(x)];
    }
};

// Reads a BMP file. False with `error` set (when given) for anything it
// cannot read, or for an image of more than `maxPixels` pixels (checked from
// the header, before any pixel memory is taken); `image` is then empty.
bool ParseBmp(const std::uint8_t* data, std::size_t size, TBmpImage& image,
              std::string* error = nullptr, std::uint64_t maxPixels = BMP_MAX_PIXELS);

// Reads only the size fields; false when the data is no BMP file.
bool ReadBmpSize(const std::uint8_t* data, std::size_t size, int& width, int& height);

// A 24-bit bottom-up BMP file of `image`.
std::vector<std::uint8_t> WriteBmp24(const TBmpImage& image);
