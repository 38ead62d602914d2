// Geometry of skin frames: where a frame lies in a skin bitmap and which
// piece of it goes where when the frame is fitted to a target rectangle.
//
// A skin bitmap holds FrameCount frames of equal size, side by side from left
// to right or, when asked for, stacked from top to bottom; frames are
// numbered from 1. Margins are a RECT whose four fields are sizes (left
// width, top height, right width, bottom height): the corners and edges they
// cut off keep their pixel size, the middle is stretched or tiled.
//
// Everything here is pure arithmetic; frame_draw.cpp turns the pieces into
// block transfers.
#pragma once

#include <windows.h>

#include <vector>

namespace skin {

// One frame's cell in its bitmap. Width or Height is 0 when the bitmap is too
// small to hold FrameCount frames.
struct TFrameCell {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
};

// Frame `frameIndex` (from 1) of `frameCount` in a bitmap of the given size.
// Frames lie side by side, or stacked when `vertical`; sizes truncate. A
// frame count below 1 counts as 1, and an index outside 1..frameCount is
// moved to the nearest frame, so the cell always lies inside the bitmap.
TFrameCell LocateFrame(int bitmapWidth, int bitmapHeight, int frameIndex, int frameCount, bool vertical);

// A rectangle of the frame's bitmap copied to a rectangle of the target,
// stretched when the sizes differ, or repeated unscaled when Tiled.
struct TFramePiece {
    RECT Dest;
    RECT Source;
    bool Tiled = false;
};

// The nine-slice pieces that fit `cell` to a width x height target at (0, 0),
// in drawing order: top-left, bottom-left and top-right corners, left and top
// edges, middle, bottom-right corner, right and bottom edges. Negative margins
// count as 0. When the target is narrower than left + right margins both
// become 0 (the whole frame width is stretched across), likewise for heights.
// A corner is drawn only when both of its margins are non-zero. Pieces whose
// source or destination would be empty or inverted are left out.
std::vector<TFramePiece> NineSlicePieces(int width, int height, const TFrameCell& cell, const RECT& margins,
                                         bool tileMiddle);

// A three-part horizontal strip of width x height at (0, 0): the cell's left
// `leftWidth` columns, its middle columns repeated side by side (each piece
// stretched to the full height only) and its right `rightWidth` columns.
// The last middle piece may run into the right part, which is drawn after it.
std::vector<TFramePiece> StripPieces(int width, int height, const TFrameCell& cell, int leftWidth, int rightWidth);

// The three stretched pieces of a three-part strip drawn straight into
// `dest`; a target narrower than the frame gets the whole frame in one piece.
std::vector<TFramePiece> ThreePartPieces(const RECT& dest, const TFrameCell& cell, int leftWidth, int rightWidth);

// Top-left corner at which a size x size image is centred in `rect`. The
// division truncates toward zero, so an image larger than the rectangle
// overhangs it by the same amount on both sides (rounded toward the start).
POINT CentredOrigin(const RECT& rect, int width, int height);

}  // namespace skin
