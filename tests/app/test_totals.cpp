// The entry count and the two totals of the main window's status bar, over
// real ledgers: blanks, unknown directions, signs, sums past 32 bits, bad
// amounts left out of the totals and reported once, and where the list's cursor stands after a
// full refresh and after a reload alone.
#include "framework/display_scale.h"
#include "tests/app/main_form_fixture.h"

namespace {

struct TotalsCase {
    const char* Title;
    std::vector<TEntry> Entries;
    const char* Count;
    const char* Expenditure;
    const char* Income;
};

TEST_F(MainFormTest, CountAndTotalsAfterStartUp)
{
    const TotalsCase cases[] = {
        {"empty table", {}, "共 0 个记录", "支出金额共:0元", "收入金额共:0元"},
        {"amounts with blanks",
         {Entry("a", "支出", " 100 "), Entry("b", "支出", "200"), Entry("c", "收入", "\t7 ")},
         "共 3 个记录", "支出金额共:300元", "收入金额共:7元"},
        {"directions with blanks count, other characters do not",
         {Entry("a", " 收入 ", "50"), Entry("b", "收入x", "70"), Entry("c", "支 出", "9"), Entry("d", " 支出", "4")},
         "共 4 个记录", "支出金额共:4元", "收入金额共:50元"},
        {"unknown and empty directions count in neither total",
         {Entry("a", "借出", "10"), Entry("b", "", "20"), Entry("c", "支出", "1")},
         "共 3 个记录", "支出金额共:1元", "收入金额共:0元"},
        {"empty amounts are skipped",
         {Entry("a", "支出", ""), Entry("b", "支出", "   "), Entry("c", "收入", "")},
         "共 3 个记录", "支出金额共:0元", "收入金额共:0元"},
        {"a negative amount lowers its total",
         {Entry("a", "支出", "100"), Entry("b", "支出", "-130"), Entry("c", "收入", "+5")},
         "共 3 个记录", "支出金额共:-30元", "收入金额共:5元"},
        {"sums beyond 32 bits are exact",
         {Entry("a", "收入", "2147483647"), Entry("b", "收入", "2147483647"), Entry("c", "收入", "2"),
          Entry("d", "支出", "-2147483648"), Entry("e", "支出", "-2147483648"), Entry("f", "支出", "-1")},
         "共 6 个记录", "支出金额共:-4294967297元", "收入金额共:4294967296元"},
    };
    for (const TotalsCase& c : cases) {
        SCOPED_TRACE(c.Title);
        TTempFolder folder(L"合计");
        SetProgramFolder(folder.Path());
        MakeLedgerFile(folder.File(L"data.mdb"));
        AddEntries(folder.File(L"data.mdb"), c.Entries);
        CreateMainForm();
        EXPECT_THAT(TakeBoxTexts(), ::testing::IsEmpty());
        EXPECT_EQ(Panel(1), c.Count);
        EXPECT_EQ(Panel(2), c.Expenditure);
        EXPECT_EQ(Panel(3), c.Income);
        delete Form1;
    }
}

TEST_F(MainFormTest, WorkingStorageHoldsTrimmedAmountsInListOrder)
{
    MakeLedger({Entry("a", "支出", " 3 "), Entry("b", "收入", "8"), Entry("c", "支出", ""), Entry("d", "支出", "-1"),
                Entry("e", "收入 ", " 2")});
    CreateMainForm();
    std::vector<std::string> expenditure, income;
    for (int i = 0; i < Form1->ListBoxtjzhichu->Items()->Count(); ++i)
        expenditure.push_back(Form1->ListBoxtjzhichu->Items()->Get(i));
    for (int i = 0; i < Form1->ListBoxtjshouru->Items()->Count(); ++i)
        income.push_back(Form1->ListBoxtjshouru->Items()->Get(i));
    EXPECT_THAT(expenditure, ::testing::ElementsAre("3", "-1"));
    EXPECT_THAT(income, ::testing::ElementsAre("8", "2"));
    EXPECT_EQ(Form1->Edittjzhichu->Text(), "2");
    EXPECT_EQ(Form1->Edittjshouru->Text(), "10");

    // A second refresh starts the storage afresh rather than adding to it.
    Form1->ButtonreClick(Form1->Buttonre);
    EXPECT_EQ(Form1->ListBoxtjzhichu->Items()->Count(), 2);
    EXPECT_EQ(Panel(2), "支出金额共:2元");
}

// An amount that is not a whole number (written by another tool) is left out
// of its total; the list, the count and the other rows' totals stand, and one
// message says how many rows were left out and why: once, again only when
// that number changes.
TEST_F(MainFormTest, BadAmountIsLeftOutOfTheTotalsAndReportedOnce)
{
    struct Case {
        const char* Title;
        TEntry Bad;
        const char* Expenditure;
        const char* Income;
    } cases[] = {
        {"a decimal expenditure", Entry("bad", "支出", "12.5"), "支出金额共:1110元", "收入金额共:2045元"},
        {"past 32 bits", Entry("bad", "支出", "2147483648"), "支出金额共:1110元", "收入金额共:2045元"},
        {"a bad income amount", Entry("bad", "收入", "1,000"), "支出金额共:1110元", "收入金额共:2045元"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        TTempFolder folder(L"坏金额");
        SetProgramFolder(folder.Path());
        MakeLedgerFile(folder.File(L"data.mdb"));
        AddEntries(folder.File(L"data.mdb"), {Entry("a", "支出", "100"), Entry("b", "收入", "40")});
        CreateMainForm();
        ASSERT_EQ(Panel(2), "支出金额共:100元");

        AddEntries(folder.File(L"data.mdb"), {Entry("c", "支出", "10"), Entry("d", "收入", "5"), c.Bad,
                                              Entry("e", "支出", "1000"), Entry("f", "收入", "2000")});
        SendMessageA(Form1->Buttonre->Handle(), BM_CLICK, 0, 0);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_THAT(Boxes[0].Text, ::testing::StartsWith("有 1 条记录的金额不是整数"));
        EXPECT_THAT(Boxes[0].Text, ::testing::HasSubstr("\"" + c.Bad.Amount + "\""));
        EXPECT_NE(Boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP)) << "no error box";
        Boxes.clear();
        EXPECT_EQ(Panel(1), "共 7 个记录");
        EXPECT_EQ(Form1->ADOQuery1->RecordCount(), 7) << "every entry is listed";
        EXPECT_EQ(Panel(2), c.Expenditure);
        EXPECT_EQ(Panel(3), c.Income);

        SendMessageA(Form1->Buttonre->Handle(), BM_CLICK, 0, 0);
        EXPECT_THAT(TakeBoxTexts(), ::testing::IsEmpty()) << "said once, not on every refresh";
        AddEntries(folder.File(L"data.mdb"), {Entry("g", "收入", "7.5")});
        FullRefresh();
        EXPECT_THAT(TakeBoxTexts(), ::testing::ElementsAre(::testing::StartsWith("有 2 条记录的金额不是整数")));
        delete Form1;
    }
}

// The row a user once stored as "12.5" no longer keeps the program from
// showing its ledger: no error box, the count, both totals and the rest of
// the window's start.
TEST_F(MainFormTest, BadAmountAtStartUpStillShowsTheLedger)
{
    MakeLedger({Entry("a", "支出", "abc"), Entry("b", "收入", "3"), Entry("午饭", "支出", "12.5")});
    WriteCategories({"工资"});
    CreateMainForm();
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_THAT(Boxes[0].Text, ::testing::StartsWith("有 2 条记录的金额不是整数(例如 \"abc\")"));
    EXPECT_NE(Boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(Panel(1), "共 3 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:0元");
    EXPECT_EQ(Panel(3), "收入金额共:3元");
    EXPECT_EQ(Form1->ComboBoxsearch->Items()->Count(), 1);
    EXPECT_TRUE(Application->OnMessage);
}

TEST_F(MainFormTest, CursorAfterFullRefreshAndAfterReloadAlone)
{
    MakeLedger({Entry("first", "支出", "1"), Entry("middle", "收入", "2"), Entry("newest", "支出", "3")});
    CreateMainForm();
    TADOQuery* list = Form1->ADOQuery1;
    ASSERT_EQ(list->RecordCount(), 3);
    EXPECT_EQ(list->RecNo(), 3);
    EXPECT_EQ(list->FieldByName("项目名称").AsString(), "newest");

    ReloadList();
    EXPECT_EQ(list->RecNo(), 1);
    EXPECT_EQ(list->FieldByName("项目名称").AsString(), "first");
    EXPECT_EQ(Panel(2), "支出金额共:4元") << "a reload alone keeps the totals";

    // A deletion elsewhere followed by a reload: the count follows, the totals do not.
    AddEntries(DatabasePath(), {Entry("later", "支出", "100")});
    ReloadList();
    EXPECT_EQ(Panel(1), "共 4 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:4元");
    FullRefresh();
    EXPECT_EQ(Panel(2), "支出金额共:104元");
    EXPECT_EQ(list->FieldByName("项目名称").AsString(), "later");
}

TEST_F(MainFormTest, ColumnWidthsSetByPositionAfterReload)
{
    MakeLedger({Entry("a", "支出", "1")});
    CreateMainForm();
    const int expected[] = {50, 100, 60, 70, 65, 65, 300};
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(Form1->DBGrid1->Columns().Count(), 7);
        const UINT dpi = static_cast<UINT>(Form1->CurrentPixelsPerInch());
        for (int i = 0; i < 7; ++i) EXPECT_EQ(Form1->DBGrid1->Columns(i)->Width(), ScaleToDpi(expected[i], dpi)) << i;
        ReloadList();  // columns are made anew on every open
    }
}

}  // namespace
