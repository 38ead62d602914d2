// A page control that paints its own tabs (owner-drawn), from two pictures
// when it is given them: TabBackGround stretched over every tab,
// TabBackGroundActive over the chosen one; with no picture a tab is filled
// with the face colour. The caption is centred on the tab in the font's
// colour. Everything else is the page control's (pages, tab scroller,
// frame of the page area).
#pragma once

#include <memory>
#include <vector>

#include "framework/graphics.h"
#include "framework/page_control.h"

class TAdvPageControl : public TPageControl {
    DECLARE_CLASS(TAdvPageControl, TPageControl)
public:
    explicit TAdvPageControl(TComponent* owner);
    ~TAdvPageControl() override;

    TBitmap* TabBackGround() const { return FTabBackGround.get(); }
    void SetTabBackGround(TBitmap* value);
    TBitmap* TabBackGroundActive() const { return FTabBackGroundActive.get(); }
    void SetTabBackGroundActive(TBitmap* value);

    // Where tab `index` was last painted (client coordinates; empty when it
    // has not been).
    RECT PaintedTabRect(int index) const;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void DrawTab(const DRAWITEMSTRUCT& item);

    std::unique_ptr<TBitmap> FTabBackGround;
    std::unique_ptr<TBitmap> FTabBackGroundActive;
    std::vector<RECT> FPaintedTabs;
};
