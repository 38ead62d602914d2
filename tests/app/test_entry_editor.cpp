// The entry editor driven as a user drives it: adding entries (the remark of
// the first and of later entries, refused input, a name that exists, a
// direction typed by hand), the three ways "修改" goes, the deferred save,
// "取消" dropping what was typed, and the edit tab over an empty search.
#include "framework/display_scale.h"
#include "tests/app/ledger_windows_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class EntryEditorTest : public LedgerWindowsTest {
protected:
    // Fills the add tab and presses its "添加".
    void Add(const std::string& name, const std::string& category, const std::string& direction,
             const std::string& amount)
    {
        Click(Form1->Buttonaddnewinfo);
        Form2->ComboBoxxiangmu->SetText(name);
        Form2->ComboBoxxiangmuleibie->SetText(category);
        Form2->ComboBoxzhichushouru->SetText(direction);
        Form2->ComboBoxjine->SetText(amount);
        Click(Form2->Buttonaddinfo);
    }
    std::string Flag() const { return Form2->Edit_falseortrue->Text(); }
    std::string Today() const { return DateToStrNow(); }
};

std::vector<TEntry> ThreeEntries()
{
    return {
        {"工资", "收入类", "2026/12/1", "收入", "5000", "十二月"},
        {"房租", "住房", "2026/12/2", "支出", "1500", ""},
        {"水费", "日常", "2026/12/3", "支出", "80", "第一行\r\n第二行"},
    };
}

TEST_F(EntryEditorTest, WindowsShowOnTopWithoutBlockingAndOnlyHideOnClose)
{
    StartWith({});
    struct TCase {
        TForm* form;
        const char* caption;
        int clientWidth, clientHeight;
        bool minimizeBox;
    };
    const TCase cases[] = {
        {Form2, "项目添加/编辑", 446, 266, true},
        {Form3, "删除确认", 265, 92, false},
        {Form4, "添加 修改 删除 项目类别", 194, 222, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_FALSE(c.form->Visible());  // only the main window shows at start
        c.form->Show();
        HWND window = c.form->Handle();
        char caption[64] = {};
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, c.caption);
        // The design's 96-DPI client size, at the window's scale.
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, ScaleToDpi(c.clientWidth, WindowDpi(window)));
        EXPECT_EQ(client.bottom, ScaleToDpi(c.clientHeight, WindowDpi(window)));
        const LONG style = GetWindowLongA(window, GWL_STYLE);
        EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(style & WS_THICKFRAME);
        EXPECT_FALSE(style & WS_MAXIMIZEBOX);
        EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, c.minimizeBox);
        EXPECT_TRUE(IsWindowEnabled(Form1->Handle()));  // not modal

        SendMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_TRUE(IsWindow(window));
    }
}

TEST_F(EntryEditorTest, MainWindowShowsOneTabAtATime)
{
    StartWith(ThreeEntries());
    Click(Form1->Buttonaddnewinfo);
    EXPECT_TRUE(Form2->Visible());
    EXPECT_EQ(Form2->PageControl1->TabCount(), 1);
    EXPECT_EQ(Form2->PageControl1->ActivePage(), Form2->TabSheet1);

    Form2->Hide();
    DoubleClickGrid(1);
    EXPECT_TRUE(Form2->Visible());
    EXPECT_EQ(Form2->PageControl1->TabCount(), 1);
    EXPECT_EQ(Form2->PageControl1->ActivePage(), Form2->TabSheet2);
    EXPECT_EQ(Form2->DBEdit_xiangmuedit->Text(), "房租");
    EXPECT_EQ(Form2->DBMemoxiangmubeizhuedit->Text(), "");
    EXPECT_EQ(Flag(), "false");

    // Another row shown raises the flag, visible or not.
    DoubleClickGrid(2);
    EXPECT_EQ(Form2->DBMemoxiangmubeizhuedit->Text(), "第一行\r\n第二行");
    EXPECT_EQ(Flag(), "false");
    Form2->Hide();
    Form1->ADOQuery1->First();
    EXPECT_EQ(Form2->DBEdit_xiangmuedit->Text(), "工资");
    EXPECT_EQ(Flag(), "true");
}

TEST_F(EntryEditorTest, DoubleClickOnAnEmptyListOpensNothing)
{
    StartWith({});
    DoubleClickGrid(-1);
    EXPECT_FALSE(Form2->Visible());
}

