// Groups of self-drawn check boxes or radio buttons (glyph_checks.h) made
// from a list of texts: one button per line of Items, one below the other
// in the box below its caption.
//
// TRzRadioGroup: ItemIndex is the checked button (-1 for none); a click on
// a button checks it, sets ItemIndex and runs OnClick.
// TRzCheckGroup: each button is checked on its own (ItemChecked); a click
// runs OnClick.
#pragma once

#include <memory>
#include <vector>

#include "framework/glyph_checks.h"
#include "framework/group_box.h"
#include "framework/string_list.h"

class TCustomGlyphGroup : public TCustomGroupBox {
    DECLARE_CLASS(TCustomGlyphGroup, TCustomGroupBox)
public:
    TCustomGlyphGroup(TComponent* owner, bool radio);
    ~TCustomGlyphGroup() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value);
    // The button of item `index`, or null.
    TCustomGlyphCheck* Button(int index) const;
    int ButtonCount() const { return static_cast<int>(FButtons.size()); }

    void WndProc(TMessage& message) override;

protected:
    virtual void ButtonClicked(int index);
    bool FUpdating = false;

private:
    void ItemsChanged();
    void ArrangeButtons();

    bool FRadio;
    std::unique_ptr<TStringList> FItems;
    std::vector<TCustomGlyphCheck*> FButtons;
};

class TRzRadioGroup : public TCustomGlyphGroup {
    DECLARE_CLASS(TRzRadioGroup, TCustomGlyphGroup)
public:
    explicit TRzRadioGroup(TComponent* owner) : TCustomGlyphGroup(owner, true) {}

    int ItemIndex() const;
    void SetItemIndex(int value);

protected:
    void ButtonClicked(int index) override;
};

class TRzCheckGroup : public TCustomGlyphGroup {
    DECLARE_CLASS_INLINE(TRzCheckGroup, TCustomGlyphGroup)
public:
    explicit TRzCheckGroup(TComponent* owner) : TCustomGlyphGroup(owner, false) {}

    bool ItemChecked(int index) const;
    void SetItemChecked(int index, bool value);
};
