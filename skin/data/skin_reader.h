// The skin container: a compressed set of named files (bitmaps and one ini
// description). TSkinReader decompresses a container, reads its directory and
// hands out single files by name; BuildSkinContainer and PackSkinContainer
// write one (for the skin tool and the tests). Standard library only: the
// Win32 side (the message box, HBITMAPs) is in skin_reader_win.h.
//
// Layers:
//   stored property  int32 count, then that many bytes of compressed container
//                    (a count of 0 or less: no skin). Skin files lack this.
//   compressed       int32 decoded size, then the LZHUF bit stream.
//   decoded          int32 version, int32 name-list length, two unused int32,
//                    the version's extra block, the name list (CR LF
//                    separated), one int32 size per name, the files' bytes
//                    back to back.
// All integers are 32-bit little-endian.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "skin/data/bmp_file.h"

inline constexpr const char* SKIN_MSG_OLDER_SKIN =
    "This is Older Skin File\rPlease update to new version !";
inline constexpr const char* SKIN_MSG_DAMAGED = "The skin container is damaged.";
inline constexpr const char* SKIN_MSG_TOO_MANY_FILES =
    "The skin container lists more than 1001 files.";
inline constexpr const char* SKIN_MSG_OVER_BUDGET =
    "The skin's images need more memory than a skin may take.";

inline constexpr int SKIN_MAX_ENTRIES = 1001;
inline constexpr std::int32_t SKIN_DEFAULT_VERSION = 70000;

// Length of the version's extra block, or -1 for a version this program does
// not know (20000 to 70000 in steps of 10000 are known).
int SkinExtraBlockSize(std::int32_t version);

struct TSkinContainerHeader {
    std::int32_t Version = 0;
    std::int32_t NameListLength = 0;
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
};

enum class TSkinLoadResult { Ok, UnknownVersion, Damaged, TooManyFiles, OverBudget };

// How much memory one skin may take. A hostile container can announce far
// more than it holds: a run-length coded BMP of a hundred bytes can claim
// 4096 x 4096 pixels, the LZH stream can expand 48-fold, and a container may
// list 1001 files. Loading refuses what passes these limits instead of
// trying to allocate it. The defaults suit any real skin many times over
// (the program's own skins decode to about 0.3 MB of container and 0.1
// million pixels); the program narrows the image limits to its screen.
struct TSkinBudget {
    std::uint64_t MaxContainerBytes = 32u << 20;     // the decoded container
    std::uint64_t MaxImagePixels = BMP_MAX_PIXELS;   // one image
    std::uint64_t MaxTotalPixels = 8u << 20;         // every image handed out together
};

class TSkinReader {
public:
    // Decompresses `compressed` (a skin file's bytes: decoded size, then the
    // bit stream) and reads the directory. True when the container was read;
    // false for an unknown version (LastError() is SKIN_MSG_OLDER_SKIN), bytes
    // too few to hold a container header (damaged), a
    // decoded size that the given bytes cannot hold, one above the budget's
    // MaxContainerBytes, or a name list of more than 1001 entries. A false
    // result leaves the reader empty.
    bool Load(const std::uint8_t* compressed, std::size_t length);
    bool Load(const std::vector<std::uint8_t>& compressed) {
        return Load(compressed.data(), compressed.size());
    }

    // The limits the next Load and every DecodeBitmap keep to.
    void SetBudget(const TSkinBudget& budget) { FBudget = budget; }
    const TSkinBudget& Budget() const { return FBudget; }

    TSkinLoadResult LastResult() const { return FLastResult; }
    const std::string& LastError() const { return FLastError; }

    // Exact lookup, ignoring case. `target` is cleared and receives the first
    // matching entry's bytes; false (target empty) when no entry matches.
    bool GetFileByName(const std::string& name, std::vector<std::uint8_t>& target) const;

    // The first entry whose lower-case name contains `text` (the search
    // itself is case-sensitive: pass lower-case text). On a match `target`
    // gets its bytes and `name` its name; otherwise `target` is cleared and
    // `name` left alone.
    bool FindFileByPartOfName(const std::string& text, std::vector<std::uint8_t>& target,
                              std::string& name) const;

    // The bitmap file named by a value of the skin description: only the part
    // after the last folder separator counts, and only a name that ends in
    // ".bmp" exactly. False (target empty) for anything else or a missing or
    // empty entry.
    bool GetBitmapFile(const std::string& value, std::vector<std::uint8_t>& target) const;

