// Queries with a static cursor on a real ledger file: opening, moving,
// reading fields, editing, posting, deleting and the errors on the way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "framework/data/ado_connection.h"
#include "framework/data/ado_query.h"
#include "tests/framework/data/store_test_folder.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class QueryTest : public ::testing::Test {
protected:
    QueryTest() : FFolder(L"账本 测试")
    {
        MakeLedgerFile(DbPath());
        FConnection.SetConnectionStringW(L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + DbPath() +
                                         L";Persist Security Info=False");
        FConnection.SetLoginPrompt(false);
        FQuery.SetName("ADOQuery1");
        FQuery.SetConnection(&FConnection);
    }

    std::wstring DbPath() const { return FFolder.File(L"data.mdb"); }

    void Add(const std::string& name, const std::string& direction, const std::string& amount,
             const std::string& remark = "")
    {
        FConnection.Execute("Insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) values ('" + name +
                            "','网站建设','2026/12/8','" + direction + "','" + amount + "','" + remark + "')");
    }

    void Run(const std::string& sql)
    {
        FQuery.Close();
        FQuery.SQL().Clear();
        FQuery.SQL().Add(sql);
        FQuery.Open();
    }

    std::string Current(const char* field) { return FQuery.FieldByName(field).AsString(); }

    // The names in the table as the database holds them (UTF-8), by 编号.
    std::vector<std::string> StoredNames() { return RawQuery(DbPath(), U8(u8"select 项目名称 from data order by 编号")); }

    TTempFolder FFolder;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
};

TEST_F(QueryTest, OpenLoadsTheWholeResult)
{
    Run("select * from data order by 编号 asc");
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_EQ(FQuery.RecordCount(), 0);
    EXPECT_TRUE(FQuery.Eof());
    EXPECT_TRUE(FQuery.Bof());
    EXPECT_EQ(FQuery.RecNo(), 0);
    EXPECT_EQ(FQuery.FieldCount(), 7);
    EXPECT_THAT(FQuery.FieldNames(),
                ElementsAre("编号", "项目名称", "项目类别", "编辑时间", "支出或收入", "金额", "项目备注"));
    EXPECT_EQ(Current("金额"), "");  // no row: empty text, not a failure

    Add("工资", "收入", "5000");
    Add("房租", "支出", "1500");
    Add("电费", "支出", "120");
    Run("select * from data order by 编号 asc");
    EXPECT_EQ(FQuery.RecordCount(), 3);
    EXPECT_FALSE(FQuery.Eof());
    EXPECT_TRUE(FQuery.Bof());
    EXPECT_EQ(FQuery.RecNo(), 1);
    EXPECT_EQ(Current("编号"), "1");
    EXPECT_EQ(Current("项目名称"), "工资");
    EXPECT_EQ(FQuery.Fields(6).FieldName(), "项目备注");
}

TEST_F(QueryTest, CursorMoves)
{
    for (const char* name : {"a", "b", "c", "d"}) Add(name, "支出", "1");
    Run("select * from data order by 编号 asc");

    enum Op { First, Last, Next, Prior, By2, ByMinus3, RecNo3 };
    struct Step {
        Op op;
        int recNo;
        bool bof, eof;
        const char* name;
    } steps[] = {
        {Next, 2, false, false, "b"},   {Next, 3, false, false, "c"},  {Next, 4, false, false, "d"},
        {Next, 4, false, true, "d"},    {Next, 4, false, true, "d"},   {Prior, 3, false, false, "c"},
        {First, 1, true, false, "a"},   {Prior, 1, true, false, "a"},  {Last, 4, false, true, "d"},
        {ByMinus3, 1, false, false, "a"}, {By2, 3, false, false, "c"}, {By2, 4, false, true, "d"},
        {RecNo3, 3, false, false, "c"},
    };
    for (const Step& s : steps) {
        switch (s.op) {
        case First: FQuery.First(); break;
        case Last: FQuery.Last(); break;
        case Next: FQuery.Next(); break;
        case Prior: FQuery.Prior(); break;
        case By2: FQuery.MoveBy(2); break;
        case ByMinus3: FQuery.MoveBy(-3); break;
        case RecNo3: FQuery.SetRecNo(3); break;
        }
        EXPECT_EQ(FQuery.RecNo(), s.recNo) << "step " << (&s - steps);
        EXPECT_EQ(FQuery.Bof(), s.bof) << "step " << (&s - steps);
        EXPECT_EQ(FQuery.Eof(), s.eof) << "step " << (&s - steps);
        EXPECT_EQ(Current("项目名称"), s.name) << "step " << (&s - steps);
    }
}

