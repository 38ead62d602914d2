// Extended combo boxes: a combo box whose items can carry a picture from an
// image list, drawn by the common control ComboBoxEx32.
//
// TComboBoxEx superclasses ComboBoxEx32; its window is of class
// "TComboBoxEx" and holds the real combo box as its child (and, for the
// styles with an edit, that combo box's edit). Items are kept in the object
// and shown by the window; ItemIndex and Text read the window while there is
// one.
//
// Events: the user's choice of an item runs OnClick, then OnSelect, then
// OnChange; typing in the edit runs OnChange. Changes from code run none.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "framework/controls.h"
#include "framework/string_list.h"

enum TComboBoxExStyle { csExDropDown, csExSimple, csExDropDownList };
extern const TEnumInfo ComboBoxExStyleEnum;

class TComboBoxEx : public TWinControl {
    DECLARE_CLASS(TComboBoxEx, TWinControl)
public:
    explicit TComboBoxEx(TComponent* owner);
    ~TComboBoxEx() override;

    TComboBoxExStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxExStyle value);
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* items);
    // The chosen item, -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int value);
    // The pictures of the items (item i shows picture i); not owned.
    HIMAGELIST Images() const { return FImages; }
    void SetImages(HIMAGELIST images);
    // The combo box inside the window, or null.
    HWND ComboHandle() const;

    void WndProc(TMessage& message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWindowDone() override;
    void DestroyWnd() override;

private:
    void UpdateItems();

    TComboBoxExStyle FStyle = csExDropDown;
    std::unique_ptr<TStringList> FItems;
    int FItemIndex = -1;  // kept while there is no window
    bool FSettingIndex = false;  // the program is choosing: not the user's change
    HIMAGELIST FImages = nullptr;
};
