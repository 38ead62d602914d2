// Painting a scroll bar from the skin: arrows, track, thumb and grip composed
// in an off-screen bitmap. The window scroll-bar overlays, the scroll-bar
// control overlay and the drop-down list's bar all paint through this.
//
// Skin objects: "Scrollbar" (23 frames: arrows and grips), "HorzScroll" /
// "VertScroll" (the track, 4 frames: 1 enabled, 3 disabled),
// "HorzScrollThumb" / "VertScrollThumb" (the thumb body: 1 normal, 2 pressed,
// 3 under the mouse). What the images leave is the skin's face colour.
#pragma once

#include <windows.h>

#include "framework/gdi_handles.h"
#include "skin/controls/scroll_geometry.h"

class TSkinData;
class TSkinModel;

namespace skin {

// Everything one picture of a bar depends on.
struct TScrollBarLook {
    bool Vertical = true;
    SIZE BitmapSize{0, 0};   // the picture's size
    RECT Bar{};              // the bar in the picture; across the axis it is the thickness
    int ArrowSize = 0;       // shortens the track at each end
    int ArrowLength = 0;     // each arrow button's length (ArrowButtonLength)
    TThumbExtent Thumb;      // along the axis, from the bar's start
    int Limit = 0;           // thumb and grip are drawn only within 0 .. Limit along the axis
    bool Enabled = true;
    TScrollZone Hot = szNone;
    bool Pressed = false;

    bool operator==(const TScrollBarLook& other) const;
};

// True when the skin has a "Scrollbar" image to draw bars with.
bool SkinHasScrollBar(const TSkinModel* skin);

// The picture of a bar (a bitmap of look.BitmapSize filled with the face
// colour, the bar drawn at look.Bar); null when the skin has no "Scrollbar"
// image or the size is empty. Never throws.
TGdiBitmap ComposeScrollBar(const TSkinModel& skin, const TScrollBarLook& look);

// Draws `picture` unscaled at (x, y) of `dc`.
void CopyPicture(HDC dc, HBITMAP picture, int x, int y);

// The same with a component's skin as it is drawn at 96.
bool SkinHasScrollBar(const TSkinData* skin);
TGdiBitmap ComposeScrollBar(const TSkinData& skin, const TScrollBarLook& look);

}  // namespace skin
