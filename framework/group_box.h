// Group boxes: an etched frame around a group of controls, with or without a
// caption in its top edge.
//
// The group box paints itself (frame, caption, background in Color) on a
// window of class "TGroupBox"; the system's group-box button is not used
// because it lets clicks through to what lies behind it and leaves its
// background unpainted, which a container of other controls cannot have.
#pragma once

#include "framework/controls.h"

class TCustomGroupBox : public TCustomControl {
    DECLARE_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);

    void WndProc(TMessage& message) override;

protected:
    void Paint() override;
    // Children aligned inside keep clear of the frame and the caption line.
    void AdjustClientRect(RECT& rect) const override;

private:
    // The height of a line of text in the control's font.
    int TextHeight() const;
};

class TGroupBox : public TCustomGroupBox {
    DECLARE_CLASS_INLINE(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};
