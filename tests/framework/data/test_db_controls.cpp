// Bound edit, combo box and memo over a real ledger file: they show the
// current row and follow it (on a hidden form too), typed text becomes the
// row's pending value, which Post writes and Close or Cancel drop, and
// OnChange runs when the shown row changes the text.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>

#include "framework/data/ado_connection.h"
#include "framework/data/db_controls.h"
#include "framework/forms.h"
#include "tests/framework/data/store_test_folder.h"

namespace {

struct TRowValues {
    const char* name;
    const char* category;
    const char* remark;
};
// Rows 1 and 2 share their category; row 3's remark has two lines.
const TRowValues ROWS[] = {
    {"工资", "收入类", "一月"},
    {"房租", "收入类", "二月"},
    {"水费", "日常", "第一行\r\n第二行"},
};

class BoundControlsTest : public ::testing::Test {
protected:
    BoundControlsTest()
    {
        MakeLedgerFile(FFolder.File(L"data.mdb"));
        FConnection.SetConnectionStringW(L"Data Source=" + FFolder.File(L"data.mdb"));
        for (const TRowValues& row : ROWS)
            FConnection.Execute(std::string("insert into data (项目名称, 项目类别, 项目备注) values ('") + row.name +
                                "', '" + row.category + "', '" + row.remark + "')");
        FQuery.SetConnection(&FConnection);
        FSource.SetDataSet(&FQuery);

        // The form stays hidden throughout, as the entry editor usually is.
        FForm.SetBounds(0, 0, 400, 300);
        Edit = new TDBEdit(&FForm);
        Edit->SetParent(&FForm);
        Edit->SetDataSource(&FSource);
        Edit->SetDataField("项目名称");
        Combo = new TDBComboBox(&FForm);
        Combo->SetParent(&FForm);
        Combo->SetTop(30);
        Combo->SetDataSource(&FSource);
        Combo->SetDataField("项目类别");
        Memo = new TDBMemo(&FForm);
        Memo->SetParent(&FForm);
        Memo->SetBounds(0, 60, 300, 100);
        Memo->SetDataSource(&FSource);
        Memo->SetDataField("项目备注");
        FForm.Handle();
        Combo->Items()->Add("收入类");
        Combo->Items()->Add("日常");
        Combo->Items()->Add("其他");
        Edit->OnChange = [this](TObject*) { ++Changes["edit"]; };
        Combo->OnChange = [this](TObject*) { ++Changes["combo"]; };
        Memo->OnChange = [this](TObject*) { ++Changes["memo"]; };
    }
    void Open(const std::string& sql = "select * from data order by 编号 asc")
    {
        FQuery.Close();
        FQuery.SQL().Clear();
        FQuery.SQL().Add(sql);
        FQuery.Open();
    }
    std::vector<std::string> Stored(const char8_t* column)
    {
        return RawQuery(FFolder.File(L"data.mdb"), U8(u8"select ") + U8(column) + U8(u8" from data order by 编号"));
    }
    // Typing one character into an edit window, as the keyboard does.
    static void Type(HWND window, char c) { SendMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1); }

    TTempFolder FFolder;
    TADOConnection FConnection{nullptr};
    TADOQuery FQuery{nullptr};
    TDataSource FSource{nullptr};
    TForm FForm{nullptr};
    TDBEdit* Edit;
    TDBComboBox* Combo;
    TDBMemo* Memo;
    std::map<std::string, int> Changes;
};

TEST_F(BoundControlsTest, ShowTheCurrentRowAndFollowIt)
{
    EXPECT_EQ(Edit->Text(), "");
    Open();
    ASSERT_FALSE(FForm.Visible());
    // Moving from row to row: OnChange runs for the controls whose text changed.
    struct Step {
        int recNo;
        int edit, combo, memo;  // OnChange runs expected
    } steps[] = {{2, 1, 0, 1}, {3, 1, 1, 1}, {3, 0, 0, 0}, {1, 1, 1, 1}};
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "record " << s.recNo);
        Changes.clear();
        FQuery.SetRecNo(s.recNo);
        const TRowValues& row = ROWS[s.recNo - 1];
        EXPECT_EQ(Edit->Text(), row.name);
        EXPECT_EQ(Combo->Text(), row.category);
        EXPECT_EQ(Memo->Text(), row.remark);
        EXPECT_EQ(Changes["edit"], s.edit);
        EXPECT_EQ(Changes["combo"], s.combo);
        EXPECT_EQ(Changes["memo"], s.memo);
    }
    EXPECT_EQ(FQuery.State(), dsBrowse) << "showing rows is no change to them";

    // Closed or empty: empty texts (announced too).
    Changes.clear();
    FQuery.Close();
    EXPECT_EQ(Edit->Text(), "");
    EXPECT_EQ(Combo->Text(), "");
    EXPECT_EQ(Memo->Text(), "");
    EXPECT_EQ(Changes["edit"] + Changes["combo"] + Changes["memo"], 3);
    Open("select * from data where 1 = 0");
    EXPECT_EQ(Edit->Text(), "");

    // A control made after the query moved, and without a window yet, shows
    // the row as well.
    Open();
    FQuery.SetRecNo(2);
    TForm other(nullptr);
    auto* late = new TDBEdit(&other);
    late->SetParent(&other);
    late->SetDataSource(&FSource);
    late->SetDataField("项目名称");
    EXPECT_FALSE(late->HandleAllocated());
    EXPECT_EQ(late->Text(), ROWS[1].name);
    FQuery.SetRecNo(3);
    EXPECT_EQ(late->Text(), ROWS[2].name);
}

