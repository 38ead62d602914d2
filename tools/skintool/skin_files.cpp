// Reading skins from folders and containers for skintool (see skin_files.h).
#include "skin_files.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iconv.h>

#include "skin/data/quick_ini.h"

namespace fs = std::filesystem;

namespace {

bool Convert(const char* to, const char* from, const std::string& text, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string result;
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    bool ok = true;
    while (inLeft > 0) {
        char buffer[256];
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        result.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    if (ok) out = std::move(result);
    return ok;
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string LowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return ext;
}

}  // namespace

const TSkinFileEntry* TSkinSource::Find(const std::string& name) const {
    const std::string wanted = SkinLowerCase(name);
    for (const TSkinFileEntry& f : Files)
        if (SkinLowerCase(f.Name) == wanted) return &f;
    return nullptr;
}

bool ReadWholeFile(const fs::path& path, std::vector<std::uint8_t>& data, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read " + path.string();
        return false;
    }
    return true;
}

bool WriteWholeFile(const fs::path& path, const std::vector<std::uint8_t>& data, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot create " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool Utf8ToGbk(const std::string& text, std::string& out) {
    if (IsAscii(text)) {
        out = text;
        return true;
    }
    return Convert("GBK", "UTF-8", text, out);
}

std::string GbkToUtf8(const std::string& text) {
    if (IsAscii(text)) return text;
    std::string out;
    if (Convert("UTF-8", "GBK", text, out)) return out;
    std::string safe = text;
    for (char& c : safe)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    return safe;
}

bool LoadSkinFolder(const fs::path& folder, TSkinSource& source, std::vector<std::string>& skipped,
                    std::string& error) {
    source = TSkinSource();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = folder.string() + " is not a folder";
        return false;
    }
    std::vector<fs::path> paths;
    for (const fs::directory_entry& e : fs::directory_iterator(folder, ec)) {
        if (!e.is_regular_file()) continue;
        const std::string ext = LowerExtension(e.path());
        if (ext == ".bmp" || ext == ".ini")
            paths.push_back(e.path());
        else
            skipped.push_back(e.path().filename().string());
    }
    if (ec) {
        error = "cannot list " + folder.string() + ": " + ec.message();
        return false;
    }
    // The description first, then the bitmaps by name.
    std::sort(paths.begin(), paths.end(), [](const fs::path& a, const fs::path& b) {
        const bool ai = LowerExtension(a) == ".ini";
        const bool bi = LowerExtension(b) == ".ini";
        if (ai != bi) return ai;
        return a.filename().string() < b.filename().string();
    });
    for (const fs::path& p : paths) {
        TSkinFileEntry entry;
        if (!Utf8ToGbk(p.filename().string(), entry.Name)) {
            error = "file name cannot be written in GBK: " + p.filename().string();
            return false;
        }
        if (!ReadWholeFile(p, entry.Data, error)) return false;
        source.Files.push_back(std::move(entry));
    }
    std::sort(skipped.begin(), skipped.end());
    return true;
}

bool LoadSkinContainerFile(const fs::path& file, TSkinSource& source, std::string& error) {
    source = TSkinSource();
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(file, bytes, error)) return false;
    std::size_t offset = 0;
    if (IsFramedSkinStream(bytes.data(), bytes.size())) {
        source.Framed = true;
        offset = 4;
    }
    TSkinReader reader;
    if (!reader.Load(bytes.data() + offset, bytes.size() - offset)) {
        std::string message = reader.LastError();
        std::replace(message.begin(), message.end(), '\r', ' ');
        error = file.string() + ": " + message;
        return false;
    }
    source.FromContainer = true;
    source.Version = reader.Header().Version;
    source.PackedSize = bytes.size() - offset;
    for (int i = 0; i < reader.Count(); ++i) {
        TSkinFileEntry entry;
        entry.Name = reader.Names()[static_cast<std::size_t>(i)];
        // Entries are read by position, so a later duplicate keeps its own bytes.
        std::vector<std::uint8_t> data;
        std::uint64_t offsetInData = 0;
        for (int k = 0; k < i; ++k) offsetInData += static_cast<std::uint64_t>(std::max(reader.EntrySize(k), 0));
        const std::uint64_t size = static_cast<std::uint64_t>(std::max(reader.EntrySize(i), 0));
        const std::vector<std::uint8_t>& all = reader.Data();
        if (offsetInData < all.size()) {
            const std::uint64_t n = std::min<std::uint64_t>(size, all.size() - offsetInData);
            entry.Data.assign(all.begin() + static_cast<std::ptrdiff_t>(offsetInData),
                              all.begin() + static_cast<std::ptrdiff_t>(offsetInData + n));
        }
        source.Files.push_back(std::move(entry));
    }
    return true;
}
