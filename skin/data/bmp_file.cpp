// Reading and writing BMP files (see bmp_file.h).
#include "skin/data/bmp_file.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;
constexpr std::size_t FILE_HEADER_SIZE = 14;

std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One channel of a bit-field pixel: the masked bits scaled to 0..255.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    explicit TChannel(std::uint32_t mask = 0) : Mask(mask) {
        if (mask == 0) return;
        while (((mask >> Shift) & 1u) == 0) ++Shift;
        while (Shift + Bits < 32 && ((mask >> (Shift + Bits)) & 1u) != 0) ++Bits;
    }
    std::uint32_t Get(std::uint32_t pixel) const {
        if (Bits == 0) return 0;
        // Only the mask's lowest run of bits counts: a damaged mask with a
        // gap (0xFF33) must not carry values past 255 into the next channel.
        const std::uint32_t run = Bits >= 32 ? 0xFFFFFFFFu : (1u << Bits) - 1;
        const std::uint32_t v = (pixel >> Shift) & run;
        if (Bits >= 8) return v >> (Bits - 8);
        const std::uint32_t max = (1u << Bits) - 1;
        return (v * 255u + max / 2) / max;
    }
};

struct TInfo {
    std::int64_t Width = 0;
    std::int64_t Height = 0;   // negative: top row first
    int BitCount = 0;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t ColoursUsed = 0;
    std::uint32_t HeaderSize = 0;
    std::uint32_t Masks[3] = {0, 0, 0};
    bool HaveMasks = false;
};

class TReader {
public:
    TReader(const std::uint8_t* data, std::size_t size, TBmpImage& image, std::string* error,
            std::uint64_t maxPixels)
        : FData(data), FSize(size), FImage(image), FError(error), FMaxPixels(maxPixels) {}

    bool Run();

private:
    bool Fail(const char* message) {
        if (FError) *FError = message;
        FImage = TBmpImage();
        return false;
    }
    bool ReadHeader();
    bool ReadPalette();
    bool ReadUncompressed(std::size_t offset);
    bool ReadRle(std::size_t offset);
    void Put(std::int64_t x, std::int64_t row, std::uint32_t colour) {
        if (x < 0 || x >= FInfo.Width || row < 0 || row >= Rows()) return;
        const std::int64_t y = FInfo.Height > 0 ? Rows() - 1 - row : row;
        FImage.Pixels[static_cast<std::size_t>(y * FInfo.Width + x)] = colour;
    }
    std::int64_t Rows() const { return FInfo.Height < 0 ? -FInfo.Height : FInfo.Height; }
    std::uint32_t PaletteColour(std::uint32_t index) const {
        return index < FPalette.size() ? FPalette[index] : 0;
    }

    const std::uint8_t* FData;
    std::size_t FSize;
    TBmpImage& FImage;
    std::string* FError;
    std::uint64_t FMaxPixels;
    TInfo FInfo;
    std::vector<std::uint32_t> FPalette;
    std::size_t FPaletteOffset = 0;
    std::size_t FPaletteEntrySize = 4;
};

