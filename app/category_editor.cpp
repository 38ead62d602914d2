// The category editor (see category_editor.h).
#include "app/category_editor.h"

#include "app/entry_editor.h"
#include "app/form_building.h"
#include "app/ledger_files.h"
#include "app/list_filling.h"
#include "framework/application.h"

TForm4* Form4 = nullptr;

const std::vector<std::string> DEFAULT_CATEGORIES = {
    "国际域名", "国内域名", "虚拟空间ASP", "虚拟空间PHP", "虚拟空间JSP", "虚拟空间CGI", "虚拟空间全能",
    "网站建设", "网站系统", "网站维护",    "软件开发",    "广告策划",    "方案设计",
};

const char* const CATEGORY_FILE_UNREADABLE =
    "类别文件 XMLB.txt 既不是 GBK 文本也不是 UTF-8 文本,程序无法正确读出其中的类别。为免损坏文件,"
    "现在不能添加或删除类别,文件保持原样。请用文本编辑器把它另存为 GBK 编码后重新启动程序。";

namespace {

// A control of `form` on `parent` at the given bounds; a negative height
// keeps the control's own.
template <class T>
T* MakeAt(TForm4* form, TWinControl* parent, const char* name, int left, int top, int width, int height)
{
    T* control = forms::Make<T>(form, parent, name);
    control->SetBounds(left, top, width, height < 0 ? control->Height() : height);
    return control;
}

}  // namespace

TForm4::TForm4(TComponent* owner) : TForm(owner)
{
    // This window's face has no Chinese glyphs of its own; the character
    // set brings them.
    forms::SetUpDialog(this, "Form4", "添加 修改 删除 项目类别", BorderIcon(biSystemMenu), "MS Sans Serif");
    SetClientSize(194, 222);

    GroupBox3 = MakeAt<TGroupBox>(this, this, "GroupBox3", 0, 8, 185, 177);
    GroupBox3->SetCaption("项目类别设置");
    EditXMLB = MakeAt<TEdit>(this, GroupBox3, "EditXMLB", 8, 16, 121, -1);
    // The two small buttons stacked edge to edge: the one under the other
    // would cover the rows they shared (two at 150 %).
    ButtonXMLBADD =
        forms::MakeButton(this, GroupBox3, "ButtonXMLBADD", "+", 136, 16, 41, 16, &TForm4::ButtonXMLBADDClick);
    ButtonXMLBDEL =
        forms::MakeButton(this, GroupBox3, "ButtonXMLBDEL", "-", 136, 32, 41, 17, &TForm4::ButtonXMLBDELClick);
    ListBoxXMLB = MakeAt<TListBox>(this, GroupBox3, "ListBoxXMLB", 8, 40, 121, 129);
    Buttoncloseform =
        forms::MakeButton(this, this, "Buttoncloseform", "关闭", 109, 192, 75, 25, &TForm4::ButtoncloseformClick);

    ListBoxxnlbbak = MakeAt<TListBox>(this, this, "ListBoxxnlbbak", 8, 192, 90, 25);
    ListBoxxnlbbak->SetVisible(false);
    for (const std::string& category : DEFAULT_CATEGORIES) ListBoxxnlbbak->Items()->Add(category);

    OnCreate = [this](TObject* sender) { FormCreate(sender); };
}

TForm4::~TForm4()
{
    if (Form4 == this) Form4 = nullptr;
}

