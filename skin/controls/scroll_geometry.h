// Geometry of the skinned scroll bars, track bars, up-downs and progress
// bars: where each part lies, which part a point is on, which skin frame a
// part shows in a state. Pure functions of numbers, so they are tested
// without windows; the painters and the overlays call them.
//
// Lengths run along a bar's axis (y of a vertical bar, x of a horizontal one)
// in pixels from the bar's start; a bar has an arrow at each end, the track
// between them and the thumb on the track.
#pragma once

namespace skin {

// The part of a scroll bar under the mouse or being worked. The codes equal
// the system's scroll request codes (SB_LINEUP ...), so the request of a
// WM_HSCROLL / WM_VSCROLL can be stored as a zone directly; any other value
// (SB_ENDSCROLL) shows every part normal.
enum TScrollZone : int {
    szNone = -1,
    szFirstArrow = 0,   // left or up; SB_LINEUP
    szSecondArrow = 1,  // right or down; SB_LINEDOWN
    szTrackBefore = 2,  // SB_PAGEUP
    szTrackAfter = 3,   // SB_PAGEDOWN
    szThumb = 5,        // SB_THUMBTRACK
};

// The thumb's extent along the axis.
struct TThumbExtent {
    int Start = 0;
    int End = 0;
    int Length() const { return End - Start; }
};

// A bar along its axis: its length, the size of its arrow buttons and its thumb.
struct TBarAxis {
    int Length = 0;
    int ArrowSize = 0;
    TThumbExtent Thumb;
};

// The zone at `p` along the axis: first arrow below the arrow size, track
// before the thumb, thumb, track after it, and the second arrow in the last
// arrow size of the bar.
TScrollZone ScrollHitTest(const TBarAxis& bar, int p);

// The thumb of a scroll-bar control worked out from its scroll information,
// for a bar of `length` pixels with arrows of `arrowSize`: with a page the
// thumb is (page - 1) / range of the track (at least 8 pixels), without one
// it is an arrow size long; it sits at the arrow when the position is the
// minimum. A range of 0 counts as a very large one.
TThumbExtent ControlBarThumb(int length, int arrowSize, int min, int max, int page, int position);

// The thumb from a scroll-bar control's published Position, Min, Max and
// PageSize, as read when a press begins (no 8-pixel minimum).
TThumbExtent ControlPropertiesThumb(int length, int arrowSize, int min, int max, int pageSize, int position);

// The thumb being dragged: its start at the press moved by `delta`, kept
// between the arrows; its length unchanged.
TThumbExtent DraggedThumb(const TThumbExtent& thumb, int pressThumbStart, int delta, int length, int arrowSize);

// The length of each arrow button: the arrow size, or half the bar when the
// bar is shorter than two arrows.
int ArrowButtonLength(int length, int arrowSize);

// The bar's thickness across its axis: the height of the skin's scroll-bar
// image, or the arrow size when the two differ by more than 2 pixels.
int BarThickness(int imageHeight, int arrowSize);

// Frames of the skin's 23-frame "Scrollbar" strip. `second` names the right or
// down arrow.
int ArrowFrame(bool vertical, bool second, TScrollZone hot, bool pressed);
int GripFrame(bool vertical, TScrollZone hot, bool pressed);
// Frame of "HorzScrollThumb" / "VertScrollThumb": 1 normal, 2 pressed, 3 hot.
int ThumbFrame(TScrollZone hot, bool pressed);

// Where the grip lies on the thumb: `gripSize` pixels centred on it, shown
// only when the thumb is longer than the grip minus 2 pixels and the grip
// lies within 0..`limit`. False when it is not shown.
bool GripExtent(const TThumbExtent& thumb, int gripSize, int limit, TThumbExtent& grip);

// The scroll position for a drop-down list's thumb dragged to `n` pixels past
// the top arrow, on a track of `track` pixels with a thumb of `thumbLength`:
// proportional over the range (less the page when there is one), held within
// min .. max (max - page + 1 with a page). `n` is updated to the clamped value.
int ListDragPosition(int& n, int track, int thumbLength, int min, int max, int page);

// ---- progress bars ----------------------------------------------------------

// Filled width of a progress bar `width` pixels long at `position` of
// low .. high: nothing unless high and position are both above 0.
int ProgressFillWidth(int width, int position, int low, int high);
// The chunk style's filled width: width * position / high.
int ChunkFillWidth(int width, int position, int high);

// ---- up-down buttons ------------------------------------------------------------

// The arrows of an up-down, each drawn in one half of it.
enum TUpDownArrow { udaUp = 0, udaDown = 1, udaLeft = 2, udaRight = 3 };
// States of one half: 1 normal, 2 pressed, 3 disabled, 4 under the mouse.
enum TUpDownState { udsNormal = 1, udsPressed = 2, udsDisabled = 3, udsHot = 4 };
// Frame of the 8-frame "UpDown.Vert" / "UpDown.Horz" strip for an arrow in a
// state: up and left use frames 1 to 4, down and right 5 to 8.
int UpDownFrame(TUpDownArrow arrow, TUpDownState state);
// The state a half takes: disabled when the control is, pressed or hot when
// the cursor is over it and the control is pressed or hot, else normal.
TUpDownState UpDownHalfState(bool enabled, bool underCursor, bool pressed, bool hot);

// ---- track bars -------------------------------------------------------------

// The three pieces of a track image stretched along a channel: the fixed
// first piece, the stretched middle and the fixed last piece.
struct TChannelPieces {
    int FirstStart, FirstLength;
    int MiddleStart, MiddleLength;
    int LastStart, LastLength;
};
TChannelPieces ChannelPieces(int channelStart, int channelLength, int firstMargin, int lastMargin);

}  // namespace skin