// The totals walk the list: n times, read the row unless at the end, move on.
TEST_F(QueryTest, WalkingRecordCountRowsVisitsEachOnce)
{
    Add("a", "支出", " 100 ");
    Add("b", "收入", "5000");
    Add("c", "支出", "200");
    Run("select * from data order by 编号 asc");
    std::vector<std::string> amounts;
    int n = FQuery.RecordCount();
    for (int i = 0; i < n; ++i) {
        if (FQuery.Eof()) continue;
        if (Trim(Current("支出或收入")) == "支出") amounts.push_back(Trim(Current("金额")));
        FQuery.Next();
    }
    EXPECT_THAT(amounts, ElementsAre("100", "200"));
    EXPECT_TRUE(FQuery.Eof());
    EXPECT_EQ(Current("项目名称"), "c");  // the cursor stays on the newest row
}

// GBK in, UTF-8 in the file, the same GBK out; every value exactly as typed.
TEST_F(QueryTest, TextRoundTripsExactly)
{
    Add("张三''s 午饭", "支出", "0100", "第一行\r\n第二行 ''引号'' %_");
    Run("select * from data");
    EXPECT_EQ(Current("项目名称"), "张三's 午饭");
    EXPECT_EQ(Current("金额"), "0100");
    EXPECT_EQ(Current("项目备注"), "第一行\r\n第二行 '引号' %_");
    EXPECT_THAT(StoredNames(), ElementsAre(U8(u8"张三's 午饭")));
    EXPECT_THAT(RawQuery(DbPath(), "select typeof(\"" + U8(u8"金额") + "\") from data"), ElementsAre("text"));
}

TEST_F(QueryTest, FieldsByName)
{
    Add("a", "支出", "7");
    Run("select 金额 as Amount, 项目名称 from data");
    EXPECT_EQ(FQuery.FieldByName("amount").AsString(), "7");
    EXPECT_EQ(FQuery.FieldByName("AMOUNT").AsInteger(), 7);
    EXPECT_EQ(FQuery.FindField("项目类别"), nullptr);
    try {
        FQuery.FieldByName("项目类别");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "ADOQuery1: Field '项目类别' not found");
    }
    EXPECT_THROW(FQuery.Fields(2), EListError);
}

TEST_F(QueryTest, EditAndPostChangeOnlyTheCurrentRow)
{
    Add("a", "支出", "1");
    Add("b", "支出", "2");
    Add("c", "支出", "3");
    Run("select * from data order by 编号 asc");
    FQuery.Next();
    FQuery.Edit();
    EXPECT_EQ(FQuery.State(), dsEdit);
    FQuery.FieldByName("项目名称").SetAsString("乙's");
    FQuery.FieldByName("金额").SetAsString("20");
    EXPECT_EQ(Current("项目名称"), "乙's");             // the pending value shows
    EXPECT_EQ(FQuery.DisplayText(1, 5), "20");
    EXPECT_THAT(StoredNames(), ElementsAre("a", "b", "c"));  // nothing written yet
    FQuery.Post();
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_EQ(FQuery.RecNo(), 2);
    EXPECT_EQ(Current("项目名称"), "乙's");
    EXPECT_THAT(StoredNames(), ElementsAre("a", U8(u8"乙's"), "c"));
    EXPECT_THAT(RawQuery(DbPath(), "select " + U8(u8"金额") + " from data order by 1"), ElementsAre("1", "20", "3"));
}

TEST_F(QueryTest, EditAndPostOnASearchResult)
{
    Add("早饭", "支出", "1");
    Add("工资", "收入", "2");
    Add("午饭", "支出", "3");
    Add("晚饭", "支出", "4");
    Run("Select * from data where 项目名称 like '%饭%'");
    ASSERT_EQ(FQuery.RecordCount(), 3);
    FQuery.Last();
    std::string key = Current("编号");
    FQuery.Edit();
    FQuery.FieldByName("项目备注").SetAsString("改过");
    FQuery.Post();
    EXPECT_THAT(RawQuery(DbPath(), "select " + U8(u8"编号") + " from data where " + U8(u8"项目备注") + " = '" +
                                       U8(u8"改过") + "'"),
                ElementsAre(key));
}

TEST_F(QueryTest, CancelAndCloseDropPendingValues)
{
    Add("a", "支出", "1");
    Run("select * from data");
    FQuery.Edit();
    FQuery.FieldByName("项目名称").SetAsString("x");
    FQuery.Cancel();
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_EQ(Current("项目名称"), "a");

    FQuery.Edit();
    FQuery.FieldByName("项目名称").SetAsString("y");
    FQuery.Close();
    EXPECT_THAT(StoredNames(), ElementsAre("a"));
}