TEST_F(EntryEditorTest, AddStoresTheEntryAndClearsTheTabForTheNext)
{
    StartWith({{"房租", "住房", "2026/12/2", "支出", "1500", ""}});
    EXPECT_EQ(Form2->Memobeizhu->Text(), "备注:");

    Add("工资", "收入类", "收入", "5000");
    EXPECT_EQ(Panel(4), "工资添加成功!");
    EXPECT_FALSE(Form2->Visible());
    EXPECT_THAT(Form2->ComboBoxxiangmu->Text(), IsEmpty());
    EXPECT_EQ(Form2->ComboBoxxiangmuleibie->Text(), "收入类");  // the category stays
    EXPECT_EQ(Form2->ComboBoxzhichushouru->Text(), "请选择该选项");
    EXPECT_EQ(Form2->ComboBoxjine->Text(), "0");
    EXPECT_EQ(Form2->Memobeizhu->Text(), "未填写备注");

    Add("奖金", "收入类", "收入", "300");
    Form2->Memobeizhu->SetText("");
    Add("电费", "日常", "支出", "20");
    EXPECT_THAT(StoredRows(), ElementsAre("房租|住房|2026/12/2|支出|1500|",
                                          "工资|收入类|" + Today() + "|收入|5000|备注:",
                                          "奖金|收入类|" + Today() + "|收入|300|未填写备注",
                                          "电费|日常|" + Today() + "|支出|20|"));
    // A full refresh ran: the count, both totals, the newest row current.
    EXPECT_EQ(Panel(1), "共 4 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:1520元");
    EXPECT_EQ(Panel(3), "收入金额共:5300元");
    EXPECT_EQ(Form1->ADOQuery1->RecNo(), 4);
    EXPECT_THAT(TakeBoxTexts(), IsEmpty());
}

TEST_F(EntryEditorTest, AddTakesRemarkLinesQuotesAndAtMost500BytesTyped)
{
    StartWith({});
    Click(Form1->Buttonaddnewinfo);
    Form2->Memobeizhu->SetText("");
    HWND memo = Form2->Memobeizhu->Handle();
    for (int i = 0; i < 600; ++i) SendMessageA(memo, WM_CHAR, i == 100 ? VK_RETURN : 'a' + i % 26, 1);
    EXPECT_EQ(Form2->Memobeizhu->Text().size(), 500u);
    Form2->Memobeizhu->SetText("O'Brien 说:\r\n第二行");
    Add("O'Brien", "类", "支出", "1");
    EXPECT_THAT(StoredRows(), ElementsAre("O'Brien|类|" + Today() + "|支出|1|O'Brien 说:\r\n第二行"));
}

TEST_F(EntryEditorTest, AddRefusesMissingInputAndKeepsWhatWasTyped)
{
    StartWith({});
    struct TCase {
        const char* name;
        const char* category;
        const char* direction;
        const char* message;
    };
    // Each refusal keeps the one text and names the field.
    const TCase cases[] = {
        {"", "类", "支出", "操作错误!请填写项目名称。"},
        {"  ", "类", "支出", "操作错误!请填写项目名称。"},
        {"工资", "", "收入", "操作错误!请填写项目类别。"},
        {"工资", "类", "请选择该选项", "操作错误!请选择支出或收入。"},
        {"工资", "类", "支 出", "操作错误!支出/收入只能是 \"支出\" 或 \"收入\",不能是 \"支 出\"。"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.category + "/" + c.direction);
        Add(c.name, c.category, c.direction, "10");
        EXPECT_THAT(TakeBoxTexts(), ElementsAre(c.message));
        EXPECT_TRUE(Form2->Visible());
        EXPECT_EQ(Form2->ComboBoxxiangmu->Text(), c.name);
        EXPECT_EQ(Form2->ComboBoxjine->Text(), "10");
        EXPECT_THAT(StoredRows(), IsEmpty());
        EXPECT_THAT(Panel(4), IsEmpty());
    }
}

TEST_F(EntryEditorTest, AddRefusesANameThatExists)
{
    StartWith({{"Rent", "住房", "2026/12/2", "支出", "1500", ""}, {" 水费 ", "日常", "2026/12/3", "支出", "80", ""}});
    // Names compare without case and without the blanks around them, also
    // against a name stored with blanks by another program.
    for (const char* name : {"Rent", "rent", " RENT ", "水费", "水费 "}) {
        SCOPED_TRACE(name);
        Add(name, "住房", "支出", "99");
        const std::string trimmed = Trim(name);
        EXPECT_EQ(Panel(4), trimmed + "添加失败,存在相同的项目名称!");
        EXPECT_THAT(TakeBoxTexts(), ElementsAre(trimmed + "添加失败,存在相同的项目名称!请换一个项目名称。"));
        EXPECT_TRUE(Form2->Visible()) << "the refusal keeps the editor open";
        EXPECT_EQ(Form2->ComboBoxxiangmu->Text(), name) << "with what was typed";
        EXPECT_EQ(Form2->ComboBoxjine->Text(), "99");
        EXPECT_THAT(StoredRows(), ElementsAre("Rent|住房|2026/12/2|支出|1500|", " 水费 |日常|2026/12/3|支出|80|"));
    }
    // Texts are stored trimmed.
    Add(" 电费 ", " 日常 ", " 支出 ", " 7 ");
    EXPECT_EQ(Panel(4), "电费添加成功!");
    EXPECT_EQ(StoredRows().back(), "电费|日常|" + Today() + "|支出|7|备注:");
}

