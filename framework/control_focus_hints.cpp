// Focus and hints (see controls.h): the tab order of windowed controls,
// focusing them, entering and leaving them, the dialog keys their form
// handles, and a control's hint and whether it shows it.
#include "framework/controls.h"

#include <algorithm>

#include "framework/forms.h"

void TControl::UpdateHint()
{
    TCustomForm* form = GetParentForm(this);
    if (form && form != this) form->UpdateHint(this);
}

void TControl::SetHint(const std::string& value)
{
    if (value == FHint) return;
    FHint = value;
    UpdateHint();
}

void TControl::SetShowHint(bool value)
{
    FParentShowHint = false;
    if (value == FShowHint) return;
    FShowHint = value;
    Perform(CM_SHOWHINTCHANGED);
    UpdateHint();
}

void TControl::SetParentShowHint(bool value)
{
    FParentShowHint = value;
    if (value && FParent) {
        FShowHint = FParent->ShowHint();
        UpdateHint();
    }
}

void TWinControl::SetTabStop(bool value)
{
    if (value == FTabStop) return;
    FTabStop = value;
    if (FHandle) {
        LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        SetWindowLongA(FHandle, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const
{
    if (!FParent) return -1;
    const auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!FParent) return;
    auto& list = FParent->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw EInvalidOperation(Format("Cannot focus a disabled or invisible window (%s)", Name().c_str()));
    ::SetFocus(Handle());
}

void TWinControl::DoEnter()
{
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit) OnExit(this);
}

bool TWinControl::DoDialogKey(WORD key, LPARAM keyData)
{
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && key != VK_CANCEL && key != VK_LEFT &&
        key != VK_RIGHT && key != VK_UP && key != VK_DOWN)
        return false;
    LRESULT code = FHandle ? ::SendMessageA(FHandle, WM_GETDLGCODE, 0, 0) : 0;
    if (code & DLGC_WANTALLKEYS) return false;
    if (key == VK_TAB && (code & DLGC_WANTTAB)) return false;
    if ((key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN) && (code & DLGC_WANTARROWS)) return false;
    if (Perform(CM_WANTSPECIALKEY, key, keyData)) return false;
    TCustomForm* form = GetParentForm(this);
    return form && form->Perform(CM_DIALOGKEY, key, keyData) != 0;
}
