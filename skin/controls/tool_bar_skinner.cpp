// Tool-bar and cool-bar skinners (see tool_bar_skinner.h).
#include "skin/controls/tool_bar_skinner.h"

#include <algorithm>
#include <string>

#include "framework/cool_bar.h"
#include "skin/controls/skinner_kinds.h"
#include "skin/controls/text_colours.h"
#include "skin/data/frame_draw.h"
#include "skin/data/skin_model.h"
#include "skin/form/form_skinner.h"

IMPLEMENT_CLASS(TSkinToolBar)
IMPLEMENT_CLASS(TSkinCoolBar)

DEFINE_SKINNER(TSkinToolBar, TSkinToolBar)
DEFINE_SKINNER(TSkinCoolBar, TSkinCoolBar)

// ---- the painters ------------------------------------------------------------------------------

int ToolButtonFrame(TCustomDrawState state)
{
    if (state & cdsSelected) return 2;
    if (state & (cdsFocused | cdsHot)) return 4;
    if ((state & cdsDefault) && !(state & (cdsGrayed | cdsDisabled))) return 1;
    return 0;
}

bool DrawToolBarBackground(const TSkinData* skin, HDC dc, const RECT& rect, UINT dpi)
{
    if (!skin || !dc || (skin->Options() & SkinOption(xoToolbarBK))) return false;
    const TDataSkinObject* gradient = skin->ModelFor(dpi).Object(ssToolbar);
    if (!gradient || gradient->Bitmap.Empty()) return false;
    TMemoryDC source(dc);
    TSelectObject picture(source, gradient->Bitmap.Handle());
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0,
               gradient->Bitmap.Width(), gradient->Bitmap.Height(), SRCCOPY);
    SetStretchBltMode(dc, oldMode);
    return true;
}

int DrawToolBarButton(const TSkinData* skin, HDC dc, const RECT& bounds, TCustomDrawState state, TColor& fontColour,
                      UINT dpi)
{
    const TDataSkinButton* buttons = skin ? skin->ModelFor(dpi).Buttons.get() : nullptr;
    if (!buttons || buttons->Bitmap.Empty() || !dc || (skin->Options() & SkinOption(xoToolbarButton))) return 0;
    const int frame = ToolButtonFrame(state);
    if (frame == 0) return 0;
    if (frame == 1 && buttons->HasNormalColour2) fontColour = static_cast<TColor>(buttons->NormalColour2);
    if (frame == 4 && buttons->HasMouseOverColour2) fontColour = static_cast<TColor>(buttons->MouseOverColour2);
    if (frame == 2 && buttons->HasPressedColour2) fontColour = static_cast<TColor>(buttons->PressedColour2);
    RECT inner = bounds;
    InflateRect(&inner, -1, -1);
    const RECT margins{buttons->LeftWidth, buttons->TopHeight, buttons->RightWidth, buttons->BottomHeight};
    skin::DrawFrameBitmap(dc, inner, buttons->Bitmap.Handle(), margins, frame, 5, buttons->Trans != 0, false, false);
    return frame;
}

// ---- TSkinToolBar ------------------------------------------------------------------------------

TSkinToolBar::TSkinToolBar(TComponent* owner) : TSkinBox(owner) {}

TSkinToolBar::~TSkinToolBar()
{
    // Freed without being detached (the form went first): the bar must not
    // keep events that call this skinner.
    if (FControl && !FControl->HasState(csDestroying)) GiveBack();
}

void TSkinToolBar::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool colourManaged, TCanvas* canvas)
{
    if (FAttached) return;
    TSkinBox::AttachControl(formSkinner, skinData, colourManaged, canvas);
    auto* bar = As<TToolBar>(FControl);
    if (!FAttached || !FControl) return;
    if (GetLowerPropByName(FControl, "Flat") == "false") {
        SetPropByName(FControl, "Flat", "True");
        FFlatSwitched = true;
    }
    if (!bar) return;
    if (!bar->OnCustomDraw) {
        bar->OnCustomDraw = [this](TToolBar* sender, const RECT& rect, bool& defaultDraw) {
            if (FActive && DrawToolBarBackground(FSkinData, sender->Canvas()->Handle(), rect, Dpi())) defaultDraw = false;
        };
        FDrawsBackground = true;
    }
    if (!bar->OnCustomDrawButton) {
        bar->OnCustomDrawButton = [this](TToolBar* sender, TToolButton* button, TCustomDrawState state,
                                         unsigned& flags, bool&) {
            if (!FActive || !FFormSkinner || FFormSkinner->SkinState() != fssSkinned) return;
            TColor colour = sender->Canvas()->Font()->Color();
            if (DrawToolBarButton(FSkinData, sender->Canvas()->Handle(), button->BoundsRect(), state, colour, Dpi()) == 0)
                return;
            sender->Canvas()->Font()->SetColor(colour);
            // The bar's own checked pattern would cover the frame.
            flags |= tdNoBackground;
        };
        FDrawsButtons = true;
    }
    bar->Invalidate();
}

