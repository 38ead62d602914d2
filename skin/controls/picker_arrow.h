// TArrowButton: the small window laid over a date-time picker's drop-down
// button. It shows the skin's combo-box arrow ("ComboxArrow", frame 1, or 4
// while the mouse is over an enabled picker) and turns a click on it into a
// click on the picker, which then opens its calendar as usual.
//
// The picker skinner makes one, calls PlaceArrow when it attaches and
// AlignArrow from its drawing with the rectangle it draws; freeing the button
// takes it off the picker and gives the picker's style back. The button's
// window is made when the picker is on screen: for a picker on a page not
// shown, by the picker skinner at the picker's first paint.
#pragma once

#include <windows.h>

#include "framework/controls.h"

class TSkinControl;
class TSkinData;

class TArrowButton : public TCustomControl {
    DECLARE_CLASS_INLINE(TArrowButton, TCustomControl)
public:
    explicit TArrowButton(TComponent* owner);
    ~TArrowButton() override;

    // Puts the button on `picker`'s window over its drop-down button: the
    // arrow's width, the picker's height less 4, at the right (2 pixels from
    // the left for a right-to-left picker). The picker window clips it.
    // `skinner` (the picker's) gives the skin.
    void PlaceArrow(TSkinControl* skinner, TWinControl* picker);
    // Keeps the button at the right end of `rect` (the picker's rectangle).
    void AlignArrow(const RECT& rect);

    TWinControl* Picker() const { return FPicker; }
    HWND PickerWindow() const { return FPickerWindow; }
    bool Hover() const { return (FState & 1) != 0; }
    // The frame of "ComboxArrow" shown now: 4 while the pointer is over the
    // button of an enabled picker, else 1.
    int ArrowFrame() const;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;

private:
    void SetHover(bool value);
    bool RightToLeft() const;

    int FArrowWidth = 0;
    TWinControl* FPicker = nullptr;
    TSkinControl* FSkinner = nullptr;
    TSkinData* FSkinData = nullptr;
    HWND FPickerWindow = nullptr;
    BYTE FState = 0;                 // bit 0: hover
    bool FAddedClipChildren = false;  // PlaceArrow gave the picker WS_CLIPCHILDREN
};
