// The form skinner's control operations: each goes to the control skinning
// that the control skinner library installed (control_skinning.h).
#include <algorithm>

#include "skin/form/control_skinning.h"
#include "skin/form/form_skinner.h"

namespace {
TControlSkinning* InstalledSkinning = nullptr;
}

void SetControlSkinning(TControlSkinning* skinning)
{
    InstalledSkinning = skinning;
}

TControlSkinning* ControlSkinning()
{
    return InstalledSkinning;
}

void TWinSkinForm::SkinChildControls()
{
    if (InstalledSkinning) InstalledSkinning->SkinChildControls(*this);
}

void TWinSkinForm::FreeControlSkinners()
{
    if (InstalledSkinning && !FControls.empty()) InstalledSkinning->FreeControlSkinners(*this);
    FControls.clear();
}

void TWinSkinForm::ReloadControlSkins()
{
    if (InstalledSkinning) InstalledSkinning->ReloadControlSkins(*this);
    RefreshControls();
}

void TWinSkinForm::RefreshControls()
{
    if (IsWindow(FHandle))
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::ReskinScrollBar(HWND control)
{
    if (InstalledSkinning) InstalledSkinning->ReskinScrollBar(*this, control);
}

TSkinControl* TWinSkinForm::FindControlSkinner(HWND control) const
{
    return InstalledSkinning ? InstalledSkinning->FindControlSkinner(*this, control) : nullptr;
}

void TWinSkinForm::SizeGripCreated(HWND grip)
{
    if (InstalledSkinning && FSkinState != fssAttached) InstalledSkinning->SkinChildWindow(*this, grip);
}
