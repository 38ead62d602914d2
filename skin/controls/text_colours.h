// The colours of the texts the engine draws on skinned surfaces.
//
// A control's text colour is usually one of the system's (a font left at
// clWindowText or clBtnText): on a skinned surface it stands for the skin's
// colour of the same role, so a dark skin's light text colours reach every
// caption. A colour the program chose itself is kept, unless it would be
// lost on the surface under it: then it is lightened or darkened, keeping
// its hue, until it can be read.
#pragma once

#include <windows.h>

#include <string>

#include "framework/graphics.h"

class TSkinData;

// The contrast two colours must at least have for text to be read easily:
// 4.5 to 1, the usual accessibility threshold.
inline constexpr double LEGIBLE_CONTRAST = 4.5;

// The relative luminance of a plain RGB colour, 0 (black) to 1 (white).
double RelativeLuminance(COLORREF colour);
// The contrast ratio of two plain RGB colours, 1 (the same) to 21.
double ContrastRatio(COLORREF a, COLORREF b);

// `colour` (a TColor: plain, or a system colour) on a skinned surface: a
// system text colour becomes the skin's colour of that role (window text,
// button text, caption text, highlight text, menu text); anything else is
// resolved as it stands.
COLORREF SkinTextColour(const TSkinData* skinData, TColor colour);

// `text` itself when it has LEGIBLE_CONTRAST against `background`;
// otherwise `text` blended toward white or toward black, whichever reads
// better, just far enough to reach it (or as far as it goes).
COLORREF LegibleOn(COLORREF text, COLORREF background);

// Both steps: the colour a caption of font colour `colour` is drawn in on
// `background`.
COLORREF SkinCaptionColour(const TSkinData* skinData, TColor colour, COLORREF background);

// A framework control's font colour, set for the skin and given back as it
// was, with its ParentFont (which setting the colour turns off).
class TTakenFontColour {
public:
    // The control's font (null when it has none); its colour and ParentFont
    // are kept the first time.
    TFont* Take(TObject* control);
    // The colour kept, or `fallback` before anything was taken.
    TColor Kept(TColor fallback) const { return FTaken ? FColour : fallback; }
    void GiveBack(TObject* control);

private:
    bool FTaken = false;
    TColor FColour = 0;
    std::string FParentFont;
};
