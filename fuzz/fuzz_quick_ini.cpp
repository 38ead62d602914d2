// Fuzzes the quick ini reader: arbitrary text, then every section and every
// key name that the text itself suggests.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/quick_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TQuickIni ini;
    ini.LoadFromBuffer(data, size);
    std::vector<std::string> sections;
    ini.ReadSections(&sections);
    for (const std::string& line : ini.Lines()) {
        const std::size_t eq = line.find('=');
        const std::string key = eq == std::string::npos ? line : line.substr(0, eq);
        for (const std::string& s : sections) {
            const std::string value = ini.ReadString(s, SkinTrim(key), "default");
            if (value.empty()) __builtin_trap();   // an empty value keeps the default
            ini.ReadInteger(s, key, 0);
        }
    }
    for (const auto& s : ini.Sections())
        if (s.LineIndex < 0 || static_cast<std::size_t>(s.LineIndex) >= ini.Lines().size()) __builtin_trap();
    return 0;
}
