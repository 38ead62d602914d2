// Combo boxes: an edit box (or a fixed text) with a list of choices.
//
// TComboBox superclasses the system's COMBOBOX class; its window is of class
// "TComboBox" (a derived class gets its own name). Items is kept in the
// window (see list_items.h). Text is what the user sees: the edit text of
// csDropDown and csSimple, the chosen item of csDropDownList.
//
// Events: OnChange runs when the user changes the text, by typing
// (CBN_EDITCHANGE) or by choosing an item (CBN_SELCHANGE); setting Text,
// ItemIndex or Items from code does not run it. Choosing an item runs
// OnClick, then OnSelect, then OnChange. OnDropDown runs just before the list
// opens, OnCloseUp when it closes.
//
// Derived classes (the data-aware combo box) take part through the virtual
// Change, Select and DropDown: every user change of the text goes through
// Change before OnChange runs.
#pragma once

#include <functional>
#include <memory>

#include "framework/controls.h"
#include "framework/list_items.h"

// csOwnerDrawFixed and csOwnerDrawVariable are list-only boxes whose items
// the program draws (OnDrawItem; without one each item's text is drawn as a
// list-only box draws it); csOwnerDrawVariable asks OnMeasureItem for each
// item's height.
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
extern const TEnumInfo ComboBoxStyleEnum;

class TCanvas;
class TCustomComboBox;
using TComboDrawItemEvent =
    std::function<void(TCustomComboBox* control, int index, const RECT& rect, UINT state, TCanvas* canvas)>;
using TComboMeasureItemEvent = std::function<void(TCustomComboBox* control, int index, int& height)>;

class TCustomComboBox : public TWinControl {
    DECLARE_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    ~TCustomComboBox() override;

    TComboBoxStyle Style() const { return FStyle; }
    // Rebuilds the window (keeping items, text and choice) when it exists.
    void SetStyle(TComboBoxStyle value);
    // The style shows only choices, without an edit (csDropDownList and the
    // owner-drawn styles).
    bool ListOnly() const { return FStyle == csDropDownList || FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable; }
    TStrings* Items() const { return FItems.get(); }
    // Replaces the choices with a copy of `items`.
    void SetItems(TStrings* items);
    // The chosen item, -1 for none. Setting it shows that item's text;
    // an index outside the list chooses nothing (and empties the text).
    int ItemIndex() const;
    void SetItemIndex(int value);
    // How many choices the opened list shows before it scrolls.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value);
    // The most bytes the user may type into the edit; 0 is no limit. Text
    // set from code is not cut.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    int ItemHeight() const;
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // The edit window inside a csDropDown or csSimple combo box, else null.
    HWND EditHandle() const;

    // Chooses the item equal to `value` in a csDropDownList box (nothing when
    // there is none); sets the edit text of the other styles.
    void SetText(const std::string& value) override;
    // Empties the list and the text.
    void Clear();
    void SelectAll();

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TComboDrawItemEvent OnDrawItem;
    TComboMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;
    // The user changed the text; runs OnChange.
    virtual void Change();
    // The user chose an item; runs OnSelect.
    virtual void Select();
    // The list is about to open; sizes it and runs OnDropDown.
    virtual void DropDown();
    virtual void CloseUp();
    // Draws item `index` of an owner-drawn box (OnDrawItem, else its text).
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

private:
    void EnforceMaxLength();
    void RememberText();

    TComboBoxStyle FStyle = csDropDown;
    std::unique_ptr<TListItems> FItems;
    int FItemIndex = -1;     // kept while there is no window
    int FDropDownCount = 8;
    int FMaxLength = 0;
    std::string FLastText;   // the edit text after the last change seen
    bool FLimiting = false;
};

class TComboBox : public TCustomComboBox {
    DECLARE_CLASS_INLINE(TComboBox, TCustomComboBox)
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};
