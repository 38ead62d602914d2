// Reading and writing skin containers (see skin_reader.h).
#include "skin/data/skin_reader.h"

#include <algorithm>
#include <stdexcept>

#include "skin/data/lzh_codec.h"
#include "skin/data/quick_ini.h"

namespace {

constexpr std::size_t HEADER_SIZE = 16;

// The most output one byte of bit stream can give: a symbol takes at least
// one bit, a match of 60 bytes at least 10 bits (symbol and position).
constexpr std::uint64_t MAX_EXPANSION = 48;

// A cursor over the decoded container that never reads past its end: a short
// read delivers what is there and zeros for the rest.
class TCursor {
public:
    TCursor(const std::vector<std::uint8_t>& data) : FData(data) {}

    std::size_t Remaining() const { return FData.size() - FPos; }
    std::size_t Position() const { return FPos; }

    std::int32_t ReadInt32() {
        std::uint8_t bytes[4] = {0, 0, 0, 0};
        const std::size_t n = std::min<std::size_t>(4, Remaining());
        std::copy_n(FData.begin() + static_cast<std::ptrdiff_t>(FPos), n, bytes);
        FPos += n;
        return ReadLE32(bytes);
    }

    std::string ReadText(std::size_t length) {
        length = std::min(length, Remaining());
        std::string text(FData.begin() + static_cast<std::ptrdiff_t>(FPos),
                         FData.begin() + static_cast<std::ptrdiff_t>(FPos + length));
        FPos += length;
        return text;
    }

    void Skip(std::size_t length) { FPos += std::min(length, Remaining()); }

private:
    const std::vector<std::uint8_t>& FData;
    std::size_t FPos = 0;
};

}  // namespace

std::int32_t ReadLE32(const std::uint8_t* p) {
    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) |
                            (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) |
                            (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

void AppendLE32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

int SkinExtraBlockSize(std::int32_t version) {
    switch (version) {
        case 20000: return 0;
        case 30000: return 256;
        case 40000: return 80;
        case 50000: return 48;
        case 60000: return 117;
        case 70000: return 69;
        default: return -1;
    }
}

std::vector<std::string> SplitSkinNameList(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    const std::size_t end = std::min(text.find('\0'), text.size());
    while (i < end) {
        const std::size_t start = i;
        while (i < end && text[i] != '\r' && text[i] != '\n') ++i;
        lines.push_back(text.substr(start, i - start));
        if (i < end && text[i] == '\r') ++i;
        if (i < end && text[i] == '\n') ++i;
    }
    return lines;
}

std::string SkinExtractFileName(const std::string& value) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (SkinIsLeadByte(value, i)) {
            ++i;
            continue;
        }
        if (value[i] == '\\' || value[i] == '/' || value[i] == ':') start = i + 1;
    }
    return value.substr(start);
}

// ---- TSkinReader -------------------------------------------------------------

void TSkinReader::Clear() {
    FHeader = TSkinContainerHeader();
    FNames.clear();
    FSizes.clear();
    FData.clear();
    FDecoded.clear();
    FPixelsHandedOut = 0;
    FOverBudget = false;
    FBitmapsDecoded = 0;
    FInputShort = false;
    FMissingImages.clear();
}

bool TSkinReader::Fail(TSkinLoadResult result, const char* message) {
    Clear();
    FLastResult = result;
    FLastError = message;
    return false;
}

