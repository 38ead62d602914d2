// The form skinner's control operations: each goes to the control skinning
// that the control skinner library installed (control_skinning.h).
#include <algorithm>

#include "framework/controls.h"
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

// Attaching or freeing a whole window's control skinners changes the look of
// most of its controls: each control's own invalidation is held back and the
// window is repainted once instead (one request to the system, where one per
// control and property change cost several hundred a pass).
void TWinSkinForm::SkinChildControls()
{
    if (!InstalledSkinning) return;
    TInvalidateHold hold(FHandle);
    InstalledSkinning->SkinChildControls(*this);
    if (hold.Held() && IsWindow(FHandle))
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::FreeControlSkinners()
{
    if (InstalledSkinning && !FControls.empty()) {
        TInvalidateHold hold(FHandle);
        InstalledSkinning->FreeControlSkinners(*this);
        const bool windowGoing = FSkinState == fssDetaching || FSkinState == fssDestroyed ||
                                 (FForm && FForm->HasState(csDestroying));
        if (hold.Held() && !windowGoing && IsWindow(FHandle))
            RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    FControls.clear();
}

// A new skin: every skinner takes up its pictures and colours while their
// repaints are held back; the whole window is repainted once after it.
void TWinSkinForm::ReloadControlSkins()
{
    if (InstalledSkinning) {
        TInvalidateHold hold(FHandle);
        InstalledSkinning->ReloadControlSkins(*this);
    }
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
