// Results far longer than the window of rows a query holds whole: every way
// of moving and reading reads what the table holds, in the result's order,
// while only a window of rows is held; posts, deletions, a refresh and rows
// changed behind the query's back on the way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/data/ado_connection.h"
#include "framework/data/ado_query.h"
#include "framework/data/keyed_rows.h"
#include "tests/framework/data/store_test_folder.h"

using ::testing::ElementsAre;

namespace {

constexpr int ROWS = 4000;  // about four windows

class KeyedRowsTest : public ::testing::Test {
protected:
    KeyedRowsTest() : FFolder(L"长列表 测试")
    {
        MakeLedgerFile(DbPath());
        FConnection.SetConnectionStringW(L"Data Source=" + DbPath());
        // Names 项目1..项目4000; every seventh remark NULL; amounts vary.
        FConnection.Execute(
            "insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) "
            "select '项目' || x, '类' || (x % 5), '2026/12/' || (1 + x % 28), "
            "case when x % 3 then '支出' else '收入' end, x % 500, "
            "case when x % 7 then '备注' || x else null end "
            "from (with recursive c(x) as (select 1 union all select x + 1 from c where x < 4000) select x from c)");
        FQuery.SetName("ADOQuery1");
        FQuery.SetConnection(&FConnection);
    }

    std::wstring DbPath() const { return FFolder.File(L"data.mdb"); }

    void Run(const std::string& sql)
    {
        FQuery.Close();
        FQuery.SQL().Clear();
        FQuery.SQL().Add(sql);
        FQuery.Open();
    }

    // The rows `sql` ("select * ...") gives when the engine runs it on the
    // file itself, each as its seven columns joined by "|" ("<null>" for
    // NULL), 8-bit text.
    std::vector<std::string> TableRows(const std::string& sql) const
    {
        std::string joined = "select ";
        const char* columns[] = {"编号", "项目名称", "项目类别", "编辑时间", "支出或收入", "金额", "项目备注"};
        for (int i = 0; i < 7; ++i)
            joined += std::string(i ? " || '|' || " : "") + "ifnull(" + columns[i] + ", '<null>')";
        joined += sql.substr(std::string("select *").size());
        std::vector<std::string> rows;
        for (const std::string& row : RawQuery(DbPath(), AnsiToUtf8(joined))) rows.push_back(Utf8ToAnsi(row));
        return rows;
    }
    // Row `row` of the query as the grid reads it, joined the same way.
    std::string Shown(int row) const
    {
        std::string text;
        for (int f = 0; f < 7; ++f)
            text += (f ? "|" : "") + (FQuery.IsNullAt(row, f) ? std::string("<null>") : FQuery.DisplayText(row, f));
        return text;
    }
    // The current row read through its fields.
    std::string Current() const
    {
        std::string text;
        for (int f = 0; f < 7; ++f)
            text += (f ? "|" : "") + (FQuery.Fields(f).IsNull() ? std::string("<null>") : FQuery.Fields(f).AsString());
        return text;
    }
    std::string Name() const { return FQuery.FieldByName("项目名称").AsString(); }

    TTempFolder FFolder;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
};

TEST_F(KeyedRowsTest, EveryMoveAndReadShowsTheTableInTheResultsOrder)
{
    const char* queries[] = {
        "select * from data order by 编号 asc",
        "select * from data order by 编号 desc",
        "Select * from data where 项目名称 like '%7%'",
        "select * from data order by 金额, 项目名称 desc",
    };
    for (const char* sql : queries) {
        SCOPED_TRACE(sql);
        Run(sql);
        const std::vector<std::string> expected = TableRows(sql);
        ASSERT_GT(expected.size(), static_cast<size_t>(TKeyedRows::WINDOW_ROWS));
        const int count = static_cast<int>(expected.size());
        ASSERT_TRUE(FQuery.KeepsRowsByKey());
        ASSERT_EQ(FQuery.RecordCount(), count);
        EXPECT_LE(FQuery.RowsHeld(), TKeyedRows::WINDOW_ROWS);

        // Forward row by row, as the totals walk, then back.
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(FQuery.RecNo(), i + 1);
            ASSERT_EQ(Current(), expected[i]);
            FQuery.Next();
        }
        EXPECT_TRUE(FQuery.Eof());
        for (int i = count - 1; i >= 0; --i) {
            ASSERT_EQ(Current(), expected[i]);
            FQuery.Prior();
        }
        EXPECT_TRUE(FQuery.Bof());
        EXPECT_LE(FQuery.RowsHeld(), TKeyedRows::WINDOW_ROWS);

        // Jumps across the whole result.
        FQuery.Last();
        EXPECT_EQ(Current(), expected[count - 1]);
        const int back = count * 2 / 3;  // more than the window
        EXPECT_EQ(FQuery.MoveBy(-back), -back);
        EXPECT_EQ(Current(), expected[count - 1 - back]);
        FQuery.SetRecNo(count / 2);
        EXPECT_EQ(Current(), expected[count / 2 - 1]);
        EXPECT_EQ(FQuery.MoveBy(count), count - count / 2);
        EXPECT_TRUE(FQuery.Eof());
        FQuery.First();
        EXPECT_EQ(Current(), expected[0]);

        // Any row read without moving, as the grid paints, far from the
        // current one and from each other.
        for (int row : {count - 1, 3, count / 2, 64, 63, count - 65, 0})
            EXPECT_EQ(Shown(row), expected[row]) << "row " << row;
        EXPECT_EQ(Current(), expected[0]);
        EXPECT_LE(FQuery.RowsHeld(), TKeyedRows::WINDOW_ROWS);

        // Finding a row by its key or by another field.
        const std::string key = expected[count - 3].substr(0, expected[count - 3].find('|'));
        EXPECT_TRUE(FQuery.Locate("编号", key));
        EXPECT_EQ(FQuery.RecNo(), count - 2);
        EXPECT_FALSE(FQuery.Locate("编号", "0" + key));
        EXPECT_FALSE(FQuery.Locate("编号", "99999"));
        EXPECT_EQ(FQuery.RecNo(), count - 2);
        EXPECT_TRUE(FQuery.Locate("项目名称", "项目1700"));
        EXPECT_EQ(Name(), "项目1700");
        EXPECT_EQ(Current(), expected[FQuery.RecNo() - 1]);
    }

