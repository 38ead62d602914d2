// The gallery's page of bars: a tool bar with a plain, a checked, a
// disabled and a drop-down button, a menu button that drops a menu down
// (with a disabled item), and a cool bar with two bands holding controls.
#include "framework/buttons.h"
#include "framework/combo_box.h"
#include "framework/cool_bar.h"
#include "framework/menus.h"
#include "framework/tool_bar.h"
#include "gallery/gallery_glyphs.h"
#include "gallery/gallery_pages.h"

namespace {

// A context menu of the page's form with three items, the second disabled.
TPopupMenu* BarsMenu(TGalleryPage& page, const char* name)
{
    auto* menu = new TPopupMenu(page.Form);
    menu->SetName(name);
    const char* captions[] = {"Open", "Save (not now)", "Close"};
    for (const char* caption : captions) {
        auto* item = new TMenuItem(menu);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    menu->Items()->Items(1)->SetEnabled(false);
    return menu;
}

void BuildBars(TGalleryPage& page)
{
    TTabSheet* sheet = page.Sheet;

    auto* images = new TImageList(page.Form);
    images->SetName("BarsImages");
    {
        TBitmap glyphs;
        MakeGalleryGlyph(glyphs, 3);
        images->AddMasked(&glyphs, glyphs.Canvas()->Pixel(0, glyphs.Height() - 1));
    }

    GalleryPlace<TLabel>(page, sheet, "BarsToolBarLabel", "Tool bar", 12, 8, 200, 16);
    auto* bar = new TToolBar(page.Form);
    bar->SetName("BarsToolBar");
    bar->SetParent(sheet);
    bar->SetAlign(alNone);
    bar->SetBounds(12, 28, 420, 30);
    bar->SetImages(images);
    bar->AddButton("Plain", tbsButton, 0);
    bar->AddButton("Checked", tbsCheck, 0)->SetDown(true);
    bar->AddButton("", tbsSeparator);
    bar->AddButton("Off", tbsButton, 1)->SetEnabled(false);
    bar->AddButton("More", tbsDropDown, 2)->SetDropdownMenu(BarsMenu(page, "BarsToolMenu"));

    GalleryPlace<TLabel>(page, sheet, "BarsMenuLabel", "Menu button", 12, 72, 200, 16);
    auto* button = GalleryPlace<TMenuButton>(page, sheet, "BarsMenuButton", "Choose", 12, 92, 110, 28);
    button->SetDropdownMenu(BarsMenu(page, "BarsButtonMenu"));

    GalleryPlace<TLabel>(page, sheet, "BarsCoolBarLabel", "Cool bar", 12, 134, 200, 16);
    auto* cool = new TCoolBar(page.Form);
    cool->SetName("BarsCoolBar");
    cool->SetParent(sheet);
    cool->SetAlign(alNone);
    // As tall as its row of bands (a 22-pixel control and its edges).
    cool->SetBounds(12, 154, 420, 26);
    auto* edit = new TEdit(page.Form);
    edit->SetName("BarsCoolEdit");
    edit->SetBounds(0, 0, 120, 22);
    edit->SetText("In a band");
    TCoolBand* first = cool->Bands()->Add();
    first->SetText("Find");
    first->SetWidth(200);
    first->SetControl(edit);
    auto* combo = new TComboBox(page.Form);
    combo->SetName("BarsCoolCombo");
    combo->SetBounds(0, 0, 120, 22);
    TCoolBand* second = cool->Bands()->Add();
    second->SetText("Kind");
    second->SetControl(combo);
    combo->Items()->Add("Income");
    combo->Items()->Add("Expenditure");
}

}  // namespace

GALLERY_PAGE(65, "Tool bars, cool bars", BuildBars);
