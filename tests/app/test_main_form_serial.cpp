// The main window driven with messages as a user would: start-up with and
// without its files, search, the wheel rule, cell clicks, the clock and every
// way of closing. Serial: the window is shown, activated and focused.
#include "framework/display_scale.h"
#include "tests/app/main_form_fixture.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

// Stands in front of a control's WindowProc and counts the messages it sees.
struct TSpy {
    TControl* Control = nullptr;
    TWndMethod Saved;
    int Wheels = 0;
    void Attach(TControl* control)
    {
        Control = control;
        Saved = control->WindowProc();
        control->SetWindowProc(TWndMethod(this, &TSpy::Proc));
    }
    void Proc(TMessage& m)
    {
        if (m.Msg == WM_MOUSEWHEEL) ++Wheels;
        Saved(m);
    }
    ~TSpy()
    {
        if (Control) Control->SetWindowProc(Saved);
    }
};

std::vector<std::string> ListNames(TADOQuery* list)
{
    std::vector<std::string> names;
    for (int row = 0; row < list->RecordCount(); ++row) names.push_back(list->DisplayText(row, 1));
    return names;
}

std::vector<std::string> Items(TStrings* items)
{
    std::vector<std::string> lines;
    for (int i = 0; i < items->Count(); ++i) lines.push_back(items->Get(i));
    return lines;
}

// Shows the main window, brings it to the front and gives `control` the
// focus, again if a window of another test process took the foreground.
void ShowAndFocus(TWinControl* control)
{
    Form1->Show();
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetForegroundWindow(Form1->Handle());
        Application->ProcessMessages();
        control->SetFocus();
        Application->ProcessMessages();
        if (control->Focused()) return;
        Sleep(50);
    }
}

std::vector<TEntry> SearchLedger()
{
    return {
        {"工资收入", "工资", "2026/12/8", "收入", "5000", "十二月"},
        {"房租", "住房", "2026/11/30", "支出", "1500", ""},
        {"100%纯棉", "服装", "2026/12/1", "支出", "120", "打折"},
        {"a_b", "其他", "2025/1/5", "支出", "15", ""},
        {"axb", "其他", "2025/1/5", "支出", "25", "O'Brien"},
    };
}