TEST_F(EntryEditorTest, HandTypedDirectionIsRefused)
{
    StartWith({{"房租", "住房", "2026/12/2", "支出", "1500", ""}});
    Click(Form1->Buttonaddnewinfo);
    TypeOver(Form2->ComboBoxzhichushouru->EditHandle(), "other");
    Form2->ComboBoxxiangmu->SetText("借款");
    Form2->ComboBoxxiangmuleibie->SetText("其他");
    Form2->ComboBoxjine->SetText("700");
    Click(Form2->Buttonaddinfo);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("操作错误!支出/收入只能是 \"支出\" 或 \"收入\",不能是 \"other\"。"));
    EXPECT_TRUE(Form2->Visible());
    EXPECT_THAT(StoredRows(), ElementsAre("房租|住房|2026/12/2|支出|1500|"));
    // The same on the edit tab.
    Click(Form2->Button2);
    DoubleClickGrid(0);
    TypeOver(Form2->DBComboBoxshouruzhichu->EditHandle(), "in");
    Click(Form2->Buttonedit);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("操作错误!支出/收入只能是 \"支出\" 或 \"收入\",不能是 \"in\"。"));
    EXPECT_TRUE(Form2->Visible());
    EXPECT_THAT(StoredRows(), ElementsAre("房租|住房|2026/12/2|支出|1500|"));
    Click(Form2->Button1);
    EXPECT_EQ(Panel(1), "共 1 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:1500元");
    EXPECT_EQ(Panel(3), "收入金额共:0元");
}

TEST_F(EntryEditorTest, EditWithoutChangesWritesNothing)
{
    StartWith(ThreeEntries());
    const auto before = StoredRows();
    DoubleClickGrid(1);
    Click(Form2->Buttonedit);
    EXPECT_EQ(Panel(4), "房租未进行修改!");
    EXPECT_FALSE(Form2->Visible());
    EXPECT_EQ(Flag(), "false");
    EXPECT_FALSE(Form2->Timershuaxinliebiao->Enabled());
    EXPECT_EQ(StoredRows(), before);
}

TEST_F(EntryEditorTest, ChangedAmountIsSavedAtOnceAndTheListAndTotalsFollow)
{
    StartWith(ThreeEntries());
    DoubleClickGrid(1);
    TypeOver(Form2->DBComboBoxjine->EditHandle(), "1600");
    EXPECT_EQ(Flag(), "true");
    Click(Form2->Buttonedit);
    EXPECT_FALSE(Form2->Visible());
    EXPECT_EQ(Panel(4), "房租修改成功!");
    EXPECT_EQ(Flag(), "false");
    // Saved before the success is shown: a save that fails says so instead.
    EXPECT_EQ(StoredRows()[1], "房租|住房|2026/12/2|支出|1600|");

    ASSERT_TRUE(PumpUntil([] { return !Form2->Timershuaxinliebiao->Enabled(); }));
    EXPECT_EQ(Form2->Timershuaxinliebiao->Interval(), 0u);
    EXPECT_THAT(ListNames(), ElementsAre("工资", "房租", "水费"));
    EXPECT_EQ(Form1->ADOQuery1->RecNo(), 1);
    EXPECT_EQ(Panel(2), "支出金额共:1680元");  // the totals follow the saved edit
}

