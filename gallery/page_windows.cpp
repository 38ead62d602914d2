// The windows page: two more windows of other kinds, each opened by a
// button. An MDI frame with a window menu (tile, cascade, arrange, the list
// of children) and three children, the last of them maximized and with a
// menu of its own merged into the frame's bar; and a right-to-left window
// (the bidirectional mode an Arabic, Hebrew or Persian program sets) with a
// menu bar, a context menu and a few controls.
#include <windows.h>

#include <string>

#include "framework/ext_controls.h"
#include "framework/memo.h"
#include "framework/menus.h"
#include "framework/std_controls.h"
#include "gallery/gallery_pages.h"

namespace {

TMenuItem* Add(TComponent* owner, TMenuItem* parent, const char* caption, TShortCut shortCut = 0, int group = 0)
{
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    item->SetGroupIndex(group);
    parent->Add(item);
    return item;
}

// The same for a caption outside the program's code page (the Hebrew of the
// right-to-left window).
TMenuItem* AddW(TComponent* owner, TMenuItem* parent, const wchar_t* caption, TShortCut shortCut = 0)
{
    TMenuItem* item = Add(owner, parent, "", shortCut);
    item->SetCaptionW(caption);
    return item;
}

// The frame's three children; the last one maximized. Made when the frame
// is first shown (a child lives in the frame's client window).
void MakeChildren(TForm* frame)
{
    if (frame->MDIChildCount() > 0) return;
    for (int i = 0; i < 3; ++i) {
        auto* child = new TForm(frame);
        child->SetName("WindowsChild" + std::to_string(i + 1));
        child->SetFormStyle(fsMDIChild);
        child->SetBounds(12 + 36 * i, 12 + 30 * i, 300, 190);
        child->SetCaption(("Ledger " + std::to_string(2024 + i)).c_str());
        auto* memo = new TMemo(child);
        memo->SetParent(child);
        memo->SetAlign(alClient);
        memo->SetText("Entries of " + std::to_string(2024 + i));
        if (i == 2) {
            auto* menu = new TMainMenu(child);
            menu->SetName("WindowsChildMenu");
            TMenuItem* entries = Add(child, menu->Items(), "E&ntries", 0, 5);
            Add(child, entries, "&Add", ShortCut(VK_INSERT, 0));
            Add(child, entries, "&Delete", ShortCut(VK_DELETE, 0));
            child->SetMenu(menu);
        }
        child->FinishCreation();
        child->Show();
        if (i == 2) child->SetWindowState(wsMaximized);
    }
}

TForm* MakeMdiFrame(TForm* owner)
{
    auto* frame = new TForm(owner);
    frame->SetName("WindowsMdiFrame");
    frame->SetFormStyle(fsMDIForm);
    frame->SetCaption("MDI frame");
    frame->SetBounds(160, 120, 640, 440);
    auto* bar = new TMainMenu(frame);
    TMenuItem* file = Add(frame, bar->Items(), "&File");
    Add(frame, file, "&New child", ShortCut('N', ssCtrl))->OnClick = [frame](TObject*) {
        auto* child = new TForm(frame);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption("New ledger");
        child->SetBounds(40, 40, 280, 170);
        child->FinishCreation();
        child->Show();
    };
    Add(frame, file, "-");
    Add(frame, file, "&Close frame")->OnClick = [frame](TObject*) { frame->Hide(); };
    TMenuItem* window = Add(frame, bar->Items(), "&Window", 0, 9);
    Add(frame, window, "&Tile")->OnClick = [frame](TObject*) { frame->Tile(); };
    Add(frame, window, "&Cascade")->OnClick = [frame](TObject*) { frame->Cascade(); };
    Add(frame, window, "&Arrange icons")->OnClick = [frame](TObject*) { frame->ArrangeIcons(); };
    frame->SetMenu(bar);
    frame->SetWindowMenu(window);
    frame->FinishCreation();
    frame->OnShow = [frame](TObject*) { MakeChildren(frame); };
    return frame;
}

TForm* MakeRightToLeft(TForm* owner)
{
    auto* form = new TForm(owner);
    form->SetName("WindowsRightToLeft");
    form->SetBiDiMode(bdRightToLeft);
    form->SetCaption("Right to left");
    form->SetBounds(220, 160, 420, 280);
    // Its menus in Hebrew, as such a program has them (file, edit, view,
    // help; the accelerators on Hebrew letters).
    auto* bar = new TMainMenu(form);
    TMenuItem* file = AddW(form, bar->Items(), L"&\u05E7\u05D5\u05D1\u05E5");
    AddW(form, file, L"&\u05E4\u05EA\u05D7", ShortCut('O', ssCtrl));
    AddW(form, file, L"&\u05E9\u05DE\u05D5\u05E8", ShortCut('S', ssCtrl));
    Add(form, file, "-");
    AddW(form, file, L"&\u05D9\u05E6\u05D9\u05D0\u05D4")->OnClick = [form](TObject*) { form->Hide(); };
    TMenuItem* edit = AddW(form, bar->Items(), L"&\u05E2\u05E8\u05D9\u05DB\u05D4");
    AddW(form, edit, L"&\u05D4\u05E2\u05EA\u05E7", ShortCut('C', ssCtrl));
    AddW(form, edit, L"&\u05D4\u05D3\u05D1\u05E7", ShortCut('V', ssCtrl))->SetEnabled(false);
    TMenuItem* view = AddW(form, bar->Items(), L"&\u05EA\u05E6\u05D5\u05D2\u05D4");
    TMenuItem* wrap = AddW(form, view, L"&\u05D2\u05DC\u05D9\u05E9\u05EA \u05E9\u05D5\u05E8\u05D5\u05EA");
    wrap->SetChecked(true);
    wrap->OnClick = [](TObject* sender) {
        auto* self = static_cast<TMenuItem*>(sender);
        self->SetChecked(!self->Checked());
    };
    AddW(form, bar->Items(), L"&\u05E2\u05D6\u05E8\u05D4");
    form->SetMenu(bar);

    auto* context = new TPopupMenu(form);
    context->SetName("WindowsRightToLeftContext");
    AddW(form, context->Items(), L"&\u05D4\u05E2\u05EA\u05E7", ShortCut('C', ssCtrl));
    AddW(form, context->Items(), L"&\u05D1\u05D7\u05E8 \u05D4\u05DB\u05DC", ShortCut('A', ssCtrl));
    Add(form, context->Items(), "-");
    AddW(form, context->Items(), L"&\u05DE\u05D0\u05E4\u05D9\u05D9\u05E0\u05D9\u05DD")->SetChecked(true);

    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(20, 20, 360, 20);
    label->SetCaption("Name:");
    auto* edit1 = new TEdit(form);
    edit1->SetName("WindowsRightToLeftEdit");
    edit1->SetParent(form);
    edit1->SetBounds(20, 44, 360, 24);
    edit1->SetText("Right-click for the context menu");
    edit1->SetPopupMenu(context);
    auto* check = new TCheckBox(form);
    check->SetParent(form);
    check->SetBounds(20, 80, 200, 22);
    check->SetCaption("Keep a copy");
    check->SetChecked(true);
    auto* button = new TButton(form);
    button->SetName("WindowsRightToLeftOk");
    button->SetParent(form);
    button->SetBounds(280, 180, 100, 28);
    button->SetCaption("OK");
    button->OnClick = [form](TObject*) { form->Hide(); };
    form->FinishCreation();
    return form;
}

void BuildWindows(TGalleryPage& page)
{
    auto* mdi = new TButton(page.Form);
    mdi->SetName("WindowsOpenMdi");
    mdi->SetParent(page.Sheet);
    mdi->SetBounds(20, 20, 220, 28);
    mdi->SetCaption("Open the MDI frame");
    TForm* owner = page.Form;
    mdi->OnClick = [owner](TObject*) {
        auto* frame = As<TForm>(owner->FindComponent("WindowsMdiFrame"));
        if (!frame) frame = MakeMdiFrame(owner);
        frame->Show();
    };
    auto* rtl = new TButton(page.Form);
    rtl->SetName("WindowsOpenRightToLeft");
    rtl->SetParent(page.Sheet);
    rtl->SetBounds(20, 60, 220, 28);
    rtl->SetCaption("Open the right-to-left window");
    rtl->OnClick = [owner](TObject*) {
        auto* form = As<TForm>(owner->FindComponent("WindowsRightToLeft"));
        if (!form) form = MakeRightToLeft(owner);
        form->Show();
    };
}

}  // namespace

GALLERY_PAGE(95, "Windows", BuildWindows);
