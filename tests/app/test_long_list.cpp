// The main window over a ledger much longer than the rows its list holds
// whole: the grid, the navigator, the grid's keys and scroll bar, a search,
// a save through the edit tab and a deletion each show what the database
// holds, row for row, in the list's order, while the list holds only a
// window of rows.
#include <algorithm>
#include <functional>

#include "framework/data/keyed_rows.h"
#include "tests/app/ledger_windows_fixture.h"

namespace {

constexpr int ENTRIES = 3000;

class LongListTest : public LedgerWindowsTest {
protected:
    // The rows of the database that `sql` ("select * ...", 8-bit text)
    // gives, each as its seven columns joined by "|".
    std::vector<std::string> DatabaseRows(const std::string& sql) const
    {
        const std::string columns = "编号||'|'||项目名称||'|'||项目类别||'|'||编辑时间||'|'||支出或收入||'|'||金额||'|'||项目备注";
        std::vector<std::string> rows;
        for (const std::string& row :
             RawQuery(DatabasePath(), AnsiToUtf8("select " + columns + sql.substr(std::string("select *").size()))))
            rows.push_back(Utf8ToAnsi(row));
        return rows;
    }
    static std::string GridRow(int row)
    {
        std::string text;
        for (int column = 0; column < 7; ++column)
            text += (column ? "|" : "") + Form1->ADOQuery1->DisplayText(row, column);
        return text;
    }
    // What the edit tab shows: the current row's six columns after its key.
    static std::string EditTab()
    {
        return Form2->DBEdit_xiangmuedit->Text() + "|" + Form2->DBComboBoxclass->Text() + "|" +
               Form2->DBComboBoxeditdate->Text() + "|" + Form2->DBComboBoxshouruzhichu->Text() + "|" +
               Form2->DBComboBoxjine->Text() + "|" + Form2->DBMemoxiangmubeizhuedit->Text();
    }
    // The grid's rows on screen, the record number and the edit tab all show
    // `expected` (the rows of the list, in its order); the current row is on
    // screen, and the list holds no more than its window. (At start-up the
    // category editor, made after the entry editor, has emptied the edit
    // tab's category box until another row is shown: `editTab` false.)
    void ExpectShown(const std::vector<std::string>& expected, const std::string& step, bool editTab = true)
    {
        SCOPED_TRACE(step);
        TADOQuery* list = Form1->ADOQuery1;
        TDBGrid* grid = Form1->DBGrid1;
        ASSERT_EQ(list->RecordCount(), static_cast<int>(expected.size()));
        const int top = grid->TopRow();
        const int bottom = std::min(top + grid->VisibleRowCount(), list->RecordCount());
        for (int row = top; row < bottom; ++row) EXPECT_EQ(GridRow(row), expected[row]) << "row " << row;
        const int current = list->RecNo() - 1;
        EXPECT_GE(current, top);
        EXPECT_LT(current, bottom);
        const std::string& row = expected.at(current);
        if (editTab) {
            EXPECT_EQ(EditTab(), row.substr(row.find('|') + 1));
        }
        EXPECT_TRUE(list->KeepsRowsByKey());
        EXPECT_LE(list->RowsHeld(), TKeyedRows::WINDOW_ROWS);
    }
    static void Key(WORD key) { SendMessageA(Form1->DBGrid1->Handle(), WM_KEYDOWN, key, 0); }
    static void Scroll(WORD code, WORD position = 0)
    {
        SendMessageA(Form1->DBGrid1->Handle(), WM_VSCROLL, MAKEWPARAM(code, position), 0);
    }
    static int RecNo() { return Form1->ADOQuery1->RecNo(); }
};

std::vector<TEntry> ManyEntries()
{
    const char* categories[] = {"工资", "房租", "水电", "餐饮", "交通"};
    std::vector<TEntry> entries;
    for (int i = 1; i <= ENTRIES; ++i)
        entries.push_back({"项目" + std::to_string(i), categories[i % 5], "2026/12/" + std::to_string(1 + i % 28),
                           i % 3 ? "支出" : "收入", std::to_string(i % 900),
                           i % 4 ? "备注" + std::to_string(i) : std::string()});
    return entries;
}

TEST_F(LongListTest, EveryWayOfMovingShowsTheDatabasesRows)
{
    StartWith(ManyEntries());
    const std::string all = "select * from data order by 编号 asc";
    std::vector<std::string> rows = DatabaseRows(all);
    long long spent = 0, earned = 0;
    for (int i = 1; i <= ENTRIES; ++i) (i % 3 ? spent : earned) += i % 900;
    EXPECT_EQ(Panel(1), "共 " + std::to_string(ENTRIES) + " 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:" + std::to_string(spent) + "元");
    EXPECT_EQ(Panel(3), "收入金额共:" + std::to_string(earned) + "元");
    EXPECT_EQ(RecNo(), ENTRIES);  // a full refresh ends on the newest entry
    ExpectShown(rows, "after start-up", false);

    TDBNavigator* navigator = Form1->DBNavigator1;
    const int page = Form1->DBGrid1->VisibleRowCount();
    struct TStep {
        const char* name;
        std::function<void()> act;
        int recNo;  // 0: anywhere on screen
    } steps[] = {
        {"navigator first", [&] { navigator->BtnClick(nbFirst); }, 1},
        {"navigator next", [&] { navigator->BtnClick(nbNext); }, 2},
        {"page down", [] { Key(VK_NEXT); }, 2 + page},
        {"scroll bar page down", [] { Scroll(SB_PAGEDOWN); }, 2 + 2 * page},
        {"thumb to the middle", [] { Scroll(SB_THUMBPOSITION, 700); }, 0},
        {"row down", [] { Key(VK_DOWN); }, -1},
        {"navigator last", [&] { navigator->BtnClick(nbLast); }, ENTRIES},
        {"navigator prior", [&] { navigator->BtnClick(nbPrior); }, ENTRIES - 1},
        {"page up", [] { Key(VK_PRIOR); }, ENTRIES - 1 - page},
        {"scroll bar line up", [] { Scroll(SB_LINEUP); }, ENTRIES - 2 - page},
        {"navigator refresh", [&] { navigator->BtnClick(nbRefresh); }, ENTRIES - 2 - page},
        {"scroll bar top", [] { Scroll(SB_TOP); }, 1},
        {"scroll bar bottom", [] { Scroll(SB_BOTTOM); }, ENTRIES},
    };
    int before = RecNo();
    for (const TStep& step : steps) {
        step.act();
        if (step.recNo > 0) {
            EXPECT_EQ(RecNo(), step.recNo) << step.name;
        } else if (step.recNo < 0) {
            EXPECT_EQ(RecNo(), before - step.recNo) << step.name;
        } else {
            EXPECT_GE(Form1->DBGrid1->TopRow(), 600) << step.name;
        }
        before = RecNo();
        ExpectShown(rows, step.name);
    }

    // A search: its rows, in the database's order for it, and moving in them.
    Form1->ComboBoxsearch->SetText("1");
    Click(Form1->Buttonsearch);
    const std::vector<std::string> found = DatabaseRows("select * from data where 项目名称 like '%1%'");
    ASSERT_GT(found.size(), static_cast<size_t>(TKeyedRows::WINDOW_ROWS));
    EXPECT_EQ(Panel(1), "共找到" + std::to_string(found.size()) + " 个记录");
    ExpectShown(found, "search");
    navigator->BtnClick(nbLast);
    ExpectShown(found, "search, last");
    Key(VK_PRIOR);
    ExpectShown(found, "search, page up");

    // Renaming the current entry of the search to a free name saves at once
    // and shows the full list on that entry, the editor still open; the row
    // shows its new name when the grid comes back to it.
    DoubleClickGrid(RecNo() - 1);
    ASSERT_TRUE(Form2->Visible());
    const std::string renamed = Form1->ADOQuery1->FieldByName("编号").AsString();
    TypeOver(Form2->DBEdit_xiangmuedit->Handle(), "改名的项目");
    Click(Form2->Buttonedit);
    EXPECT_THAT(TakeBoxTexts(), ::testing::IsEmpty());
    EXPECT_TRUE(Form2->Visible());
    rows = DatabaseRows(all);
    EXPECT_EQ(Panel(1), "共 " + std::to_string(ENTRIES) + " 个记录");
    EXPECT_EQ(Form1->ADOQuery1->FieldByName("编号").AsString(), renamed);
    EXPECT_EQ(RecNo(), std::stoi(renamed));  // the full list holds every entry by 编号
    ExpectShown(rows, "after the rename");
    EXPECT_EQ(Form2->DBEdit_xiangmuedit->Text(), "改名的项目");
    navigator->BtnClick(nbFirst);
    ExpectShown(rows, "after the rename, first");
    Scroll(SB_THUMBPOSITION, static_cast<WORD>(std::stoi(renamed) - 1));
    Form1->ADOQuery1->SetRecNo(std::stoi(renamed));
    ExpectShown(rows, "after the rename, back");
    EXPECT_EQ(Form2->DBEdit_xiangmuedit->Text(), "改名的项目");
    Click(Form2->Button1);  // "取消": a full refresh
    ExpectShown(rows, "after the editor's cancel");

    // A changed amount deep in the list: saved, the list reloaded.
    Scroll(SB_THUMBPOSITION, 1000);
    Key(VK_DOWN);
    DoubleClickGrid(RecNo() - 1);
    const std::string id = Form1->ADOQuery1->FieldByName("编号").AsString();
    TypeOver(Form2->DBComboBoxjine->EditHandle(), "4321");
    Click(Form2->Buttonedit);
    ASSERT_TRUE(PumpUntil([] { return !Form2->Timershuaxinliebiao->Enabled(); }));
    rows = DatabaseRows(all);
    EXPECT_EQ(rows[std::stoi(id) - 1].substr(0, id.size() + 1), id + "|");
    EXPECT_NE(rows[std::stoi(id) - 1].find("|4321|"), std::string::npos);
    EXPECT_EQ(RecNo(), 1);
    ExpectShown(rows, "after the saved edit");

    // Deleting an entry in the middle: gone from the database and the list.
    Scroll(SB_THUMBPOSITION, 800);
    Key(VK_DOWN);
    const std::string deleted = GridRow(RecNo() - 1);
    Click(Form1->Buttondel);
    Click(Form3->Buttondelyes);
    EXPECT_EQ(Panel(4), "删除成功!");
    EXPECT_EQ(Panel(1), "共 " + std::to_string(ENTRIES - 1) + " 个记录");
    rows = DatabaseRows(all);
    EXPECT_EQ(std::find(rows.begin(), rows.end(), deleted), rows.end());
    ExpectShown(rows, "after the deletion");
    Scroll(SB_BOTTOM);
    ExpectShown(rows, "after the deletion, last");
}

}  // namespace