    // Results that are not whole rows of the table are held whole.
    for (const char* sql : {"select 项目名称, 金额 from data", "select *, 1 from data", "select 金额 as 编号 from data"}) {
        Run(sql);
        EXPECT_FALSE(FQuery.KeepsRowsByKey()) << sql;
        EXPECT_EQ(FQuery.RowsHeld(), ROWS) << sql;
    }
    Run("select * from data where 1 = 0");
    EXPECT_TRUE(FQuery.Eof());
    EXPECT_EQ(FQuery.RowsHeld(), 0);
}

// The window's own bookkeeping: a walk either way fetches long runs, a jump
// fetches one page, and rows that are held fetch nothing.
TEST_F(KeyedRowsTest, WalksFetchLongRunsAndJumpsOnePage)
{
    FConnection.Open();
    const int walkFetches = ROWS / TKeyedRows::RUN_PAGE_ROWS + 4;  // the runs grow from one page
    for (bool forward : {true, false}) {
        SCOPED_TRACE(forward ? "forward" : "backward");
        TKeyedRows rows;
        rows.Start(FConnection.Handle(), "data", {AnsiToUtf8("编号"), AnsiToUtf8("项目名称")}, 0);
        for (int key = ROWS; key >= 1; --key) rows.Append(key);  // newest first
        for (int step = 0; step < ROWS; ++step) {
            const int i = forward ? step : ROWS - 1 - step;
            ASSERT_EQ(*rows.Row(i)[0], std::to_string(ROWS - i));
            ASSERT_EQ(Utf8ToAnsi(*rows.Row(i)[1]), "项目" + std::to_string(ROWS - i));
        }
        EXPECT_LE(rows.FetchCount(), walkFetches);
        EXPECT_EQ(rows.HeldCount(), TKeyedRows::WINDOW_ROWS);
        // The rows walked last are still there.
        const int fetches = rows.FetchCount();
        for (int step = 0; step < TKeyedRows::WINDOW_ROWS; ++step) rows.Row(forward ? ROWS - 1 - step : step);
        EXPECT_EQ(rows.FetchCount(), fetches);
        // A jump away brings the page around the row and no more.
        const int page = ROWS / 2 / TKeyedRows::PAGE_ROWS * TKeyedRows::PAGE_ROWS;
        rows.Row(page + 3);
        EXPECT_EQ(rows.FetchCount(), fetches + 1);
        rows.Row(page);
        rows.Row(page + TKeyedRows::PAGE_ROWS - 1);
        EXPECT_EQ(rows.FetchCount(), fetches + 1);
        rows.Row(page + TKeyedRows::PAGE_ROWS);
        EXPECT_EQ(rows.FetchCount(), fetches + 2);
        EXPECT_EQ(rows.HeldCount(), TKeyedRows::WINDOW_ROWS);
        EXPECT_THROW(rows.Row(ROWS), std::out_of_range);
    }
}