void TForm4::FormCreate(TObject*)
{
    const std::wstring path = ledger::CategoryFilePath();
    if (!FileExistsW(path)) {
        std::vector<std::string> defaults;
        for (int i = 0; i < ListBoxxnlbbak->Items()->Count(); ++i) defaults.push_back(ListBoxxnlbbak->Items()->Get(i));
        ledger::WriteLines(path, defaults);
    }
    ledger::TTextLines text = ledger::ReadTextLines(path);
    FFileSize = ledger::FileSizeOf(path);
    FReadCleanly = text.Clean();
    // A UTF-8 file GBK can hold is written back in GBK like every other; one
    // with characters GBK lacks stays UTF-8, its lines as they were.
    FUtf8File = text.Encoding == ledger::TTextEncoding::Utf8 && text.Lossy;
    FByteOrderMark = text.ByteOrderMark;
    FUtf8Lines = std::move(text.Utf8Lines);
    FAppendable = FReadCleanly && (FUtf8File || text.Encoding == ledger::TTextEncoding::Ansi);
    FCategories = std::make_shared<std::vector<std::string>>(std::move(text.Lines));
    // A hidden editor's list takes the lines in when it is first shown.
    ListBoxXMLB->AppendLater(FCategories);
    RefillEntryEditorChoices();
}

std::vector<std::string> TForm4::Categories() const { return *FCategories; }

bool TForm4::CanWriteBack() const
{
    if (FReadCleanly) return true;
    ShowMessage(CATEGORY_FILE_UNREADABLE);
    return false;
}

void TForm4::Store(std::vector<std::string> lines, std::vector<std::string> utf8)
{
    if (FUtf8File)
        ledger::WriteUtf8Lines(ledger::CategoryFilePath(), utf8, FByteOrderMark);
    else
        ledger::WriteLines(ledger::CategoryFilePath(), lines);
    FFileSize = ledger::FileSizeOf(ledger::CategoryFilePath());
    FAppendable = true;
    FCategories = std::make_shared<std::vector<std::string>>(std::move(lines));
    FUtf8Lines = std::move(utf8);
}

void TForm4::ButtonXMLBADDClick(TObject*)
{
    if (!CanWriteBack()) return;
    const std::string category = EditXMLB->Text();
    // The new line goes at the end of the file as it stands, and at the end
    // of the lines in memory (100,000 lines are not copied for one more);
    // the file is written whole only when it is not as last read or written.
    const std::wstring path = ledger::CategoryFilePath();
    if (FAppendable && ledger::AppendLine(path, FUtf8File ? AnsiToUtf8(category) : category, FFileSize)) {
        FFileSize = ledger::FileSizeOf(path);
        if (FUtf8File) FUtf8Lines.push_back(AnsiToUtf8(category));
        FCategories->push_back(category);
    } else {
        std::vector<std::string> lines = *FCategories;
        lines.push_back(category);
        std::vector<std::string> utf8 = FUtf8Lines;
        if (FUtf8File) utf8.push_back(AnsiToUtf8(category));
        Store(std::move(lines), std::move(utf8));
    }
    // The list follows the file line by line, not by being filled again.
    ListBoxXMLB->Items()->Add(category);
    EditXMLB->Clear();
    RefillEntryEditorChoices();
}

void TForm4::ButtonXMLBDELClick(TObject*)
{
    if (!CanWriteBack()) return;
    std::vector<std::string> lines = *FCategories;
    const int chosen = ListBoxXMLB->ItemIndex();
    const bool removing = chosen >= 0 && chosen < static_cast<int>(lines.size());
    std::vector<std::string> utf8 = FUtf8Lines;
    if (removing) {
        lines.erase(lines.begin() + chosen);
        if (chosen < static_cast<int>(utf8.size())) utf8.erase(utf8.begin() + chosen);
    }
    Store(std::move(lines), std::move(utf8));
    if (removing) ListBoxXMLB->Items()->Delete(chosen);
    RefillEntryEditorChoices();
}

void TForm4::ButtoncloseformClick(TObject*) { Hide(); }

void TForm4::RefillEntryEditorChoices()
{
    if (!Form2) return;
    TComboBox* addChoices = Form2->ComboBoxxiangmuleibie;
    TComboBox* editChoices = Form2->DBComboBoxclass;
    addChoices->Clear();
    editChoices->Clear();
    ledger::OfferChoices(addChoices, FCategories);
    ledger::OfferChoices(editChoices, FCategories);
}
