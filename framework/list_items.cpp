// Items of list box and combo box windows (see list_items.h).
#include "framework/list_items.h"

#include "framework/controls.h"

#include <algorithm>

const TListMessages ListBoxMessages{
    .GetCount = LB_GETCOUNT,
    .GetText = LB_GETTEXT,
    .GetTextLen = LB_GETTEXTLEN,
    .InsertString = LB_INSERTSTRING,
    .DeleteString = LB_DELETESTRING,
    .ResetContent = LB_RESETCONTENT,
    .GetItemData = LB_GETITEMDATA,
    .SetItemData = LB_SETITEMDATA,
    .Err = LB_ERR,
    .ErrSpace = LB_ERRSPACE,
};

const TListMessages ComboBoxMessages{
    .GetCount = CB_GETCOUNT,
    .GetText = CB_GETLBTEXT,
    .GetTextLen = CB_GETLBTEXTLEN,
    .InsertString = CB_INSERTSTRING,
    .DeleteString = CB_DELETESTRING,
    .ResetContent = CB_RESETCONTENT,
    .GetItemData = CB_GETITEMDATA,
    .SetItemData = CB_SETITEMDATA,
    .Err = CB_ERR,
    .ErrSpace = CB_ERRSPACE,
};

HWND TListItems::Window() const { return FControl->HandleIfAllocated(); }

void TListItems::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count) throw EListError(Format("List index out of bounds (%d)", index));
}

void TListItems::Changed()
{
    if (!FUpdating && OnChange) OnChange(this);
}

void TListItems::SetUpdateState(bool updating)
{
    FUpdating = updating;
    if (HWND window = Window()) {
        ::SendMessageA(window, WM_SETREDRAW, updating ? FALSE : TRUE, 0);
        if (!updating) InvalidateRect(window, nullptr, TRUE);
    }
    if (!updating) Changed();
}

void TListItems::TakePending() const
{
    if (!FPending) return;
    const std::shared_ptr<const std::vector<std::string>> lines = std::move(FPending);
    FSaved.BeginUpdate();
    FSaved.Reserve(FSaved.Count() + static_cast<int>(FPendingCount));
    for (size_t i = 0; i < FPendingCount; ++i) FSaved.Add((*lines)[i]);
    FSaved.EndUpdate();
    FPendingCount = 0;
}

