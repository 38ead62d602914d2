// The delete confirmation (see delete_confirm.h).
#include "app/delete_confirm.h"

#include "app/entry_editor.h"
#include "app/main_form.h"
#include "app/unit_mokuai.h"
#include "framework/application.h"

TForm3* Form3 = nullptr;

namespace {

constexpr int CLIENT_WIDTH = 265;
constexpr int QUESTION_LEFT = 32;
const char* const NOTHING_TO_DELETE = "大哥没记录了,你把我删了算了!";
const char* const DELETED = "删除成功!";

TButton* MakeButton(TForm3* form, const char* name, const char* caption, int left,
                    void (TForm3::*handler)(TObject*))
{
    TButton* button = new TButton(form);
    button->SetName(name);
    button->SetParent(form);
    button->SetBounds(left, 56, 75, 25);
    button->SetCaption(caption);
    button->OnClick = [form, handler](TObject* sender) { (form->*handler)(sender); };
    return button;
}

}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner)
{
    SetName("Form3");
    SetCaption("删除确认");
    SetBorderStyle(bsSingle);
    SetBorderIcons(BorderIcon(biSystemMenu));
    SetFormStyle(fsStayOnTop);
    SetPosition(poDesktopCenter);
    Font()->SetName("宋体");
    Font()->SetHeight(-12);
    Font()->SetCharset(GB2312_CHARSET);
    SetClientSize(CLIENT_WIDTH, 92);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(this);
    Label1->SetCaption("删除该记录,将无法恢复,您确认删除吗?");
    // As wide as the window leaves it rather than measured: some faces draw
    // the closing "?" wider than they measure it, and it must not be cut off.
    Label1->SetAutoSize(false);
    Label1->SetBounds(QUESTION_LEFT, 24, CLIENT_WIDTH - QUESTION_LEFT - 8, 16);

    Buttondelyes = MakeButton(this, "Buttondelyes", "确认", 48, &TForm3::ButtondelyesClick);
    Buttonnodel = MakeButton(this, "Buttonnodel", "取消", 144, &TForm3::ButtonnodelClick);
}

TForm3::~TForm3()
{
    if (Form3 == this) Form3 = nullptr;
}

void TForm3::ButtondelyesClick(TObject*)
{
    if (Form1->PanelText(1) == EMPTY_LIST_COUNT) {
        ShowMessage(NOTHING_TO_DELETE);
        return;
    }
    Form1->ADOQuery1->Delete();
    ReloadList();
    Form1->StatusBar1->Panels()->Items(4)->SetText(DELETED);
    if (Form2) Form2->Hide();
    Hide();
}

void TForm3::ButtonnodelClick(TObject*) { Hide(); }
