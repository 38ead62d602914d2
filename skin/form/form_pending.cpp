// The form skinner's menu bar, owner-drawn menu items and control skinners,
// in their ordinary form: the window keeps its native menu bar, menu items
// are drawn by the system and controls paint themselves. The skinned menu
// bar, popup menus and control discovery replace these functions.
#include "skin/form/form_skinner.h"

void TWinSkinForm::CreateMenuBar()
{
    // The native menu stays on the window; no band is reserved under the
    // caption for a skinned one.
    FMenuBar = nullptr;
}

void TWinSkinForm::FreeMenuBar(bool giveMenuBack)
{
    // Whatever happened to the window's menu while skinned, it gets its own
    // menu back.
    if (giveMenuBack && FNativeMenu && IsWindow(FHandle) && GetMenu(FHandle) != FNativeMenu && IsMenu(FNativeMenu))
        SetMenu(FHandle, FNativeMenu);
    FMenuBar = nullptr;
}

void TWinSkinForm::RebuildMenuBar(HMENU) {}
bool TWinSkinForm::OpenMenuBarAt(POINT) { return false; }
bool TWinSkinForm::OpenMenuBarByKey(WPARAM) { return false; }
void TWinSkinForm::SetMenusOwnerDraw(bool) {}
LRESULT TWinSkinForm::MeasureMenuItem(WPARAM wParam, LPARAM lParam) { return CallDefault(WM_MEASUREITEM, wParam, lParam); }
LRESULT TWinSkinForm::DrawMenuItem(WPARAM wParam, LPARAM lParam) { return CallDefault(WM_DRAWITEM, wParam, lParam); }
