// Check boxes and radio buttons that paint their own glyphs (no system
// button window behind them): the box or circle, then the caption right of
// it, the caption framed by a dotted focus rectangle while the control has
// the keyboard focus.
//
// The glyph is the system's classic box or circle, unless the control is
// given a picture of its own: a strip of frames side by side, each one
// glyph wide, whose TransparentColor pixels are left out. Frames by state,
// counted from 0:
//
//   TRzCheckBox     9 frames (CustomGlyphs, when UseCustomGlyphs):
//                   0 clear, 1 checked, 2 grayed; 3 - 5 the same pressed;
//                   6 - 8 the same disabled
//   TRzRadioButton  6 frames (CustomGlyphs, when UseCustomGlyphs):
//                   0 clear, 1 checked; 2, 3 pressed; 4, 5 disabled
//   TcxCheckBox     6 frames (Properties.Glyph, when not empty):
//                   0 clear, 1 checked, 2 grayed; 3 - 5 the same disabled
//
// A click (or the space bar) checks a radio button, unchecking the other
// radio buttons of the same parent, and steps a check box to its next state
// (through grayed with AllowGrayed); both then run OnClick. Setting Checked
// or State from code runs nothing.
#pragma once

#include <memory>

#include "framework/controls.h"
#include "framework/ext_controls.h"
#include "framework/graphics.h"

class TCustomGlyphCheck : public TCustomControl {
    DECLARE_CLASS(TCustomGlyphCheck, TCustomControl)
public:
    TCustomGlyphCheck(TComponent* owner, bool radio);
    ~TCustomGlyphCheck() override;

    bool Radio() const { return FRadio; }
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value);

    TBitmap* CustomGlyphs() const { return FCustomGlyphs.get(); }
    void SetCustomGlyphs(TBitmap* value);
    bool UseCustomGlyphs() const { return FUseCustomGlyphs; }
    void SetUseCustomGlyphs(bool value);
    TColor TransparentColor() const { return FTransparentColor; }
    void SetTransparentColor(TColor value);

    // Whether the mouse button went down on the control and is still down
    // over it.
    bool Pressed() const { return FPressed; }
    // The strip the control draws its glyph from now (null: the system's
    // glyph), how many frames it has, and which one shows the state now.
    virtual TBitmap* GlyphStrip() const;
    virtual int GlyphFrameCount() const;
    virtual int GlyphFrame() const;
    // Where the glyph and the caption go in the client area.
    RECT GlyphRect() const;
    RECT CaptionRect() const;

    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    // The user's click: the next state, then OnClick.
    void Toggle();
    // The size of one glyph.
    SIZE GlyphSize() const;
    // The colour left out of the glyph strip.
    virtual TColor StripTransparentColor() const { return FTransparentColor; }

private:
    void UncheckSiblings();

    bool FRadio;
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    std::unique_ptr<TBitmap> FCustomGlyphs;
    bool FUseCustomGlyphs = false;
    TColor FTransparentColor = clFuchsia;
    bool FPressed = false;
};

class TRzCheckBox : public TCustomGlyphCheck {
    DECLARE_CLASS_INLINE(TRzCheckBox, TCustomGlyphCheck)
public:
    explicit TRzCheckBox(TComponent* owner) : TCustomGlyphCheck(owner, false) {}
};

class TRzRadioButton : public TCustomGlyphCheck {
    DECLARE_CLASS_INLINE(TRzRadioButton, TCustomGlyphCheck)
public:
    explicit TRzRadioButton(TComponent* owner) : TCustomGlyphCheck(owner, true) {}
};

// The look settings of a TcxCheckBox: Glyph, a strip of six frames (see the
// top of this file) whose TransparentColor (by default the colour of its
// bottom-left pixel) is left out.
class TcxCheckBoxProperties : public TPersistent {
    DECLARE_CLASS(TcxCheckBoxProperties, TPersistent)
public:
    TcxCheckBoxProperties();
    ~TcxCheckBoxProperties() override;
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);

    TNotifyEvent OnChange;

private:
    std::unique_ptr<TBitmap> FGlyph;
};

class TcxCheckBox : public TCustomGlyphCheck {
    DECLARE_CLASS(TcxCheckBox, TCustomGlyphCheck)
public:
    explicit TcxCheckBox(TComponent* owner);
    ~TcxCheckBox() override;

    TcxCheckBoxProperties* Properties() const { return FProperties.get(); }
    void SetProperties(TcxCheckBoxProperties* value);

    TBitmap* GlyphStrip() const override;
    int GlyphFrameCount() const override;
    int GlyphFrame() const override;

protected:
    TColor StripTransparentColor() const override;

private:
    std::unique_ptr<TcxCheckBoxProperties> FProperties;
};
