// The gallery's page of check boxes and radio buttons: every state (clear,
// checked, grayed; enabled and disabled), boxes right of their captions,
// word-wrapped captions, a group of check boxes and a radio group; below
// them check boxes and radio buttons that draw their own glyphs (given the
// skin's glyphs by their skinner) and groups of them.
#include "framework/ext_controls.h"
#include "framework/glyph_checks.h"
#include "framework/glyph_groups.h"
#include "framework/group_box.h"
#include "framework/radio_group.h"
#include "gallery/gallery_pages.h"

namespace {

void BuildChoices(TGalleryPage& page)
{
    TTabSheet* sheet = page.Sheet;
    const struct {
        const char* Name;
        const char* Caption;
        TCheckBoxState State;
        bool Enabled;
    } boxes[] = {
        {"ChoicesClear", "Clear", cbUnchecked, true},
        {"ChoicesChecked", "Checked", cbChecked, true},
        {"ChoicesGrayed", "Grayed", cbGrayed, true},
        {"ChoicesClearDisabled", "Clear, disabled", cbUnchecked, false},
        {"ChoicesCheckedDisabled", "Checked, disabled", cbChecked, false},
        {"ChoicesGrayedDisabled", "Grayed, disabled", cbGrayed, false},
    };
    int y = 12;
    for (const auto& b : boxes) {
        auto* box = GalleryPlace<TCheckBox>(page, sheet, b.Name, b.Caption, 12, y, 160, 20);
        box->SetAllowGrayed(true);
        box->SetState(b.State);
        box->SetEnabled(b.Enabled);
        y += 26;
    }
    auto* left = GalleryPlace<TCheckBox>(page, sheet, "ChoicesLeftText", "Box at the right", 12, y, 160, 20);
    left->SetAlignment(taLeftJustify);
    left->SetChecked(true);
    auto* wrapped = GalleryPlace<TCheckBox>(page, sheet, "ChoicesWrapped",
                                     "A long caption that the check box breaks into lines", 12, y + 28, 160, 40);
    wrapped->SetWordWrap(true);

    const char* radios[] = {"First choice", "Second choice", "Disabled choice"};
    y = 12;
    for (int i = 0; i < 3; ++i) {
        std::string name = "ChoicesRadio" + std::to_string(i + 1);
        auto* radio = GalleryPlace<TRadioButton>(page, sheet, name.c_str(), radios[i], 196, y, 160, 20);
        radio->SetChecked(i == 1);
        radio->SetEnabled(i != 2);
        y += 26;
    }
    auto* leftRadio = GalleryPlace<TRadioButton>(page, sheet, "ChoicesRadioLeftText", "Circle at the right", 196, y, 160, 20);
    leftRadio->SetAlignment(taLeftJustify);

    auto* checks = GalleryPlace<TGroupBox>(page, sheet, "ChoicesCheckGroup", "Check group", 380, 8, 180, 110);
    const char* kinds[] = {"Income", "Expenditure", "Backups"};
    for (int i = 0; i < 3; ++i) {
        std::string name = std::string("ChoicesCheckGroup") + kinds[i];
        auto* box = GalleryPlace<TCheckBox>(page, checks, name.c_str(), kinds[i], 12, 22 + 26 * i, 150, 20);
        box->SetChecked(i != 1);
    }
    auto* group = GalleryPlace<TRadioGroup>(page, sheet, "ChoicesRadioGroup", "Radio group", 380, 130, 180, 110);
    group->Items()->Add("Daily");
    group->Items()->Add("Weekly");
    group->Items()->Add("Monthly");
    group->SetItemIndex(0);

    // Self-drawn glyphs, in every state.
    const struct {
        const char* Name;
        const char* Caption;
        TCheckBoxState State;
        bool Enabled;
    } drawn[] = {
        {"ChoicesDrawnClear", "Drawn, clear", cbUnchecked, true},
        {"ChoicesDrawnChecked", "Drawn, checked", cbChecked, true},
        {"ChoicesDrawnGrayed", "Drawn, grayed", cbGrayed, true},
        {"ChoicesDrawnDisabled", "Drawn, disabled", cbChecked, false},
    };
    y = 252;
    for (const auto& d : drawn) {
        auto* box = GalleryPlace<TRzCheckBox>(page, sheet, d.Name, d.Caption, 12, y, 160, 20);
        box->SetAllowGrayed(true);
        box->SetState(d.State);
        box->SetEnabled(d.Enabled);
        y += 26;
    }
    const char* drawnRadios[] = {"Drawn first", "Drawn second", "Drawn, disabled"};
    y = 252;
    for (int i = 0; i < 3; ++i) {
        std::string name = "ChoicesDrawnRadio" + std::to_string(i + 1);
        auto* radio = GalleryPlace<TRzRadioButton>(page, sheet, name.c_str(), drawnRadios[i], 196, y, 160, 20);
        radio->SetChecked(i == 0);
        radio->SetEnabled(i != 2);
        y += 26;
    }
    auto* property = GalleryPlace<TcxCheckBox>(page, sheet, "ChoicesDrawnProperty", "Glyph property", 196, y, 160, 20);
    property->SetChecked(true);

    auto* drawnChecks = GalleryPlace<TRzCheckGroup>(page, sheet, "ChoicesDrawnCheckGroup", "Drawn checks", 380, 246,
                                                    112, 100);
    for (const char* item : {"Cash", "Card", "Bank"}) drawnChecks->Items()->Add(item);
    drawnChecks->SetItemChecked(0, true);
    auto* drawnGroup = GalleryPlace<TRzRadioGroup>(page, sheet, "ChoicesDrawnRadioGroup", "Drawn radios", 500, 246,
                                                   112, 100);
    for (const char* item : {"Yuan", "Dollar", "Euro"}) drawnGroup->Items()->Add(item);
    drawnGroup->SetItemIndex(1);
}

}  // namespace

GALLERY_PAGE(20, "Check boxes, radio buttons", BuildChoices);
