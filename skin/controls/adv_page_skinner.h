// TSkinAdvPage: the skinner of page controls that paint their own tabs from
// two pictures they publish (TabBackGround for every tab,
// TabBackGroundActive for the chosen one), the "advpagecontrol" kind of the
// class-name table. In that kind (4) it hands the control the skin's tab
// frames 1 and 2 as 100 by 21 pictures, and the skin's tab text colour as
// its font's colour; the control then paints its tabs from the skin. Its
// tab scroller gets an up-down skinner. Detach empties both pictures and
// gives the font its colour back.
#pragma once

#include "skin/controls/skin_control.h"
#include "skin/controls/text_colours.h"

class TSkinAdvPage : public TSkinControl {
    DECLARE_CLASS(TSkinAdvPage, TSkinControl)
public:
    explicit TSkinAdvPage(TComponent* owner) : TSkinControl(owner) {}

    void Configure(int kind, const std::string& property) override;
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void Detach() override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    int Mode() const { return FMode; }
    // The size of the tab pictures handed over.
    static constexpr int PICTURE_WIDTH = 100, PICTURE_HEIGHT = 21;

private:
    void HandOverPictures();
    void FindScroller();

    BYTE FMode = 0;
    TSkinControl* FUpDown = nullptr;  // owned by the control
    TTakenFontColour FFontColour;  // the control's caption colour, given back on detach
};
