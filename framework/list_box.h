// List boxes: a scrolling list of text lines with one chosen line.
//
// TListBox superclasses the system's LISTBOX class (window class
// "TListBox"). Items is kept in the window (see list_items.h); ItemIndex is
// the chosen line. The user's choice runs OnClick; a double click runs
// OnDblClick as well. Choosing from code runs nothing.
#pragma once

#include <memory>

#include "framework/controls.h"
#include "framework/list_items.h"

class TCustomListBox : public TWinControl {
    DECLARE_CLASS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* items);
    // The chosen line, -1 for none; an index outside the list chooses none.
    int ItemIndex() const;
    void SetItemIndex(int value);
    // The first line shown.
    int TopIndex() const;
    void SetTopIndex(int value);
    int ItemHeight() const;
    // The line at a client point, or -1 below the last line.
    int ItemAtPos(POINT point) const;
    RECT ItemRect(int index) const;
    void Clear() { FItems->Clear(); }
    // Adds `lines` after the items, taken in only when needed (see
    // TListItems::AppendLater).
    void AppendLater(std::shared_ptr<const std::vector<std::string>> lines) { FItems->AppendLater(std::move(lines)); }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;

private:
    std::unique_ptr<TListItems> FItems;
    int FItemIndex = -1;  // kept while there is no window
};

class TListBox : public TCustomListBox {
    DECLARE_CLASS_INLINE(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};
