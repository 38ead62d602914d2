// The empty ledger the build tool makes: the table's layout, and that an
// existing file is never touched. (How the columns keep and compare text is
// tested through the queries and the ledger's statements.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/framework/data/store_test_folder.h"

using ::testing::ElementsAre;

namespace {

TEST(LedgerSchema, EmptyTableWithTheSevenColumnsInOrder)
{
    TTempFolder folder(L"账本 测试");
    std::wstring path = folder.File(L"data.mdb");
    MakeLedgerFile(path);
    EXPECT_THAT(RawQuery(path, U8(u8"select name from pragma_table_info('data') order by cid")),
                ElementsAre(U8(u8"编号"), U8(u8"项目名称"), U8(u8"项目类别"), U8(u8"编辑时间"), U8(u8"支出或收入"),
                            U8(u8"金额"), U8(u8"项目备注")));
    EXPECT_THAT(RawQuery(path, "select count(*) from data"), ElementsAre("0"));
}

TEST(LedgerSchema, NeverTouchesAnExistingFile)
{
    TTempFolder folder;
    std::wstring path = folder.File(L"data.mdb");
    MakeLedgerFile(path);
    RawQuery(path, U8(u8"insert into data (项目名称) values ('keep')"));
    std::string error;
    EXPECT_EQ(ledger::CreateLedgerDatabase(WideToUtf8(path).c_str(), error), ledger::TCreateLedgerResult::AlreadyExists);
    EXPECT_THAT(RawQuery(path, "select count(*) from data"), ElementsAre("1"));

    std::wstring text = folder.File(L"notes.txt");
    PutFile(text, "hello");
    EXPECT_EQ(ledger::CreateLedgerDatabase(WideToUtf8(text).c_str(), error), ledger::TCreateLedgerResult::AlreadyExists);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(text.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 5u);

    std::wstring nowhere = folder.File(L"missing folder\\data.mdb");
    EXPECT_EQ(ledger::CreateLedgerDatabase(WideToUtf8(nowhere).c_str(), error), ledger::TCreateLedgerResult::Failed);
    EXPECT_FALSE(error.empty());
}

}  // namespace
