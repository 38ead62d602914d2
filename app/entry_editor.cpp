// The entry editor (see entry_editor.h).
#include "app/entry_editor.h"

#include "app/category_editor.h"
#include "app/delete_confirm.h"
#include "app/entry_checks.h"
#include "app/form_building.h"
#include "app/ledger_files.h"
#include "app/main_form.h"
#include "app/unit_mokuai.h"
#include "framework/application.h"

TForm2* Form2 = nullptr;

const char* const CHANGE_FLAG_TRUE = "true";
const char* const CHANGE_FLAG_FALSE = "false";
const char* const DIRECTION_PROMPT = "请选择该选项";
const char* const REMARK_NOT_GIVEN = "未填写备注";

using forms::Make;
using forms::MakeButton;

namespace {

constexpr int CLIENT_WIDTH = 446;
constexpr int CLIENT_HEIGHT = 266;
constexpr int GROUP_WIDTH = 438;
constexpr int GROUP_HEIGHT = 237;
// Bytes of 8-bit text the remark boxes take.
constexpr int ADD_REMARK_LIMIT = 500;
constexpr int EDIT_REMARK_LIMIT = 225;
// The deferred save runs this long after "修改".
constexpr unsigned DEFERRED_SAVE_MS = 10;

const char* const DIRECTIONS[] = {"支出", "收入"};
const char* const AMOUNTS[] = {"50", "100", "200", "300", "400", "500", "600", "700", "800", "900", "1000"};

// The first remark of a run; later adds leave REMARK_NOT_GIVEN behind.
const char* const FIRST_REMARK = "备注:";
const char* const REFUSED_INPUT = "操作错误!";
const char* const ADDED = "添加成功!";
const char* const NAME_TAKEN = "添加失败,存在相同的项目名称!";
const char* const EDITED = "修改成功!";
const char* const NOT_EDITED = "未进行修改!";
// The edit tab has no entry to save (the list is empty, e.g. after a search
// that found nothing).
const char* const NOTHING_TO_EDIT = "没有可修改的记录!";

TLabel* MakeLabel(TComponent* owner, TWinControl* parent, const char* name, const char* caption, int left, int top)
{
    TLabel* label = Make<TLabel>(owner, parent, name);
    label->SetCaption(caption);
    label->SetBounds(left, top, label->Width(), label->Height());
    return label;
}

template <class T>
T* MakeCombo(TComponent* owner, TWinControl* parent, const char* name, int left, int top, int width)
{
    T* combo = Make<T>(owner, parent, name);
    combo->SetBounds(left, top, width, combo->Height());
    return combo;
}

template <size_t N>
void AddChoices(TCustomComboBox* combo, const char* const (&choices)[N])
{
    for (const char* choice : choices) combo->Items()->Add(choice);
}

template <class T>
void Bind(T* control, const char* field)
{
    control->SetDataSource(Form1->DataSource1);
    control->SetDataField(field);
}

void SetMessage(const std::string& text) { Form1->StatusBar1->Panels()->Items(4)->SetText(text); }

// True when `amount` is a whole number the totals can add up; otherwise says
// so, naming the field and the value.
bool AmountAccepted(const std::string& amount)
{
    int value = 0;
    if (ledger::TryParseAmount(amount, value)) return true;
    ShowMessage(ledger::AmountRefusedText(amount));
    return false;
}

// Runs the name lookup on the check query; true when an entry has `name`.
bool NameExists(const std::string& name)
{
    TADOQuery* check = Form1->ADOQuery2;
    check->Close();
    check->SQL().Clear();
    check->SQL().Add(ledger::NameLookupSql(name));
    check->Open();
    return !check->Eof();
}

}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner)
{
    SetName("Form2");
    SetCaption("项目添加/编辑");
    SetBorderStyle(bsSingle);
    SetBorderIcons(BorderIcon(biSystemMenu) | BorderIcon(biMinimize));
    SetFormStyle(fsStayOnTop);
    SetPosition(poDesktopCenter);
    Font()->SetName("宋体");
    Font()->SetHeight(-12);
    Font()->SetCharset(GB2312_CHARSET);
    SetClientSize(CLIENT_WIDTH, CLIENT_HEIGHT);

    PageControl1 = Make<TPageControl>(this, this, "PageControl1");
    PageControl1->SetAlign(alClient);
    CreateAddTab();
    CreateEditTab();
    PageControl1->SetActivePage(TabSheet1);

    Timershuaxinliebiao = Make<TTimer>(this, "Timershuaxinliebiao");
    Timershuaxinliebiao->SetEnabled(false);
    Timershuaxinliebiao->SetInterval(0);
    Timershuaxinliebiao->OnTimer = [this](TObject* sender) { TimershuaxinliebiaoTimer(sender); };

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
}

