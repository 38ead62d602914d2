// The label skinner (see label_skinner.h).
#include "skin/controls/label_skinner.h"

#include "skin/controls/skinner_kinds.h"
#include "skin/controls/text_colours.h"

IMPLEMENT_CLASS(TSkinLabel)

DEFINE_SKINNER(TSkinLabel, TSkinLabel)

namespace {

// The colour a label's surface shows when it has none of its own: its
// parent's, which a skinned parent draws in the skin's face colour.
COLORREF SurfaceColour(const TSkinData* skinData) { return SkinColourRgb(skinData, scButtonFace); }

UINT LabelFormat(const TControl* label)
{
    UINT format = DT_EXPANDTABS;
    const std::string alignment = GetLowerPropByName(label, "Alignment");
    if (alignment == "tarightjustify")
        format |= DT_RIGHT;
    else if (alignment == "tacenter")
        format |= DT_CENTER;
    if (GetLowerPropByName(label, "WordWrap") == "true") format |= DT_WORDBREAK;
    if (GetLowerPropByName(label, "ShowAccelChar") == "false") format |= DT_NOPREFIX;
    return format;
}

}  // namespace

TSkinLabel::TSkinLabel(TComponent* owner) : TSkinControl(owner) {}

TSkinLabel::~TSkinLabel()
{
    GiveWindowProcBack();
}

void TSkinLabel::AttachControl(TWinSkinForm* formSkinner, TSkinData* skinData, bool, TCanvas* canvas)
{
    auto* label = As<TControl>(Owner());
    if (FAttached || !label || !skinData) return;
    FSkinData = skinData;
    FFormSkinner = formSkinner;
    FCanvas = canvas;
    FPaintTarget = label;
    FSavedWindowMethod = label->WindowProc();
    label->SetWindowProc(TWndMethod(static_cast<TSkinControl*>(this), &TSkinControl::SkinWndProc));
    Register();
    FLifeState = lsAttached;
    FAttached = 1;
    label->Invalidate();
}

void TSkinLabel::GiveWindowProcBack()
{
    if (FPaintTarget && FSavedWindowMethod && !FPaintTarget->HasState(csDestroying) &&
        FPaintTarget->WindowProc() == TWndMethod(static_cast<TSkinControl*>(this), &TSkinControl::SkinWndProc))
        FPaintTarget->SetWindowProc(FSavedWindowMethod);
    FSavedWindowMethod = TWndMethod();
}

void TSkinLabel::Detach()
{
    const bool wasActive = Active();
    TSkinControl::Detach();
    if (!wasActive) return;
    GiveWindowProcBack();
    if (FPaintTarget && !FPaintTarget->HasState(csDestroying)) FPaintTarget->Invalidate();
}

bool TSkinLabel::BeforeMessage(TMessage& message)
{
    if (message.Msg == WM_PAINT && message.WParam && FPaintTarget) {
        RECT rect{0, 0, FPaintTarget->Width(), FPaintTarget->Height()};
        Draw(reinterpret_cast<HDC>(message.WParam), rect);
        message.Result = 1;
        return false;
    }
    return true;
}

void TSkinLabel::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE:
        GiveWindowProcBack();
        break;
    default:
        break;
    }
}

bool TSkinLabel::ShowsSurface() const
{
    if (!FPaintTarget) return true;
    return GetLowerPropByName(FPaintTarget, "Transparent") == "true" ||
           GetLowerPropByName(FPaintTarget, "ParentColor") != "false";
}

COLORREF TSkinLabel::CaptionColour(COLORREF background) const
{
    auto* font = static_cast<TFont*>(GetObjectPropByName(FPaintTarget, "Font", &TFont::StaticClassInfo()));
    return SkinCaptionColour(FSkinData, font ? font->Color() : clWindowText, background);
}

void TSkinLabel::Draw(HDC dc, const RECT& rect)
{
    if (!FPaintTarget || !FSkinData) return;
    COLORREF background = SurfaceColour(FSkinData);
    if (!ShowsSurface()) {
        background = ColourRgb(static_cast<TColor>(GetOrdPropByName(FPaintTarget, "Color")));
        TGdiBrush brush(CreateSolidBrush(background));
        FillRect(dc, &rect, brush);
    }
    FCaption = GetTextPropByName(FPaintTarget, "Caption");
    if (FCaption.empty()) return;
    auto* font = static_cast<TFont*>(GetObjectPropByName(FPaintTarget, "Font", &TFont::StaticClassInfo()));
    HFONT handle = font ? font->Handle() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    TSelectObject selectedFont(dc, handle);
    const bool enabled = GetLowerPropByName(FPaintTarget, "Enabled") != "false";
    COLORREF colour = CaptionColour(background);
    if (!enabled) {
        // Halfway to the surface: faint, as disabled text is meant to be.
        colour = RGB((GetRValue(colour) + GetRValue(background)) / 2, (GetGValue(colour) + GetGValue(background)) / 2,
                     (GetBValue(colour) + GetBValue(background)) / 2);
    }
    const COLORREF oldColour = SetTextColor(dc, colour);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT text = rect;
    DrawTextWide(dc, FCaption, text, TextDirectionFlags(LabelFormat(FPaintTarget)));
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
}