bool TReader::ReadHeader() {
    if (FSize < FILE_HEADER_SIZE + 12 || FData[0] != 'B' || FData[1] != 'M')
        return Fail("not a BMP file");
    const std::uint8_t* h = FData + FILE_HEADER_SIZE;
    FInfo.HeaderSize = Get32(h);
    if (FInfo.HeaderSize == 12) {
        FInfo.Width = Get16(h + 4);
        FInfo.Height = Get16(h + 6);
        FInfo.BitCount = Get16(h + 10);
        FPaletteEntrySize = 3;
    } else if (FInfo.HeaderSize == 40 || FInfo.HeaderSize == 52 || FInfo.HeaderSize == 56 ||
               FInfo.HeaderSize == 64 || FInfo.HeaderSize == 108 || FInfo.HeaderSize == 124) {
        if (FSize < FILE_HEADER_SIZE + FInfo.HeaderSize) return Fail("BMP header cut short");
        FInfo.Width = static_cast<std::int32_t>(Get32(h + 4));
        FInfo.Height = static_cast<std::int32_t>(Get32(h + 8));
        FInfo.BitCount = Get16(h + 14);
        FInfo.Compression = Get32(h + 16);
        FInfo.ColoursUsed = Get32(h + 32);
        if (FInfo.HeaderSize >= 52 && FInfo.HeaderSize != 64) {
            for (int i = 0; i < 3; ++i) FInfo.Masks[i] = Get32(h + 40 + 4 * i);
            FInfo.HaveMasks = true;
        }
    } else {
        return Fail("unsupported BMP header");
    }
    FPaletteOffset = FILE_HEADER_SIZE + FInfo.HeaderSize;

    if (FInfo.Compression == BI_BITFIELDS || FInfo.Compression == BI_ALPHABITFIELDS) {
        if (FInfo.HeaderSize == 40) {
            const std::size_t count = FInfo.Compression == BI_ALPHABITFIELDS ? 4 : 3;
            if (FSize < FPaletteOffset + 4 * count) return Fail("BMP colour masks cut short");
            for (int i = 0; i < 3; ++i) FInfo.Masks[i] = Get32(FData + FPaletteOffset + 4 * i);
            FPaletteOffset += 4 * count;
            FInfo.HaveMasks = true;
        }
        if (FInfo.BitCount != 16 && FInfo.BitCount != 32) return Fail("BMP bit fields need 16 or 32 bits");
    } else if (FInfo.Compression == BI_RLE8) {
        if (FInfo.BitCount != 8) return Fail("RLE8 needs 8 bits per pixel");
    } else if (FInfo.Compression == BI_RLE4) {
        if (FInfo.BitCount != 4) return Fail("RLE4 needs 4 bits per pixel");
    } else if (FInfo.Compression != BI_RGB) {
        return Fail("unsupported BMP compression");
    }
    switch (FInfo.BitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return Fail("unsupported BMP bit count");
    }
    if (FInfo.Width <= 0 || FInfo.Height == 0) return Fail("BMP has no pixels");
    if (FInfo.Height < 0 && (FInfo.Compression == BI_RLE8 || FInfo.Compression == BI_RLE4))
        return Fail("a top-down BMP cannot be run-length coded");
    if (static_cast<std::uint64_t>(FInfo.Width) * static_cast<std::uint64_t>(Rows()) > FMaxPixels)
        return Fail(BMP_ERROR_TOO_LARGE);
    return true;
}

bool TReader::ReadPalette() {
    if (FInfo.BitCount > 8) return true;
    const std::uint32_t full = 1u << FInfo.BitCount;
    std::uint32_t count = FInfo.ColoursUsed == 0 || FInfo.ColoursUsed > full ? full : FInfo.ColoursUsed;
    if (FInfo.HeaderSize == 12) count = full;
    // A palette cut short by the pixel offset or the file end keeps what is there.
    const std::size_t available = FSize > FPaletteOffset ? (FSize - FPaletteOffset) / FPaletteEntrySize : 0;
    count = static_cast<std::uint32_t>(std::min<std::size_t>(count, available));
    FPalette.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* p = FData + FPaletteOffset + i * FPaletteEntrySize;
        FPalette[i] = (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
    }
    return true;
}