void TListItems::AppendLater(std::shared_ptr<const std::vector<std::string>> lines)
{
    if (!lines || lines->empty()) return;
    if (Window() || FPending) {
        BeginUpdate();
        try {
            for (const std::string& line : *lines) Add(line);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    FPendingCount = lines->size();
    FPending = std::move(lines);
    Changed();
}

int TListItems::Count() const
{
    HWND window = Window();
    if (!window) return FSaved.Count() + static_cast<int>(FPendingCount);
    LRESULT n = ::SendMessageA(window, FMessages.GetCount, 0, 0);
    return n == FMessages.Err ? 0 : static_cast<int>(n);
}

std::string TListItems::Get(int index) const
{
    HWND window = Window();
    if (!window) {
        const int saved = FSaved.Count();
        if (FPending && index >= saved && index < Count()) return (*FPending)[static_cast<size_t>(index - saved)];
        return FSaved.Get(index);
    }
    CheckIndex(index, Count());
    LRESULT length = ::SendMessageA(window, FMessages.GetTextLen, index, 0);
    if (length == FMessages.Err || length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = ::SendMessageA(window, FMessages.GetText, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == FMessages.Err || got < 0 ? 0 : std::min(static_cast<size_t>(got), text.size() - 1));
    return text;
}

TObject* TListItems::GetObjectAt(int index) const
{
    HWND window = Window();
    TakePending();
    if (!window) return FSaved.GetObjectAt(index);
    CheckIndex(index, Count());
    LRESULT data = ::SendMessageA(window, FMessages.GetItemData, index, 0);
    return data == FMessages.Err ? nullptr : reinterpret_cast<TObject*>(data);
}

void TListItems::PutObjectAt(int index, TObject* object)
{
    HWND window = Window();
    TakePending();
    if (!window) return FSaved.PutObjectAt(index, object);
    CheckIndex(index, Count());
    ::SendMessageA(window, FMessages.SetItemData, index, reinterpret_cast<LPARAM>(object));
}

void TListItems::Insert(int index, const std::string& value)
{
    HWND window = Window();
    TakePending();
    if (!window) {
        FSaved.Insert(index, value);
        Changed();
        return;
    }
    if (index < 0 || index > Count()) throw EListError(Format("List index out of bounds (%d)", index));
    LRESULT at = ::SendMessageA(window, FMessages.InsertString, index, reinterpret_cast<LPARAM>(value.c_str()));
    if (at == FMessages.Err || at == FMessages.ErrSpace) throw EOutOfResources("Not enough room for another item");
    // A fresh item carries no object.
    ::SendMessageA(window, FMessages.SetItemData, at, 0);
    Changed();
}

void TListItems::Delete(int index)
{
    HWND window = Window();
    TakePending();
    if (!window) {
        FSaved.Delete(index);
    } else {
        CheckIndex(index, Count());
        ::SendMessageA(window, FMessages.DeleteString, index, 0);
    }
    Changed();
}

void TListItems::Clear()
{
    FPending.reset();
    FPendingCount = 0;
    if (HWND window = Window())
        ::SendMessageA(window, FMessages.ResetContent, 0, 0);
    else
        FSaved.Clear();
    Changed();
}

int TListItems::IndexOf(const std::string& value) const
{
    TakePending();
    if (!Window()) return FSaved.IndexOf(value);
    // An exact match first; otherwise the first that differs only in ASCII
    // case, as the window's own search would find it.
    int count = Count();
    int caseless = -1;
    for (int i = 0; i < count; ++i) {
        std::string item = Get(i);
        if (item == value) return i;
        if (caseless < 0 && SameText(item, value)) caseless = i;
    }
    return caseless;
}

void TListItems::RestoreTo(HWND window)
{
    for (int i = 0; i < FSaved.Count(); ++i) {
        LRESULT at = ::SendMessageA(window, FMessages.InsertString, i, reinterpret_cast<LPARAM>(FSaved.Get(i).c_str()));
        if (at != FMessages.Err && at != FMessages.ErrSpace)
            ::SendMessageA(window, FMessages.SetItemData, at, reinterpret_cast<LPARAM>(FSaved.GetObjectAt(i)));
    }
    FSaved.Clear();
    if (FPending) {
        // Added at the end, the window's storage made ready for them first.
        ::SendMessageA(window, &FMessages == &ListBoxMessages ? LB_INITSTORAGE : CB_INITSTORAGE, FPendingCount,
                       FPendingCount * 16);
        for (size_t i = 0; i < FPendingCount; ++i)
            ::SendMessageA(window, FMessages.InsertString, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>((*FPending)[i].c_str()));
        FPending.reset();
        FPendingCount = 0;
    }
}

void TListItems::SaveFrom(HWND window)
{
    FSaved.Clear();
    LRESULT n = ::SendMessageA(window, FMessages.GetCount, 0, 0);
    for (int i = 0; n != FMessages.Err && i < n; ++i) {
        LRESULT length = ::SendMessageA(window, FMessages.GetTextLen, i, 0);
        std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        LRESULT got = ::SendMessageA(window, FMessages.GetText, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(got < 0 ? 0 : std::min(static_cast<size_t>(got), text.size() - 1));
        LRESULT data = ::SendMessageA(window, FMessages.GetItemData, i, 0);
        FSaved.AddObject(text, data == FMessages.Err ? nullptr : reinterpret_cast<TObject*>(data));
    }
}
