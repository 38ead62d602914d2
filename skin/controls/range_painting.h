// Painting progress bars, up-down buttons and track bars from the skin.
//
// Each painter draws one control's picture into a device context from the
// skin's objects and the few numbers it is given; the skinners read those
// numbers from their controls and call these. Painters never throw.
#pragma once

#include <windows.h>

class TSkinData;
class TSkinModel;

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
bool SkinHasProgress(const TSkinModel* skin);
// Draws the bar of `rect`'s size at `rect` of `dc`: the empty frame over the
// whole bar and the filled frame over the filled part (or, with the skin's
// chunk style, chunk images over it). False when the skin has no image.
bool PaintProgress(HDC dc, const RECT& rect, const TSkinModel& skin, const TProgressLook& look);

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
void PaintUpDown(HDC dc, const RECT& rect, const TSkinModel& skin, const TUpDownLook& look);

// ---- track bars -------------------------------------------------------------------

// Draws the channel of a track bar whose control reported `channel`
// (TBM_GETCHANNELRECT): a vertical bar with the skin's "TRACKVERT" image
// gets it in three pieces stretched down the channel (a channel reported
// lying down, x and y exchanged, is stood up first); otherwise the "Track" image in
// three pieces stretched along x. False when the skin has neither image
// that applies (then nothing is drawn).
bool PaintTrackChannel(HDC dc, const RECT& channel, const TSkinModel& skin, bool vertical);

// Draws the thumb into `thumb`: frame 2 of the 5 frames of the skin's
// "Trackbar.ThumbVert" (vertical bars, when the skin has it) or
// "Trackbar.ThumbHorz", stretched and magenta transparent; a ButtonShadow
// outline when the skin has no such image.
void PaintTrackThumb(HDC dc, const RECT& thumb, const TSkinModel& skin, bool vertical);

// The same with a component's skin as it is drawn at 96.
bool SkinHasProgress(const TSkinData* skin);
bool PaintProgress(HDC dc, const RECT& rect, const TSkinData& skin, const TProgressLook& look);
void PaintUpDown(HDC dc, const RECT& rect, const TSkinData& skin, const TUpDownLook& look);
bool PaintTrackChannel(HDC dc, const RECT& channel, const TSkinData& skin, bool vertical);
void PaintTrackThumb(HDC dc, const RECT& thumb, const TSkinData& skin, bool vertical);

}  // namespace skin
