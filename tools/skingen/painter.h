// Drawing primitives of the skin generator: fills, gradients, anti-aliased
// rounded boxes and discs, and pixel-art glyphs. Everything is integer or
// fixed-step arithmetic, so the same program always draws the same bytes.
#pragma once

#include <functional>

#include "image.h"

namespace skingen {

struct TBox {
  int X = 0;
  int Y = 0;
  int W = 0;
  int H = 0;

  TBox Inset(int d) const { return TBox{X + d, Y + d, W - 2 * d, H - 2 * d}; }
  TBox Moved(int dx, int dy) const { return TBox{X + dx, Y + dy, W, H}; }
};

// Colour of a row, counted from the top of the shape being filled.
using TRowColour = std::function<TRgb(int row)>;

void FillBox(TImage& img, TBox box, TRgb c);
void HLine(TImage& img, int x, int y, int w, TRgb c);
void VLine(TImage& img, int x, int y, int h, TRgb c);
void FrameBox(TImage& img, TBox box, TRgb c);

// Fills `box` with a top-to-bottom gradient from `top` (first row) to
// `bottom` (last row).
void VGradient(TImage& img, TBox box, TRgb top, TRgb bottom);
// Fills `box` with a left-to-right gradient.
void HGradient(TImage& img, TBox box, TRgb left, TRgb right);
TRowColour Gradient(TRgb top, TRgb bottom, int rows);
TRowColour Solid(TRgb c);

// Share (0..255) of the pixel (x, y) covered by a box with corners rounded
// to `radius`, sampled 4 x 4 per pixel.
int RoundBoxCoverage(TBox box, int radius, int x, int y);

// Draws a rounded box with a one-pixel `border` and an inside filled by
// `fill` (row 0 = the box's top row), each mixed onto what is there by its
// coverage so that the curved edges are smooth against the background.
void RoundBox(TImage& img, TBox box, int radius, TRgb border, const TRowColour& fill);

// Paints every pixel of `box`'s area that the rounded box does not touch
// with the colour key, so that the program leaves it undrawn.
void KeyOutsideRoundBox(TImage& img, TBox box, int radius);

// Coverage (0..255) of a disc, sampled 4 x 4 per pixel; centre and radius in
// pixels (the centre of pixel (x, y) is (x + 0.5, y + 0.5)).
int DiscCoverage(double cx, double cy, double r, int x, int y);
void Disc(TImage& img, double cx, double cy, double r, TRgb c);
void DiscGradient(TImage& img, double cx, double cy, double r, TRgb top, TRgb bottom);

// Pixel art: `rows` are equally long strings; 'X' paints `c`, 'o' mixes it
// half onto the pixel below it, any other character leaves the pixel alone.
struct TGlyph {
  int W;
  int H;
  const char* const* Rows;
};
void Stamp(TImage& img, const TGlyph& glyph, int x, int y, TRgb c);

// Rotations of a glyph-drawn image, used to make the four arrow directions
// from one drawing. Both return new images.
TImage RotateClockwise(const TImage& img);
TImage MirrorX(const TImage& img);

}  // namespace skingen
