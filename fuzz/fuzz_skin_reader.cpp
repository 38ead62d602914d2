// Fuzzes the skin container reader with arbitrary compressed containers, and
// every lookup on what it read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/quick_ini.h"
#include "skin/data/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TSkinReader reader;
    if (!reader.Load(data, size)) return 0;
    if (reader.Count() > SKIN_MAX_ENTRIES) __builtin_trap();
    std::vector<std::uint8_t> file;
    std::size_t total = 0;
    for (const std::string& name : reader.Names()) {
        reader.GetFileByName(name, file);
        total += file.size();
        reader.GetBitmapFile("folder\\" + name, file);
    }
    if (total > reader.Data().size() * reader.Names().size()) __builtin_trap();
    std::string text;
    reader.GetDescription(text);
    TQuickIni ini;
    ini.LoadFromBuffer(text.data(), text.size());
    std::vector<std::string> sections;
    ini.ReadSections(&sections);
    for (const std::string& s : sections) ini.ReadString(s, "Image", "");
    return 0;
}