TEST_F(KeyedRowsTest, ChangesToALongResult)
{
    const std::string all = "select * from data order by 编号 asc";
    Run(all);
    ASSERT_TRUE(FQuery.KeepsRowsByKey());

    // A row posted deep in the result, left far behind and come back to.
    FQuery.SetRecNo(1500);
    FQuery.Edit();
    FQuery.FieldByName("金额").SetAsString("4321");
    FQuery.FieldByName("项目备注").Clear();
    FQuery.Post();
    FQuery.First();
    while (!FQuery.Eof()) FQuery.Next();
    EXPECT_EQ(FQuery.DisplayText(1499, 5), "4321");
    EXPECT_TRUE(FQuery.IsNullAt(1499, 6));
    // Moving on posts what is pending, from a row outside the window too.
    FQuery.SetRecNo(1800);
    FQuery.Edit();
    FQuery.FieldByName("项目名称").SetAsString("改名");
    FQuery.First();
    EXPECT_EQ(FQuery.DisplayText(1799, 1), "改名");
    EXPECT_EQ(TableRows(all), [&] {
        std::vector<std::string> shown;
        for (int row = 0; row < FQuery.RecordCount(); ++row) shown.push_back(Shown(row));
        return shown;
    }());

    // Deleting at a page's edge, at the window's edge and the last row.
    for (int recNo : {64, 65, TKeyedRows::WINDOW_ROWS, 1, 0}) {
        const int at = recNo == 0 ? FQuery.RecordCount() : recNo;
        FQuery.SetRecNo(at);
        const std::string following = at < FQuery.RecordCount() ? Shown(at) : Shown(at - 2);
        FQuery.Delete();
        EXPECT_EQ(Current(), following) << "deleted row " << at;
    }
    EXPECT_EQ(FQuery.RecordCount(), ROWS - 5);
    const std::vector<std::string> left = TableRows(all);
    ASSERT_EQ(left.size(), static_cast<size_t>(ROWS - 5));
    for (int row = 0; row < FQuery.RecordCount(); ++row) ASSERT_EQ(Shown(row), left[row]) << "row " << row;

    // Refresh finds the same entry again when rows came and went before it.
    FQuery.SetRecNo(1200);
    const std::string entry = Current();
    RawQuery(DbPath(), AnsiToUtf8("delete from data where rowid < 100"));
    FConnection.Execute("insert into data (项目名称, 金额) values ('新', '1')");
    FQuery.Refresh();
    EXPECT_EQ(Current(), entry);
    EXPECT_EQ(FQuery.RecordCount(), static_cast<int>(TableRows(all).size()));
    EXPECT_EQ(Shown(FQuery.RecordCount() - 1).substr(Shown(FQuery.RecordCount() - 1).find('|')),
              "|新|<null>|<null>|<null>|1|<null>");

    // A row that left the table behind the query's back, away from the
    // window: it reads as its key alone, and it cannot be changed.
    const std::string row1000 = TableRows(all)[1000];
    const std::string gone = row1000.substr(0, row1000.find('|'));
    RawQuery(DbPath(), AnsiToUtf8("delete from data where 编号 = " + gone));
    for (int row = 2000; row <= 2000 + TKeyedRows::WINDOW_ROWS + TKeyedRows::PAGE_ROWS; ++row) Shown(row);
    FQuery.SetRecNo(1001);
    EXPECT_EQ(Current(), gone + "|<null>|<null>|<null>|<null>|<null>|<null>");
    FQuery.Edit();
    FQuery.FieldByName("金额").SetAsString("2");
    EXPECT_THROW(FQuery.Post(), EDatabaseError);
    FQuery.Cancel();
    EXPECT_THROW(FQuery.Delete(), EDatabaseError);

    // A search result's row changed so that it no longer matches the search
    // stays in the result, as it now reads, also after leaving the window.
    Run("Select * from data where 项目名称 like '%1%'");
    ASSERT_TRUE(FQuery.KeepsRowsByKey());
    const int found = FQuery.RecordCount();
    ASSERT_GT(found, TKeyedRows::WINDOW_ROWS + 100);
    FQuery.Edit();
    const std::string key = FQuery.FieldByName("编号").AsString();
    FQuery.FieldByName("项目名称").SetAsString("别的");
    FQuery.Post();
    FConnection.Execute("update data set 项目名称 = '又变' where 项目名称 like '%199%'");
    for (int row = 100; row < found; ++row) Shown(row);
    FQuery.First();
    EXPECT_EQ(FQuery.RecordCount(), found);
    EXPECT_EQ(Name(), "别的");
    EXPECT_EQ(FQuery.FieldByName("编号").AsString(), key);
    EXPECT_THAT(RawQuery(DbPath(), AnsiToUtf8("select 项目名称 from data where 编号 = " + key)),
                ElementsAre(AnsiToUtf8("别的")));
    EXPECT_TRUE(FQuery.Locate("项目名称", "又变"));  // rows read again show what the table holds
}

}  // namespace