TEST_F(QueryTest, MovingPostsPendingValues)
{
    Add("a", "支出", "1");
    Add("b", "支出", "2");
    Run("select * from data order by 编号");
    FQuery.Edit();
    FQuery.FieldByName("项目名称").SetAsString("a2");
    FQuery.Next();
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_THAT(StoredNames(), ElementsAre("a2", "b"));
    FQuery.Edit();  // untouched edit: leaving it writes nothing and ends it
    FQuery.First();
    EXPECT_EQ(FQuery.State(), dsBrowse);
}

TEST_F(QueryTest, AssignmentsThatAreRefused)
{
    Add("a", "支出", "1");
    Run("select * from data");
    try {
        FQuery.FieldByName("金额").SetAsString("2");
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "ADOQuery1: Dataset not in edit or insert mode");
    }
    FQuery.Edit();
    EXPECT_THROW(FQuery.FieldByName("编号").SetAsString("9"), EDatabaseError);
    FQuery.Cancel();
    EXPECT_THROW(FQuery.Post(), EDatabaseError);

    Run("select * from data where 1 = 0");
    try {
        FQuery.Edit();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Cannot perform this operation on an empty dataset");
    }
}

// Results that do not come from one table can be read but not changed.
TEST_F(QueryTest, ReadOnlyResults)
{
    Add("a", "支出", "1");
    FConnection.Execute("create view v as select * from data");
    const char* queries[] = {
        "select count(*) from data",
        "select * from data, data as d2",
        "select * from data join data as d2 using (编号)",
        "select * from v",
        "select * from (select * from data)",
        "select * from data union all select * from data",
    };
    for (const char* sql : queries) {
        Run(sql);
        EXPECT_FALSE(FQuery.CanModify()) << sql;
        EXPECT_THROW(FQuery.Edit(), EDatabaseError) << sql;
        EXPECT_THROW(FQuery.Delete(), EDatabaseError) << sql;
    }
    Run("select 金额 || '元' as 文本, 项目名称 from data");
    ASSERT_TRUE(FQuery.CanModify());
    EXPECT_FALSE(FQuery.Fields(0).CanModify());
    EXPECT_TRUE(FQuery.Fields(1).CanModify());
}

// Deleting the current row: the row goes from the file and the result, and
// the next row (or the new last one) becomes current.
TEST_F(QueryTest, DeleteTheCurrentRow)
{
    struct Case {
        const char* sql;
        int deleteAt;             // 1-based position in the result
        const char* nowCurrent;   // "" when the result is then empty
        int countAfter;
        std::vector<std::string> left;
    } cases[] = {
        {"select * from data order by 编号 asc", 2, "c", 3, {"a", "c", "d"}},
        {"select * from data order by 编号 asc", 4, "c", 3, {"a", "b", "c"}},
        {"select * from data order by 编号 asc", 1, "b", 3, {"b", "c", "d"}},
        {"select * from data order by 编号 desc", 1, "c", 3, {"a", "b", "c"}},
        {"Select * from data where 金额 like '%2%'", 1, "", 0, {"a", "c", "d"}},
        {"Select * from data where 支出或收入 like '%收入%'", 1, "d", 1, {"a", "b", "d"}},
        {"select 项目名称, 金额 from data where 金额 > '1'", 2, "d", 2, {"a", "b", "d"}},
    };
    for (const Case& c : cases) {
        FQuery.Close();
        FConnection.Execute("delete from data");
        Add("a", "支出", "1");
        Add("b", "支出", "2");
        Add("c", "收入", "3");
        Add("d", "收入", "4");
        Run(c.sql);
        FQuery.SetRecNo(c.deleteAt);
        FQuery.Delete();
        EXPECT_EQ(FQuery.RecordCount(), c.countAfter) << c.sql;
        EXPECT_EQ(FQuery.IsEmpty() ? "" : Current("项目名称"), c.nowCurrent) << c.sql;
        EXPECT_EQ(FQuery.Eof(), c.countAfter == 0) << c.sql;
        EXPECT_EQ(StoredNames(), c.left) << c.sql;
    }
    Run("select * from data where 1 = 0");
    try {
        FQuery.Delete();
        ADD_FAILURE();
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), "Cannot perform this operation on an empty dataset");
    }
}

TEST_F(QueryTest, DeleteWhileEditingDropsTheEdit)
{
    Add("a", "支出", "1");
    Add("b", "支出", "2");
    Run("select * from data order by 编号");
    FQuery.Edit();
    FQuery.FieldByName("项目名称").SetAsString("x");
    FQuery.Delete();
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_THAT(StoredNames(), ElementsAre("b"));
}

