// The item list of a list box or combo box window, as a TStrings.
//
// While the control has a window, the window holds the items: every read and
// write goes to it with the list's own messages (LB_* or CB_*), so items that
// the window gained some other way are seen too. Without a window the items
// are kept here; the control hands them to its window when the window is
// made (RestoreTo) and takes them back before the window is destroyed
// (SaveFrom), so a recreated window keeps its items. The object of an item
// is kept in the item's data.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/string_list.h"

class TWinControl;

// The window messages of one kind of list window.
struct TListMessages {
    UINT GetCount;
    UINT GetText;
    UINT GetTextLen;
    UINT InsertString;
    UINT DeleteString;
    UINT ResetContent;
    UINT GetItemData;
    UINT SetItemData;
    LRESULT Err;
    LRESULT ErrSpace;
};

extern const TListMessages ListBoxMessages;
extern const TListMessages ComboBoxMessages;

// Invariant: while Control's window exists, FSaved is empty and nothing is
// pending.
class TListItems : public TStrings {
    DECLARE_CLASS_INLINE(TListItems, TStrings)
public:
    TListItems(TWinControl* control, const TListMessages& messages) : FControl(control), FMessages(messages) {}

    int Count() const override;
    std::string Get(int index) const override;
    TObject* GetObjectAt(int index) const override;
    void PutObjectAt(int index, TObject* object) override;
    // Throws EListError for an index outside 0 .. Count() and EOutOfResources
    // when the window cannot take another item.
    void Insert(int index, const std::string& value) override;
    void Delete(int index) override;
    void Clear() override;
    // The first item equal to `value`, else the first equal but for ASCII
    // case; -1 when none is.
    int IndexOf(const std::string& value) const override;

    // Adds `lines` after the items there are, as Add would one by one, but
    // without a window they are taken in only when the list is first changed
    // or its window is made: a long list a hidden window holds costs nothing
    // until then. The list keeps `lines` and takes the lines it holds now;
    // the caller may add lines after them but must not change these.
    void AppendLater(std::shared_ptr<const std::vector<std::string>> lines);

    // Puts the kept items into the control's new window.
    void RestoreTo(HWND window);
    // Takes the items out of the control's window before it goes.
    void SaveFrom(HWND window);

    // Runs after every change of the items (not while updating; once at
    // the end of an update).
    TNotifyEvent OnChange;

protected:
    void SetUpdateState(bool updating) override;

private:
    HWND Window() const;
    void CheckIndex(int index, int count) const;
    void Changed();
    // Takes the lines AppendLater left pending into the kept items.
    void TakePending() const;

    TWinControl* FControl;
    const TListMessages& FMessages;
    mutable TStringList FSaved;
    // Lines after FSaved's, not yet taken in: the first FPendingCount of them.
    mutable std::shared_ptr<const std::vector<std::string>> FPending;
    mutable size_t FPendingCount = 0;
    bool FUpdating = false;
};

// The system could not make room for something (an item, a window).
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};
