// The delete confirmation (see delete_confirm.h).
#include "app/delete_confirm.h"

#include "app/entry_editor.h"
#include "app/form_building.h"
#include "app/main_form.h"
#include "app/unit_mokuai.h"
#include "framework/application.h"

TForm3* Form3 = nullptr;

namespace {

constexpr int CLIENT_WIDTH = 265;
constexpr int QUESTION_LEFT = 32;
// The two buttons stand side by side under the question.
constexpr int BUTTON_TOP = 56;
constexpr int BUTTON_WIDTH = 75;
constexpr int BUTTON_HEIGHT = 25;
const char* const NOTHING_TO_DELETE = "大哥没记录了,你把我删了算了!";
const char* const DELETED = "删除成功!";

}  // namespace

TForm3::TForm3(TComponent* owner) : TForm(owner)
{
    forms::SetUpDialog(this, "Form3", "删除确认", BorderIcon(biSystemMenu));
    SetClientSize(CLIENT_WIDTH, 92);

    Label1 = forms::Make<TLabel>(this, this, "Label1");
    Label1->SetCaption("删除该记录,将无法恢复,您确认删除吗?");
    // As wide as the window leaves it rather than measured: some faces draw
    // the closing "?" wider than they measure it, and it must not be cut off.
    Label1->SetAutoSize(false);
    Label1->SetBounds(QUESTION_LEFT, 24, CLIENT_WIDTH - QUESTION_LEFT - 8, 16);

    Buttondelyes = forms::MakeButton(this, this, "Buttondelyes", "确认", 48, BUTTON_TOP, BUTTON_WIDTH, BUTTON_HEIGHT,
                                     &TForm3::ButtondelyesClick);
    Buttonnodel = forms::MakeButton(this, this, "Buttonnodel", "取消", 144, BUTTON_TOP, BUTTON_WIDTH, BUTTON_HEIGHT,
                                    &TForm3::ButtonnodelClick);
}

TForm3::~TForm3()
{
    if (Form3 == this) Form3 = nullptr;
}

void TForm3::ButtondelyesClick(TObject*)
{
    // An empty list, also after a search that found nothing, has nothing to
    // delete.
    TADOQuery* list = Form1->ADOQuery1;
    // A list that could not be loaded is loaded now: the ledger's own error
    // (locked, gone) is what the user needs to read, not "no entries".
    if (!list->Active()) ReloadList();
    if (Form1->PanelText(1) == EMPTY_LIST_COUNT || list->IsEmpty()) {
        ShowMessage(NOTHING_TO_DELETE);
        return;
    }
    list->Delete();
    // The full list and its totals, the first entry current.
    FullRefresh();
    list->First();
    Form1->StatusBar1->Panels()->Items(4)->SetText(DELETED);
    if (Form2) Form2->Hide();
    Hide();
}

void TForm3::ButtonnodelClick(TObject*) { Hide(); }
