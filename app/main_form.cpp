// The ledger's main window (see main_form.h).
#include "app/main_form.h"

#include <shellapi.h>

#include <algorithm>

#include "app/access_import.h"
#include "app/backup.h"
#include "app/delete_confirm.h"
#include "app/entry_editor.h"
#include "app/form_building.h"
#include "app/ledger_files.h"
#include "app/leftovers.h"
#include "app/list_filling.h"
#include "app/skin_messages_zh.h"
#include "app/unit_mokuai.h"
#include "framework/display_scale.h"
#include "skin/data/stored_skin.h"

TForm1* Form1 = nullptr;

const char* const MAKER_WEBSITE = "http://www.example.com/ravelbook";
const char* const EMPTY_LIST_COUNT = "共 0 个记录";
const char* const SEARCH_PROMPT = "请输入搜索关键字";

using forms::Make;
using forms::MakeButton;

namespace {

// The window's outer size, held by equal minimum and maximum constraints.
constexpr int FORM_WIDTH = 774;
constexpr int FORM_HEIGHT = 558;
constexpr int CLIENT_WIDTH = 766;
constexpr int CLIENT_HEIGHT = 531;

const int STATUS_PANEL_WIDTHS[] = {200, 150, 150, 150, 200};

// The row under the tabs: the link and the two buttons (96-DPI places).
constexpr int LINK_TOP = 488;
constexpr int BUTTON_ROW_TOP = 481;
constexpr int BUTTON_HEIGHT = 25;

const char* const SEARCH_COLUMNS[] = {"项目名称", "金额", "项目类别", "编辑时间", "项目备注"};

}  // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner)
{
    SetName("Form1");
    SetCaption("Ravelbook V1.0");
    SetBorderStyle(bsSingle);
    SetPosition(poDesktopCenter);
    forms::UseLedgerFont(this);
    SetBounds(0, 0, FORM_WIDTH, FORM_HEIGHT);
    SetClientSize(CLIENT_WIDTH, CLIENT_HEIGHT);
    Constraints()->SetMinWidth(FORM_WIDTH);
    Constraints()->SetMaxWidth(FORM_WIDTH);
    Constraints()->SetMinHeight(FORM_HEIGHT);
    Constraints()->SetMaxHeight(FORM_HEIGHT);

    // The skin component comes first, as it does in the window's stored
    // data: it reads the stored skin now and starts skinning at Loaded.
    SkinData1 = new TSkinData(this);
    SkinData1->SetName("SkinData1");
    ConfigureStoredSkin(*SkinData1);
    UseLedgerSkinMessages(*SkinData1);

    CreateDataAccess();
    CreateControls();
    FButtonRowMade = true;

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

TForm1::~TForm1()
{
    if (FWheelHooked && Application) Application->OnMessage = nullptr;
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::WndProc(TMessage& message)
{
    TForm::WndProc(message);
    // The status bar has been aligned to the new client area by now.
    if (message.Msg == WM_SIZE && FButtonRowMade) PlaceButtonRow();
}

void TForm1::PlaceButtonRow()
{
    const UINT dpi = static_cast<UINT>(CurrentPixelsPerInch());
    // Edges scaled as the framework scales them, so that with room to
    // spare the row is exactly where the scaled design puts it.
    const int top = ScaleToDpi(BUTTON_ROW_TOP, dpi);
    const int bottom = ScaleToDpi(BUTTON_ROW_TOP + BUTTON_HEIGHT, dpi);
    const int lift = StatusBar1->Visible() ? std::max(0, bottom - StatusBar1->Top()) : 0;
    for (TControl* button : {static_cast<TControl*>(Button1), static_cast<TControl*>(Button_close)})
        if (button->Top() != top - lift) button->SetTop(top - lift);
    const int linkTop = ScaleToDpi(LINK_TOP, dpi) - lift;
    if (Label1->Top() != linkTop) Label1->SetTop(linkTop);
}

void TForm1::CreateDataAccess()
{
    ADOConnection1 = Make<TADOConnection>(this, "ADOConnection1");
    ADOConnection1->SetLoginPrompt(false);
    ADOQuery1 = Make<TADOQuery>(this, "ADOQuery1");
    ADOQuery1->SetConnection(ADOConnection1);
    ADOQuery2 = Make<TADOQuery>(this, "ADOQuery2");
    ADOQuery2->SetConnection(ADOConnection1);
    DataSource1 = Make<TDataSource>(this, "DataSource1");
    DataSource1->SetDataSet(ADOQuery1);

    Timer = Make<TTimer>(this, "Timer");
    Timer->SetInterval(1000);
    Timer->OnTimer = [this](TObject* sender) { TimerTimer(sender); };
}

void TForm1::CreateControls()
{
    // ---- banner, tabs, link, buttons, status bar ----
    Image1 = Make<TImage>(this, this, "Image1");
    Image1->SetAlign(alTop);
    Image1->SetHeight(105);
    // The banner is a resource of the program's executable (other executables
    // that make this window show none, unless they carry the program's
    // resources, as the tests that take its pictures do).
    HINSTANCE module = GetModuleHandleA(nullptr);
    if (FindResourceA(module, "BANNER", RT_RCDATA))
        Image1->LoadFromResourceName(module, "BANNER");
    Image1->SetCursor(crHandPoint);
    Image1->OnClick = [this](TObject* sender) { Image1Click(sender); };

    PageControl1 = Make<TPageControl>(this, this, "PageControl1");
    PageControl1->SetAlign(alTop);  // under the banner, full width
    PageControl1->SetHeight(372);
    PageControl1->SetStyle(tsFlatButtons);
    TabSheet1 = Make<TTabSheet>(this, "TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("收支管理");
    TabSheet3 = Make<TTabSheet>(this, "TabSheet3");
    TabSheet3->SetPageControl(PageControl1);
    TabSheet3->SetCaption("辅助工具");
    TabSheet2 = Make<TTabSheet>(this, "TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption("关于");
    PageControl1->SetActivePage(TabSheet1);

    Label1 = Make<TLabel>(this, this, "Label1");
    Label1->SetBounds(384, LINK_TOP, Label1->Width(), Label1->Height());
    Label1->SetParentFont(false);
    Label1->Font()->Assign(*Font());
    Label1->Font()->SetStyle(1u << fsBold);
    Label1->Font()->SetColor(clRed);
    Label1->SetCursor(crHandPoint);
    Label1->SetCaption("Velmont 我为人人,人人为我");
    Label1->OnClick = [this](TObject* sender) { Label1Click(sender); };

    Button1 = MakeButton(this, this, "Button1", "软件更新", 600, BUTTON_ROW_TOP, 75, BUTTON_HEIGHT,
                         &TForm1::Button1Click);
    Button_close = MakeButton(this, this, "Button_close", "退出", 688, BUTTON_ROW_TOP, 75, BUTTON_HEIGHT,
                              &TForm1::Button_closeClick);

    StatusBar1 = Make<TStatusBar>(this, this, "StatusBar1");
    StatusBar1->SetAlign(alBottom);
    StatusBar1->SetHeight(19);
    StatusBar1->SetSizeGrip(false);
    for (int width : STATUS_PANEL_WIDTHS) StatusBar1->Panels()->Add()->SetWidth(width);

    // ---- 收支管理: the search strip and the grid ----
    GroupBox1 = Make<TGroupBox>(this, TabSheet1, "GroupBox1");
    GroupBox1->SetAlign(alTop);
    GroupBox1->SetHeight(41);
    GroupBox1->SetCaption("");

    ComboBoxsearch = Make<TComboBox>(this, GroupBox1, "ComboBoxsearch");
    ComboBoxsearch->SetBounds(8, 14, 185, ComboBoxsearch->Height());
    ComboBoxsearch->OnChange = [this](TObject* sender) { ComboBoxsearchChange(sender); };

    ComboBoxsearchclass = Make<TComboBox>(this, GroupBox1, "ComboBoxsearchclass");
    ComboBoxsearchclass->SetBounds(192, 14, 105, ComboBoxsearchclass->Height());
    for (const char* column : SEARCH_COLUMNS) ComboBoxsearchclass->Items()->Add(column);
    ComboBoxsearchclass->SetText("项目名称");

    Buttonsearch = MakeButton(this, GroupBox1, "Buttonsearch", "搜索", 304, 11, 40, 25, &TForm1::ButtonsearchClick);
    Buttonaddnewinfo =
        MakeButton(this, GroupBox1, "Buttonaddnewinfo", "添加", 349, 11, 40, 25, &TForm1::ButtonaddnewinfoClick);
    Buttonaddnewinfo->SetHint("添加记录");
    Buttonaddnewinfo->SetShowHint(true);
    Buttonre = MakeButton(this, GroupBox1, "Buttonre", "刷新", 394, 11, 40, 25, &TForm1::ButtonreClick);
    Buttondel = MakeButton(this, GroupBox1, "Buttondel", "删除", 439, 11, 40, 25, &TForm1::ButtondelClick);

    DBNavigator1 = Make<TDBNavigator>(this, GroupBox1, "DBNavigator1");
    DBNavigator1->SetBounds(488, 11, 220, 25);
    DBNavigator1->SetVisibleButtons(NavButton(nbFirst) | NavButton(nbPrior) | NavButton(nbNext) | NavButton(nbLast) |
                                    NavButton(nbRefresh));
    DBNavigator1->SetDataSource(DataSource1);

    DBGrid1 = Make<TDBGrid>(this, TabSheet1, "DBGrid1");
    DBGrid1->SetAlign(alClient);
    DBGrid1->SetReadOnly(true);
    DBGrid1->SetDataSource(DataSource1);
    DBGrid1->OnCellClick = [this](TColumn* column) { DBGrid1CellClick(column); };
    DBGrid1->OnDblClick = [this](TObject* sender) { DBGrid1DblClick(sender); };

    // ---- 辅助工具: backup, and the totals' working storage ----
    GroupBox4 = Make<TGroupBox>(this, TabSheet3, "GroupBox4");
    GroupBox4->SetBounds(8, 8, 305, 84);
    GroupBox4->SetCaption("备份数据库");
    EditDATABAKNAME = Make<TEdit>(this, GroupBox4, "EditDATABAKNAME");
    EditDATABAKNAME->SetBounds(8, 16, 121, EditDATABAKNAME->Height());
    EditDATABAKNAME->OnChange = [this](TObject* sender) { EditDATABAKNAMEChange(sender); };
    Buttonbakdatabasa =
        MakeButton(this, GroupBox4, "Buttonbakdatabasa", "备份", 28, 40, 75, 25, &TForm1::ButtonbakdatabasaClick);
    Label3 = Make<TLabel>(this, GroupBox4, "Label3");
    Label3->SetAutoSize(false);
    Label3->SetWordWrap(true);
    Label3->SetBounds(140, 16, 157, 60);
    Label3->SetCaption("同一天多次进行数据库备份,程序自动删除同一天的旧备份数据,自动建立新备份数据库!");
    CreateToolsTab();

    // The totals' working storage is never shown, so it is kept off the tab:
    // without a window its lists hold their texts in memory, where a full
    // refresh of a large ledger fills and reads them thousands of times faster
    // than through list box windows.
    GroupBox3 = Make<TGroupBox>(this, "GroupBox3");
    GroupBox3->SetBounds(328, 8, 305, 150);
    GroupBox3->SetCaption("统计支出 收入");
    GroupBox3->SetVisible(false);
    ListBoxtjzhichu = Make<TListBox>(this, GroupBox3, "ListBoxtjzhichu");
    ListBoxtjzhichu->SetBounds(8, 16, 140, 100);
    Edittjzhichu = Make<TEdit>(this, GroupBox3, "Edittjzhichu");
    Edittjzhichu->SetBounds(8, 120, 140, Edittjzhichu->Height());
    Edittjzhichu->SetText("0");
    ListBoxtjshouru = Make<TListBox>(this, GroupBox3, "ListBoxtjshouru");
    ListBoxtjshouru->SetBounds(156, 16, 140, 100);
    Edittjshouru = Make<TEdit>(this, GroupBox3, "Edittjshouru");
    Edittjshouru->SetBounds(156, 120, 140, Edittjshouru->Height());
    Edittjshouru->SetText("0");

    // ---- 关于 ----
    Memo1 = Make<TMemo>(this, TabSheet2, "Memo1");
    Memo1->SetAlign(alClient);
    Memo1->Lines()->Add("本程序完全免费,希望大家多多支持我的个人网站,谢谢.");
    Memo1->Lines()->Add(MAKER_WEBSITE);
    Memo1->Lines()->Add("联系电话: 010-0000-0000");
}

std::string TForm1::PanelText(int index) const { return StatusBar1->Panels()->Items(index)->Text(); }

void TForm1::FormCreate(TObject*)
{
    // An Access-format data.mdb from before is offered for conversion first;
    // left as it is, it cannot be opened, and the one message about it is
    // enough: the list then stays empty.
    // Temporaries of a backup or conversion that an earlier run was cut
    // short in go first.
    ledger::RemoveLeftovers();
    const ledger::TAccessOffer access = ledger::OfferAccessConversion();
    ADOConnection1->SetConnectionStringW(ledger::LedgerConnectionString());
    if (access == ledger::TAccessOffer::NotAccess || access == ledger::TAccessOffer::Converted) FullRefresh();
    ComboBoxsearch->Clear();
    try {
        ledger::OfferChoices(ComboBoxsearch, std::make_shared<const std::vector<std::string>>(
                                                 ledger::ReadLines(ledger::CategoryFilePath())));
    } catch (...) {
        // Suggestions are a convenience: without the file the box simply has none.
    }
    Application->OnMessage = [this](MSG& msg, bool& handled) { WheelScroll(msg, handled); };
    FWheelHooked = true;
}

void TForm1::FormCloseQuery(TObject*, bool& canClose)
{
    canClose = MessageDlg("您真的要退出吗", mtConfirmation, MsgDlgButton(mbYes) | MsgDlgButton(mbNo)) == mrYes;
}

void TForm1::TimerTimer(TObject*)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string time = TimeToStr(now);
    const std::string date = DateToStr(now);
    StatusBar1->Panels()->Items(0)->SetText("今天是" + date + " " + time);
    ShowDefaultBackupName();
}

void TForm1::ShowDefaultBackupName()
{
    // A name the user typed stays until a backup has been made with it.
    if (FBackupNameTyped) return;
    SYSTEMTIME now;
    GetLocalTime(&now);
    FSettingBackupName = true;
    EditDATABAKNAME->SetText(DateToStr(now) + "_BAK_");
    FSettingBackupName = false;
}

void TForm1::EditDATABAKNAMEChange(TObject*)
{
    if (!FSettingBackupName) FBackupNameTyped = true;
}

void TForm1::WheelScroll(MSG& msg, bool& handled)
{
    if (msg.message != WM_MOUSEWHEEL) return;
    if (DBGrid1->Focused()) {
        WPARAM code = static_cast<LONG>(msg.wParam) > 0 ? SB_PAGEUP : SB_PAGEDOWN;
        DBGrid1->Perform(WM_VSCROLL, code, 0);
    }
    handled = true;
}

void TForm1::ButtonsearchClick(TObject*)
{
    const std::string keyword = ComboBoxsearch->Text();
    if (keyword.empty() || keyword == SEARCH_PROMPT) {
        ShowMessage(SEARCH_PROMPT);
        return;
    }
    std::string sql;
    try {
        sql = ledger::SearchSql(ComboBoxsearchclass->Text(), keyword);
    } catch (const ledger::ESearchColumnError& error) {
        // Only the listed columns can be searched; the list stays as it is.
        ShowMessage(error.Message());
        return;
    }
    ADOQuery1->Close();
    ADOQuery1->SQL().Clear();
    ADOQuery1->SQL().Add(sql);
    ADOQuery1->Open();
    CheckListColumns();
    StatusBar1->Panels()->Items(1)->SetText("共找到" + IntToStr(ADOQuery1->RecordCount()) + " 个记录");
    SizeListColumns();
}

void TForm1::ComboBoxsearchChange(TObject*) { Buttonsearch->SetDefault(true); }

void TForm1::ButtonreClick(TObject*) { FullRefresh(); }

void TForm1::ButtonaddnewinfoClick(TObject*) { Form2->ShowAddTab(); }

void TForm1::ButtondelClick(TObject*) { Form3->Show(); }

void TForm1::DBGrid1DblClick(TObject*)
{
    if (PanelText(1) == EMPTY_LIST_COUNT) return;
    Form2->ShowEditTab();
    // Showing the row raised the change flag; nothing is changed yet.
    Form2->Edit_falseortrue->SetText(CHANGE_FLAG_FALSE);
}

void TForm1::ButtonbakdatabasaClick(TObject*)
{
    // The name box holds the date as the user's short date format writes it,
    // or a name the user typed; the file name takes it with every character
    // a file name cannot hold made "-", so the backup lands in the program
    // folder whatever the box holds.
    const std::string name = EditDATABAKNAME->Text();
    if (Trim(name).empty()) {
        ShowMessage(ledger::BACKUP_NAME_MISSING);
        return;
    }
    bool earlierKept = false;
    std::string reason;
    if (ledger::BackupDatabase(name, &earlierKept, &reason)) {
        // The typed name has served: the box goes back to the day's default.
        FBackupNameTyped = false;
        ShowDefaultBackupName();
        FillBackupList();
        // The name the copy really has, should the file system have
        // changed the one it was given.
        const std::wstring wanted = ledger::BackupFileName(name);
        const std::wstring stored = ledger::StoredFileName(ledger::ProgramFilePath(wanted));
        if (stored == wanted)
            ShowMessage(ledger::BACKUP_MADE);
        else
            ShowMessage(std::string(ledger::BACKUP_MADE) + "但文件系统把备份文件命名为 \"" + WideToAnsi(stored) +
                        "\",而不是 \"" + WideToAnsi(wanted) + "\"。");
    } else {
        ShowMessage((earlierKept ? ledger::BACKUP_FAILED_KEPT : ledger::BACKUP_FAILED) + std::string("原因:") + reason);
    }
}

void TForm1::DBGrid1CellClick(TColumn* column)
{
    TField* field = column ? column->Field() : nullptr;
    if (!field) return;
    StatusBar1->Panels()->Items(4)->SetText(field->AsString());
}

void TForm1::OpenWebsite()
{
    ShellExecuteA(Handle(), "open", MAKER_WEBSITE, nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::Image1Click(TObject*) { OpenWebsite(); }

void TForm1::Label1Click(TObject*) { OpenWebsite(); }

void TForm1::Button1Click(TObject*) { OpenWebsite(); }

void TForm1::Button_closeClick(TObject*) { Close(); }
