// The quick ini reader and the skin readers' 8-bit text helpers.
#include "skin/data/quick_ini.h"

namespace {

bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
bool IsLeadCandidate(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// An assertion message in the form "text (file, line n)".
std::string AssertionText(const char* text, int line) {
    return std::string(text) + " (quick_ini.cpp, line " + std::to_string(line) + ")";
}

bool IsHeaderLine(const std::string& line) {
    return !line.empty() && line.front() == '[' && line.back() == ']';
}

}  // namespace

bool SkinIsLeadByte(const std::string& text, std::size_t index) {
    return index + 1 < text.size() && IsLeadCandidate(static_cast<unsigned char>(text[index])) &&
           IsTrailByte(static_cast<unsigned char>(text[index + 1]));
}

std::string SkinLowerCase(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (SkinIsLeadByte(out, i))
            ++i;
        else
            out[i] = LowerAscii(out[i]);
    }
    return out;
}

bool SkinSameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && SkinLowerCase(a) == SkinLowerCase(b);
}

std::string SkinTrim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

bool SkinTryStrToInt(const std::string& text, std::int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size()) return false;
    std::uint64_t magnitude = 0;
    if (text[i] == '$') {
        ++i;
        if (i >= text.size()) return false;
        for (; i < text.size(); ++i) {
            const char c = text[i];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return false;
            magnitude = magnitude * 16 + static_cast<std::uint64_t>(digit);
            if (magnitude > 0xFFFFFFFFull) return false;
        }
        auto bits = static_cast<std::uint32_t>(magnitude);
        if (negative) bits = 0u - bits;
        value = static_cast<std::int32_t>(bits);
        return true;
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > 0x80000000ull) return false;
    }
    if (!negative && magnitude > 0x7FFFFFFFull) return false;
    value = negative ? static_cast<std::int32_t>(0 - static_cast<std::int64_t>(magnitude))
                     : static_cast<std::int32_t>(magnitude);
    return true;
}

// ---- TQuickIni ---------------------------------------------------------------

void TQuickIni::LoadFromStream(const std::vector<std::uint8_t>* stream, std::size_t position) {
    if (stream == nullptr) return;
    if (position > stream->size()) position = stream->size();
    static const std::uint8_t EMPTY = 0;
    const std::uint8_t* begin = stream->empty() ? &EMPTY : stream->data() + position;
    LoadFromBuffer(begin, stream->size() - position);
}

void TQuickIni::LoadFromBuffer(const void* data, std::size_t size) {
    if (data == nullptr) return;
    FLines.clear();
    FSections.clear();
    const char* text = static_cast<const char*>(data);
    std::size_t i = 0;
    while (i < size) {
        const std::size_t start = i;
        while (i < size && text[i] != '\r' && text[i] != '\n' && text[i] != '\0') ++i;
        std::string line = SkinTrim(std::string(text + start, i - start));
        if (!line.empty() && line.front() != ';') {
            if (IsHeaderLine(line))
                FSections.push_back({line, static_cast<int>(FLines.size())});
            FLines.push_back(std::move(line));
        }
        if (i < size && text[i] == '\0') break;
        if (i < size && text[i] == '\r') ++i;
        if (i < size && text[i] == '\n') ++i;
    }
}

int TQuickIni::SectionIndex(const std::string& name) const {
    const std::string header = SkinLowerCase("[" + name + "]");
    for (const TSection& s : FSections)
        if (s.Header.size() == header.size() && SkinLowerCase(s.Header) == header)
            return s.LineIndex;
    return -1;
}

void TQuickIni::ReadSections(std::vector<std::string>* strings) const {
    if (strings == nullptr)
        throw EIniAssertion(AssertionText("The parameter Strings is unassigned!", __LINE__));
    strings->clear();
    for (const TSection& s : FSections)
        strings->push_back(SkinTrim(s.Header.substr(1, s.Header.size() - 2)));
}

void TQuickIni::ReadString(const std::string& section, const std::string& key,
                           std::string& value, const std::string& defaultValue) const {
    value = defaultValue;
    const std::string wanted = SkinLowerCase(key);
    const int header = SectionIndex(section);
    if (header < 0 || FLines.empty()) return;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < FLines.size(); ++i) {
        const std::string& line = FLines[i];
        if (IsHeaderLine(line)) return;
        const std::size_t eq = line.find('=');
        const std::string name =
            eq == std::string::npos ? std::string() : SkinLowerCase(SkinTrim(line.substr(0, eq)));
        if (name != wanted) continue;
        if (eq != std::string::npos) {
            std::string found = SkinTrim(line.substr(eq + 1));
            if (!found.empty()) value = std::move(found);
        }
        return;
    }
}

std::vector<std::string> TQuickIni::ReadKeys(const std::string& section) const {
    std::vector<std::string> keys;
    const int header = SectionIndex(section);
    if (header < 0) return keys;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < FLines.size(); ++i) {
        const std::string& line = FLines[i];
        if (IsHeaderLine(line)) break;
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos) keys.push_back(SkinTrim(line.substr(0, eq)));
    }
    return keys;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const {
    std::string value;
    ReadString(section, key, value, defaultValue);
    return value;
}

int TQuickIni::ReadInteger(const std::string& section, const std::string& key,
                           int defaultValue) const {
    std::string text;
    ReadString(section, key, text, std::string());
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    std::int32_t value = 0;
    return SkinTryStrToInt(text, value) ? value : defaultValue;
}
