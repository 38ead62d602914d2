// Non-client objects of a skinned window: the caption buttons (and, through
// the same base, the menu-bar items of menu_bar.h), with their normal, hot
// and pressed states.
//
// At most one object of a form is hot: the form skinner holds it. Moving
// onto an object makes it hot, pressing makes it pressed, releasing hot
// again, leaving makes it normal; each change repaints the object.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/gdi_handles.h"
#include "skin/form/nc_geometry.h"

class TWinSkinForm;
class TDataSkinSysButton;

class TNCObject {
public:
    explicit TNCObject(TWinSkinForm* form) : Form(form) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    TWinSkinForm* Form;
    RECT Rect{};                           // window coordinates
    BYTE Visible = 0;
    std::int32_t State = skin::ncsNormal;  // TNCState
    BYTE Enabled = 1;
    // How long the mouse has rested on this object while it was hot (ms),
    // for the caption-button hint; reset when it stops being hot.
    int HoverTime = 0;

    // Pressed: the object becomes the form's hot object (the previous one
    // leaves) and is drawn pressed.
    virtual void MouseDown();
    // Released over the object: drawn hot.
    virtual void MouseUp();
    // The mouse moved onto the object: the previous hot object leaves, this
    // one becomes hot. Nothing when it is already the hot object.
    virtual void MouseMove();
    // The mouse left: no hot object, drawn normal, the hint hidden.
    virtual void MouseLeave();
    virtual void Paint() {}
    // A menu-bar item (opens a menu instead of running an action).
    virtual bool IsMenuItem() const { return false; }
};

// A caption button drawn from a skin button object's image strip.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm* form, TDataSkinSysButton* skinButton) : TNCObject(form), SkinButton(skinButton) {}

    TDataSkinSysButton* SkinButton;
    // For an icon button whose skin object has no image: a copy of the
    // form's icon bitmap, made when the buttons are built.
    TGdiBitmap IconImage;

    // The button that shows the window's icon (Action 3 or 11).
    bool IsIconButton() const;
    int Action() const;
    // The image the button is drawn from: its own strip, or for an icon
    // button without one the form's icon bitmap (one frame).
    HBITMAP Image() const;
    int FrameCount() const;
    // One frame's size; 0 x 0 without an image.
    SIZE FrameSize() const;
    bool HasImage() const;
    // The frame for the current state (ButtonStateFrame).
    int StateFrame() const;

    // Repaints the caption strip the button sits on, or, for a button on
    // the menu-bar row, the button alone.
    void Paint() override;
};

// The hint of a caption button's Action ("Close", "Maximize", "Minimize",
// "Restore"), or null for an action without one.
const char* CaptionHintText(int action);
