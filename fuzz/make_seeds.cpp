// Writes the starting corpora of the fuzz targets: packed skins of every
// container version, LZH streams, ini texts, BMP files and colour texts.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin/data/bmp_file.h"
#include "skin/data/lzh_codec.h"
#include "skin/data/skin_reader.h"

namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

static void Write(const fs::path& dir, const std::string& name, const TBytes& data) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                                     static_cast<std::streamsize>(data.size()));
}

static TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds <corpus-root>\n");
        return 2;
    }
    const fs::path root = argv[1];
    const std::string ini =
        "[TitlebarSkin]\r\nSkinName=Seed\r\n[Personality]\r\nTop=Folder\\top.bmp\r\nTopFrame=2\r\n"
        "[Buttons]\r\nBitmap=btn.bmp\r\nLeftWidth=3\r\nTopHeight=0x3\r\nNormalColour2=216 208 200\r\n"
        "; comment\r\n[Colours]\r\nButtonFace=229 229 229\r\n";

    TBmpImage image;
    image.Width = 10;
    image.Height = 4;
    for (int i = 0; i < 40; ++i) image.Pixels.push_back(i % 3 ? 0xFF00FFu : 0x102030u * static_cast<unsigned>(i));
    const TBytes bmp = WriteBmp24(image);

    const std::vector<TSkinFileEntry> files = {{"skin.ini", Bytes(ini)}, {"Top.bmp", bmp}, {"btn.bmp", bmp}};
    for (std::int32_t version : {20000, 30000, 40000, 50000, 60000, 70000})
        Write(root / "fuzz_skin_reader", "v" + std::to_string(version), PackSkinContainer(files, version));

    for (const TBytes& plain : {Bytes(ini), bmp, TBytes(300, ' '), BuildSkinContainer(files)}) {
        static int n = 0;
        Write(root / "fuzz_lzh_decode", "s" + std::to_string(n), LzhPackWithSize(plain.data(), plain.size()));
        Write(root / "fuzz_lzh_roundtrip", "s" + std::to_string(n++), plain);
    }
    Write(root / "fuzz_quick_ini", "skin.ini", Bytes(ini));
    Write(root / "fuzz_quick_ini", "odd.ini", Bytes("[A]\r=x\n[a]\rk=\0[B]"));
    Write(root / "fuzz_bmp", "24.bmp", bmp);
    Write(root / "fuzz_bmp", "rle8.bmp",
          {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0,
           1, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 255, 0,
           3, 1, 0, 0, 0, 3, 1, 0, 1, 0, 0, 1});
    // A skin whose top border is a 64-byte run-length coded BMP claiming
    // 4096 x 4096 pixels, named again by every section: what the budget
    // must refuse.
    const TBytes bomb = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 0, 16, 0, 0, 0, 16, 0, 0,
                         1, 0, 8, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,
                         255, 0, 0, 0, 0, 255, 0, 0, 0, 1};
    const std::string bombIni = ini + "[Progress]\r\nBitmap=top.bmp\r\n[Tabs]\r\nImage=top.bmp\r\n";
    Write(root / "fuzz_skin_budget", "bomb",
          PackSkinContainer({{"skin.ini", Bytes(bombIni)}, {"top.bmp", bomb}, {"btn.bmp", bmp}}));
    Write(root / "fuzz_skin_budget", "plain", PackSkinContainer(files));
    Write(root / "fuzz_bmp", "bomb.bmp", bomb);
    for (const char* c : {"216 208 200", "12", "12 34", "1 2 3 4", "", "99999999999 0 1"})
        Write(root / "fuzz_colour_text", "c" + std::to_string(std::hash<std::string>()(c)), Bytes(c));
    return 0;
}
