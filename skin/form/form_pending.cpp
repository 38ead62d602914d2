// The form skinner's control skinners, in their ordinary form: controls
// paint themselves. Control discovery replaces these functions.
#include "skin/form/form_skinner.h"

void TWinSkinForm::SkinChildControls() {}

void TWinSkinForm::FreeControlSkinners()
{
    // Control skinners own themselves and leave the list as they go; with
    // none made here the list only needs emptying.
    FControls.clear();
}

void TWinSkinForm::ReloadControlSkins() { RefreshControls(); }

void TWinSkinForm::RefreshControls()
{
    if (IsWindow(FHandle))
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::ReskinScrollBar(HWND) {}

TSkinControl* TWinSkinForm::FindControlSkinner(HWND) const { return nullptr; }
