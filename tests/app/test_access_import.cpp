// An Access-format data.mdb at start-up: recognised by its header, offered
// once for conversion, converted through the reader process with nothing
// lost (numbers, Chinese and other text), the original kept beside the new
// ledger under a dated name; declined, truncated or damaged files change
// nothing. The real files have no table `data`, so the tests name the table
// and the columns to read.
#include "tests/app/main_form_fixture.h"

#include "app/access_import.h"

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::StartsWith;

namespace {

const std::vector<std::string> UNICODE_TABLE = {"Table", "ID", "Unicode", "Unicode", "Unicode", "Unicode", "ID",
                                                "Unicode"};

std::string AccessBytes(const char* name)
{
    return FileBytes(Utf8ToWide(std::string(RAVELBOOK_SOURCE_DIR "/tests/data/access/") + name));
}

class AccessImportTest : public MainFormTest {
protected:
    AccessImportTest() { ledger::SetAccessSourceForTests(UNICODE_TABLE); }
    ~AccessImportTest() override { ledger::SetAccessSourceForTests({}); }

    // Every file in the program folder, sorted.
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((FFolder.Path() + L"*").c_str(), &found);
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(WideToAnsi(found.cFileName));
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string KeptName() const
    {
        SYSTEMTIME today;
        GetLocalTime(&today);
        return WideToAnsi(ledger::KeptOriginalName(today));
    }
};

TEST_F(AccessImportTest, ConvertedOnYesWithEveryRowAndTheOriginalKept)
{
    const std::string original = AccessBytes("testUnicodeCompV2003.mdb");
    PutFile(DatabasePath(), original);
    const std::string kept = KeptName();
    EXPECT_EQ(kept.substr(0, 12), "data_Access_");
    Answer = IDYES;
    CreateMainForm();
    ASSERT_EQ(Boxes.size(), 2u);
    EXPECT_THAT(Boxes[0].Text, StartsWith("data.mdb 是 Access 格式的账本数据库"));
    EXPECT_EQ(Boxes[1].Text, "转换完成:共转换 8 条记录。原来的 Access 文件已改名为 \"" + kept + "\",保留在同一文件夹中。");
    EXPECT_EQ(Panel(1), "共 8 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:0元");

    EXPECT_THAT(Files(), ElementsAre("data.mdb", kept));
    EXPECT_EQ(FileBytes(FFolder.File(AnsiToWide(kept))), original) << "the original, untouched";
    EXPECT_EQ(RawQuery(DatabasePath(), U8(u8"select group_concat(编号) from data")),
              std::vector<std::string>{"1,2,3,4,5,6,7,8"});
    EXPECT_EQ(RawQuery(DatabasePath(), U8(u8"select 项目名称 from data where 编号=5")),
              std::vector<std::string>{U8(u8"漢字仮名交じり文")});
    EXPECT_EQ(RawQuery(DatabasePath(), U8(u8"select 项目备注 from data where 编号=3")), std::vector<std::string>{U8(u8"Мир")});

    // The next start finds a ledger of its own and asks nothing.
    delete Form1;
    CreateMainForm();
    EXPECT_TRUE(Boxes.size() == 2u);
    EXPECT_EQ(Panel(1), "共 8 个记录");
}

TEST_F(AccessImportTest, DeclinedOrFailedConversionChangesNothing)
{
    const std::string good = AccessBytes("testUnicodeCompV2003.mdb");
    std::string flipped = good;
    for (size_t i = 4096; i < flipped.size(); ++i) flipped[i] = static_cast<char>(flipped[i] ^ 0x5A);
    struct Case {
        const char* Title;
        std::string Bytes;
        int Answer;
        const char* Message;
    } cases[] = {
        {"declined", good, IDNO, "没有转换:data.mdb 保持原样。"},
        {"truncated", good.substr(0, 9000), IDYES, "转换失败:"},
        {"bytes flipped", flipped, IDYES, "转换失败:"},
        {"a file of another program", AccessBytes("testV1997.mdb"), IDYES, "转换失败:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        PutFile(DatabasePath(), c.Bytes);
        Answer = c.Answer;
        CreateMainForm();
        ASSERT_EQ(Boxes.size(), 2u);
        EXPECT_THAT(Boxes[1].Text, StartsWith(c.Message));
        if (c.Answer == IDYES) {
            EXPECT_THAT(Boxes[1].Text, ::testing::EndsWith("data.mdb 保持原样,没有任何改动。"));
        }
        Boxes.clear();
        EXPECT_EQ(FileBytes(DatabasePath()), c.Bytes);
        EXPECT_THAT(Files(), ElementsAre("data.mdb")) << "no half-written ledger, no renamed original";
        EXPECT_EQ(Panel(1), "");
        delete Form1;
    }
}

TEST_F(AccessImportTest, KeptNameNeverOverwritesAFile)
{
    SYSTEMTIME day{};
    day.wYear = 2026;
    day.wMonth = 12;
    day.wDay = 8;
    EXPECT_EQ(ledger::KeptOriginalName(day), L"data_Access_20261208.mdb");
    PutFile(FFolder.File(L"data_Access_20261208.mdb"), "earlier");
    PutFile(FFolder.File(L"data_Access_20261208_2.mdb"), "earlier");
    EXPECT_EQ(ledger::KeptOriginalName(day), L"data_Access_20261208_3.mdb");
}

}  // namespace
