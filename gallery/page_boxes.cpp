// The gallery's page of surfaces: group boxes, a radio group, panels with
// each kind of bevel, and a status bar with lowered, raised and flat panels
// and a size grip.
#include <string>

#include "framework/radio_group.h"
#include "framework/status_bar.h"
#include "gallery/gallery_pages.h"

namespace {

void BuildBoxes(TGalleryPage& page)
{
    TTabSheet* sheet = page.Sheet;

    auto* group = GalleryPlace<TGroupBox>(page, sheet, "BoxesGroup", "Group box", 12, 8, 180, 110);
    GalleryPlace<TButton>(page, group, "BoxesGroupButton", "Inside", 16, 30, 90, 26);
    GalleryPlace<TLabel>(page, group, "BoxesGroupLabel", "A label in a group", 16, 70, 150, 16);

    auto* radios = GalleryPlace<TRadioGroup>(page, sheet, "BoxesRadioGroup", "Radio group", 204, 8, 180, 110);
    radios->Items()->Add("First choice");
    radios->Items()->Add("Second choice");
    radios->Items()->Add("Third choice");
    radios->SetItemIndex(1);

    auto* empty = GalleryPlace<TGroupBox>(page, sheet, "BoxesGroupEmpty", "", 396, 8, 120, 110);
    (void)empty;

    const struct {
        const char* Name;
        const char* Caption;
        TBevelCut Outer;
        TBevelCut Inner;
    } panels[] = {
        {"BoxesPanelRaised", "Raised", bvRaised, bvNone},
        {"BoxesPanelLowered", "Lowered", bvLowered, bvNone},
        {"BoxesPanelNone", "No bevel", bvNone, bvNone},
        {"BoxesPanelDouble", "Raised, lowered", bvRaised, bvLowered},
    };
    int x = 12;
    for (const auto& p : panels) {
        auto* panel = GalleryPlace<TPanel>(page, sheet, p.Name, p.Caption, x, 132, 140, 60);
        panel->SetBevelOuter(p.Outer);
        panel->SetBevelInner(p.Inner);
        x += 150;
    }

    auto* bar = new TStatusBar(page.Form);
    bar->SetName("BoxesStatusBar");
    bar->SetParent(sheet);
    const char* texts[] = {"Lowered", "Raised", "No bevel"};
    const TStatusPanelBevel bevels[] = {pbLowered, pbRaised, pbNone};
    for (int i = 0; i < 3; ++i) {
        TStatusPanel* panel = bar->Panels()->Add();
        panel->SetText(texts[i]);
        panel->SetWidth(120);
        panel->SetBevel(bevels[i]);
    }
    bar->Panels()->Items(1)->SetAlignment(taCenter);
}

}  // namespace

GALLERY_PAGE(60, "Group boxes, panels, status bars", BuildBoxes);
