// TSkinTab31: the skinner of tab sets (controls of class name "TTABSET",
// which paint their own strip of tabs hanging down from the top). It paints
// the whole strip: the face colour, then each shown tab from the skin's
// "Tabs" frames turned upside down (frame 2 for the chosen tab, 1 for the
// others) with its caption centred in the tab's colour. The tabs are laid
// out as the tab set lays them out: from its FirstIndex, left to right from
// its StartMargin, each its caption's width plus 9 wide, as long as they fit
// before its EndMargin (with the scroller shown, 12 more must fit).
//
// It subclasses the tab set's window; the tab set's first owned component,
// when it is its scroller, gets an up-down skinner laid out sideways.
#pragma once

#include "skin/controls/skin_control.h"
#include "skin/controls/tab_drawing.h"

class TSkinTab31 : public TSkinControl {
    DECLARE_CLASS(TSkinTab31, TSkinControl)
public:
    explicit TSkinTab31(TComponent* owner) : TSkinControl(owner) {}

    // Attaches to the owner's window as to a bare window.
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    // The tabs as last drawn (client coordinates), from FirstIndex on.
    const std::vector<RECT>& TabRects() const { return FTabRects; }

private:
    void PrepareImage();

    skin::TTabImages FImages;       // the tab image upside down
    TSkinControl* FUpDown = nullptr;  // owned by the tab set
    std::vector<RECT> FTabRects;
};
