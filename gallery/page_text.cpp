// The gallery's page of text controls: edits (plain, disabled, read-only,
// without a border), combo boxes of every style (drop-down, drop-down list,
// simple, owner-drawn, extended, a disabled one), date-time pickers and a memo.
#include "framework/combo_box.h"
#include "framework/combo_box_ex.h"
#include "framework/ext_controls.h"
#include "framework/memo.h"
#include "framework/std_controls.h"
#include "gallery/gallery_pages.h"

namespace {

template <class T>
T* Place(TGalleryPage& page, const char* name, int x, int y, int w, int h)
{
    auto* control = new T(page.Form);
    control->SetName(name);
    control->SetParent(page.Sheet);
    control->SetBounds(x, y, w, h);
    return control;
}

void Label(TGalleryPage& page, const char* caption, int x, int y)
{
    auto* label = new TLabel(page.Form);
    label->SetParent(page.Sheet);
    label->SetCaption(caption);
    label->SetBounds(x, y, label->Width(), label->Height());
}

void Fill(TCustomComboBox* combo)
{
    for (const char* item : {"Salary", "Rent", "Groceries", "Travel", "Books", "Gifts", "Repairs", "Savings",
                             "Insurance", "Other"})
        combo->Items()->Add(item);
}

void BuildText(TGalleryPage& page)
{
    Label(page, "Edits", 12, 8);
    Place<TEdit>(page, "TextEdit", 12, 26, 150, 21)->SetText("Plain edit");
    auto* disabled = Place<TEdit>(page, "TextEditDisabled", 12, 54, 150, 21);
    disabled->SetText("Disabled edit");
    disabled->SetEnabled(false);
    auto* readOnly = Place<TEdit>(page, "TextEditReadOnly", 12, 82, 150, 21);
    readOnly->SetText("Read-only edit");
    readOnly->SetReadOnly(true);

    Label(page, "Combo boxes", 190, 8);
    const struct {
        const char* Name;
        TComboBoxStyle Style;
    } combos[] = {
        {"TextComboDropDown", csDropDown},
        {"TextComboList", csDropDownList},
        {"TextComboOwnerDrawn", csOwnerDrawFixed},
    };
    int y = 26;
    for (const auto& c : combos) {
        auto* combo = Place<TComboBox>(page, c.Name, 190, y, 160, 21);
        combo->SetStyle(c.Style);
        Fill(combo);
        combo->SetItemIndex(0);
        y += 28;
    }
    auto* off = Place<TComboBox>(page, "TextComboDisabled", 190, y, 160, 21);
    Fill(off);
    off->SetItemIndex(2);
    off->SetEnabled(false);
    y += 28;
    auto* ex = Place<TComboBoxEx>(page, "TextComboEx", 190, y, 160, 120);
    for (const char* item : {"Income", "Expenditure"}) ex->Items()->Add(item);
    ex->SetItemIndex(0);
    y += 30;
    auto* simple = Place<TComboBox>(page, "TextComboSimple", 190, y, 160, 90);
    simple->SetStyle(csSimple);
    Fill(simple);

    Label(page, "Date pickers", 380, 8);
    Place<TDateTimePicker>(page, "TextPicker", 380, 26, 150, 21);
    auto* pickerOff = Place<TDateTimePicker>(page, "TextPickerDisabled", 380, 54, 150, 21);
    pickerOff->SetEnabled(false);

    Label(page, "Memo", 380, 90);
    auto* memo = Place<TMemo>(page, "TextMemo", 380, 108, 180, 90);
    memo->SetText("A memo keeps its own scroll bars.\r\nIts border follows the skin.");
}

}  // namespace

GALLERY_PAGE(30, "Edits, combo boxes, pickers", BuildText);
