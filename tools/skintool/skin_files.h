// The files of a skin as skintool sees them: read from a folder of sources or
// from a packed skin (a skin file or a stored "SkinStream" property), with
// file names converted between the container's GBK and the file system's
// UTF-8.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/data/skin_reader.h"

struct TSkinSource {
    std::vector<TSkinFileEntry> Files;   // names in GBK, in container order
    bool FromContainer = false;
    bool Framed = false;                 // a stored property with its count in front
    std::int32_t Version = 0;
    std::size_t PackedSize = 0;          // compressed bytes (without the count)

    // The first file whose name equals `name` ignoring case, or null.
    const TSkinFileEntry* Find(const std::string& name) const;
};

bool ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& data,
                   std::string& error);
bool WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data,
                    std::string& error);

// GBK <-> UTF-8 for file names and messages. False when the text cannot be
// converted.
bool Utf8ToGbk(const std::string& text, std::string& out);
std::string GbkToUtf8(const std::string& text);   // invalid bytes become "?"

// The .bmp and .ini files of a folder (other files are reported in
// `skipped`), sorted by name with the description first.
bool LoadSkinFolder(const std::filesystem::path& folder, TSkinSource& source,
                    std::vector<std::string>& skipped, std::string& error);

// A skin file or stored property (recognised by its count in front).
bool LoadSkinContainerFile(const std::filesystem::path& file, TSkinSource& source,
                           std::string& error);