TForm2::~TForm2()
{
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::CreateAddTab()
{
    TabSheet1 = Make<TTabSheet>(this, "TabSheet1");
    TabSheet1->SetPageControl(PageControl1);
    TabSheet1->SetCaption("添加");
    GroupBox1 = Make<TGroupBox>(this, TabSheet1, "GroupBox1");
    GroupBox1->SetBounds(0, 0, GROUP_WIDTH, GROUP_HEIGHT);
    GroupBox1->SetCaption("");

    MakeLabel(this, GroupBox1, "Label1", "项目名称", 11, 16);
    ComboBoxxiangmu = MakeCombo<TComboBox>(this, GroupBox1, "ComboBoxxiangmu", 64, 12, 122);

    MakeLabel(this, GroupBox1, "Label2", "项目类别", 192, 16);
    ComboBoxxiangmuleibie = MakeCombo<TComboBox>(this, GroupBox1, "ComboBoxxiangmuleibie", 243, 12, 122);
    Buttoneditxmlb = MakeButton(this, GroupBox1, "Buttoneditxmlb", "修改", 368, 12, 49, 19, &TForm2::ButtoneditxmlbClick);

    MakeLabel(this, GroupBox1, "Label3", "支出/收入", 7, 40);
    ComboBoxzhichushouru = MakeCombo<TComboBox>(this, GroupBox1, "ComboBoxzhichushouru", 64, 35, 122);
    AddChoices(ComboBoxzhichushouru, DIRECTIONS);
    ComboBoxzhichushouru->SetText(DIRECTION_PROMPT);

    MakeLabel(this, GroupBox1, "Label4", "金额", 214, 40);
    ComboBoxjine = MakeCombo<TComboBox>(this, GroupBox1, "ComboBoxjine", 243, 35, 122);
    AddChoices(ComboBoxjine, AMOUNTS);
    ComboBoxjine->SetText("0");
    MakeLabel(this, GroupBox1, "Label5", "元", 370, 39);

    MakeLabel(this, GroupBox1, "Label6", "编辑时间", 12, 64);
    DateTimePickeredit = Make<TDateTimePicker>(this, GroupBox1, "DateTimePickeredit");
    DateTimePickeredit->SetBounds(64, 59, 122, DateTimePickeredit->Height());
    DateTimePickeredit->SetReadOnly(true);

    MakeLabel(this, GroupBox1, "Label7", "项目备注", 11, 85);
    Memobeizhu = Make<TMemo>(this, GroupBox1, "Memobeizhu");
    Memobeizhu->SetBounds(64, 86, 369, 113);
    Memobeizhu->SetScrollBars(ssVertical);
    Memobeizhu->SetMaxLength(ADD_REMARK_LIMIT);
    Memobeizhu->SetText(FIRST_REMARK);

    Buttonaddinfo = MakeButton(this, GroupBox1, "Buttonaddinfo", "添加", 64, 205, 75, 25, &TForm2::ButtonaddinfoClick);
    Button2 = MakeButton(this, GroupBox1, "Button2", "取消", 144, 205, 75, 25, &TForm2::Button2Click);
}

void TForm2::CreateEditTab()
{
    TabSheet2 = Make<TTabSheet>(this, "TabSheet2");
    TabSheet2->SetPageControl(PageControl1);
    TabSheet2->SetCaption("编辑");
    GroupBox2 = Make<TGroupBox>(this, TabSheet2, "GroupBox2");
    GroupBox2->SetBounds(0, 0, GROUP_WIDTH, GROUP_HEIGHT);
    GroupBox2->SetCaption("");

    MakeLabel(this, GroupBox2, "Label8", "项目名称", 11, 16);
    DBEdit_xiangmuedit = Make<TDBEdit>(this, GroupBox2, "DBEdit_xiangmuedit");
    DBEdit_xiangmuedit->SetBounds(64, 11, 121, DBEdit_xiangmuedit->Height());

    MakeLabel(this, GroupBox2, "Label9", "项目类别", 192, 16);
    DBComboBoxclass = MakeCombo<TDBComboBox>(this, GroupBox2, "DBComboBoxclass", 242, 12, 122);
    Buttonxiugaileibie =
        MakeButton(this, GroupBox2, "Buttonxiugaileibie", "编辑", 368, 12, 49, 19, &TForm2::ButtoneditxmlbClick);

    MakeLabel(this, GroupBox2, "Label10", "支出/收入", 7, 40);
    DBComboBoxshouruzhichu = MakeCombo<TDBComboBox>(this, GroupBox2, "DBComboBoxshouruzhichu", 64, 35, 122);
    AddChoices(DBComboBoxshouruzhichu, DIRECTIONS);

    MakeLabel(this, GroupBox2, "Label11", "金额", 214, 40);
    DBComboBoxjine = MakeCombo<TDBComboBox>(this, GroupBox2, "DBComboBoxjine", 242, 35, 122);
    AddChoices(DBComboBoxjine, AMOUNTS);
    MakeLabel(this, GroupBox2, "Label12", "元", 370, 39);

    MakeLabel(this, GroupBox2, "Label13", "编辑时间", 12, 64);
    DBComboBoxeditdate = MakeCombo<TDBComboBox>(this, GroupBox2, "DBComboBoxeditdate", 64, 59, 122);
    DBComboBoxeditdate->SetReadOnly(true);

    MakeLabel(this, GroupBox2, "Label14", "项目备注", 11, 93);
    DBMemoxiangmubeizhuedit = Make<TDBMemo>(this, GroupBox2, "DBMemoxiangmubeizhuedit");
    DBMemoxiangmubeizhuedit->SetBounds(64, 88, 369, 112);
    DBMemoxiangmubeizhuedit->SetScrollBars(ssVertical);
    DBMemoxiangmubeizhuedit->SetMaxLength(EDIT_REMARK_LIMIT);

    Buttonedit = MakeButton(this, GroupBox2, "Buttonedit", "修改", 64, 205, 75, 25, &TForm2::ButtoneditClick);
    Buttondel = MakeButton(this, GroupBox2, "Buttondel", "删除", 152, 205, 75, 25, &TForm2::ButtondelClick);
    Button1 = MakeButton(this, GroupBox2, "Button1", "取消", 240, 205, 75, 25, &TForm2::Button1Click);

    Edit_falseortrue = Make<TEdit>(this, GroupBox2, "Edit_falseortrue");
    Edit_falseortrue->SetBounds(330, 205, 60, Edit_falseortrue->Height());
    Edit_falseortrue->SetVisible(false);
    Edit_falseortrue->SetText(CHANGE_FLAG_FALSE);

    // The flag handlers are in place before the controls are bound, so that
    // the first row shown already counts as a change, as any later one does.
    DBEdit_xiangmuedit->OnChange = [this](TObject* sender) { DBEdit_xiangmueditChange(sender); };
    DBComboBoxclass->OnChange = [this](TObject* sender) { DBComboBoxclassChange(sender); };
    DBComboBoxshouruzhichu->OnChange = [this](TObject* sender) { DBComboBoxshouruzhichuChange(sender); };
    DBComboBoxjine->OnChange = [this](TObject* sender) { DBComboBoxjineChange(sender); };
    DBComboBoxeditdate->OnChange = [this](TObject* sender) { DBComboBoxeditdateChange(sender); };
    DBMemoxiangmubeizhuedit->OnChange = [this](TObject* sender) { DBMemoxiangmubeizhueditChange(sender); };

    Bind(DBEdit_xiangmuedit, "项目名称");
    Bind(DBComboBoxclass, "项目类别");
    Bind(DBComboBoxshouruzhichu, "支出或收入");
    Bind(DBComboBoxjine, "金额");
    Bind(DBComboBoxeditdate, "编辑时间");
    Bind(DBMemoxiangmubeizhuedit, "项目备注");
}

void TForm2::FormCreate(TObject*)
{
    // Set once: every entry added in this run carries the day the program
    // started.
    SYSTEMTIME today;
    GetLocalTime(&today);
    DateTimePickeredit->SetDateTime(today);
}

void TForm2::ShowAddTab()
{
    TabSheet1->SetTabVisible(true);
    TabSheet2->SetTabVisible(false);
    PageControl1->SetActivePage(TabSheet1);
    Show();
}

void TForm2::ShowEditTab()
{
    TabSheet2->SetTabVisible(true);
    TabSheet1->SetTabVisible(false);
    PageControl1->SetActivePage(TabSheet2);
    Show();
}

// ---- 添加 ----

void TForm2::ButtonaddinfoClick(TObject*)
{
    const std::string name = ComboBoxxiangmu->Text();
    // The totals add amounts up as whole numbers: anything else is refused
    // here, before anything is written, rather than stored.
    switch (ledger::CheckNewEntry(name, ComboBoxxiangmuleibie->Text(), ComboBoxzhichushouru->Text(),
                                  ComboBoxjine->Text())) {
    case ledger::TEntryFault::None:
        break;
    case ledger::TEntryFault::AmountNotWhole:
        ShowMessage(ledger::AmountRefusedText(ComboBoxjine->Text()));
        return;
    default:
        ShowMessage(REFUSED_INPUT);
        return;
    }
    if (!NameExists(name)) {
        TADOQuery* list = Form1->ADOQuery1;
        list->Close();
        list->SQL().Clear();
        list->SQL().Add(ledger::InsertSql(name, ComboBoxxiangmuleibie->Text(), DateTimePickeredit->Text(),
                                          ComboBoxzhichushouru->Text(), ComboBoxjine->Text(), Memobeizhu->Text()));
        list->ExecSQL();
        SetMessage(name + ADDED);
        FullRefresh();
    } else {
        SetMessage(name + NAME_TAKEN);
    }
    ResetAddTab();
    Hide();
}

void TForm2::ResetAddTab()
{
    ComboBoxxiangmu->SetText("");
    ComboBoxjine->SetText("0");
    ComboBoxzhichushouru->SetText(DIRECTION_PROMPT);
    Memobeizhu->Clear();
    Memobeizhu->SetText(REMARK_NOT_GIVEN);
}

void TForm2::Button2Click(TObject*) { Hide(); }

// ---- 编辑 ----

void TForm2::ButtoneditClick(TObject*)
{
    TADOQuery* list = Form1->ADOQuery1;
    // Nothing is shown to save (an empty list, e.g. a search that found
    // nothing): say so and leave everything as it is.
    if (!list->Active() || list->IsEmpty()) {
        ShowMessage(NOTHING_TO_EDIT);
        return;
    }
    if (!AmountAccepted(DBComboBoxjine->Text())) return;
    const std::string name = DBEdit_xiangmuedit->Text();
    if (!NameExists(name)) {
        // A name no entry has: the entry was renamed; save it at once.
        list->Edit();
        list->FieldByName("项目名称").SetAsString(name);
        list->FieldByName("项目类别").SetAsString(DBComboBoxclass->Text());
        list->FieldByName("编辑时间").SetAsString(DBComboBoxeditdate->Text());
        list->FieldByName("支出或收入").SetAsString(DBComboBoxshouruzhichu->Text());
        list->FieldByName("金额").SetAsString(DBComboBoxjine->Text());
        list->FieldByName("项目备注").SetAsString(DBMemoxiangmubeizhuedit->Text());
        list->Post();
        return;
    }
    if (Edit_falseortrue->Text() == CHANGE_FLAG_TRUE) {
        Timershuaxinliebiao->SetEnabled(true);
        Timershuaxinliebiao->SetInterval(DEFERRED_SAVE_MS);
        Edit_falseortrue->SetText(CHANGE_FLAG_FALSE);
        SetMessage(name + EDITED);
    } else {
        Edit_falseortrue->SetText(CHANGE_FLAG_FALSE);
        SetMessage(name + NOT_EDITED);
    }
    Hide();
}

void TForm2::TimershuaxinliebiaoTimer(TObject*)
{
    // One shot, stopped first: whatever follows, the save never runs twice.
    Timershuaxinliebiao->SetInterval(0);
    Timershuaxinliebiao->SetEnabled(false);
    TADOQuery* list = Form1->ADOQuery1;
    // The flag may have been raised only by showing another row, or the
    // rename may have been saved already: then there is nothing to post.
    // An amount changed since "修改" checked it is not saved either.
    if (list->State() == dsEdit) {
        int amount = 0;
        if (ledger::TryParseAmount(list->FieldByName("金额").AsString(), amount))
            list->Post();
        else
            list->Cancel();
    }
    ReloadList();
}

void TForm2::Button1Click(TObject*)
{
    // Closing and reopening the list drops the row's pending values.
    FullRefresh();
    Hide();
}

void TForm2::ButtondelClick(TObject*) { Form3->Show(); }

void TForm2::ButtoneditxmlbClick(TObject*) { Form4->Show(); }

// ---- the change flag ----

void TForm2::RaiseChangeFlag() { Edit_falseortrue->SetText(CHANGE_FLAG_TRUE); }

void TForm2::DBEdit_xiangmueditChange(TObject*) { RaiseChangeFlag(); }

void TForm2::DBComboBoxclassChange(TObject*) { RaiseChangeFlag(); }

void TForm2::DBComboBoxshouruzhichuChange(TObject*) { RaiseChangeFlag(); }

void TForm2::DBComboBoxjineChange(TObject*) { RaiseChangeFlag(); }

void TForm2::DBComboBoxeditdateChange(TObject*) { RaiseChangeFlag(); }

void TForm2::DBMemoxiangmubeizhueditChange(TObject*) { RaiseChangeFlag(); }
