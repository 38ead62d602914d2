// Drawing primitives of the skin generator.
#include "painter.h"

#include <cmath>

namespace skingen {

namespace {

constexpr int SAMPLES = 4;  // per axis: 16 samples per pixel

// Whether the point lies inside the rounded box (box edges exclusive at the
// right and bottom, as pixel boxes are).
bool InsideRoundBox(TBox box, int radius, double px, double py) {
  if (px < box.X || py < box.Y || px > box.X + box.W || py > box.Y + box.H) return false;
  if (radius <= 0) return true;
  const double left = box.X + radius;
  const double right = box.X + box.W - radius;
  const double top = box.Y + radius;
  const double bottom = box.Y + box.H - radius;
  double dx = 0;
  double dy = 0;
  if (px < left) dx = left - px;
  else if (px > right) dx = px - right;
  if (py < top) dy = top - py;
  else if (py > bottom) dy = py - bottom;
  return dx * dx + dy * dy <= double(radius) * radius;
}

}  // namespace

void FillBox(TImage& img, TBox box, TRgb c) {
  for (int y = box.Y; y < box.Y + box.H; ++y)
    for (int x = box.X; x < box.X + box.W; ++x) img.Set(x, y, c);
}

void HLine(TImage& img, int x, int y, int w, TRgb c) { FillBox(img, TBox{x, y, w, 1}, c); }

void VLine(TImage& img, int x, int y, int h, TRgb c) { FillBox(img, TBox{x, y, 1, h}, c); }

void FrameBox(TImage& img, TBox box, TRgb c) {
  HLine(img, box.X, box.Y, box.W, c);
  HLine(img, box.X, box.Y + box.H - 1, box.W, c);
  VLine(img, box.X, box.Y, box.H, c);
  VLine(img, box.X + box.W - 1, box.Y, box.H, c);
}

void VGradient(TImage& img, TBox box, TRgb top, TRgb bottom) {
  for (int row = 0; row < box.H; ++row) HLine(img, box.X, box.Y + row, box.W, Lerp(top, bottom, row, box.H - 1));
}

void HGradient(TImage& img, TBox box, TRgb left, TRgb right) {
  for (int col = 0; col < box.W; ++col) VLine(img, box.X + col, box.Y, box.H, Lerp(left, right, col, box.W - 1));
}

TRowColour Gradient(TRgb top, TRgb bottom, int rows) {
  return [=](int row) { return Lerp(top, bottom, row, rows - 1); };
}

TRowColour Solid(TRgb c) {
  return [=](int) { return c; };
}

int RoundBoxCoverage(TBox box, int radius, int x, int y) {
  int hits = 0;
  for (int sy = 0; sy < SAMPLES; ++sy)
    for (int sx = 0; sx < SAMPLES; ++sx)
      if (InsideRoundBox(box, radius, x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES)) ++hits;
  return hits * 255 / (SAMPLES * SAMPLES);
}

void RoundBox(TImage& img, TBox box, int radius, TRgb border, const TRowColour& fill) {
  const TBox inner = box.Inset(1);
  const int innerRadius = radius > 1 ? radius - 1 : 0;
  for (int y = box.Y; y < box.Y + box.H; ++y) {
    for (int x = box.X; x < box.X + box.W; ++x) {
      img.Blend(x, y, border, RoundBoxCoverage(box, radius, x, y));
      img.Blend(x, y, fill(y - box.Y), RoundBoxCoverage(inner, innerRadius, x, y));
    }
  }
}

void KeyOutsideRoundBox(TImage& img, TBox box, int radius) {
  for (int y = box.Y; y < box.Y + box.H; ++y)
    for (int x = box.X; x < box.X + box.W; ++x)
      if (RoundBoxCoverage(box, radius, x, y) == 0) img.Set(x, y, MAGENTA);
}

int DiscCoverage(double cx, double cy, double r, int x, int y) {
  int hits = 0;
  for (int sy = 0; sy < SAMPLES; ++sy) {
    for (int sx = 0; sx < SAMPLES; ++sx) {
      const double dx = x + (sx + 0.5) / SAMPLES - cx;
      const double dy = y + (sy + 0.5) / SAMPLES - cy;
      if (dx * dx + dy * dy <= r * r) ++hits;
    }
  }
  return hits * 255 / (SAMPLES * SAMPLES);
}

void Disc(TImage& img, double cx, double cy, double r, TRgb c) {
  DiscGradient(img, cx, cy, r, c, c);
}

void DiscGradient(TImage& img, double cx, double cy, double r, TRgb top, TRgb bottom) {
  const int x0 = int(std::floor(cx - r)) - 1;
  const int y0 = int(std::floor(cy - r)) - 1;
  const int x1 = int(std::ceil(cx + r)) + 1;
  const int y1 = int(std::ceil(cy + r)) + 1;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      img.Blend(x, y, Lerp(top, bottom, y - y0, y1 - y0), DiscCoverage(cx, cy, r, x, y));
}

void Stamp(TImage& img, const TGlyph& glyph, int x, int y, TRgb c) {
  for (int row = 0; row < glyph.H; ++row) {
    for (int col = 0; col < glyph.W; ++col) {
      const char ch = glyph.Rows[row][col];
      if (ch == 'X') img.Set(x + col, y + row, c);
      else if (ch == 'o') img.Blend(x + col, y + row, c, 128);
    }
  }
}

TImage RotateClockwise(const TImage& img) {
  TImage out(img.Height(), img.Width());
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) out.Set(img.Height() - 1 - y, x, img.Get(x, y));
  return out;
}

TImage MirrorX(const TImage& img) {
  TImage out(img.Width(), img.Height());
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) out.Set(img.Width() - 1 - x, y, img.Get(x, y));
  return out;
}

}  // namespace skingen
