// The skin container reader: versions, the directory limit, name lookups,
// the bitmap-name rule and damaged containers.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "skin/data/lzh_codec.h"
#include "skin/data/skin_reader.h"

namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Bytes(const std::string& s) { return TBytes(s.begin(), s.end()); }

// A decoded container written field by field, for containers that the writer
// refuses to make.
TBytes RawContainer(std::int32_t version, int extra, const std::string& names,
                    const std::vector<std::int32_t>& sizes, const TBytes& data,
                    std::int32_t nameListLength = -1) {
    TBytes out;
    AppendLE32(out, version);
    AppendLE32(out, nameListLength >= 0 ? nameListLength : static_cast<std::int32_t>(names.size()));
    AppendLE32(out, 0);
    AppendLE32(out, 0);
    out.insert(out.end(), static_cast<std::size_t>(extra), 0xEE);
    out.insert(out.end(), names.begin(), names.end());
    for (std::int32_t s : sizes) AppendLE32(out, s);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

TBytes Compress(const TBytes& plain) { return LzhPackWithSize(plain.data(), plain.size()); }

std::vector<TSkinFileEntry> SampleFiles() {
    return {
        {"Skin.INI", Bytes("[Tabs]\r\nImage=Blue_Tab.bmp\r\n")},
        {"Blue_Tab.bmp", Bytes("BM-tab-bytes")},
        {"blue_menuframe_.bmp", Bytes("BM-menu-frame")},
        {"empty.bmp", {}},
    };
}

TEST(SkinReader, ReadsEveryKnownVersion) {
    const struct {
        std::int32_t Version;
        int Extra;
    } versions[] = {{20000, 0}, {30000, 256}, {40000, 80}, {50000, 48}, {60000, 117}, {70000, 69}};
    for (const auto& v : versions) {
        SCOPED_TRACE(v.Version);
        const TBytes plain = BuildSkinContainer(SampleFiles(), v.Version);
        // The name list starts right after the header and the extra block.
        EXPECT_EQ(std::string(plain.begin() + 16 + v.Extra, plain.begin() + 16 + v.Extra + 8), "Skin.INI");

        // Written by another program: the extra block need not be zeros.
        std::string names;
        for (const auto& f : SampleFiles()) names += f.Name + "\r\n";
        TBytes data;
        std::vector<std::int32_t> sizes;
        for (const auto& f : SampleFiles()) {
            sizes.push_back(static_cast<std::int32_t>(f.Data.size()));
            data.insert(data.end(), f.Data.begin(), f.Data.end());
        }
        for (const TBytes& container : {plain, RawContainer(v.Version, v.Extra, names, sizes, data)}) {
            TSkinReader reader;
            ASSERT_TRUE(reader.Load(Compress(container)));
            EXPECT_EQ(reader.Header().Version, v.Version);
            EXPECT_EQ(reader.Names(),
                      (std::vector<std::string>{"skin.ini", "blue_tab.bmp", "blue_menuframe_.bmp", "empty.bmp"}));
            TBytes out;
            EXPECT_TRUE(reader.GetFileByName("blue_menuframe_.bmp", out));
            EXPECT_EQ(out, Bytes("BM-menu-frame"));
        }
    }
}

TEST(SkinReader, RefusesUnknownVersionsWithTheTwoLineMessage) {
    for (std::int32_t version : {0, 10000, 25000, 80000, -70000}) {
        SCOPED_TRACE(version);
        TBytes plain = BuildSkinContainer(SampleFiles());
        const TBytes patched = [&] {
            TBytes p;
            AppendLE32(p, version);
            p.insert(p.end(), plain.begin() + 4, plain.end());
            return p;
        }();
        TSkinReader reader;
        EXPECT_FALSE(reader.Load(Compress(patched)));
        EXPECT_EQ(reader.LastResult(), TSkinLoadResult::UnknownVersion);
        EXPECT_EQ(reader.LastError(), std::string("This is Older Skin File\rPlease update to new version !"));
        EXPECT_EQ(reader.Count(), 0);
    }
    // Nothing at all, or a size of 0, holds no container: damaged, not a
    // container of another version.
    TSkinReader reader;
    EXPECT_FALSE(reader.Load(TBytes{}));
    EXPECT_EQ(reader.LastResult(), TSkinLoadResult::Damaged);
    EXPECT_FALSE(reader.Load(TBytes{0, 0, 0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(reader.LastResult(), TSkinLoadResult::Damaged);
}

TEST(SkinReader, DirectoryHoldsAtMost1001Entries) {
    for (int count : {1000, 1001, 1002, 5000}) {
        SCOPED_TRACE(count);
        std::string names;
        std::vector<std::int32_t> sizes;
        TBytes data;
        for (int i = 0; i < count; ++i) {
            names += "f" + std::to_string(i) + ".bmp\r\n";
            sizes.push_back(1);
            data.push_back(static_cast<std::uint8_t>(i));
        }
        TSkinReader reader;
        const bool loaded = reader.Load(Compress(RawContainer(70000, 69, names, sizes, data)));
        if (count <= 1001) {
            ASSERT_TRUE(loaded);
            EXPECT_EQ(reader.Count(), count);
            TBytes out;
            EXPECT_TRUE(reader.GetFileByName("F" + std::to_string(count - 1) + ".BMP", out));
            EXPECT_EQ(out, TBytes{static_cast<std::uint8_t>(count - 1)});
        } else {
            EXPECT_FALSE(loaded);
            EXPECT_EQ(reader.LastResult(), TSkinLoadResult::TooManyFiles);
            EXPECT_EQ(reader.Count(), 0);
        }
    }
    std::vector<TSkinFileEntry> tooMany(1002, TSkinFileEntry{"x.bmp", {}});
    EXPECT_THROW(BuildSkinContainer(tooMany), std::invalid_argument);
}

TEST(SkinReader, LooksNamesUp) {
    std::vector<TSkinFileEntry> files = SampleFiles();
    files.push_back({"BLUE_TAB.bmp", Bytes("second")});   // a duplicate: the first wins
    TSkinReader reader;
    ASSERT_TRUE(reader.Load(PackSkinContainer(files)));

    const struct {
        const char* Name;
        bool Found;
        const char* Bytes;
    } byName[] = {
        {"blue_tab.bmp", true, "BM-tab-bytes"},
        {"Blue_Tab.BMP", true, "BM-tab-bytes"},
        {"BLUE_TAB.BMP", true, "BM-tab-bytes"},
        {"skin.ini", true, "[Tabs]\r\nImage=Blue_Tab.bmp\r\n"},
        {"blue_tab", false, ""},
        {"", false, ""},
        {"empty.bmp", true, ""},
    };
    for (const auto& c : byName) {
        SCOPED_TRACE(c.Name);
        TBytes out = Bytes("stale");
        EXPECT_EQ(reader.GetFileByName(c.Name, out), c.Found);
        EXPECT_EQ(out, Bytes(c.Bytes));
    }

    // Bitmaps by the value written in the description.
    const struct {
        const char* Value;
        const char* Bytes;   // empty: nothing loads
    } byValue[] = {
        {"Blue_Tab.bmp", "BM-tab-bytes"},
        {"Folder\\Blue_MenuFrame_.bmp", "BM-menu-frame"},
        {"C:\\skins\\deep/er\\blue_tab.bmp", "BM-tab-bytes"},
        {"Blue_Tab.BMP", ""},
        {"Blue_Tab.Bmp", ""},
        {"Blue_Tab", ""},
        {"Folder\\", ""},
        {"", ""},
        {"missing.bmp", ""},
        {"empty.bmp", ""},
    };
    for (const auto& c : byValue) {
        SCOPED_TRACE(c.Value);
        TBytes out = Bytes("stale");
        EXPECT_EQ(reader.GetBitmapFile(c.Value, out), *c.Bytes != '\0');
        EXPECT_EQ(out, Bytes(c.Bytes));
    }

    // By part of a name: the first entry containing the text.
    TBytes out;
    std::string name = "unchanged";
    EXPECT_TRUE(reader.FindFileByPartOfName("tab", out, name));
    EXPECT_EQ(name, "blue_tab.bmp");
    EXPECT_EQ(out, Bytes("BM-tab-bytes"));
    name = "unchanged";
    EXPECT_FALSE(reader.FindFileByPartOfName("TAB", out, name));   // names are lower case
    EXPECT_EQ(name, "unchanged");
    EXPECT_TRUE(out.empty());

    std::string description;
    EXPECT_TRUE(reader.GetDescription(description));
    EXPECT_EQ(description, "[Tabs]\r\nImage=Blue_Tab.bmp\r\n");
}

TEST(SkinReader, LowerCasesOnlyAsciiLettersOfGbkNames) {
    // 0x81 0x41 is one GBK character whose second byte is an ASCII "A".
    const std::string gbkName = "\x81\x41Skin\xC6\xA4.BMP";
    TSkinReader reader;
    ASSERT_TRUE(reader.Load(PackSkinContainer({{gbkName, Bytes("gbk")}})));
    EXPECT_EQ(reader.Names()[0], "\x81\x41skin\xC6\xA4.bmp");
    TBytes out;
    EXPECT_TRUE(reader.GetFileByName("\x81\x41SKIN\xC6\xA4.bmp", out));
    EXPECT_FALSE(reader.GetFileByName("\x81\x61skin\xC6\xA4.bmp", out));
    // A backslash as a second byte is no folder separator.
    EXPECT_EQ(SkinExtractFileName("dir\\\x95\x5C.bmp"), "\x95\x5C.bmp");
}

TEST(SkinReader, SplitsNameLists) {
    const struct {
        const char* Text;
        std::vector<std::string> Names;
    } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc", {"a", "b", "c"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"", {}},
        {"\r\n", {""}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(SplitSkinNameList(c.Text), c.Names);
    }
    EXPECT_EQ(SplitSkinNameList(std::string("a\r\nb\0c\r\n", 8)), (std::vector<std::string>{"a", "b"}));
}

TEST(SkinReader, DamagedContainersGiveShortDataNotCrashes) {
    const std::string names = "a.bmp\r\nb.bmp\r\nc.bmp\r\n";
    const TBytes data = Bytes("AAAABBBB");
    const struct {
        const char* Name;
        TBytes Container;
        const char* A;
        const char* B;
        const char* C;
    } cases[] = {
        {"sizes past the data", RawContainer(70000, 69, names, {4, 10, 10}, data), "AAAA", "BBBB", ""},
        {"negative size", RawContainer(70000, 69, names, {-4, 4, 4}, data), "", "AAAA", "BBBB"},
        {"huge sizes", RawContainer(70000, 69, names, {0x7FFFFFFF, 0x7FFFFFFF, 4}, data), "AAAABBBB", "", ""},
        {"sizes cut off", RawContainer(70000, 69, names, {}, {}), "", "", ""},
        {"name list longer than the container", RawContainer(70000, 69, names, {}, {}, 100000), "", "", ""},
        {"negative name list length", RawContainer(70000, 69, names, {}, {}, -5), "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TSkinReader reader;
        ASSERT_TRUE(reader.Load(Compress(c.Container)));
        TBytes out;
        reader.GetFileByName("a.bmp", out);
        EXPECT_EQ(out, Bytes(c.A));
        reader.GetFileByName("b.bmp", out);
        EXPECT_EQ(out, Bytes(c.B));
        reader.GetFileByName("c.bmp", out);
        EXPECT_EQ(out, Bytes(c.C));
    }

    // Random damage anywhere in a real container.
    const TBytes good = PackSkinContainer(SampleFiles());
    std::mt19937 rng(11);
    for (int i = 0; i < 300; ++i) {
        TBytes bad = good;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) bad[rng() % bad.size()] ^= static_cast<std::uint8_t>(1u << (rng() % 8));
        if (i % 3 == 0) bad.resize(rng() % bad.size());
        TSkinReader reader;
        if (reader.Load(bad)) {
            TBytes out;
            std::string name;
            for (const std::string& n : reader.Names()) reader.GetFileByName(n, out);
            reader.FindFileByPartOfName(".ini", out, name);
        }
    }
}

TEST(SkinReader, RefusesADecodedSizeTheBytesCannotHold) {
    // 8 bytes of bit stream can never give 100 MB.
    TBytes bad;
    AppendLE32(bad, 100 * 1024 * 1024);
    bad.insert(bad.end(), 8, 0x55);
    TSkinReader reader;
    EXPECT_FALSE(reader.Load(bad));
    EXPECT_EQ(reader.LastResult(), TSkinLoadResult::Damaged);

    // The most compressible input still stays within the bound.
    const TBytes zeros(2000000, 0);
    const TBytes container = BuildSkinContainer({{"skin.ini", {}}, {"z.bmp", zeros}});
    ASSERT_TRUE(reader.Load(LzhPackWithSize(container.data(), container.size())));
    TBytes out;
    EXPECT_TRUE(reader.GetFileByName("z.bmp", out));
    EXPECT_EQ(out, zeros);
}

TEST(SkinReader, StoredPropertyFraming) {
    const TBytes packed = PackSkinContainer(SampleFiles());
    const TBytes framed = FrameSkinStream(packed);
    ASSERT_EQ(framed.size(), packed.size() + 4);
    EXPECT_EQ(ReadLE32(framed.data()), static_cast<std::int32_t>(packed.size()));
    EXPECT_TRUE(IsFramedSkinStream(framed.data(), framed.size()));
    EXPECT_FALSE(IsFramedSkinStream(packed.data(), packed.size()));
    TSkinReader reader;
    EXPECT_TRUE(reader.Load(framed.data() + 4, framed.size() - 4));
    EXPECT_EQ(reader.Count(), 4);
}

TEST(SkinReader, WriterRefusesWhatCannotBeRead) {
    EXPECT_THROW(BuildSkinContainer(SampleFiles(), 12345), std::invalid_argument);
    EXPECT_THROW(BuildSkinContainer({{"two\r\nlines.bmp", {}}}), std::invalid_argument);
    EXPECT_THROW(BuildSkinContainer({{"", {}}}), std::invalid_argument);
}

}  // namespace