TEST_F(MainFormTest, WindowLayoutAndTexts)
{
    MakeLedger();
    CreateMainForm();
    Form1->Show();
    RECT window, client;
    GetWindowRect(Form1->Handle(), &window);
    GetClientRect(Form1->Handle(), &client);
    // 774 x 558 at 96 DPI, in proportion at the screen's scale.
    const UINT dpi = WindowDpi(Form1->Handle());
    const int width = ScaleToDpi(774, dpi), height = ScaleToDpi(558, dpi);
    EXPECT_EQ(window.right - window.left, width);
    EXPECT_EQ(window.bottom - window.top, height);
    // The client area is what the system's single border leaves of that
    // (766 x 531 with a 4-pixel frame; Wine's frame is 3 pixels).
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, GetWindowLongA(Form1->Handle(), GWL_STYLE), FALSE,
                       GetWindowLongA(Form1->Handle(), GWL_EXSTYLE));
    EXPECT_EQ(client.right, width - (frame.right - frame.left));
    EXPECT_EQ(client.bottom, height - (frame.bottom - frame.top));
    // Centred on the desktop.
    EXPECT_NEAR(window.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, 1);
    EXPECT_NEAR(window.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 1);
    char caption[64] = {};
    GetWindowTextA(Form1->Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Ravelbook V1.0");
    EXPECT_FALSE(GetWindowLongA(Form1->Handle(), GWL_STYLE) & WS_THICKFRAME) << "not sizeable";
    // Sizing is refused by the constraints.
    SetWindowPos(Form1->Handle(), nullptr, 0, 0, width + 126, height + 142, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(Form1->Handle(), &window);
    EXPECT_EQ(window.right - window.left, width);
    EXPECT_EQ(window.bottom - window.top, height);

    // Windowed controls where the user sees them, in the form's client area
    // (96-DPI places; each edge at the window's scale).
    auto at = [dpi](int design) { return ScaleToDpi(design, dpi); };
    struct Place {
        TWinControl* Control;
        RECT Edges;
    } places[] = {
        {Form1->PageControl1, {0, at(105), client.right, at(105) + at(372)}},
        {Form1->Button1, {at(600), at(481), at(675), at(506)}},
        {Form1->Button_close, {at(688), at(481), at(763), at(506)}},
        {Form1->StatusBar1, {0, client.bottom - at(19), client.right, client.bottom}},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.Control->Name());
        RECT r;
        GetWindowRect(p.Control->Handle(), &r);
        MapWindowPoints(nullptr, Form1->Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, p.Edges.left);
        EXPECT_EQ(r.top, p.Edges.top);
        EXPECT_EQ(r.right, p.Edges.right);
        EXPECT_EQ(r.bottom, p.Edges.bottom);
    }
    char text[32] = {};
    SendMessageA(Form1->Button_close->Handle(), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "退出");

    // Tabs in order, flat buttons; the first is shown.
    ASSERT_EQ(Form1->PageControl1->PageCount(), 3);
    EXPECT_EQ(Form1->PageControl1->Pages(0)->Caption(), "收支管理");
    EXPECT_EQ(Form1->PageControl1->Pages(1)->Caption(), "辅助工具");
    EXPECT_EQ(Form1->PageControl1->Pages(2)->Caption(), "关于");
    EXPECT_EQ(Form1->PageControl1->Style(), tsFlatButtons);
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);

    // Status panels and their widths; the clock is empty before its first tick.
    std::vector<int> widths;
    for (int i = 0; i < Form1->StatusBar1->Panels()->Count(); ++i)
        widths.push_back(UnscaleFromDpi(Form1->StatusBar1->Panels()->Items(i)->Width(), WindowDpi(Form1->Handle())));
    EXPECT_THAT(widths, ElementsAre(200, 150, 150, 150, 200)) << "at the design's 96 DPI";
    EXPECT_EQ(Form1->EditDATABAKNAME->Text(), "");

    EXPECT_EQ(Form1->ComboBoxsearchclass->Text(), "项目名称");
    EXPECT_THAT(Items(Form1->ComboBoxsearchclass->Items()),
                ElementsAre("项目名称", "金额", "项目类别", "编辑时间", "项目备注"));
    EXPECT_THAT(Items(Form1->Memo1->Lines()),
                ElementsAre("本程序完全免费,希望大家多多支持我的个人网站,谢谢.", MAKER_WEBSITE, HasSubstr("联系电话")));
    EXPECT_EQ(Form1->Label1->Caption(), "Velmont 我为人人,人人为我");
    EXPECT_EQ(Form1->Label1->Font()->Color(), clRed);
    EXPECT_TRUE(Form1->Label1->Font()->Style() & (1u << fsBold));
    EXPECT_EQ(Form1->Font()->Charset(), GB2312_CHARSET);
    // The working storage is never shown.
    Form1->PageControl1->SetActivePage(Form1->TabSheet3);
    EXPECT_TRUE(IsWindowVisible(Form1->EditDATABAKNAME->Handle()));
    for (TControl* storage : std::initializer_list<TControl*>{Form1->GroupBox3, Form1->ListBoxtjzhichu,
                                                              Form1->Edittjzhichu, Form1->ListBoxtjshouru,
                                                              Form1->Edittjshouru})
        EXPECT_FALSE(storage->Showing()) << storage->Name();
}

