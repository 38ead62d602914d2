// The colours of texts on skinned surfaces (see text_colours.h).
#include "skin/controls/text_colours.h"

#include <cmath>
#include <cstdint>
#include <utility>

#include "skin/controls/skin_control.h"
#include "skin/data/skin_component.h"

namespace {

double Channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

COLORREF Blend(COLORREF from, COLORREF to, int percent)
{
    auto mix = [&](int a, int b) { return (a * (100 - percent) + b * percent + 50) / 100; };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

// The skin's colour table entry that plays the role of system colour
// `index`, or -1 when it has none.
int SkinEntryFor(int index)
{
    switch (index) {
    case COLOR_WINDOWTEXT: return scWindowText;
    case COLOR_BTNTEXT: return scButtonText;
    case COLOR_CAPTIONTEXT: return scTitleTextActive;
    case COLOR_INACTIVECAPTIONTEXT: return scTitleTextNoActive;
    case COLOR_HIGHLIGHTTEXT: return scHilightText;
    case COLOR_MENUTEXT: return scMenuText;
    default: return -1;
    }
}

}  // namespace

double RelativeLuminance(COLORREF colour)
{
    return 0.2126 * Channel(GetRValue(colour)) + 0.7152 * Channel(GetGValue(colour)) +
           0.0722 * Channel(GetBValue(colour));
}

double ContrastRatio(COLORREF a, COLORREF b)
{
    double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    if (la < lb) std::swap(la, lb);
    return (la + 0.05) / (lb + 0.05);
}

COLORREF SkinTextColour(const TSkinData* skinData, TColor colour)
{
    const auto value = static_cast<std::uint32_t>(colour);
    if (skinData && (value & 0xFF000000u) == 0x80000000u) {
        const int entry = SkinEntryFor(static_cast<int>(value & 0xFF));
        if (entry >= 0) return SkinColourRgb(skinData, entry);
    }
    return ColourRgb(colour);
}

COLORREF LegibleOn(COLORREF text, COLORREF background)
{
    if (ContrastRatio(text, background) >= LEGIBLE_CONTRAST) return text;
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    const COLORREF toward = ContrastRatio(white, background) >= ContrastRatio(black, background) ? white : black;
    for (int percent = 10; percent < 100; percent += 10) {
        const COLORREF blended = Blend(text, toward, percent);
        if (ContrastRatio(blended, background) >= LEGIBLE_CONTRAST) return blended;
    }
    return toward;
}

COLORREF SkinCaptionColour(const TSkinData* skinData, TColor colour, COLORREF background)
{
    return LegibleOn(SkinTextColour(skinData, colour), background);
}

TFont* TTakenFontColour::Take(TObject* control)
{
    auto* font = control ? static_cast<TFont*>(GetObjectPropByName(control, "Font", &TFont::StaticClassInfo())) : nullptr;
    if (!font) return nullptr;
    if (!FTaken) {
        FColour = font->Color();
        FParentFont = GetEnumPropByName(control, "ParentFont");
        FTaken = true;
    }
    return font;
}

void TTakenFontColour::GiveBack(TObject* control)
{
    if (!FTaken || !control) return;
    if (auto* font = static_cast<TFont*>(GetObjectPropByName(control, "Font", &TFont::StaticClassInfo())))
        font->SetColor(FColour);
    if (!FParentFont.empty()) SetPropByName(control, "ParentFont", FParentFont);
}