bool TReader::ReadUncompressed(std::size_t offset) {
    const std::uint64_t stride = ((static_cast<std::uint64_t>(FInfo.Width) * FInfo.BitCount + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(Rows());
    if (offset > FSize || stride * rows > FSize - offset) return Fail("BMP pixel data cut short");

    TChannel red, green, blue;
    if (FInfo.BitCount == 16 || FInfo.BitCount == 32) {
        const bool fields = FInfo.Compression == BI_BITFIELDS || FInfo.Compression == BI_ALPHABITFIELDS;
        if (fields && FInfo.HaveMasks) {
            red = TChannel(FInfo.Masks[0]);
            green = TChannel(FInfo.Masks[1]);
            blue = TChannel(FInfo.Masks[2]);
        } else if (FInfo.BitCount == 16) {
            red = TChannel(0x7C00);
            green = TChannel(0x03E0);
            blue = TChannel(0x001F);
        } else {
            red = TChannel(0xFF0000);
            green = TChannel(0x00FF00);
            blue = TChannel(0x0000FF);
        }
    }
    for (std::uint64_t row = 0; row < rows; ++row) {
        const std::uint8_t* line = FData + offset + row * stride;
        for (std::int64_t x = 0; x < FInfo.Width; ++x) {
            std::uint32_t colour = 0;
            switch (FInfo.BitCount) {
                case 1: colour = PaletteColour((line[x >> 3] >> (7 - (x & 7))) & 1u); break;
                case 4: colour = PaletteColour((line[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu); break;
                case 8: colour = PaletteColour(line[x]); break;
                case 24: {
                    const std::uint8_t* p = line + 3 * x;
                    colour = (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
                    break;
                }
                default: {
                    const std::uint32_t v = FInfo.BitCount == 16 ? Get16(line + 2 * x) : Get32(line + 4 * x);
                    colour = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
                    break;
                }
            }
            Put(x, static_cast<std::int64_t>(row), colour);
        }
    }
    return true;
}

bool TReader::ReadRle(std::size_t offset) {
    // Pixels that the runs never reach are palette colour 0.
    std::fill(FImage.Pixels.begin(), FImage.Pixels.end(), PaletteColour(0));
    const bool four = FInfo.Compression == BI_RLE4;
    std::size_t p = offset;
    std::int64_t x = 0;
    std::int64_t row = 0;
    while (p + 1 < FSize && row < Rows()) {
        const std::uint8_t count = FData[p];
        const std::uint8_t value = FData[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                const std::uint32_t index = four ? ((i & 1) ? value & 0xFu : value >> 4) : value;
                Put(x++, row, PaletteColour(index));
            }
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (p + 1 >= FSize) break;
            x += FData[p];
            row += FData[p + 1];
            p += 2;
        } else {
            const std::size_t bytes = four ? (value + 1u) / 2u : value;
            if (p + bytes > FSize) break;
            for (int i = 0; i < value; ++i) {
                const std::uint32_t index =
                    four ? ((i & 1) ? FData[p + i / 2] & 0xFu : FData[p + i / 2] >> 4) : FData[p + i];
                Put(x++, row, PaletteColour(index));
            }
            p += (bytes + 1u) & ~static_cast<std::size_t>(1);
        }
    }
    // Running out of data without the end mark: keep what was decoded.
    return true;
}

bool TReader::Run() {
    FImage = TBmpImage();
    if (!ReadHeader() || !ReadPalette()) return false;

    const std::size_t computed = FPaletteOffset + FPalette.size() * FPaletteEntrySize;
    std::size_t offset = Get32(FData + 10);
    if (offset < FILE_HEADER_SIZE + FInfo.HeaderSize || offset >= FSize) offset = computed;

    FImage.Width = static_cast<int>(FInfo.Width);
    FImage.Height = static_cast<int>(Rows());
    FImage.BitCount = FInfo.BitCount;
    FImage.Pixels.assign(static_cast<std::size_t>(FInfo.Width * Rows()), 0);
    const bool ok = (FInfo.Compression == BI_RLE8 || FInfo.Compression == BI_RLE4) ? ReadRle(offset)
                                                                                    : ReadUncompressed(offset);
    return ok;
}

}  // namespace

bool ParseBmp(const std::uint8_t* data, std::size_t size, TBmpImage& image, std::string* error,
              std::uint64_t maxPixels) {
    if (data == nullptr) size = 0;
    static const std::uint8_t NOTHING = 0;
    TReader reader(data ? data : &NOTHING, size, image, error, std::min<std::uint64_t>(maxPixels, BMP_MAX_PIXELS));
    return reader.Run();
}

bool ReadBmpSize(const std::uint8_t* data, std::size_t size, int& width, int& height) {
    TBmpImage image;
    if (!ParseBmp(data, size, image)) return false;
    width = image.Width;
    height = image.Height;
    return true;
}

std::vector<std::uint8_t> WriteBmp24(const TBmpImage& image) {
    const std::size_t stride = ((static_cast<std::size_t>(image.Width) * 24 + 31) / 32) * 4;
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(image.Height);
    std::vector<std::uint8_t> out(54 + pixelBytes, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(image.Width));
    put32(22, static_cast<std::uint32_t>(image.Height));
    put16(26, 1);
    put16(28, 24);
    put32(34, static_cast<std::uint32_t>(pixelBytes));
    for (int y = 0; y < image.Height; ++y) {
        std::uint8_t* line = out.data() + 54 + static_cast<std::size_t>(image.Height - 1 - y) * stride;
        for (int x = 0; x < image.Width; ++x) {
            const std::uint32_t c = image.Pixel(x, y);
            line[3 * x] = static_cast<std::uint8_t>(c);
            line[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
            line[3 * x + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    return out;
}
