// Painting progress bars, up-down buttons and track bars from the skin.
//
// Each painter draws one control's picture into a device context from the
// skin's objects and the few numbers it is given; the skinners read those
// numbers from their controls and call these. Painters never throw.
#pragma once

#include <windows.h>

class TSkinData;

namespace skin {

// ---- progress bars ------------------------------------------------------------

struct TProgressLook {
    int Position = 0;
    int Low = 0;
    int High = 100;
    bool Vertical = false;   // fills from the bottom up
};

// True when the skin has a "Progress" image; without one a progress bar
// keeps its own look.
bool SkinHasProgress(const TSkinData* skin);
// Draws the bar of `rect`'s size at `rect` of `dc`: the empty frame over the
// whole bar and the filled frame over the filled part (or, with the skin's
// chunk style, chunk images over it). False when the skin has no image.
bool PaintProgress(HDC dc, const RECT& rect, const TSkinData& skin, const TProgressLook& look);

// ---- up-down buttons ------------------------------------------------------------

struct TUpDownLook {
    bool Horizontal = false;  // left and right halves instead of top and bottom
    bool Enabled = true;
    bool Hot = false;
    bool Pressed = false;
    POINT Cursor{-1, -1};     // in the rectangle's coordinates
};

// Draws both halves of an up-down into `rect` of `dc` (composed off screen,
// copied once): the skin's "UpDown.Vert" / "UpDown.Horz" frames and glyphs
// when it has them, else plain raised halves with small arrows.
void PaintUpDown(HDC dc, const RECT& rect, const TSkinData& skin, const TUpDownLook& look);

// ---- track bars -------------------------------------------------------------------

// Draws the channel from the skin's "Track" (or, for a vertical bar,
// "TRACKVERT") image in three pieces stretched along `channel`; false when
// the skin has no image for it.
bool PaintTrackChannel(HDC dc, const RECT& channel, const TSkinData& skin, bool vertical);

// Which way a track bar's thumb points.
enum TThumbShape { tsBlockHorz, tsBlockVert, tsPointLeft, tsPointRight, tsPointUp, tsPointDown };
// The shape the system gives a track bar of `style` (TBS_* bits).
TThumbShape ThumbShapeOf(DWORD style);
// Draws the thumb into `thumb`: frame 2 of the skin's thumb image for the
// shape (a pointed one when the skin has it, else the horizontal or vertical
// block), or a ButtonShadow outline when the skin has no thumb image.
void PaintTrackThumb(HDC dc, const RECT& thumb, const TSkinData& skin, TThumbShape shape);

}  // namespace skin
