// TQuickIni: a small read-only ini reader over text held in memory. The skin
// description inside a skin container is read with it. It never writes and
// never touches a file. Also the 8-bit text helpers that the skin readers
// share (the text is GBK: ASCII letters are folded, double-byte characters
// are left alone). Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/sysutils.h"

// An argument that a routine of the reader requires was not given. The
// message names the reader's source file and line.
class EIniAssertion : public Exception {
public:
    using Exception::Exception;
};

// ASCII letters of 8-bit GBK text to lower case; the second byte of a
// double-byte character is never touched.
std::string SkinLowerCase(const std::string& text);
// Case-insensitive comparison under the same rule.
bool SkinSameText(const std::string& a, const std::string& b);
// Removes leading and trailing bytes at or below the space.
std::string SkinTrim(const std::string& text);
// True when `index` is the first byte of a GBK double-byte character in
// `text` (a lead byte followed by a valid second byte).
bool SkinIsLeadByte(const std::string& text, std::size_t index);
// Parses a signed 32-bit whole number: an optional sign, then decimal digits
// or "$" and hex digits (up to 8, so $FFFFFFFF reads as -1). False for
// anything else, an empty text or a decimal value outside 32 bits.
bool SkinTryStrToInt(const std::string& text, std::int32_t& value);

class TQuickIni {
public:
    // A section header line and its index in Lines().
    struct TSection {
        std::string Header;   // trimmed, brackets included: "[Buttons]"
        int LineIndex;
    };

    // Replaces the contents with the text in [data, data + size). A null
    // `data` does nothing at all (the previous contents stay).
    void LoadFromBuffer(const void* data, std::size_t size);
    // Replaces the contents with (*stream)[position ..]; a null stream does
    // nothing.
    void LoadFromStream(const std::vector<std::uint8_t>* stream, std::size_t position = 0);

    // Index in Lines() of the first header that reads "[" + name + "]"
    // (ignoring case), or -1.
    int SectionIndex(const std::string& name) const;

    // Fills `strings` with the section names in file order, brackets removed
    // and trimmed. Throws EIniAssertion when `strings` is null.
    void ReadSections(std::vector<std::string>* strings) const;

    // The value of the first line of `section` whose key (before the first
    // "=", trimmed, case ignored) equals `key`; the default when the section
    // or key is missing or the value is empty.
    void ReadString(const std::string& section, const std::string& key, std::string& value,
                    const std::string& defaultValue) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // The value read as a whole number ("0x1F" and "$1F" are hexadecimal);
    // the default when it is missing or is no number.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;

    // The keys of `section` in file order (trimmed, as written); empty when
    // the section is missing.
    std::vector<std::string> ReadKeys(const std::string& section) const;

    const std::vector<std::string>& Lines() const { return FLines; }
    const std::vector<TSection>& Sections() const { return FSections; }

private:
    std::vector<std::string> FLines;
    std::vector<TSection> FSections;
};