bool TSkinReader::Load(const std::uint8_t* compressed, std::size_t length) {
    Clear();
    FLastResult = TSkinLoadResult::Ok;
    FLastError.clear();

    // 1. Decompress. A decoded size the bit stream cannot possibly hold can
    // only come from damage; decoding it would just produce zeros for a long
    // time.
    std::int32_t decodedSize = 0;
    if (length >= 4) decodedSize = ReadLE32(compressed);
    const std::size_t bitLength = length >= 4 ? length - 4 : 0;
    if (decodedSize > 0 &&
        static_cast<std::uint64_t>(decodedSize) > MAX_EXPANSION * bitLength + 64)
        return Fail(TSkinLoadResult::Damaged, SKIN_MSG_DAMAGED);
    if (decodedSize > 0 && static_cast<std::uint64_t>(decodedSize) > FBudget.MaxContainerBytes)
        return Fail(TSkinLoadResult::OverBudget, SKIN_MSG_OVER_BUDGET);
    std::size_t missing = 0;
    const std::vector<std::uint8_t> decoded =
        LzhUnpackBuffer(bitLength > 0 ? compressed + 4 : nullptr, bitLength, decodedSize, &missing);
    const bool inputShort = missing > LZH_READ_AHEAD;

    // 2, 3. Header and the version's extra block. Bytes too few to hold a
    // header (an empty file among them) are damage, not another version.
    if (decoded.size() < 16) return Fail(TSkinLoadResult::Damaged, SKIN_MSG_DAMAGED);
    TCursor in(decoded);
    TSkinContainerHeader header;
    header.Version = in.ReadInt32();
    header.NameListLength = in.ReadInt32();
    header.Reserved1 = in.ReadInt32();
    header.Reserved2 = in.ReadInt32();
    const int extra = SkinExtraBlockSize(header.Version);
    if (extra < 0) return Fail(TSkinLoadResult::UnknownVersion, SKIN_MSG_OLDER_SKIN);
    in.Skip(static_cast<std::size_t>(extra));

    // 4. The names, lower case. A negative length reads nothing.
    const std::size_t listLength =
        header.NameListLength > 0 ? static_cast<std::size_t>(header.NameListLength) : 0;
    std::vector<std::string> names = SplitSkinNameList(SkinLowerCase(in.ReadText(listLength)));
    if (names.size() > static_cast<std::size_t>(SKIN_MAX_ENTRIES))
        return Fail(TSkinLoadResult::TooManyFiles, SKIN_MSG_TOO_MANY_FILES);

    // 5, 6. Sizes, then the file data.
    std::vector<std::int32_t> sizes(names.size());
    for (std::int32_t& size : sizes) size = in.ReadInt32();

    FHeader = header;
    FNames = std::move(names);
    FSizes = std::move(sizes);
    FData.assign(decoded.begin() + static_cast<std::ptrdiff_t>(in.Position()), decoded.end());
    FInputShort = inputShort;
    return true;
}

void TSkinReader::CopyEntry(int index, std::vector<std::uint8_t>& target) const {
    // Sizes come from the container unchecked: a negative size counts as
    // empty, and an entry reaching past the data gets what is there.
    std::uint64_t offset = 0;
    for (int i = 0; i < index; ++i) offset += static_cast<std::uint64_t>(std::max(FSizes[i], 0));
    const std::uint64_t size = static_cast<std::uint64_t>(std::max(FSizes[index], 0));
    target.clear();
    if (offset >= FData.size()) return;
    const std::uint64_t available = FData.size() - offset;
    const auto n = static_cast<std::size_t>(std::min(size, available));
    const auto from = FData.begin() + static_cast<std::ptrdiff_t>(offset);
    target.assign(from, from + static_cast<std::ptrdiff_t>(n));
}

int TSkinReader::FindEntry(const std::string& lowerName) const {
    for (int i = 0; i < Count(); ++i)
        if (FNames[static_cast<std::size_t>(i)] == lowerName) return i;
    return -1;
}

bool TSkinReader::GetFileByName(const std::string& name, std::vector<std::uint8_t>& target) const {
    target.clear();
    const int index = FindEntry(SkinLowerCase(name));
    if (index < 0) return false;
    CopyEntry(index, target);
    return true;
}

bool TSkinReader::FindFileByPartOfName(const std::string& text, std::vector<std::uint8_t>& target,
                                       std::string& name) const {
    target.clear();
    for (int i = 0; i < Count(); ++i) {
        if (FNames[static_cast<std::size_t>(i)].find(text) != std::string::npos) {
            CopyEntry(i, target);
            name = FNames[static_cast<std::size_t>(i)];
            return true;
        }
    }
    return false;
}

bool TSkinReader::GetBitmapFile(const std::string& value, std::vector<std::uint8_t>& target) const {
    target.clear();
    const std::string fileName = SkinExtractFileName(value);
    const std::size_t dot = fileName.rfind('.');
    if (fileName.empty() || dot == std::string::npos || fileName.compare(dot, std::string::npos, ".bmp") != 0)
        return false;
    return GetFileByName(fileName, target) && !target.empty();
}