    // The image of the bitmap file a description value names (as
    // GetBitmapFile finds it). Each entry is decoded once; later calls copy
    // the decoded pixels. Every image handed out counts against the budget:
    // an image above MaxImagePixels, or one that would take the images
    // handed out past MaxTotalPixels, is not decoded, `image` stays empty and
    // OverBudget() becomes true. False (image empty) for a value that names
    // nothing decodable.
    bool DecodeBitmap(const std::string& value, TBmpImage& image) const;
    // True once a DecodeBitmap call was refused for the budget.
    bool OverBudget() const { return FOverBudget; }
    // The ".bmp" files DecodeBitmap was asked for that the container does
    // not hold or that cannot be decoded, in the order asked (repeats kept).
    const std::vector<std::string>& MissingImages() const { return FMissingImages; }
    std::uint64_t PixelsHandedOut() const { return FPixelsHandedOut; }
    // How many entries were decoded (each once) since Load.
    int BitmapsDecoded() const { return FBitmapsDecoded; }

    // The text of the skin description: the first entry whose name contains
    // ".ini". False (text empty) when there is none.
    bool GetDescription(std::string& text) const;

    // True when the compressed stream held all the bytes it announced, the
    // container holds a description and the data area holds every entry's
    // bytes: what a container cut short or damaged after the version check
    // lacks. (Load itself reads such a container as far as it goes; a cut
    // stream decodes to its full size with made-up bytes at the end.)
    bool Complete() const;

    int Count() const { return static_cast<int>(FNames.size()); }
    const std::vector<std::string>& Names() const { return FNames; }  // lower case
    std::int32_t EntrySize(int index) const { return FSizes[static_cast<std::size_t>(index)]; }
    const TSkinContainerHeader& Header() const { return FHeader; }
    const std::vector<std::uint8_t>& Data() const { return FData; }

private:
    void Clear();
    bool Fail(TSkinLoadResult result, const char* message);
    void CopyEntry(int index, std::vector<std::uint8_t>& target) const;

    int FindEntry(const std::string& lowerName) const;

    TSkinBudget FBudget;
    TSkinContainerHeader FHeader;
    std::vector<std::string> FNames;
    std::vector<std::int32_t> FSizes;
    std::vector<std::uint8_t> FData;
    TSkinLoadResult FLastResult = TSkinLoadResult::Ok;
    std::string FLastError;
    // Decoded images by entry index; an entry that failed to decode maps to
    // an empty image.
    mutable std::map<int, TBmpImage> FDecoded;
    mutable std::uint64_t FPixelsHandedOut = 0;
    mutable bool FOverBudget = false;
    mutable int FBitmapsDecoded = 0;
    mutable std::vector<std::string> FMissingImages;
    bool FInputShort = false;   // the decoder ran out of compressed bytes
};

// Splits a name list the way the container defines it: CR LF, CR or LF end a
// line, a NUL ends the list, and a final line break adds no empty name.
std::vector<std::string> SplitSkinNameList(const std::string& text);

// The file-name part of a skin description value (after the last "\", "/"
// or ":"), without touching double-byte characters.
std::string SkinExtractFileName(const std::string& value);

// ---- writing -----------------------------------------------------------------

struct TSkinFileEntry {
    std::string Name;                 // as it goes into the name list
    std::vector<std::uint8_t> Data;
};

// The decoded container for `files` in this order. Throws std::invalid_argument
// for an unknown version, more than 1001 files, or a name holding a line break.
std::vector<std::uint8_t> BuildSkinContainer(const std::vector<TSkinFileEntry>& files,
                                             std::int32_t version = SKIN_DEFAULT_VERSION);

// BuildSkinContainer compressed: what a skin file holds.
std::vector<std::uint8_t> PackSkinContainer(const std::vector<TSkinFileEntry>& files,
                                            std::int32_t version = SKIN_DEFAULT_VERSION);

// The stored-property form: the 32-bit count in front of the compressed bytes.
std::vector<std::uint8_t> FrameSkinStream(const std::vector<std::uint8_t>& compressed);

// Recognises the stored-property form: true when the bytes start with a count
// equal to the number of bytes that follow (the compressed container is then
// at offset 4, `length - 4` bytes).
bool IsFramedSkinStream(const std::uint8_t* data, std::size_t length);

std::int32_t ReadLE32(const std::uint8_t* p);
void AppendLE32(std::vector<std::uint8_t>& out, std::int32_t value);
