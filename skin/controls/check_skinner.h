// Check box and radio button skinners.
//
// TSkinCheckBox and TSkinRadioButton draw the box (or circle) from the
// skin's check or radio image ("Buttons" CheckBitmap / RadioBitmap, one
// frame per state, check_drawing.h). A framework control is painted whole by
// the skinner, box and caption, on the skin's face colour (or on the
// parent's background for a control with Tag 5555 or the xoTransparent
// option); a bare window paints itself and gets only the box drawn over it.
//
// The control keeps its own behaviour: clicks, the space key and BM_SETCHECK
// change its state, and the skinner repaints after each of them.
#pragma once

#include "skin/controls/skin_control.h"

class TSkinCheckBox : public TSkinControl {
    DECLARE_CLASS(TSkinCheckBox, TSkinControl)
public:
    explicit TSkinCheckBox(TComponent* owner);

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;

protected:
    // True for the radio button skinner.
    virtual bool Radio() const { return false; }
    // The frame of the strip for the control's state now.
    virtual int FrameIndex(int frameCount) const;

    BYTE FTransparent = 0;
    // 0, or the last BM_SETCHECK wParam + 1 (a bound check box shows it).
    int FRemembered = 0;

private:
    TSkinBuffer FBuffer;
};

class TSkinRadioButton : public TSkinCheckBox {
    DECLARE_CLASS(TSkinRadioButton, TSkinCheckBox)
public:
    explicit TSkinRadioButton(TComponent* owner) : TSkinCheckBox(owner) {}

protected:
    bool Radio() const override { return true; }
    int FrameIndex(int frameCount) const override;
};