bool TSkinReader::DecodeBitmap(const std::string& value, TBmpImage& image) const {
    image = TBmpImage();
    const std::string fileName = SkinExtractFileName(value);
    const std::size_t dot = fileName.rfind('.');
    if (fileName.empty() || dot == std::string::npos || fileName.compare(dot, std::string::npos, ".bmp") != 0)
        return false;
    const int index = FindEntry(SkinLowerCase(fileName));
    if (index < 0) {
        FMissingImages.push_back(fileName);
        return false;
    }

    auto cached = FDecoded.find(index);
    if (cached == FDecoded.end()) {
        std::vector<std::uint8_t> bytes;
        CopyEntry(index, bytes);
        TBmpImage decoded;
        // What may still be handed out bounds the decode itself, so a
        // refused image never takes its memory even for a moment.
        const std::uint64_t room = FPixelsHandedOut < FBudget.MaxTotalPixels
                                       ? FBudget.MaxTotalPixels - FPixelsHandedOut : 0;
        const std::uint64_t limit = std::min(FBudget.MaxImagePixels, room);
        std::string error;
        if (!bytes.empty() && !ParseBmp(bytes.data(), bytes.size(), decoded, &error, limit)) {
            decoded = TBmpImage();
            if (error == BMP_ERROR_TOO_LARGE) {
                FOverBudget = true;
                return false;
            }
        }
        ++FBitmapsDecoded;
        cached = FDecoded.emplace(index, std::move(decoded)).first;
    }
    const TBmpImage& found = cached->second;
    if (found.Pixels.empty()) {
        FMissingImages.push_back(fileName);
        return false;
    }
    const std::uint64_t pixels = found.Pixels.size();
    if (pixels > FBudget.MaxImagePixels || FPixelsHandedOut + pixels > FBudget.MaxTotalPixels) {
        FOverBudget = true;
        return false;
    }
    FPixelsHandedOut += pixels;
    image = found;
    return true;
}

bool TSkinReader::Complete() const {
    if (FInputShort) return false;
    std::uint64_t total = 0;
    for (std::int32_t size : FSizes) {
        if (size < 0) return false;
        total += static_cast<std::uint64_t>(size);
    }
    if (total > FData.size()) return false;
    for (const std::string& name : FNames)
        if (name.find(".ini") != std::string::npos) return true;
    return false;
}

bool TSkinReader::GetDescription(std::string& text) const {
    std::vector<std::uint8_t> bytes;
    std::string name;
    const bool found = FindFileByPartOfName(".ini", bytes, name);
    text.assign(bytes.begin(), bytes.end());
    return found;
}

// ---- writing -------------------------------------------------------------------

std::vector<std::uint8_t> BuildSkinContainer(const std::vector<TSkinFileEntry>& files,
                                             std::int32_t version) {
    const int extra = SkinExtraBlockSize(version);
    if (extra < 0) throw std::invalid_argument("unknown skin container version " + std::to_string(version));
    if (files.size() > static_cast<std::size_t>(SKIN_MAX_ENTRIES))
        throw std::invalid_argument("a skin container holds at most 1001 files");

    std::string list;
    for (const TSkinFileEntry& f : files) {
        if (f.Name.empty() || f.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            throw std::invalid_argument("file name not allowed in a skin container: \"" + f.Name + "\"");
        list += f.Name;
        list += "\r\n";
    }

    std::vector<std::uint8_t> out;
    AppendLE32(out, version);
    AppendLE32(out, static_cast<std::int32_t>(list.size()));
    AppendLE32(out, 0);
    AppendLE32(out, 0);
    out.insert(out.end(), static_cast<std::size_t>(extra), 0);
    out.insert(out.end(), list.begin(), list.end());
    for (const TSkinFileEntry& f : files) AppendLE32(out, static_cast<std::int32_t>(f.Data.size()));
    for (const TSkinFileEntry& f : files) out.insert(out.end(), f.Data.begin(), f.Data.end());
    return out;
}

std::vector<std::uint8_t> PackSkinContainer(const std::vector<TSkinFileEntry>& files,
                                            std::int32_t version) {
    const std::vector<std::uint8_t> plain = BuildSkinContainer(files, version);
    return LzhPackWithSize(plain.data(), plain.size());
}

std::vector<std::uint8_t> FrameSkinStream(const std::vector<std::uint8_t>& compressed) {
    std::vector<std::uint8_t> out;
    out.reserve(compressed.size() + 4);
    AppendLE32(out, static_cast<std::int32_t>(compressed.size()));
    out.insert(out.end(), compressed.begin(), compressed.end());
    return out;
}

bool IsFramedSkinStream(const std::uint8_t* data, std::size_t length) {
    if (length < 4) return false;
    const std::int32_t count = ReadLE32(data);
    return count > 0 && static_cast<std::size_t>(count) == length - 4;
}
