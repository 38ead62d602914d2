// The skin's look of edits, combo boxes and date-time pickers, apart from
// the skinners that hook the controls: the sunken borders drawn over the
// control's own edge, and the combo box's frame and drop-down button in its
// states (normal, pressed, disabled, hot: frames 1 to 4 of "ComboButton",
// "SunkEdge", "ExtraImages" and "ComboxArrow").
//
// The control paints its text area itself; these painters draw only the
// border and the button area, in window coordinates.
#pragma once

#include <windows.h>

class TSkinModel;

namespace skin {

// The three-pixel border of a skinned edit, from the outside in: one pixel
// `shadow`, two pixels white.
void DrawEditBorder(HDC dc, const RECT& rect, COLORREF shadow);
// The two-pixel border of a skinned date-time picker or extended combo box:
// one pixel `shadow`, one pixel white.
void DrawPickerBorder(HDC dc, const RECT& rect, COLORREF shadow);
// The border of an edit printed with WM_PRINT: the DC's current brush one
// pixel in, `shadow` around it.
void DrawPrintBorder(HDC dc, const RECT& rect, COLORREF shadow);

// What the combo box's look depends on.
struct TComboFacts {
    bool Pressed = false;   // the left button went down on the box and is still down
    bool Focused = false;   // the box (or its edit) has the focus
    bool Hot = false;       // the pointer is over the button
    bool Enabled = true;
    bool LeftScrollBar = false;  // WS_EX_LEFTSCROLLBAR: the button at the left
};

// Frame of the combo box's states: pressed 2, focused or hot 4, otherwise 1;
// disabled 3 above all.
int ComboStateFrame(const TComboFacts& facts);
// The flat look's frame: as ComboStateFrame, but a disabled box that is
// pressed, focused or hot keeps that frame.
int ComboFlatStateFrame(const TComboFacts& facts);

// The parts of a combo box of rectangle `r` (at the origin) whose arrow is
// `arrowWidth` wide: the text area the control paints (left out of the
// drawing), the button area and the area its glyph is centred in.
struct TComboLayout {
    RECT TextArea{};
    RECT Button{};
    RECT Glyph{};
};
TComboLayout ComboLayout(const RECT& r, int arrowWidth, bool leftScrollBar);

// Draws the skinned frame and button of a combo box into `dc` (window
// coordinates, `r` the whole window at the origin) by the "ComboButton"
// object's Style: 0 the sunken edge with the button image in the button
// area and the glyph centred in it; 1 the flat look; 2 one composite image
// of frame and button over the whole box. Returns the button rectangle the
// pointer is tested against; nothing is drawn (and `previous` is returned)
// when the skin has no "ComboButton" image.
RECT DrawComboFrame(HDC dc, const RECT& r, const TComboFacts& facts, const TSkinModel& model, const RECT& previous);

// The look of an extended combo box: the picker border around `r` unless
// `borderless`, then `inner` (its combo box, in the same coordinates) filled
// with the face colour and the state frame of "ComboxArrow" stretched into
// it.
void DrawComboExFrame(HDC dc, const RECT& r, const RECT& inner, bool borderless, const TComboFacts& facts,
                      const TSkinModel& model);

}  // namespace skin