// Without the key in the result, a row is found by its values; two equal rows
// are interchangeable, and one of them changes.
TEST_F(QueryTest, RowsWithoutTheKeyAreFoundByTheirValues)
{
    Add("a", "支出", "1");
    Add("a", "支出", "1");
    Add("b", "支出", "1");
    Run("select 项目名称, 金额 from data");
    FQuery.Edit();
    FQuery.FieldByName("金额").SetAsString("5");
    FQuery.Post();
    EXPECT_THAT(RawQuery(DbPath(), "select " + U8(u8"金额") + " from data order by 1"), ElementsAre("1", "1", "5"));
    FQuery.Last();
    FQuery.Delete();
    EXPECT_THAT(StoredNames(), ElementsAre("a", "a"));
}

TEST_F(QueryTest, PostOfARowThatIsGoneFails)
{
    Add("a", "支出", "1");
    Run("select * from data");
    FConnection.Execute("delete from data");
    FQuery.Edit();
    FQuery.FieldByName("金额").SetAsString("2");
    EXPECT_THROW(FQuery.Post(), EDatabaseError);
    EXPECT_EQ(FQuery.State(), dsEdit);  // the typed values are not lost
    EXPECT_THROW(FQuery.Delete(), EDatabaseError);
}

TEST_F(QueryTest, RefreshKeepsTheCurrentRow)
{
    Add("a", "支出", "1");
    Add("b", "支出", "2");
    Run("select * from data order by 编号 desc");
    FQuery.Next();
    ASSERT_EQ(Current("项目名称"), "a");
    Add("c", "支出", "3");
    FQuery.Refresh();
    EXPECT_EQ(FQuery.RecordCount(), 3);
    EXPECT_EQ(Current("项目名称"), "a");
    EXPECT_EQ(FQuery.RecNo(), 3);
}

// Errors of the database reach the caller with the engine's text at the end, and the
// query stays closed; statements that are not selects never run on Open.
TEST_F(QueryTest, EngineErrors)
{
    struct Case {
        const char* sql;
        const char* message;
    } cases[] = {
        {"select * from ledger", "no such table: ledger"},
        {"select * from data order by 序号", "no such column: 序号"},
        {"Select * from data where 名称 like '%a%'", "no such column: 名称"},
        {"select * from data where", "incomplete input"},
        {"", "Command text was not set for the command object."},
        {"Insert into data (项目名称) values ('x')", "ADOQuery1: CommandText does not return a result set"},
        {"select * from data; delete from data", "Characters found after end of SQL statement."},
    };
    Add("keep", "支出", "1");
    for (const Case& c : cases) {
        FQuery.SQL().SetText(c.sql);
        try {
            FQuery.Open();
            ADD_FAILURE() << c.sql;
        } catch (const EDatabaseError& e) {
            // Common failures carry an explanation first; the engine's words end it.
            EXPECT_THAT(e.Message(), ::testing::EndsWith(c.message)) << c.sql;
        }
        EXPECT_FALSE(FQuery.Active()) << c.sql;
    }
    EXPECT_THAT(StoredNames(), ElementsAre("keep"));
    EXPECT_THROW(FQuery.RecordCount(), EDatabaseError);
}

TEST_F(QueryTest, ExecSqlRunsOneStatement)
{
    FQuery.SQL().Add("Insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) values ('新','类','2026/1/2','支出','9','')");
    EXPECT_EQ(FQuery.ExecSQL(), 1);
    EXPECT_FALSE(FQuery.Active());
    FQuery.SQL().SetText("delete from data; drop table data");
    EXPECT_THROW(FQuery.ExecSQL(), EDatabaseError);
    EXPECT_THAT(StoredNames(), ElementsAre(U8(u8"新")));
    Run("select * from data order by 编号 asc");
    EXPECT_EQ(Current("编号"), "1");

    // Keys keep growing after a delete: a new entry always comes last.
    FConnection.Execute("delete from data");
    Add("再", "支出", "1");
    Run("select * from data");
    EXPECT_EQ(Current("编号"), "2");
}

TEST_F(QueryTest, ChangingTheSqlClosesTheQuery)
{
    Run("select * from data");
    FQuery.SQL().Clear();
    EXPECT_FALSE(FQuery.Active());
    FQuery.SQL().SetText("select *\r\nfrom data\nwhere 1 = 1");
    EXPECT_EQ(FQuery.SQL().Count(), 3);
    FQuery.Open();
    EXPECT_TRUE(FQuery.Active());
}

}  // namespace
