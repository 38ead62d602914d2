// Reading real Access-format files made by the real engine (tests/data/access,
// see its README): every file and table opens and reads whole, and text comes
// out right whatever its encoding in the file: Jet 4 Unicode (compressed or
// not: CJK, Cyrillic, Greek), Jet 3 in code page 1252.
#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/data/access_file.h"
#include "framework/data/access_ledger.h"
#include "tests/framework/data/store_test_folder.h"

// The library's GLib stand-in declares its functions without C linkage.
extern "C" {
#include "mdbtools.h"
}

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

std::wstring AccessFile(const char* name)
{
    return Utf8ToWide(std::string(RAVELBOOK_SOURCE_DIR "/tests/data/access/") + name);
}

struct TFileCase {
    const char* Name;
    jet::TFileKind Kind;
    std::vector<std::pair<std::string, size_t>> Tables;  // a few tables and their row counts
};

// A table's properties come as a block of records: the names, then blocks of
// properties that refer to them by number. A damaged file can give a
// property the length 0: reading must end that block, not read the same
// property for ever (a hang that filled the memory before).
TEST(AccessFile, ADamagedPropertyLengthEndsItsBlock)
{
    MdbHandle* mdb = mdb_open(RAVELBOOK_SOURCE_DIR "/tests/data/access/empty2000.mdb", MDB_NOFLAGS);
    ASSERT_TRUE(mdb);
    std::string kkd("KKD\0", 4);
    auto u16 = [](std::string& to, unsigned v) { to += static_cast<char>(v & 0xFF), to += static_cast<char>(v >> 8); };
    auto record = [&](unsigned type, const std::string& payload) {
        const unsigned length = 6 + static_cast<unsigned>(payload.size());
        u16(kkd, length & 0xFFFF);
        u16(kkd, length >> 16);
        u16(kkd, type);
        kkd += payload;
    };
    std::string names;
    u16(names, 2);
    names += std::string("A\0", 2);  // one name, "A" in UTF-16
    record(0x80, names);
    std::string block;
    u16(block, 0);  // the block's own head: length, two bytes, no name
    u16(block, 0);
    u16(block, 0);
    auto property = [&](unsigned length, char value) {
        u16(block, length);
        block += '\0';
        block += static_cast<char>(MDB_BOOL);
        u16(block, 0);  // name number 0
        u16(block, 1);  // one byte of value
        block += value;
    };
    property(9, 1);  // A = yes
    property(0, 0);  // damaged: claims no length at all
    record(0x00, block);

    GPtrArray* blocks = mdb_kkd_to_props(mdb, kkd.data(), kkd.size());
    ASSERT_TRUE(blocks);
    ASSERT_EQ(blocks->len, 1u);
    auto* props = static_cast<MdbProperties*>(g_ptr_array_index(blocks, 0));
    const auto* value = static_cast<const char*>(g_hash_table_lookup(props->hash, "A"));
    ASSERT_TRUE(value) << "the sound property before the damaged one is kept";
    EXPECT_STREQ(value, "yes");
    mdb_free_props(props);
    g_ptr_array_free(blocks, TRUE);
    mdb_close(mdb);
}

TEST(AccessFile, EveryFileOpensAndEveryTableReadsWhole)
{
    const TFileCase files[] = {
        {"empty2000.mdb", jet::TFileKind::Jet4, {}},
        {"testV1997.mdb", jet::TFileKind::Jet3, {{"Table1", 2}, {"Table2", 0}}},
        {"test2V1997.mdb", jet::TFileKind::Jet3, {{"MSP_PROJECTS", 1}}},
        {"test2V2000.mdb", jet::TFileKind::Jet4, {{"MSP_PROJECTS", 1}}},
        {"test2V2003.mdb", jet::TFileKind::Jet4, {{"MSP_PROJECTS", 1}}},
        {"testIndexCodesV1997.mdb", jet::TFileKind::Jet3, {{"Table1", 275}, {"Table14", 256}}},
        {"testUnicodeCompV2003.mdb", jet::TFileKind::Jet4, {{"Table", 8}}},
        {"overflowTestV2003.mdb", jet::TFileKind::Jet4, {{"Table1", 7}}},
        {"delTestV2000.mdb", jet::TFileKind::Jet4, {{"Table", 2}}},
    };
    for (const TFileCase& file : files) {
        SCOPED_TRACE(file.Name);
        EXPECT_EQ(jet::DetectFileKind(AccessFile(file.Name)), file.Kind);
        const std::vector<std::string> names = jet::TableNames(AccessFile(file.Name));
        if (file.Tables.empty()) {
            EXPECT_TRUE(names.empty());
        }
        for (const std::string& name : names) {
            const jet::TTable table = jet::ReadTable(AccessFile(file.Name), name);
            EXPECT_EQ(static_cast<long long>(table.Rows.size()), table.DeclaredRowCount) << name;
            EXPECT_FALSE(table.Columns.empty()) << name;
            for (const auto& row : table.Rows) ASSERT_EQ(row.size(), table.Columns.size()) << name;
        }
        for (const auto& [name, rows] : file.Tables) {
            EXPECT_THAT(names, ::testing::Contains(name));
            EXPECT_EQ(jet::ReadTable(AccessFile(file.Name), name).Rows.size(), rows) << name;
        }
    }
    EXPECT_EQ(jet::TableNames(AccessFile("testV1997.mdb")).size(), 4u);

    TTempFolder folder(L"非 Access");
    PutFile(folder.File(L"text.mdb"), std::string(4096, 'x'));
    MakeLedgerFile(folder.File(L"ledger.mdb"));
    for (const wchar_t* name : {L"text.mdb", L"ledger.mdb", L"missing.mdb"}) {
        EXPECT_EQ(jet::DetectFileKind(folder.File(name)), jet::TFileKind::NotAccess);
        EXPECT_THROW(jet::ReadTable(folder.File(name), "Table"), EDatabaseError);
    }
    try {
        jet::ReadTable(AccessFile("testV1997.mdb"), "data");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_THAT(e.Message(), HasSubstr("中没有表 data"));
    }
}