TEST_F(EntryEditorTest, RenameToAFreeNameSavesAtOnceAndStaysOpen)
{
    StartWith(ThreeEntries());
    DoubleClickGrid(1);
    Form2->DBEdit_xiangmuedit->SetText("房租2026");
    TypeOver(Form2->DBComboBoxjine->EditHandle(), "1550");
    const std::string lastMessage = Panel(4);  // the cell clicked
    Click(Form2->Buttonedit);
    EXPECT_EQ(StoredRows()[1], "房租2026|住房|2026/12/2|支出|1550|");
    EXPECT_TRUE(Form2->Visible());
    EXPECT_EQ(Panel(4), lastMessage);
    EXPECT_EQ(Flag(), "true");
    EXPECT_EQ(Form1->ADOQuery1->State(), dsBrowse);

    // "修改" again: the name now exists and the flag is up, but nothing is
    // pending; the deferred save posts nothing and stops.
    Click(Form2->Buttonedit);
    EXPECT_EQ(Panel(4), "房租2026修改成功!");
    ASSERT_TRUE(PumpUntil([] { return !Form2->Timershuaxinliebiao->Enabled(); }));
    EXPECT_EQ(StoredRows()[1], "房租2026|住房|2026/12/2|支出|1550|");
    EXPECT_THAT(TakeBoxTexts(), IsEmpty());
}

TEST_F(EntryEditorTest, RenameToAnotherEntrysNameIsRefusedAsOnAdd)
{
    StartWith(ThreeEntries());
    const auto before = StoredRows();
    DoubleClickGrid(2);
    for (const char* name : {"工资", " 工资 ", "房租"}) {
        SCOPED_TRACE(name);
        TypeOver(Form2->DBEdit_xiangmuedit->Handle(), name);
        TypeOver(Form2->DBComboBoxjine->EditHandle(), " 90 ");
        Click(Form2->Buttonedit);
        EXPECT_EQ(Panel(4), Trim(name) + "修改失败,存在相同的项目名称!");
        EXPECT_THAT(TakeBoxTexts(), ElementsAre(Trim(name) + "修改失败,存在相同的项目名称!请换一个项目名称。"));
        EXPECT_TRUE(Form2->Visible());
        EXPECT_EQ(Form2->DBEdit_xiangmuedit->Text(), name);
        EXPECT_FALSE(Form2->Timershuaxinliebiao->Enabled());
        EXPECT_EQ(StoredRows(), before);
    }
    // Its own name is no other entry's; the amount is stored trimmed.
    TypeOver(Form2->DBEdit_xiangmuedit->Handle(), "水费");
    Click(Form2->Buttonedit);
    EXPECT_EQ(Panel(4), "水费修改成功!");
    EXPECT_EQ(StoredRows()[2], "水费|日常|2026/12/3|支出|90|第一行\r\n第二行");
}

TEST_F(EntryEditorTest, CancelDropsWhatWasTyped)
{
    StartWith(ThreeEntries());
    const auto before = StoredRows();
    DoubleClickGrid(1);
    TypeOver(Form2->DBComboBoxjine->EditHandle(), "9");
    Form2->DBEdit_xiangmuedit->SetText("改名");
    EXPECT_EQ(Form1->ADOQuery1->State(), dsEdit);
    Click(Form2->Button1);
    EXPECT_FALSE(Form2->Visible());
    EXPECT_EQ(Form1->ADOQuery1->State(), dsBrowse);
    EXPECT_EQ(StoredRows(), before);
    EXPECT_THAT(ListNames(), ElementsAre("工资", "房租", "水费"));
    EXPECT_EQ(Panel(2), "支出金额共:1580元");
    // Moving on later posts nothing either.
    Form1->ADOQuery1->First();
    EXPECT_EQ(StoredRows(), before);
}

TEST_F(EntryEditorTest, EditTabOverAnEmptySearchSaysThereIsNothingToEdit)
{
    StartWith(ThreeEntries());
    const auto before = StoredRows();
    Form1->ComboBoxsearch->SetText("没有这一项");
    Click(Form1->Buttonsearch);
    ASSERT_EQ(Panel(1), "共找到0 个记录");
    DoubleClickGrid(-1);
    ASSERT_TRUE(Form2->Visible());
    EXPECT_THAT(Form2->DBEdit_xiangmuedit->Text(), IsEmpty());

    Click(Form2->Buttonedit);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre("没有可修改的记录!"));
    EXPECT_FALSE(Form2->Timershuaxinliebiao->Enabled());
    EXPECT_EQ(StoredRows(), before);
    EXPECT_THAT(Panel(4), IsEmpty());
}

}  // namespace

