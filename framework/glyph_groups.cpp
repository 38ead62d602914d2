// Groups of self-drawn check boxes and radio buttons (see glyph_groups.h).
#include "framework/glyph_groups.h"

#include "framework/display_scale.h"
#include "framework/forms.h"

#include <algorithm>

using PGlyphGroup = TPropBuilder<TCustomGlyphGroup>;
IMPLEMENT_CLASS(TCustomGlyphGroup,
    PGlyphGroup::Object("Items", &TCustomGlyphGroup::Items, &TCustomGlyphGroup::SetItems))

TCustomGlyphGroup::TCustomGlyphGroup(TComponent* owner, bool radio)
    : TCustomGroupBox(owner), FRadio(radio), FItems(std::make_unique<TStringList>())
{
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomGlyphGroup::~TCustomGlyphGroup()
{
    FItems->OnChange = nullptr;
}

void TCustomGlyphGroup::SetItems(TStrings* value)
{
    if (value) FItems->Assign(*value);
}

TCustomGlyphCheck* TCustomGlyphGroup::Button(int index) const
{
    return index >= 0 && index < ButtonCount() ? FButtons[static_cast<size_t>(index)] : nullptr;
}

void TCustomGlyphGroup::ItemsChanged()
{
    // The buttons follow the list: one per line, texts kept in step.
    while (ButtonCount() > FItems->Count()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (ButtonCount() < FItems->Count()) {
        TCustomGlyphCheck* button = FRadio ? static_cast<TCustomGlyphCheck*>(new TRzRadioButton(this))
                                           : static_cast<TCustomGlyphCheck*>(new TRzCheckBox(this));
        button->SetParent(this);
        const int index = ButtonCount();
        button->OnClick = [this, index](TObject*) {
            if (!FUpdating) ButtonClicked(index);
        };
        FButtons.push_back(button);
    }
    for (int i = 0; i < ButtonCount(); ++i) FButtons[static_cast<size_t>(i)]->SetCaption(FItems->Get(i));
    ArrangeButtons();
}

void TCustomGlyphGroup::ArrangeButtons()
{
    if (FButtons.empty()) return;
    RECT area = ClientRect();
    AdjustClientRect(area);
    // 96-DPI margins and button height, at the form's scale.
    const UINT dpi = static_cast<UINT>(ControlPixelsPerInch(this));
    InflateRect(&area, -ScaleToDpi(6, dpi), 0);
    const int rowHeight = std::max<int>((area.bottom - area.top) / ButtonCount(), 1);
    const int height = std::min(rowHeight, ScaleToDpi(20, dpi));
    for (int i = 0; i < ButtonCount(); ++i)
        FButtons[static_cast<size_t>(i)]->SetBounds(area.left, area.top + i * rowHeight + (rowHeight - height) / 2,
                                                    area.right - area.left, height);
}

void TCustomGlyphGroup::ButtonClicked(int) { Click(); }

void TCustomGlyphGroup::WndProc(TMessage& message)
{
    TCustomGroupBox::WndProc(message);
    if (message.Msg == WM_SIZE || message.Msg == CM_FONTCHANGED) ArrangeButtons();
}

// ---- TRzRadioGroup ---------------------------------------------------------------------

using PRzRadioGroup = TPropBuilder<TRzRadioGroup>;
IMPLEMENT_CLASS(TRzRadioGroup,
    PRzRadioGroup::Integer("ItemIndex", &TRzRadioGroup::ItemIndex, &TRzRadioGroup::SetItemIndex))

int TRzRadioGroup::ItemIndex() const
{
    for (int i = 0; i < ButtonCount(); ++i)
        if (Button(i)->Checked()) return i;
    return -1;
}

void TRzRadioGroup::SetItemIndex(int value)
{
    FUpdating = true;
    for (int i = 0; i < ButtonCount(); ++i) Button(i)->SetChecked(i == value);
    FUpdating = false;
}

void TRzRadioGroup::ButtonClicked(int index)
{
    SetItemIndex(index);
    Click();
}

// ---- TRzCheckGroup ---------------------------------------------------------------------

bool TRzCheckGroup::ItemChecked(int index) const
{
    const TCustomGlyphCheck* button = Button(index);
    return button && button->Checked();
}

void TRzCheckGroup::SetItemChecked(int index, bool value)
{
    FUpdating = true;
    if (TCustomGlyphCheck* button = Button(index)) button->SetChecked(value);
    FUpdating = false;
}
