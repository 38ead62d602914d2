// The radio group (see radio_group.h).
#include "framework/radio_group.h"

#include "framework/display_scale.h"
#include "framework/forms.h"

#include <algorithm>

using PRadioGroup = TPropBuilder<TCustomRadioGroup>;
IMPLEMENT_CLASS(TCustomRadioGroup,
    PRadioGroup::Integer("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns),
    PRadioGroup::Integer("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex),
    PRadioGroup::Object("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems))

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TCustomGroupBox(owner), FItems(std::make_unique<TStringList>())
{
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomRadioGroup::~TCustomRadioGroup()
{
    FItems->OnChange = nullptr;
}

void TCustomRadioGroup::SetItems(TStrings* value)
{
    if (value) FItems->Assign(*value);
}

TRadioButton* TCustomRadioGroup::Button(int index) const
{
    return index >= 0 && index < ButtonCount() ? FButtons[static_cast<size_t>(index)] : nullptr;
}

void TCustomRadioGroup::SetItemIndex(int value)
{
    if (value < -1 || value >= FItems->Count()) value = -1;
    FItemIndex = value;
    FUpdating = true;
    for (int i = 0; i < ButtonCount(); ++i) FButtons[static_cast<size_t>(i)]->SetChecked(i == value);
    FUpdating = false;
}

void TCustomRadioGroup::SetColumns(int value)
{
    FColumns = std::clamp(value, 1, 16);
    ArrangeButtons();
}

void TCustomRadioGroup::ItemsChanged()
{
    // The buttons follow the list: one per line, texts kept in step.
    while (ButtonCount() > FItems->Count()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (ButtonCount() < FItems->Count()) {
        auto* button = new TRadioButton(this);
        button->SetParent(this);
        button->OnClick = [this](TObject* sender) { ButtonClicked(sender); };
        FButtons.push_back(button);
    }
    for (int i = 0; i < ButtonCount(); ++i) FButtons[static_cast<size_t>(i)]->SetCaption(FItems->Get(i));
    if (FItemIndex >= FItems->Count()) FItemIndex = -1;
    SetItemIndex(FItemIndex);
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons()
{
    if (FButtons.empty()) return;
    RECT area = ClientRect();
    AdjustClientRect(area);
    // 96-DPI margins and button height, at the form's scale.
    const UINT dpi = static_cast<UINT>(ControlPixelsPerInch(this));
    InflateRect(&area, -ScaleToDpi(4, dpi), 0);
    const int rows = (ButtonCount() + FColumns - 1) / FColumns;
    const int columnWidth = std::max<int>((area.right - area.left) / FColumns, 1);
    const int rowHeight = std::max<int>((area.bottom - area.top) / std::max(rows, 1), 1);
    for (int i = 0; i < ButtonCount(); ++i) {
        const int column = i / rows;
        const int row = i % rows;
        const int height = std::min(rowHeight, ScaleToDpi(20, dpi));
        FButtons[static_cast<size_t>(i)]->SetBounds(area.left + column * columnWidth,
                                                    area.top + row * rowHeight + (rowHeight - height) / 2,
                                                    columnWidth, height);
    }
}

void TCustomRadioGroup::ButtonClicked(TObject* sender)
{
    if (FUpdating) return;
    const auto it = std::find(FButtons.begin(), FButtons.end(), sender);
    if (it == FButtons.end()) return;
    FItemIndex = static_cast<int>(it - FButtons.begin());
    Click();
}

void TCustomRadioGroup::WndProc(TMessage& message)
{
    TCustomGroupBox::WndProc(message);
    if (message.Msg == WM_SIZE || message.Msg == CM_FONTCHANGED) ArrangeButtons();
}
