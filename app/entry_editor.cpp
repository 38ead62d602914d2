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

#include <algorithm>
#include <vector>

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

// What the user typed into either tab, blanks around the texts trimmed: both
// tabs check and store it by the same rules.
struct TEntryInput {
    std::string Name, Category, Direction, Amount;
    TEntryInput(const std::string& name, const std::string& category, const std::string& direction,
                const std::string& amount)
        : Name(Trim(name)), Category(Trim(category)), Direction(Trim(direction)), Amount(Trim(amount))
    {
    }
};

// True when the input can be stored; otherwise a box names what is wrong
// and the window stays as it is.
bool InputAccepted(const TEntryInput& input)
{
    std::string problem;
    if (input.Name.empty())
        problem = "请填写项目名称。";
    else if (input.Category.empty())
        problem = "请填写项目类别。";
    else if (input.Direction.empty() || input.Direction == DIRECTION_PROMPT)
        problem = "请选择支出或收入。";
    else if (input.Direction != DIRECTIONS[0] && input.Direction != DIRECTIONS[1])
        problem = "支出/收入只能是 \"支出\" 或 \"收入\",不能是 \"" + input.Direction + "\"。";
    if (!problem.empty()) {
        ShowMessage(std::string(REFUSED_INPUT) + problem);
        return false;
    }
    return AmountAccepted(input.Amount);
}

// True when an entry other than `exceptId` (编号; -1: none) has `name`, as the
// ledger compares names (trimmed, ignoring the case of Latin letters).
bool NameInUse(const std::string& name, long long exceptId)
{
    TADOQuery* check = Form1->ADOQuery2;
    check->Close();
    check->SQL().Clear();
    check->SQL().Add(ledger::NameInUseSql(name, exceptId));
    check->Open();
    return !check->Eof();
}

bool SameName(const std::string& a, const std::string& b) { return UpperCase(Trim(a)) == UpperCase(Trim(b)); }

// Puts the full list back with the totals worked out again and makes the
// entry `id` current again (the first one when it is gone).
void RefreshShowing(long long id)
{
    FullRefresh();
    TADOQuery* list = Form1->ADOQuery1;
    if (!list->Locate("编号", std::to_string(id))) list->First();
}

}  // namespace

TForm2::TForm2(TComponent* owner) : TForm(owner)
{
    forms::SetUpDialog(this, "Form2", "项目添加/编辑", BorderIcon(biSystemMenu) | BorderIcon(biMinimize));
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
    const TEntryInput input(ComboBoxxiangmu->Text(), ComboBoxxiangmuleibie->Text(), ComboBoxzhichushouru->Text(),
                            ComboBoxjine->Text());
    // Refused input leaves the window open with everything as typed.
    if (!InputAccepted(input)) return;
    if (NameInUse(input.Name, -1)) {
        SetMessage(input.Name + NAME_TAKEN);
        ShowMessage(input.Name + NAME_TAKEN + "请换一个项目名称。");
        return;
    }
    TADOQuery* list = Form1->ADOQuery1;
    list->Close();
    list->SQL().Clear();
    list->SQL().Add(ledger::InsertSql(input.Name, input.Category, DateTimePickeredit->Text(), input.Direction,
                                      input.Amount, Memobeizhu->Text()));
    try {
        list->ExecSQL();
    } catch (...) {
        // The entry was not stored: the list comes back if it can, and the
        // error goes on to the error box with the add tab as typed.
        try {
            ReloadList();
        } catch (...) {
        }
        throw;
    }
    SetMessage(input.Name + ADDED);
    FullRefresh();
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
    const TEntryInput input(DBEdit_xiangmuedit->Text(), DBComboBoxclass->Text(), DBComboBoxshouruzhichu->Text(),
                            DBComboBoxjine->Text());
    if (!InputAccepted(input)) return;

    // Each column with the text to store: only what differs from what the
    // row holds is written, so a column the user left alone keeps its
    // stored text even where the window cannot show all of it.
    struct TColumnText {
        const char* Column;
        std::string Text;
    };
    const TColumnText columns[] = {
        {"项目名称", input.Name},
        {"项目类别", input.Category},
        {"编辑时间", DBComboBoxeditdate->Text()},
        {"支出或收入", input.Direction},
        {"金额", input.Amount},
        {"项目备注", DBMemoxiangmubeizhuedit->Text()},
    };
    std::vector<const TColumnText*> changed;
    for (const TColumnText& column : columns) {
        TField& field = list->FieldByName(column.Column);
        if (column.Text == field.StoredAsString()) continue;
        if (!field.StoredShowsFaithfully()) {
            // The window shows that text with "?" for characters the code
            // page lacks: storing it would destroy them.
            ShowMessage(std::string("不能保存:") + column.Column + " 中有本窗口无法显示的字符(显示为 \"?\"),"
                        "保存会丢失这些字符。请按 \"取消\" 放弃这一栏的修改;其他栏可以照常修改。");
            return;
        }
        changed.push_back(&column);
    }
    const long long id = list->FieldByName("编号").AsInteger();
    if (!changed.empty() && NameInUse(input.Name, id)) {
        SetMessage(input.Name + "修改失败,存在相同的项目名称!");
        ShowMessage(input.Name + "修改失败,存在相同的项目名称!请换一个项目名称。");
        return;
    }
    if (changed.empty()) {
        // Nothing differs from the row (typed and typed back, or the flag
        // raised by showing another row): nothing is written, and the list
        // follows as after a save when the flag is up.
        if (list->State() == dsEdit) list->Cancel();
        const bool flagged = Edit_falseortrue->Text() == CHANGE_FLAG_TRUE;
        Edit_falseortrue->SetText(CHANGE_FLAG_FALSE);
        SetMessage(input.Name + (flagged ? EDITED : NOT_EDITED));
        Hide();
        if (flagged) {
            Timershuaxinliebiao->SetEnabled(true);
            Timershuaxinliebiao->SetInterval(DEFERRED_SAVE_MS);
        }
        return;
    }
    const bool renamed = !SameName(input.Name, list->FieldByName("项目名称").StoredAsString());
    if (list->State() != dsEdit) list->Edit();
    // The controls' texts are taken first; then every column left alone
    // gets its stored value back exactly, and the changed ones their text.
    list->UpdateRecord();
    for (const TColumnText& column : columns) {
        TField& field = list->FieldByName(column.Column);
        if (std::find(changed.begin(), changed.end(), &column) == changed.end())
            field.RevertToStored();
        else
            field.SetAsString(column.Text);
    }
    // Saved now, while the window still shows what was typed: a save that
    // fails (the ledger locked, read-only or gone, or the entry deleted by
    // another program) leaves the window open with the input, and no
    // success is reported.
    list->Post();
    Edit_falseortrue->SetText(CHANGE_FLAG_FALSE);
    if (renamed) {
        // A new name is saved and the window stays open on the entry.
        RefreshShowing(id);
        return;
    }
    SetMessage(input.Name + EDITED);
    Hide();
    // The list and the totals follow a moment later.
    Timershuaxinliebiao->SetEnabled(true);
    Timershuaxinliebiao->SetInterval(DEFERRED_SAVE_MS);
}

void TForm2::TimershuaxinliebiaoTimer(TObject*)
{
    // One shot, stopped first: whatever follows, it never runs twice.
    Timershuaxinliebiao->SetInterval(0);
    Timershuaxinliebiao->SetEnabled(false);
    // The edit was saved by "修改"; pending values here are the user's next
    // change, which a reload would drop.
    if (Form1->ADOQuery1->State() == dsEdit) return;
    RefreshShowing(-1);
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