TEST_F(MainFormTest, ClockTicksEverySecond)
{
    MakeLedger();
    CreateMainForm();
    Form1->Show();
    EXPECT_EQ(Panel(0), "");
    DWORD until = GetTickCount() + 1600;
    while (GetTickCount() < until && Panel(0).empty()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_THAT(Panel(0), StartsWith("今天是" + DateToStr(now) + " "));
    EXPECT_EQ(Form1->EditDATABAKNAME->Text(), DateToStr(now) + "_BAK_");
}

TEST_F(MainFormTest, StartUpReadsSuggestionsWhenThere)
{
    struct Case {
        const char* Title;
        bool WithFile;
        std::vector<std::string> Lines;
    } cases[] = {
        {"no XMLB.txt", false, {}},
        {"lines as they stand", true, {"工资", "", " 房租 ", "工资"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        TTempFolder folder(L"建议");
        SetProgramFolder(folder.Path());
        MakeLedgerFile(folder.File(L"data.mdb"));
        if (c.WithFile) ledger::WriteLines(folder.File(L"XMLB.txt"), c.Lines);
        CreateMainForm();
        EXPECT_THAT(TakeBoxTexts(), IsEmpty());
        EXPECT_THAT(Items(Form1->ComboBoxsearch->Items()), ElementsAreArray(c.Lines));
        EXPECT_EQ(Form1->ComboBoxsearch->Text(), "");
        EXPECT_TRUE(Application->OnMessage) << "the wheel hook is installed";
        delete Form1;
        EXPECT_FALSE(Application->OnMessage) << "and taken away with the window";
    }
}

TEST_F(MainFormTest, StartUpWithoutUsableDatabaseStillOpens)
{
    struct Case {
        const char* Title;
        const char* Bytes;  // data.mdb's content; null: no file
        const char* ErrorStart;
    } cases[] = {
        {"missing data.mdb", nullptr, "找不到数据库文件"},
        {"data.mdb that is not a database", "this is not a database file, just text\r\n", ""},
        // The message says what is wrong: a folder is no missing file, and a
        // table without a column names the column.
        {"a folder named data.mdb", "<folder>", "'"},
        {"table data without 金额", "<no amount>", "数据库表 data 缺少列 \"金额\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Title);
        TTempFolder folder(L"无库");
        SetProgramFolder(folder.Path());
        ledger::WriteLines(folder.File(L"XMLB.txt"), {"工资"});
        const std::wstring path = folder.File(L"data.mdb");
        if (c.Bytes && std::string(c.Bytes) == "<folder>") {
            CreateDirectoryW(path.c_str(), nullptr);
        } else if (c.Bytes && std::string(c.Bytes) == "<no amount>") {
            sqlite3* db = nullptr;
            sqlite3_open_v2(WideToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            sqlite3_exec(db, AnsiToUtf8("create table data (编号 integer primary key autoincrement, 项目名称 text, "
                                        "项目类别 text, 编辑时间 text, 支出或收入 text, 项目备注 text)").c_str(),
                         nullptr, nullptr, nullptr);
            sqlite3_close(db);
        } else if (c.Bytes) {
            PutFile(path, c.Bytes);
        }
        CreateMainForm();
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_THAT(Boxes[0].Text, StartsWith(c.ErrorStart));
        if (c.Bytes && std::string(c.Bytes) == "<folder>") {
            EXPECT_THAT(Boxes[0].Text, ::testing::HasSubstr("是一个文件夹,不是数据库文件"));
        }
        if (c.Bytes && std::string(c.Bytes) == "<no amount>") {
            EXPECT_THAT(Boxes[0].Text, ::testing::Not(::testing::HasSubstr("out of bounds")));
        }
        EXPECT_THAT(Boxes[0].Text, ::testing::Not(IsEmpty()));
        EXPECT_EQ(Boxes[0].Caption, "Ravelbook");
        EXPECT_EQ(Boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        Boxes.clear();
        Form1->Show();
        EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
        EXPECT_EQ(Form1->DBGrid1->Columns().Count(), 0) << "an empty grid";
        EXPECT_EQ(Panel(1), "");
        EXPECT_EQ(Form1->ComboBoxsearch->Items()->Count(), 0) << "suggestions skipped";
        EXPECT_FALSE(Application->OnMessage) << "wheel hook skipped";
        delete Form1;
        RemoveDirectoryW(path.c_str());
    }
}

TEST_F(MainFormTest, FilesAreFoundBesideTheProgramNotInTheWorkingDirectory)
{
    MakeLedger({Entry("program folder", "支出", "1")});
    WriteCategories({"程序目录"});
    TTempFolder elsewhere(L"工作目录");
    MakeLedgerFile(elsewhere.File(L"data.mdb"));
    AddEntries(elsewhere.File(L"data.mdb"), {Entry("x", "支出", "5"), Entry("y", "支出", "6")});
    ledger::WriteLines(elsewhere.File(L"XMLB.txt"), {"工作目录"});
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryW(elsewhere.Path().c_str());
    CreateMainForm();
    SetCurrentDirectoryW(saved);
    EXPECT_THAT(TakeBoxTexts(), IsEmpty());
    EXPECT_EQ(Panel(1), "共 1 个记录");
    EXPECT_EQ(Panel(2), "支出金额共:1元");
    EXPECT_THAT(Items(Form1->ComboBoxsearch->Items()), ElementsAre("程序目录"));
}

TEST_F(MainFormTest, SearchByOneColumn)
{
    MakeLedger(SearchLedger());
    CreateMainForm();
    const std::string expenditure = Panel(2), income = Panel(3);
    ASSERT_EQ(expenditure, "支出金额共:1660元");
    struct Case {
        const char* Column;
        const char* Keyword;
        std::vector<std::string> Names;
    } cases[] = {
        {"项目名称", "工资", {"工资收入"}},
        {"项目名称", "%", {"工资收入", "房租", "100%纯棉", "a_b", "axb"}},  // "%" is a wildcard
        {"项目名称", "a_b", {"a_b", "axb"}},                                 // so is "_"
        {"项目名称", "A", {"a_b", "axb"}},                                   // letters ignore case
        {"金额", "50", {"工资收入", "房租"}},
        {"编辑时间", "2026/12", {"工资收入", "100%纯棉"}},
        {"项目类别", "其他", {"a_b", "axb"}},
        {"项目备注", "O'Brien", {"axb"}},  // a quote stays inside the keyword
        {"项目备注", "没有", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Column) + " like " + c.Keyword);
        Form1->ComboBoxsearchclass->SetText(c.Column);
        Form1->ComboBoxsearch->SetText(c.Keyword);
        SendMessageA(Form1->Buttonsearch->Handle(), BM_CLICK, 0, 0);
        EXPECT_THAT(TakeBoxTexts(), IsEmpty());
        std::vector<std::string> names = ListNames(Form1->ADOQuery1);
        std::sort(names.begin(), names.end());
        std::vector<std::string> expected = c.Names;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
        EXPECT_EQ(Panel(1), "共找到" + IntToStr(c.Names.size()) + " 个记录");
        EXPECT_EQ(Panel(2), expenditure) << "a search recomputes no total";
        EXPECT_EQ(Panel(3), income);
        ASSERT_EQ(Form1->DBGrid1->Columns().Count(), 7);
        // The design's widths at the window's scale.
        const UINT dpi = static_cast<UINT>(Form1->CurrentPixelsPerInch());
        EXPECT_EQ(Form1->DBGrid1->Columns(6)->Width(), ScaleToDpi(300, dpi));
        EXPECT_EQ(Form1->DBGrid1->Columns(0)->Width(), ScaleToDpi(50, dpi));
    }
    // "刷新" returns to the whole list.
    SendMessageA(Form1->Buttonre->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(Panel(1), "共 5 个记录");
}

TEST_F(MainFormTest, SearchRefusesMissingKeywordAndUnknownColumn)
{
    MakeLedger(SearchLedger());
    CreateMainForm();
    const std::string sql = Form1->ADOQuery1->SQL().Text();
    struct Case {
        const char* Column;
        const char* Keyword;
        const char* Box;
    } cases[] = {
        {"项目名称", "", "请输入搜索关键字"},
        {"项目名称", "请输入搜索关键字", "请输入搜索关键字"},
        {"名称", "房租", "搜索列名无效,请从列表中选择"},
        {"金额 like '%' or 1", "1", "搜索列名无效,请从列表中选择"},
        {"", "房租", "搜索列名无效,请从列表中选择"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Column) + " / " + c.Keyword);
        Form1->ComboBoxsearchclass->SetText(c.Column);
        Form1->ComboBoxsearch->SetText(c.Keyword);
        SendMessageA(Form1->Buttonsearch->Handle(), BM_CLICK, 0, 0);
        ASSERT_EQ(Boxes.size(), 1u);
        EXPECT_EQ(Boxes[0].Text, c.Box);
        EXPECT_EQ(Boxes[0].Flags & MB_TYPEMASK, static_cast<UINT>(MB_OK));
        Boxes.clear();
        EXPECT_EQ(Panel(1), "共 5 个记录");
        EXPECT_EQ(Form1->ADOQuery1->SQL().Text(), sql) << "no statement was run";
        EXPECT_EQ(Form1->ADOQuery1->RecordCount(), 5);
    }
}

TEST_F(MainFormTest, EnterSearchesAfterTypingAKeyword)
{
    MakeLedger(SearchLedger());
    CreateMainForm();
    ShowAndFocus(Form1->ComboBoxsearch);
    EXPECT_FALSE(Form1->Buttonsearch->Default());
    HWND edit = Form1->ComboBoxsearch->EditHandle();
    ASSERT_NE(edit, nullptr);
    for (char c : std::string("xb")) PostMessageA(edit, WM_CHAR, c, 1);
    Application->ProcessMessages();
    EXPECT_TRUE(Form1->Buttonsearch->Default()) << "typing makes the search button the default";
    EXPECT_EQ(Form1->ComboBoxsearch->Text(), "xb");
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    Application->ProcessMessages();
    EXPECT_THAT(TakeBoxTexts(), IsEmpty());
    EXPECT_EQ(Panel(1), "共找到1 个记录");
    EXPECT_THAT(ListNames(Form1->ADOQuery1), ElementsAre("axb"));
}

std::vector<TEntry> ManyEntries(int count)
{
    std::vector<TEntry> entries;
    for (int i = 0; i < count; ++i) entries.push_back(Entry("项目" + IntToStr(i), "支出", "1"));
    return entries;
}

TEST_F(MainFormTest, WheelPagesTheGridOnlyWhileItHasTheFocus)
{
    MakeLedger(ManyEntries(120));
    CreateMainForm();
    ShowAndFocus(Form1->DBGrid1);
    ASSERT_TRUE(Form1->DBGrid1->Focused());
    TADOQuery* list = Form1->ADOQuery1;
    const int page = Form1->DBGrid1->VisibleRowCount();
    ASSERT_GT(page, 2);
    list->First();
    TSpy gridSpy, formSpy, buttonSpy;
    gridSpy.Attach(Form1->DBGrid1);
    formSpy.Attach(Form1);
    buttonSpy.Attach(Form1->Buttonsearch);

    struct Step {
        const char* Title;
        TWinControl* Focus;
        HWND Target;
        short Delta;
        int Moved;  // rows the cursor moves
    } steps[] = {
        {"away from the user: a page down", Form1->DBGrid1, Form1->DBGrid1->Handle(), -WHEEL_DELTA, page},
        {"two pages down", Form1->DBGrid1, Form1->DBGrid1->Handle(), -2 * WHEEL_DELTA, page},
        {"towards the user: a page up", Form1->DBGrid1, Form1->DBGrid1->Handle(), WHEEL_DELTA, -page},
        {"a small turn still pages", Form1->DBGrid1, Form1->DBGrid1->Handle(), 1, -page},
        {"over another control with the grid focused", Form1->DBGrid1, Form1->Buttonsearch->Handle(), -WHEEL_DELTA,
         page},
        {"focus elsewhere", Form1->Buttonsearch, Form1->DBGrid1->Handle(), -WHEEL_DELTA, 0},
        {"focus elsewhere, over the form", Form1->Buttonsearch, Form1->Handle(), WHEEL_DELTA, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Title);
        ShowAndFocus(s.Focus);
        ASSERT_TRUE(s.Focus->Focused());
        const int before = list->RecNo();
        POINT centre = {100, 100};
        PostMessageA(s.Target, WM_MOUSEWHEEL, MAKEWPARAM(0, s.Delta), MAKELPARAM(centre.x, centre.y));
        Application->ProcessMessages();
        EXPECT_EQ(list->RecNo() - before, s.Moved);
    }
    EXPECT_EQ(gridSpy.Wheels, 0) << "the wheel reaches no window";
    EXPECT_EQ(formSpy.Wheels, 0);
    EXPECT_EQ(buttonSpy.Wheels, 0);
}

TEST_F(MainFormTest, CellClickShowsTheCellText)
{
    MakeLedger(SearchLedger());
    CreateMainForm();
    ShowAndFocus(Form1->DBGrid1);
    struct Case {
        int Row, Column;
        const char* Text;
    } cases[] = {{0, 1, "工资收入"}, {1, 5, "1500"}, {4, 6, "O'Brien"}, {2, 3, "2026/12/1"}};
    for (const Case& c : cases) {
        RECT cell = Form1->DBGrid1->CellRect(c.Row, c.Column);
        LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        SendMessageA(Form1->DBGrid1->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(Form1->DBGrid1->Handle(), WM_LBUTTONUP, 0, at);
        EXPECT_EQ(Panel(4), c.Text) << c.Row << "," << c.Column;
        EXPECT_EQ(Form1->ADOQuery1->RecNo(), c.Row + 1);
    }
}

TEST_F(MainFormTest, EveryWayOfClosingAsksFirst)
{
    MakeLedger({Entry("a", "支出", "7")});
    CreateMainForm();
    struct Way {
        const char* Title;
        std::function<void()> Close;
    } ways[] = {
        {"退出", [] { SendMessageA(Form1->Button_close->Handle(), BM_CLICK, 0, 0); }},
        {"title bar", [] { SendMessageA(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [] { SendMessageA(Form1->Handle(), WM_CLOSE, 0, 0); }},
        {"Alt+F4", [] { PostMessageA(Form1->Handle(), WM_SYSKEYDOWN, VK_F4, 0x20000001); }},
    };
    for (const Way& way : ways) {
        for (int answer : {IDNO, IDYES}) {
            SCOPED_TRACE(std::string(way.Title) + (answer == IDYES ? ": yes" : ": no"));
            ShowAndFocus(Form1->DBGrid1);
            Answer = answer;
            way.Close();
            Application->ProcessMessages();
            ASSERT_EQ(Boxes.size(), 1u);
            EXPECT_EQ(Boxes[0].Text, "您真的要退出吗");
            EXPECT_EQ(Boxes[0].Caption, "Confirm");
            EXPECT_EQ(Boxes[0].Flags & MB_ICONMASK, static_cast<UINT>(MB_ICONQUESTION));
            EXPECT_EQ(Boxes[0].Flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
            Boxes.clear();
            EXPECT_EQ(Application->Terminated(), answer == IDYES) << "only Yes ends the program";
            if (answer == IDNO) {
                EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
                EXPECT_EQ(Panel(1), "共 1 个记录");
                EXPECT_EQ(Panel(2), "支出金额共:7元");
            }
            Application->ResetTerminated();
        }
    }
}

}  // namespace
