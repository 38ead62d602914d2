// The delete confirmation: the empty-list guard, deleting the current row of
// the full list or of a search result, cancelling, and an empty search.
#include "tests/app/ledger_windows_fixture.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

using DeleteConfirmTest = LedgerWindowsTest;

std::vector<TEntry> ThreeEntries()
{
    return {Entry("工资", "收入", "5000"), Entry("房租", "支出", "1500"), Entry("水费", "支出", "80")};
}

TEST_F(DeleteConfirmTest, QuestionIsShownWhole)
{
    StartWith({});
    EXPECT_EQ(Form3->Label1->Caption(), "删除该记录,将无法恢复,您确认删除吗?");
    // The text with room for its last glyph, inside the window.
    const std::string text = Form3->Label1->Caption();
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Form3->Label1->Font()->Handle());
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_GE(Form3->Label1->Width(), extent.cx + 8);
    EXPECT_LE(Form3->Label1->Left() + Form3->Label1->Width(), Form3->ClientWidth());
}

TEST_F(DeleteConfirmTest, EmptyTableDeletesNothing)
{
    StartWith({});
    Click(Form1->Buttondel);
    EXPECT_TRUE(Form3->Visible());
    Click(Form3->Buttondelyes);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("大哥没记录了,你把我删了算了!"));
    EXPECT_TRUE(Form3->Visible());
    EXPECT_THAT(Panel(4), IsEmpty());
}

TEST_F(DeleteConfirmTest, CancelHidesAndKeepsTheEntry)
{
    StartWith(ThreeEntries());
    Click(Form1->Buttondel);
    Click(Form3->Buttonnodel);
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(StoredRows().size(), 3u);
}

TEST_F(DeleteConfirmTest, DeletesTheRowCurrentWhenConfirmedAndRecomputesTheTotals)
{
    StartWith(ThreeEntries());
    Click(Form1->Buttondel);
    // The user moves in the grid while the window is open.
    Form1->ADOQuery1->First();
    Form1->ADOQuery1->Next();
    Click(Form3->Buttondelyes);
    EXPECT_THAT(ListNames(), ElementsAre("工资", "水费"));
    EXPECT_EQ(StoredRows().size(), 2u);
    EXPECT_EQ(Panel(1), "共 2 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:80元");  // the totals follow the list at once
    EXPECT_EQ(Panel(3), "收入金额共:5000元");
    EXPECT_EQ(Form1->ADOQuery1->RecNo(), 1);
    EXPECT_EQ(Panel(4), "删除成功!");
    EXPECT_FALSE(Form3->Visible());
}

TEST_F(DeleteConfirmTest, DeletesFromASearchResultThroughTheEditTab)
{
    StartWith(ThreeEntries());
    Form1->ComboBoxsearch->SetText("水");
    Click(Form1->Buttonsearch);
    ASSERT_EQ(Panel(1), "共找到1 个记录");
    DoubleClickGrid(0);
    ASSERT_TRUE(Form2->Visible());
    Click(Form2->Buttondel);
    EXPECT_TRUE(Form3->Visible());
    Click(Form3->Buttondelyes);
    EXPECT_THAT(StoredRows(), ElementsAre("工资|工资|2026/12/8|收入|5000|", "房租|工资|2026/12/8|支出|1500|"));
    EXPECT_THAT(ListNames(), ElementsAre("工资", "房租"));  // the full list again
    EXPECT_EQ(Panel(1), "共 2 个记录");
    EXPECT_FALSE(Form2->Visible());
    EXPECT_FALSE(Form3->Visible());
}

TEST_F(DeleteConfirmTest, EmptySearchResultSaysThereIsNothingToDeleteAndStaysOpen)
{
    StartWith(ThreeEntries());
    Form1->ComboBoxsearch->SetText("没有这一项");
    Click(Form1->Buttonsearch);
    Click(Form1->Buttondel);
    Click(Form3->Buttondelyes);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("大哥没记录了,你把我删了算了!"));
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(StoredRows().size(), 3u);
    EXPECT_THAT(Panel(4), IsEmpty());
}

}  // namespace
