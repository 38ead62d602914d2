// The skin's look of check boxes and radio buttons, apart from the skinners
// that hook the controls: which frame of the check or radio image shows a
// state, where the box and the caption go, and drawing the box.
//
// The "Buttons" object of a skin holds a check image (CheckBitmap,
// CheckButtonFrame frames side by side) and a radio image (RadioBitmap,
// RadioButtonFrame frames). Frames, counted from 1: 1 unchecked, 2 checked,
// 3 unchecked and disabled, 4 checked and disabled, which is also the grayed
// (indeterminate) check box. Strips of the older twelve-frame check layout
// and eight-frame radio layout keep those states at other places (see
// MapCheckFrame).
#pragma once

#include <windows.h>

#include <string>

namespace skin {

// What decides the frame of a check box. The window's answers come from
// BM_GETSTATE and its style; a framework control adds its published
// properties (lower-cased texts, empty when the control lacks the property).
struct TCheckBoxFacts {
    bool Checked = false;        // BM_GETSTATE has BST_CHECKED
    bool Indeterminate = false;  // BM_GETSTATE has BST_INDETERMINATE
    bool Disabled = false;       // the window has WS_DISABLED
    bool FrameworkControl = false;
    bool HasState = false;       // the control publishes State ...
    std::string State;           // ... with this text ("cbchecked", ...)
    bool HasChecked = false;     // the control publishes Checked ...
    std::string CheckedText;     // ... with this text ("true", "false")
    bool DataAware = false;      // the control publishes DataField
    int Remembered = 0;          // 0 none, else the last BM_SETCHECK wParam + 1
    bool HasDataBinding = false; // the control publishes DataBinding
};

// The frame (1 .. frameCount) of a check strip of `frameCount` frames that
// shows the box as `facts` describe it.
int CheckBoxFrameIndex(const TCheckBoxFacts& facts, int frameCount);

// The frame of a radio strip of `frameCount` frames. `checked` is the
// window's BM_GETCHECK; a framework control that publishes Checked decides
// by that text instead ("true" is checked).
int RadioButtonFrameIndex(bool checked, bool hasCheckedProperty, const std::string& checkedText, bool disabled,
                          int frameCount);

// The twelve-frame check layout and the eight-frame radio layout keep the
// checked state at 5, unchecked disabled at 4 and checked disabled at 8;
// other frame counts keep the index.
int MapCheckFrame(int index, int frameCount, bool radio);

// Where a check box or radio button of `rect` draws its box (a frame of
// `frameWidth` by `boxHeight`) and its caption.
struct TCheckLayout {
    RECT Box{};
    RECT Text{};
    UINT Format = 0;  // DT_ flags of the caption: alignment and reading order
};

// `leftText` is BS_LEFTTEXT (the box at the right edge, the caption left of
// it); `rightToLeft` a control that reads right to left.
TCheckLayout CheckLayout(const RECT& rect, int frameWidth, int boxHeight, bool leftText, bool rightToLeft,
                         bool radio, int gap = 2);

// Draws frame `frameIndex` of the `frameCount` frames of `strip` stretched
// into `box`, magenta left out.
void DrawCheckFrame(HDC dc, const RECT& box, HBITMAP strip, int frameIndex, int frameCount);

}  // namespace skin