TEST(AccessFile, TextComesOutRightInEveryEncoding)
{
    // Jet 4: Unicode, stored compressed or not.
    const jet::TTable unicode = jet::ReadTable(AccessFile("testUnicodeCompV2003.mdb"), "Table");
    ASSERT_EQ(unicode.Columns.size(), 2u);
    EXPECT_EQ(unicode.Columns[0].NameUtf8, "ID");
    EXPECT_EQ(unicode.Columns[0].Kind, jet::TColumnKind::Number);
    std::vector<std::string> texts;
    for (int i = 0; i < 7; ++i) texts.push_back(unicode.Rows[i][1]);
    EXPECT_THAT(texts,
                ElementsAre("only ascii chars", U8(u8"\u00e4\u00e4kk\u00f6si\u00e4"), U8(u8"\u041c\u0438\u0440"),
                            U8(u8"\u03f0\u03b1\u1f76 \u03c4\u1f79\u03c4' \u1f10\u03b3\u1f7c "
                               u8"\u039a\u1f7b\u03f0\u03bb\u03c9\u03c0\u03b1"),
                            U8(u8"漢字仮名交じり文"), std::string("3L9\x1d" "52\x02_AB(") + U8(u8"\u00a5") + "\x05!!V",
                            U8(u8"\u00fcmlaut")));
    EXPECT_EQ(unicode.Rows[4][0], "5");

    // Jet 3: the file's code page 1252, every byte from 0x80 to 0xFF
    // ("row<n>" holds "a", byte n, "a").
    const jet::TTable codes = jet::ReadTable(AccessFile("testIndexCodesV1997.mdb"), "Table14");
    const int name = codes.ColumnIndex("name"), data = codes.ColumnIndex("data");
    ASSERT_GE(name, 0);
    ASSERT_GE(data, 0);
    int checked = 0;
    for (const auto& row : codes.Rows) {
        const int n = std::atoi(row[name].c_str() + 3);
        if (n < 0x80) continue;
        wchar_t expected = 0;
        MultiByteToWideChar(1252, 0, std::string(1, static_cast<char>(n)).c_str(), 1, &expected, 1);
        EXPECT_EQ(row[data], "a" + WideToUtf8(std::wstring(1, expected)) + "a") << row[name];
        ++checked;
    }
    EXPECT_EQ(checked, 128);
    EXPECT_EQ(WideToUtf8(L"\u20AC"), U8(u8"€"));  // 0x80 is the euro sign in 1252, not U+0080
}

// The ledger's column mapping on a table with other names: the autonumber
// becomes 编号, the texts go where they are told; dates lose their time and
// amounts written with decimals become whole numbers when they are.
TEST(AccessFile, LedgerRowsMapColumnsByName)
{
    const jet::TTable table = jet::ReadTable(AccessFile("testUnicodeCompV2003.mdb"), "Table");
    ledger::TAccessLedgerSource from;
    from.TableUtf8 = "Table";
    from.ColumnsUtf8 = {"ID", "Unicode", "Unicode", "Unicode", "Unicode", "Unicode", "Unicode"};
    const std::vector<ledger::TLedgerRow> rows = ledger::LedgerRows(table, from);
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[4][0], "5");
    EXPECT_EQ(rows[4][1], U8(u8"漢字仮名交じり文"));

    jet::TTable made;
    made.Columns = {{"n", jet::TColumnKind::Number}, {"t", jet::TColumnKind::Text}, {"d", jet::TColumnKind::Date},
                    {"a", jet::TColumnKind::Number}};
    made.Rows = {{"7", U8(u8"午饭"), "2024-03-05 00:00:00", "12.0000"}, {"9", "x", "", "12.5000"}};
    from.ColumnsUtf8 = {"n", "t", "t", "d", "t", "a", "t"};
    const std::vector<ledger::TLedgerRow> ledgerRows = ledger::LedgerRows(made, from);
    EXPECT_EQ(ledgerRows[0][3], "2024-03-05");
    EXPECT_EQ(ledgerRows[0][5], "12");
    EXPECT_EQ(ledgerRows[1][5], "12.5000") << "left as it is: the totals say so";

    from.ColumnsUtf8[6] = "missing";
    EXPECT_THROW(ledger::LedgerRows(made, from), EDatabaseError);
    made.Rows[1][0] = "x";
    from.ColumnsUtf8[6] = "t";
    EXPECT_THROW(ledger::LedgerRows(made, from), EDatabaseError);
}

}  // namespace
