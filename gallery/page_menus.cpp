// The menus page: the gallery window's menu bar (File, Edit, View with
// checks and radio items, Help without children), a context menu of every
// kind of item on the page's panel, and nested submenus. The gallery's skin
// component also skins the system menu here.
#include <windows.h>

#include "framework/menus.h"
#include "framework/std_controls.h"
#include "gallery/gallery_pages.h"
#include "skin/data/skin_component.h"

namespace {

TMenuItem* Add(TForm* form, TMenuItem* parent, const char* caption, TShortCut shortCut = 0)
{
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    item->SetShortCut(shortCut);
    parent->Add(item);
    return item;
}

void RadioGroup(std::initializer_list<TMenuItem*> items, int group)
{
    for (TMenuItem* item : items) {
        item->SetRadioItem(true);
        item->SetGroupIndex(group);
        item->OnClick = [](TObject* sender) { static_cast<TMenuItem*>(sender)->SetChecked(true); };
    }
}

void CheckItem(TMenuItem* item)
{
    item->OnClick = [](TObject* sender) {
        auto* self = static_cast<TMenuItem*>(sender);
        self->SetChecked(!self->Checked());
    };
}

void BuildMenus(TGalleryPage& page)
{
    TForm* form = page.Form;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* skin = As<TSkinData>(form->Components(i)))
            skin->SetSkinControls(skin->SkinControls() | SkinControl(xcSystemMenu));

    auto* glyphs = new TImageList(form);
    glyphs->SetName("MenusGlyphs");
    if (HBITMAP picture = LoadSkinMenuGlyphs(GetModuleHandleA(nullptr))) {
        glyphs->AddMasked(picture, RGB(255, 255, 255));
        DeleteObject(picture);
    }

    // The menu bar.
    auto* bar = new TMainMenu(form);
    bar->SetName("MenusBar");
    bar->SetImages(glyphs);
    TMenuItem* file = Add(form, bar->Items(), "&File");
    Add(form, file, "&New", ShortCut('N', ssCtrl))->SetImageIndex(1);
    Add(form, file, "&Open...", ShortCut('O', ssCtrl));
    TMenuItem* recent = Add(form, file, "&Recent");
    Add(form, recent, "ledger.mdb");
    TMenuItem* older = Add(form, recent, "Older");
    Add(form, older, "2025.mdb");
    Add(form, older, "2024.mdb");
    Add(form, file, "-");
    Add(form, file, "E&xit", ShortCut(VK_F4, ssAlt))->SetImageIndex(3);
    TMenuItem* edit = Add(form, bar->Items(), "&Edit");
    Add(form, edit, "&Undo", ShortCut('Z', ssCtrl))->SetEnabled(false);
    Add(form, edit, "-");
    Add(form, edit, "Cu&t", ShortCut('X', ssCtrl));
    Add(form, edit, "&Copy", ShortCut('C', ssCtrl))->SetDefault(true);
    Add(form, edit, "&Paste", ShortCut('V', ssCtrl));
    TMenuItem* view = Add(form, bar->Items(), "&View");
    TMenuItem* toolbar = Add(form, view, "&Toolbar");
    toolbar->SetChecked(true);
    CheckItem(toolbar);
    Add(form, view, "-");
    TMenuItem* small = Add(form, view, "&Small");
    TMenuItem* large = Add(form, view, "&Large");
    RadioGroup({small, large}, 1);
    small->SetChecked(true);
    Add(form, bar->Items(), "&Help");
    form->SetMenu(bar);

    // The context menu of the page's panel.
    auto* context = new TPopupMenu(form);
    context->SetName("MenusContext");
    context->SetImages(glyphs);
    Add(form, context->Items(), "&Restore")->SetImageIndex(0);
    TMenuItem* pinned = Add(form, context->Items(), "Checked with a picture");
    pinned->SetImageIndex(1);
    pinned->SetChecked(true);
    CheckItem(pinned);
    TMenuItem* plain = Add(form, context->Items(), "Checked");
    plain->SetChecked(true);
    CheckItem(plain);
    Add(form, context->Items(), "-");
    TMenuItem* left = Add(form, context->Items(), "Align left");
    TMenuItem* right = Add(form, context->Items(), "Align right");
    RadioGroup({left, right}, 2);
    left->SetChecked(true);
    Add(form, context->Items(), "Disabled")->SetEnabled(false);
    Add(form, context->Items(), "Default")->SetDefault(true);
    TMenuItem* more = Add(form, context->Items(), "More");
    Add(form, more, "Nested one");
    TMenuItem* deeper = Add(form, more, "Deeper");
    Add(form, deeper, "Nested two", ShortCut(VK_F2, 0));

    auto* panel = new TPanel(form);
    panel->SetName("MenusPanel");
    panel->SetParent(page.Sheet);
    panel->SetBounds(20, 20, 320, 120);
    panel->SetCaption("Right-click here for the context menu");
    panel->SetPopupMenu(context);

    auto* button = new TButton(form);
    button->SetName("MenusPopup");
    button->SetParent(page.Sheet);
    button->SetBounds(20, 160, 160, 26);
    button->SetCaption("Open the menu");
    button->OnClick = [context, button](TObject*) {
        const POINT at = button->ClientToScreen(POINT{0, button->Height()});
        context->Popup(at.x, at.y);
    };
}

}  // namespace

GALLERY_PAGE(90, "Menus", BuildMenus);
