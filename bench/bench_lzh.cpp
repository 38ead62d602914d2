// Decoding speed of a skin: a ~300 KB container of skin-like bitmaps,
// compressed with the program's own encoder, decoded again and again; memcpy
// of the same number of bytes runs beside it as the yardstick. Prints MB/s of
// decoded output and the ratio. Goal: at least 50 MB/s.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "skin/data/bmp_file.h"
#include "skin/data/lzh_codec.h"
#include "skin/data/skin_reader.h"

namespace {

using TBytes = std::vector<std::uint8_t>;
using TClock = std::chrono::steady_clock;

// A frame strip like those of a skin: a few frames side by side with a
// vertical gradient, a flat face, a border, magenta corners and a little
// dithering noise.
TBytes SkinBitmap(int width, int height, int frames, unsigned seed) {
    std::mt19937 rng(seed);
    TBmpImage image;
    image.Width = width;
    image.Height = height;
    const int frameWidth = width / frames;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int fx = x % frameWidth;
            const int frame = x / frameWidth;
            std::uint32_t c;
            if ((fx < 2 || fx >= frameWidth - 2) && (y < 2 || y >= height - 2))
                c = 0xFF00FF;
            else if (fx == 0 || y == 0 || fx == frameWidth - 1 || y == height - 1)
                c = 0x404040 + 0x101010u * static_cast<unsigned>(frame);
            else {
                const unsigned shade = 200 + static_cast<unsigned>(y * 40 / height) - 8u * static_cast<unsigned>(frame);
                c = shade | (shade - 8) << 8 | (shade - 16) << 16;
                if (rng() % 23 == 0) c ^= 0x010101;
            }
            image.Pixels.push_back(c);
        }
    }
    return WriteBmp24(image);
}

TBytes MakeContainer() {
    std::vector<TSkinFileEntry> files;
    std::string ini = "[TitlebarSkin]\r\nSkinName=Bench\r\n";
    const struct {
        int W, H, Frames;
    } shapes[] = {{205, 50, 2}, {246, 16, 2}, {4, 250, 2}, {4, 250, 2}, {150, 38, 2}, {90, 23, 5},
                  {65, 13, 5},  {65, 13, 5},  {36, 19, 2}, {44, 20, 2}, {25, 13, 1}, {90, 19, 5},
                  {48, 48, 1},  {66, 18, 3},  {100, 23, 5}, {64, 18, 4}, {20, 21, 4}, {80, 16, 5},
                  {90, 18, 5},  {150, 23, 5}, {18, 18, 1}, {368, 16, 23}, {68, 17, 4}, {68, 17, 4},
                  {66, 15, 3},  {45, 22, 3},  {66, 11, 6}, {66, 11, 6}, {66, 11, 6}, {78, 13, 6},
                  {180, 14, 12}, {150, 38, 2}, {205, 50, 2}};
    unsigned seed = 1;
    for (const auto& s : shapes) {
        const std::string name = "image" + std::to_string(seed) + ".bmp";
        files.push_back({name, SkinBitmap(s.W, s.H, s.Frames, seed++)});
        ini += "[Section" + std::to_string(seed) + "]\r\nImage=" + name + "\r\nLeftWidth=3\r\nTopHeight=3\r\n";
    }
    files.insert(files.begin(), {"bench.ini", TBytes(ini.begin(), ini.end())});
    // Grow to about 300 KB with larger strips.
    while (BuildSkinContainer(files).size() < 300000)
        files.push_back({"big" + std::to_string(seed) + ".bmp", SkinBitmap(300, 40, 5, seed++)});
    return BuildSkinContainer(files);
}

template <typename F>
double SecondsPerRun(F&& run, int runs) {
    const auto start = TClock::now();
    for (int i = 0; i < runs; ++i) run();
    return std::chrono::duration<double>(TClock::now() - start).count() / runs;
}

}  // namespace

int main() {
    const TBytes plain = MakeContainer();
    const TBytes packed = LzhPackWithSize(plain.data(), plain.size());
    const auto size = static_cast<std::int32_t>(plain.size());
    std::printf("skin container: %zu bytes, compressed to %zu bytes (%.1f : 1)\n", plain.size(), packed.size(),
                static_cast<double>(plain.size()) / static_cast<double>(packed.size()));

    if (LzhUnpackBuffer(packed.data() + 4, packed.size() - 4, size) != plain) {
        std::printf("FAILED: the container does not decode back\n");
        return 1;
    }

    TBytes target(plain.size());
    volatile std::uint8_t sink = 0;
    const int runs = 60;
    double decode = 0, load = 0, copy = 0;
    // Interleave the measurements so that both see the same machine state.
    for (int round = 0; round < 3; ++round) {
        decode += SecondsPerRun([&] { sink = sink + LzhUnpackBuffer(packed.data() + 4, packed.size() - 4, size)[7]; }, runs);
        load += SecondsPerRun([&] {
            TSkinReader reader;
            reader.Load(packed);
            sink = sink + static_cast<std::uint8_t>(reader.Count());
        }, runs);
        copy += SecondsPerRun([&] {
            std::memcpy(target.data(), plain.data(), plain.size());
            sink = sink + target[static_cast<std::size_t>(sink) % target.size()];
        }, runs * 20);
    }
    const double mb = static_cast<double>(plain.size()) / 1e6;
    const double decodeRate = mb / (decode / 3), loadRate = mb / (load / 3), copyRate = mb / (copy / 3);
    std::printf("LZH decode      %9.1f MB/s\n", decodeRate);
    std::printf("reader Load     %9.1f MB/s (decode and directory)\n", loadRate);
    std::printf("memcpy          %9.1f MB/s\n", copyRate);
    std::printf("ratio decode/memcpy: %.4f\n", decodeRate / copyRate);
    std::printf("goal 50 MB/s: %s\n", decodeRate >= 50 ? "met" : "NOT met");
    return 0;
}
