// Helpers for the skin model and skin component tests: small skins written
// in the test (an ini text and solid-colour images packed into a container)
// and the build's packed stored skin.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "skin/data/bmp_file.h"
#include "skin/data/lzh_codec.h"
#include "skin/data/skin_model.h"
#include "skin/data/skin_reader.h"

namespace skintest {

using TBytes = std::vector<std::uint8_t>;

// A pixel as TBmpImage holds it (0x00RRGGBB).
constexpr std::uint32_t Px(int r, int g, int b) { return std::uint32_t(r) << 16 | std::uint32_t(g) << 8 | std::uint32_t(b); }
// The same colour as the model holds colours (red in the low byte).
constexpr TSkinColour PxToColour(std::uint32_t p) { return SkinRgb(int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)); }

// An image of `colours.size()` solid frames side by side, each frameWidth x height.
inline TBmpImage SolidFrames(int frameWidth, int height, const std::vector<std::uint32_t>& colours) {
    TBmpImage image;
    image.Width = frameWidth * static_cast<int>(colours.size());
    image.Height = height;
    image.BitCount = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < image.Width; ++x) image.Pixels.push_back(colours[static_cast<std::size_t>(x / frameWidth)]);
    return image;
}

inline TBmpImage Solid(int width, int height, std::uint32_t colour) { return SolidFrames(width, height, {colour}); }

// A skin written in the test: its description and its images by file name.
struct TTestSkin {
    std::string Ini;
    std::vector<std::pair<std::string, TBmpImage>> Images;

    std::vector<TSkinFileEntry> Files() const {
        std::vector<TSkinFileEntry> files{{"test.ini", TBytes(Ini.begin(), Ini.end())}};
        for (const auto& [name, image] : Images) files.push_back({name, WriteBmp24(image)});
        return files;
    }
    // What a skin file holds: the compressed container.
    TBytes Packed(std::int32_t version = SKIN_DEFAULT_VERSION) const { return PackSkinContainer(Files(), version); }
    // The stored "SkinStream" property: the count, then the compressed container.
    TBytes Stored() const { return FrameSkinStream(Packed()); }
};

// A compressed container of an unknown version holding nothing.
inline TBytes UnknownVersionContainer() {
    TBytes plain;
    AppendLE32(plain, 12345);
    AppendLE32(plain, 0);
    AppendLE32(plain, 0);
    AppendLE32(plain, 0);
    return LzhPackWithSize(plain.data(), plain.size());
}

// Builds `model` from a test skin the way the component does.
inline bool BuildModel(TSkinModel& model, const TTestSkin& skin) {
    TSkinReader reader;
    const TBytes packed = skin.Packed();
    if (!reader.Load(packed)) return false;
    BuildSkinModelFromReader(model, reader);
    return true;
}

// The build's packed stored skin (the "SkinStream" property's bytes).
inline TBytes StoredSkinBytes() {
    std::string path = RAVELBOOK_SKIN_BIN;
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::ifstream file(path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace skintest
