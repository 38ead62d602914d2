// Column headers painted from the skin: the sections of a header window
// (a header control, or the header of a report-view list view) each drawn
// with a frame of the skin's "Headerbar" strip and the section's image and
// text laid out over it.
//
// The painting asks the header window itself for everything it shows
// (HDM_GETITEMCOUNT, HDM_GETITEMRECT, HDM_GETITEMW, HDM_GETIMAGELIST), so it
// serves any header, whoever made it.
#pragma once

#include <windows.h>

#include <vector>

#include "skin/data/skin_objects.h"

namespace skin {

// Frames of the "Headerbar" strip, counted from 1.
enum THeaderFrame {
    hfNormal = 1,
    hfHot = 2,      // the section under the mouse
    hfPressed = 3,  // the section held down by the mouse
    hfDisabled = 4, // every section of a disabled header
};

// What one paint of a header needs besides the window.
struct THeaderPaintState {
    int HotSection = -1;
    int PressedSection = -1;
    bool Enabled = true;
    COLORREF TextColour = 0;
    UINT ExtraTextFormat = 0;  // DT_RTLREADING for right-to-left controls
    UINT Dpi = 96;             // the scale the header is drawn at: the insets follow it
};

// The frame a section is drawn with, in a strip of `frames` frames: the
// pressed and disabled looks only when the strip has those frames (else the
// hot and the normal one).
int HeaderSectionFrame(int section, const THeaderPaintState& state, int frames);

// Where a section's image and text go inside its `width` x `height` box:
// `iconWidth` is 0 without an image; x of the image, the text box
// (measured size `textSize`) placed after it and centred vertically,
// reaching to the section's right inset and clipped to the section. Alignment is the section's HDF_LEFT, HDF_RIGHT or
// HDF_CENTER. The insets from the section's edges (3 pixels at the left, 2
// at the right, at least 1) are 96-DPI sizes scaled to `dpi`.
struct THeaderTextLayout {
    POINT Icon;
    RECT Text;
};
THeaderTextLayout LayoutHeaderText(int width, int height, int iconWidth, SIZE textSize, int alignment,
                                   UINT dpi = 96);

// Paints the whole header window `header` into `dc` at `rect` (the window
// with origin 0,0) from `bar`: each section in its frame with its image and
// text, then the part right of the last section in the normal frame.
// `sections` receives each section's rectangle narrowed by 3 pixels (at the
// state's scale) at both sides (the parts near the dividers do not count as
// the section for the mouse). Nothing is drawn when `bar` has no image.
void PaintHeaderBar(HDC dc, const RECT& rect, HWND header, const TDataSkinObject& bar, const THeaderPaintState& state,
                    std::vector<RECT>& sections);

}  // namespace skin
