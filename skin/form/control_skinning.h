// The form skinner's link to the control skinners.
//
// The control skinners live in a library above this one (skin/controls), so
// the form skinner never names them: that library hands in one
// TControlSkinning object when it starts, and the form skinner's control
// operations go through it. Without it (a program that does not link the
// control skinners) a form's controls keep their own look.
#pragma once

#include <windows.h>

class TSkinControl;
class TWinSkinForm;

class TControlSkinning {
public:
    virtual ~TControlSkinning() = default;
    // Activation: gives each recognised control of the form's window its
    // control skinner.
    virtual void SkinChildControls(TWinSkinForm& form) = 0;
    // Frees every control skinner of the form; each gives its control back
    // unless the form's window is going away.
    virtual void FreeControlSkinners(TWinSkinForm& form) = 0;
    // A new skin was loaded: every skinner takes it up and repaints.
    virtual void ReloadControlSkins(TWinSkinForm& form) = 0;
    // The skinner whose control window is `control`, or null.
    virtual TSkinControl* FindControlSkinner(const TWinSkinForm& form, HWND control) = 0;
    // A child window made under the skinned window after activation (the
    // size grip): skinned as a bare child window.
    virtual void SkinChildWindow(TWinSkinForm& form, HWND window) = 0;
    // SKM_RESKINSCROLLBAR: the skinner of `control` makes way for a
    // scroll-bar skinner.
    virtual void ReskinScrollBar(TWinSkinForm& form, HWND control) = 0;
};

// Installs the control skinning (the control skinner library does this as
// it starts); null takes it away.
void SetControlSkinning(TControlSkinning* skinning);
TControlSkinning* ControlSkinning();
