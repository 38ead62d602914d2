// The skinner of labels: texts painted straight on their parent, which have
// no window of their own.
//
// On a skinned surface a label that takes its parent's colour (ParentColor)
// or asks to be transparent is drawn without a background of its own, so
// the skin's surface shows through it; a label given a colour of its own
// keeps it. Its text takes the skin's text colour of the role its font
// colour has (see text_colours.h), made legible on what lies under it; a
// disabled label is drawn faint, halfway to the surface. The label's
// own properties are never changed: the skinner takes over its painting
// (its WindowProc) and gives that back when it lets go, so the label looks
// exactly as before.
#pragma once

#include "skin/controls/skin_control.h"

class TSkinLabel : public TSkinControl {
    DECLARE_CLASS(TSkinLabel, TSkinControl)
public:
    explicit TSkinLabel(TComponent* owner);
    ~TSkinLabel() override;

    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Detach() override;
    void Draw(HDC dc, const RECT& rect) override;

    // Whether the label shows the surface under it (no fill of its own).
    bool ShowsSurface() const;
    // The colour its caption is drawn in over `background`.
    COLORREF CaptionColour(COLORREF background) const;

private:
    void GiveWindowProcBack();
};