// The totals add amounts up as signed 32-bit whole numbers: anything else is
// refused where it is typed, on both tabs, with a message naming the field
// and the value, and nothing is written.
TEST_F(EntryEditorTest, AmountThatIsNoWholeNumberIsRefusedOnAddAndEdit)
{
    StartWith(ThreeEntries());
    const std::vector<std::string> before = StoredRows();
    for (const char* amount : {"12.5", "2147483648", "1,000", "abc", "", "$10", "0x10", "1e3", "１２", "+", "--1"}) {
        SCOPED_TRACE(amount);
        Add("午饭", "日常", "支出", amount);
        EXPECT_THAT(TakeBoxTexts(), ElementsAre(ledger::AmountRefusedText(amount)));
        EXPECT_TRUE(Form2->Visible()) << "the window stays open to correct the amount";
        EXPECT_EQ(Form2->ComboBoxjine->Text(), amount) << "what was typed stays";
        EXPECT_EQ(StoredRows(), before);
    }
    EXPECT_THAT(ledger::AmountRefusedText("12.5"), ::testing::AllOf(::testing::HasSubstr("金额"),
                                                                   ::testing::HasSubstr("\"12.5\"")));
    EXPECT_THAT(ledger::AmountRefusedText("99999999999"), ::testing::HasSubstr("太大"));
    EXPECT_THAT(ledger::AmountRefusedText("abc"), ::testing::Not(::testing::HasSubstr("太大")));
    Add("午饭", "日常", "支出", " -2147483648 ");
    EXPECT_EQ(Panel(4), "午饭添加成功!");

    DoubleClickGrid(1);
    TypeOver(Form2->DBComboBoxjine->EditHandle(), "99.9");
    Click(Form2->Buttonedit);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre(ledger::AmountRefusedText("99.9")));
    EXPECT_TRUE(Form2->Visible());
    EXPECT_FALSE(Form2->Timershuaxinliebiao->Enabled()) << "no save is scheduled";
    EXPECT_EQ(StoredRows()[1], "房租|住房|2026/12/2|支出|1500|");
    // Renaming with a bad amount (the path that saves at once) is refused too.
    TypeOver(Form2->DBEdit_xiangmuedit->Handle(), "新房租");
    Click(Form2->Buttonedit);
    EXPECT_THAT(TakeBoxTexts(), ElementsAre(ledger::AmountRefusedText("99.9")));
    EXPECT_EQ(StoredRows()[1], "房租|住房|2026/12/2|支出|1500|");
    Click(Form2->Button1);  // 取消 drops it
    EXPECT_EQ(StoredRows()[1], "房租|住房|2026/12/2|支出|1500|");
}

// Text another program stored with characters GBK lacks (Korean, a math
// sign, an emoji) is shown with "?" in their places and never written back
// from there: changing another field keeps it byte for byte, and changing
// the field itself is refused with a message naming it.
TEST_F(EntryEditorTest, TextTheWindowCannotShowIsNeverWrittenBack)
{
    MakeLedger({});
    const std::string name = U8(u8"午饭😀"), remark = U8(u8"한국어 메모 ∮ x²\r\n第二行");
    RawQuery(DatabasePath(), U8(u8"insert into data (项目名称,项目类别,编辑时间,支出或收入,金额,项目备注) values ('") +
                                 name + "','" + U8(u8"日常") + "','2026/12/3','" + U8(u8"支出") + "','30','" + remark +
                                 "')");
    CreateWindows();
    const auto stored = [&] {
        return RawQuery(DatabasePath(), U8(u8"select 项目名称||'|'||金额||'|'||项目备注 from data"));
    };
    DoubleClickGrid(0);
    ASSERT_NE(Form2->DBEdit_xiangmuedit->Text().find('?'), std::string::npos) << "GBK cannot show it";

    // Another field changed: the name and the remark stay as they were.
    TypeOver(Form2->DBComboBoxjine->EditHandle(), "35");
    Click(Form2->Buttonedit);
    EXPECT_THAT(TakeBoxTexts(), IsEmpty());
    ASSERT_TRUE(PumpUntil([] { return !Form2->Timershuaxinliebiao->Enabled(); }));
    EXPECT_EQ(stored(), std::vector<std::string>{name + "|35|" + remark});

    // The remark or the name itself changed: refused, naming the field.
    struct TCase {
        const char* Field;
        HWND Window;
    } cases[] = {{"项目备注", Form2->DBMemoxiangmubeizhuedit->Handle()}, {"项目名称", Form2->DBEdit_xiangmuedit->Handle()}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Field);
        DoubleClickGrid(0);
        TypeOver(c.Window, "新的文字");
        Click(Form2->Buttonedit);
        const std::vector<std::string> boxes = TakeBoxTexts();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_THAT(boxes[0], ::testing::HasSubstr(c.Field));
        EXPECT_TRUE(Form2->Visible());
        EXPECT_EQ(stored(), std::vector<std::string>{name + "|35|" + remark});
        Click(Form2->Button1);
    }
}
