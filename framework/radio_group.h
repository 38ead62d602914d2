// A group box of radio buttons made from a list of texts.
//
// TRadioGroup shows one TRadioButton per line of Items, in Columns columns
// filling the box below its caption; ItemIndex is the checked one (-1 for
// none). Clicking a button checks it, sets ItemIndex and runs OnClick.
#pragma once

#include <memory>
#include <vector>

#include "framework/ext_controls.h"
#include "framework/group_box.h"
#include "framework/string_list.h"

class TCustomRadioGroup : public TCustomGroupBox {
    DECLARE_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    explicit TCustomRadioGroup(TComponent* owner);
    ~TCustomRadioGroup() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    // The radio button of item `index`, or null.
    TRadioButton* Button(int index) const;
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }

    void WndProc(TMessage& message) override;

private:
    void ItemsChanged();
    void ArrangeButtons();
    void ButtonClicked(TObject* sender);

    std::unique_ptr<TStringList> FItems;
    std::vector<TRadioButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
    bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
    DECLARE_CLASS_INLINE(TRadioGroup, TCustomRadioGroup)
public:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};
