// Control discovery: which control of a skinned window gets which skinner.
//
// When a form skinner is activated it walks its window's controls. A
// framework form's controls are found through the form's components and its
// tab order and decided by class, class name, the skin component's
// OnSkinControl event, its Skin3rd table ("ClassName=kind" lines) and its
// SkinControls set; a plain window's child windows are decided by window
// class name and style. The skinners are made by name (skinner_kinds.h), so
// a kind whose skinner is not built into the program leaves its control
// alone.
//
// The library installs its discovery as the form skinner's control skinning
// when it starts (control_skinning.h). A program that never names the
// control skinners links them in by asking for RavelbookControlSkinning
// (-Wl,--undefined=_RavelbookControlSkinning).
#pragma once

#include <windows.h>

#include <string>

class TControl;
class TSkinControl;
class TWinControl;
class TWinSkinForm;

// Installs control discovery as the form skinner's control skinning
// (done at start-up by this module; calling it again changes nothing).
void RegisterControlSkinning();
extern "C" void RavelbookControlSkinning();

// Discovery of one control or window, for callers that add controls after
// activation: the control (with its parent) or the bare child window is
// dispatched as the activation walk would.
void SkinControlNow(TWinSkinForm& form, TControl* control);
void SkinWindowNow(TWinSkinForm& form, HWND window);

// The name of the skinner class that a bare child window of window class
// `className` (any case) and style `style` gets, when it depends on
// nothing but these ("TSkinButton", "TSkinCheckBox", ...); empty for none.
std::string BareWindowSkinnerName(const std::string& className, LONG style);
