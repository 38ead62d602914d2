// Tab control, page control and tab sheet skinners.
//
//   TSkinTab       tab controls and page controls drawn as tabs: the tab
//                  strip from the skin's "Tabs" frames (ordinary, selected,
//                  hot under the pointer), the selected tab joining the page,
//                  and the page's border image; bottom, left and right tabs
//                  use the images turned. Page controls with Tag 7777 and top
//                  tabs show a close box on every tab.
//   TSkinTabBtn    page controls drawn as buttons or flat buttons: each tab a
//                  button of the skin's "Buttons" frames.
//   TSkinTabSheet  the pages: the skin's face colour under their controls.
//
// A strip too long for the control scrolls with an up-down, which gets its
// own skinner ("TSkinUpDown") when the program has one; the strip is not
// painted over it.
#pragma once

#include <vector>

#include "skin/controls/skin_control.h"
#include "skin/controls/tab_drawing.h"

// What TSkinTab and TSkinTabBtn share: they paint the whole control and
// follow the pointer over the tabs.
class TSkinTabStrip : public TSkinControl {
    DECLARE_CLASS(TSkinTabStrip, TSkinControl)
public:
    explicit TSkinTabStrip(TComponent* owner) : TSkinControl(owner) {}

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;

    // The tab under the pointer, -1 for none.
    int HotTab() const { return FHot; }

protected:
    void SetHot(int tab);

    int FHot = -1;
};

class TSkinTab : public TSkinTabStrip {
    DECLARE_CLASS(TSkinTab, TSkinTabStrip)
public:
    explicit TSkinTab(TComponent* owner) : TSkinTabStrip(owner) {}

    // Kind 2: a tab control that is not a page control (it also paints the
    // control's graphic children).
    void Configure(int kind, const std::string& property) override;
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void AttachWindow(HWND window, TSkinData* skinData, TWinSkinForm* formSkinner, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
    void SkinChanged() override;

    // The close box of each tab (control coordinates), as last drawn.
    const std::vector<RECT>& CloseRects() const { return FCloseRects; }

private:
    void PrepareImages();
    // Skins the strip's up-down; true when it shows.
    bool FindScroller(RECT* scroller);
    bool CloseBoxClicked(int x, int y);

    std::vector<RECT> FCloseRects;
    skin::TTabOrientation FOrientation = skin::toTop;
    skin::TTabImages FImages;
    TSkinControl* FUpDown = nullptr;  // owned by the control (or the form skinner)
    BYTE FCloseButtons = 0;
    int FKind = 0;
};

class TSkinTabBtn : public TSkinTabStrip {
    DECLARE_CLASS(TSkinTabBtn, TSkinTabStrip)
public:
    explicit TSkinTabBtn(TComponent* owner) : TSkinTabStrip(owner) {}

    void Draw(HDC dc, const RECT& rect) override;
};

class TSkinTabSheet : public TSkinControl {
    DECLARE_CLASS(TSkinTabSheet, TSkinControl)
public:
    explicit TSkinTabSheet(TComponent* owner) : TSkinControl(owner) {}

    bool BeforeMessage(TMessage& message) override;
    void Draw(HDC dc, const RECT& rect) override;
};