void TSkinToolBar::GiveBack()
{
    if (!FControl) return;
    if (auto* bar = As<TToolBar>(FControl)) {
        if (FDrawsBackground) bar->OnCustomDraw = nullptr;
        if (FDrawsButtons) bar->OnCustomDrawButton = nullptr;
    }
    FDrawsBackground = FDrawsButtons = false;
    if (FFlatSwitched) SetPropByName(FControl, "Flat", "False");
    FFlatSwitched = false;
}

void TSkinToolBar::Detach()
{
    if (FLifeState == lsDetached) return;
    const bool present = FControl && FLifeState != lsWindowGone;
    if (present) GiveBack();
    TSkinBox::Detach();
    if (present) FControl->Invalidate();
}

void TSkinToolBar::SkinChanged()
{
    TSkinBox::SkinChanged();
    if (FControl) FControl->Invalidate();
}

// ---- TSkinCoolBar ------------------------------------------------------------------------------

TSkinCoolBar::TSkinCoolBar(TComponent* owner) : TSkinBox(owner) {}

void TSkinCoolBar::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas)
{
    if (FAttached) return;
    // The bar's own colour stays; its bands take the face.
    TSkinBox::AttachControl(formSkinner, skinData, false, canvas);
    auto* bar = As<TCoolBar>(FControl);
    if (!FAttached || !bar) return;
    FSavedBandColours.clear();
    FSavedTextColours.clear();
    for (int i = 0; i < bar->Bands()->Count(); ++i) {
        FSavedBandColours.push_back(bar->Bands()->Items(i)->Color());
        FSavedTextColours.push_back(bar->Bands()->Items(i)->TextColor());
    }
    ColourBands();
}

void TSkinCoolBar::ColourBands()
{
    auto* bar = As<TCoolBar>(FControl);
    if (!bar || !FSkinData) return;
    const std::string face = std::to_string(static_cast<int>(FSkinData->FaceColour()));
    for (int i = 0; i < bar->Bands()->Count(); ++i) SetPropByName(bar->Bands()->Items(i), "Color", face);
    // The bands' titles in the skin's text colour, readable on the face (a
    // dark skin's face would swallow the system's black).
    const COLORREF faceRgb = SkinColourRgb(FSkinData, scButtonFace);
    for (int i = 0; i < bar->Bands()->Count(); ++i) {
        TCoolBand* band = bar->Bands()->Items(i);
        const TColor own = i < static_cast<int>(FSavedTextColours.size()) ? FSavedTextColours[i] : band->TextColor();
        band->SetTextColor(static_cast<TColor>(SkinCaptionColour(FSkinData, own, faceRgb)));
    }
}

void TSkinCoolBar::Detach()
{
    if (FLifeState == lsDetached) return;
    auto* bar = As<TCoolBar>(FControl);
    if (bar && FLifeState != lsWindowGone) {
        const int count = std::min(bar->Bands()->Count(), static_cast<int>(FSavedBandColours.size()));
        for (int i = 0; i < count; ++i) bar->Bands()->Items(i)->SetColor(FSavedBandColours[i]);
        const int texts = std::min(bar->Bands()->Count(), static_cast<int>(FSavedTextColours.size()));
        for (int i = 0; i < texts; ++i) bar->Bands()->Items(i)->SetTextColor(FSavedTextColours[i]);
    }
    TSkinBox::Detach();
}

void TSkinCoolBar::SkinChanged()
{
    ColourBands();
    TSkinBox::SkinChanged();
}