TEST_F(BoundControlsTest, TypedTextIsPendingUntilPostedOrDropped)
{
    Open();
    FQuery.SetRecNo(2);
    Changes.clear();
    // Each control in turn: typing puts the row into edit state with the
    // control's text as the field's pending value; nothing is stored yet.
    Type(Edit->Handle(), 'x');
    EXPECT_EQ(FQuery.State(), dsEdit);
    EXPECT_NE(Edit->Text(), ROWS[1].name);
    EXPECT_EQ(FQuery.FieldByName("项目名称").AsString(), Edit->Text());
    Type(Combo->EditHandle(), 'y');
    EXPECT_EQ(FQuery.FieldByName("项目类别").AsString(), Combo->Text());
    Type(Memo->Handle(), 'z');
    EXPECT_EQ(FQuery.FieldByName("项目备注").AsString(), Memo->Text());
    EXPECT_EQ(Changes["edit"], 1);
    EXPECT_EQ(Changes["combo"], 1);
    EXPECT_EQ(Changes["memo"], 1);
    EXPECT_EQ(Stored(u8"项目名称")[1], U8(u8"房租"));

    // Choosing from the list is a change as well.
    SendMessageA(Combo->Handle(), CB_SETCURSEL, 2, 0);
    SendMessageA(FForm.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo->Handle()));
    EXPECT_EQ(FQuery.FieldByName("项目类别").AsString(), "其他");

    std::string name = Edit->Text(), remark = Memo->Text();
    FQuery.Post();
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_EQ(Stored(u8"项目名称")[1], AnsiToUtf8(name));
    EXPECT_EQ(Stored(u8"项目类别")[1], U8(u8"其他"));
    EXPECT_EQ(Stored(u8"项目备注")[1], AnsiToUtf8(remark));
    EXPECT_EQ(Edit->Text(), name) << "the control keeps showing the stored text";

    // Dropped: by Cancel (the controls show the row again) and by Close.
    struct Drop {
        const char* how;
        std::function<void()> drop;
    } drops[] = {{"cancel", [&] { FQuery.Cancel(); }}, {"close", [&] { FQuery.Close(); }}};
    for (const Drop& d : drops) {
        SCOPED_TRACE(d.how);
        Open();
        FQuery.SetRecNo(1);
        Type(Edit->Handle(), 'q');
        Type(Memo->Handle(), 'q');
        EXPECT_EQ(FQuery.State(), dsEdit);
        d.drop();
        EXPECT_EQ(Stored(u8"项目名称")[0], U8(u8"工资"));
        EXPECT_EQ(Stored(u8"项目备注")[0], U8(u8"一月"));
        EXPECT_EQ(Edit->Text(), FQuery.Active() ? ROWS[0].name : "");
    }

    // Moving to another row posts what was typed.
    Open();
    Type(Edit->Handle(), 'm');
    std::string moved = Edit->Text();
    FQuery.Next();
    EXPECT_EQ(Stored(u8"项目名称")[0], AnsiToUtf8(moved));
    EXPECT_EQ(Edit->Text(), name) << "now the second row";
}

TEST_F(BoundControlsTest, RowsThatCannotChangeAreLeftAlone)
{
    // An empty result: the typed text stays, quietly; nothing is pending.
    Open("select * from data where 1 = 0");
    Type(Edit->Handle(), 'a');
    Type(Memo->Handle(), 'b');
    EXPECT_EQ(FQuery.State(), dsBrowse);
    EXPECT_EQ(Edit->Text(), "a");
    EXPECT_EQ(Changes["edit"], 1);

    // A read-only control refuses typing and takes no text from code.
    Open();
    Edit->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongA(Edit->Handle(), GWL_STYLE) & ES_READONLY);
    Type(Edit->Handle(), 'a');
    Edit->SetText("changed");
    EXPECT_EQ(Edit->Text(), ROWS[0].name);
    Combo->SetReadOnly(true);
    SendMessageA(Combo->Handle(), CB_SETCURSEL, 1, 0);
    SendMessageA(FForm.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo->Handle()));
    EXPECT_EQ(Combo->Text(), ROWS[0].category);
    EXPECT_EQ(FQuery.State(), dsBrowse);
    Edit->SetReadOnly(false);
    EXPECT_FALSE(GetWindowLongA(Edit->Handle(), GWL_STYLE) & ES_READONLY);

    // The key column cannot be changed: its edit box is read-only.
    Edit->SetDataField("编号");
    EXPECT_EQ(Edit->Text(), "1");
    EXPECT_TRUE(GetWindowLongA(Edit->Handle(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(FQuery.State(), dsBrowse);
}

}  // namespace
