// Tool bars and cool bars on a skinned form.
//
// A tool bar keeps its own window procedure: the skin reaches it through
// its drawing events. TSkinToolBar is the surface skinner of a tool bar (a
// TSkinBox: the face colour) that also makes the bar flat and sets the
// bar's background and button drawing events, unless the program set its
// own: the background is the skin's "Toolbar" gradient stretched over the
// bar, each button gets a frame of the skin's "Buttons" strip by its state
// (pressed or checked 2, hot or focused 4, normal 1; a disabled button
// none), with the strip's caption colour of that state. Everything goes
// back as it was when the skin lets go.
//
// TSkinCoolBar gives every band of a cool bar the skin's face colour (the
// bar paints its bands, not itself) and each band its own colour back.
#pragma once

#include <vector>

#include "framework/tool_bar.h"
#include "skin/controls/box_skinner.h"

// The frame of the "Buttons" strip a tool button shows in custom-draw state
// `state`: 2 selected; 4 focused or hot; 1 default and neither grayed nor
// disabled; 0 none.
int ToolButtonFrame(TCustomDrawState state);

// The bar's background: the skin's generated "Toolbar" picture stretched
// over `rect` of `dc`. False (nothing drawn) without that picture or with
// xoToolbarBK in the skin's options. The pictures are the skin's at `dpi`,
// the scale of the bar's window.
bool DrawToolBarBackground(const TSkinData* skin, HDC dc, const RECT& rect, UINT dpi = 96);

// One button: frame ToolButtonFrame(state) of the "Buttons" strip over
// `bounds` shrunk by one pixel, with its margins, magenta transparent when
// Trans is set, middle stretched. `fontColour` becomes that state's caption
// colour when the strip gives one. Returns the frame drawn (0 for none:
// no "Buttons" picture, xoToolbarButton in the options, or a state that
// shows none).
int DrawToolBarButton(const TSkinData* skin, HDC dc, const RECT& bounds, TCustomDrawState state, TColor& fontColour,
                      UINT dpi = 96);

class TSkinToolBar : public TSkinBox {
    DECLARE_CLASS(TSkinToolBar, TSkinBox)
public:
    explicit TSkinToolBar(TComponent* owner);
    ~TSkinToolBar() override;
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void Detach() override;
    void SkinChanged() override;

private:
    // The drawing events of the bar, and what was given back.
    void GiveBack();
    bool FFlatSwitched = false;      // Flat was off and was switched on
    bool FDrawsBackground = false;   // OnCustomDraw is ours
    bool FDrawsButtons = false;      // OnCustomDrawButton is ours
};

class TSkinCoolBar : public TSkinBox {
    DECLARE_CLASS(TSkinCoolBar, TSkinBox)
public:
    explicit TSkinCoolBar(TComponent* owner);
    void AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas) override;
    void Detach() override;
    void SkinChanged() override;

private:
    void ColourBands();
    std::vector<TColor> FSavedBandColours;  // by band index, as found on attach
    std::vector<TColor> FSavedTextColours;  // the same for the bands' texts
};
