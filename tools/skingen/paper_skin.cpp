// "paper": a light, warm skin of cream paper and brown ink. Its window has
// round top corners and softly round bottom corners, cut by the colour key
// out of all four borders (the program shapes the window to them), a
// centred title on a paper label, round caption buttons and a help button
// for windows that ask for one. Controls are the stored skin's drawings in
// the paper's tones; progress bars fill with blocks, tab pages have their
// own pane, and up-downs and track bars have their own images.
//
// Geometry (assets/skin/paper.ini gives the same numbers): caption 28 rows,
// side borders 4 pixels, bottom border 6 rows; top corners rounded to 10
// pixels, so that the cut reaches past the side borders into both ends of
// the caption; bottom corners to 4 (within the side borders).
#include "extra_skins.h"

namespace skingen {

namespace {

constexpr int CAPTION_ROWS = 28;
constexpr int SIDE = 4;
constexpr int SIDE_ROWS = 250;
constexpr int BOTTOM_ROWS = 6;
constexpr int TOP_RADIUS = 10;
constexpr int BOTTOM_RADIUS = 4;

constexpr TRgb INK{62, 44, 28};
constexpr TRgb PAPER{253, 248, 236};
constexpr TRgb OUTLINE_ACTIVE{128, 100, 66};
constexpr TRgb OUTLINE_INACTIVE{178, 162, 138};

TRgb Tone(TRgb c) { return ToneRamp(c, Luminance(c), INK, PAPER, 80); }

TRgb Outline(bool active) { return active ? OUTLINE_ACTIVE : OUTLINE_INACTIVE; }

TRgb CaptionRow(bool active, int row) {
  if (row <= 0) return Outline(active);
  if (row == 1) return TRgb{255, 252, 244};
  if (row == CAPTION_ROWS - 2) return active ? TRgb{206, 186, 150} : TRgb{222, 212, 194};
  if (row >= CAPTION_ROWS - 1) return Tone(Grey(229));
  return active ? Lerp(TRgb{250, 244, 228}, TRgb{236, 224, 198}, row - 2, CAPTION_ROWS - 5)
                : Lerp(TRgb{249, 246, 239}, TRgb{241, 235, 223}, row - 2, CAPTION_ROWS - 5);
}

// Rows of the bottom border, 0 at the top; the last is the outline.
TRgb BottomRow(bool active, int row) {
  if (row >= BOTTOM_ROWS - 1) return Outline(active);
  return Lerp(Tone(Grey(229)), active ? TRgb{222, 208, 182} : TRgb{232, 224, 210}, row, BOTTOM_ROWS - 2);
}

// Columns of a side border below the caption, 0 the outermost.
TRgb SideColumn(bool active, int column) {
  if (column == 0) return Outline(active);
  return Lerp(active ? TRgb{222, 208, 182} : TRgb{232, 224, 210}, Tone(Grey(229)), column - 1, SIDE - 2);
}

// The colour of a frame pixel given its distance from the outer edges:
// `x` from the side edge and `y` from the top (or bottom) edge, `top` telling
// which, with the corner cut round.
TRgb CornerPixel(bool active, int x, int y, bool top, TRgb inside) {
  const int radius = top ? TOP_RADIUS : BOTTOM_RADIUS;
  if (OutsideRoundCorner(x, y, radius)) return MAGENTA;
  if (OnRoundCornerEdge(x, y, radius)) return Outline(active);
  return inside;
}

// A side border's pixel: the caption's rows beside the caption, the bottom
// border's rows beside it, the side's own columns between, and both
// corners cut round.
TRgb SidePixel(bool active, int fromEdge, int y) {
  TRgb colour = SideColumn(active, fromEdge);
  if (y < CAPTION_ROWS) colour = fromEdge == 0 ? Outline(active) : CaptionRow(active, y);
  const int fromBottom = SIDE_ROWS - 1 - y;
  if (fromBottom < BOTTOM_ROWS) colour = fromEdge == 0 ? Outline(active) : BottomRow(active, BOTTOM_ROWS - 1 - fromBottom);
  if (y < TOP_RADIUS) colour = CornerPixel(active, fromEdge, y, true, colour);
  if (fromBottom < BOTTOM_RADIUS) colour = CornerPixel(active, fromEdge, fromBottom, false, colour);
  return colour;
}

// The top and bottom borders are wider than a side border; each end cuts
// its own corner (the outline of the other end's top row must not cover
// this end's cut), counted from the window's edge past the side border.
constexpr int TOP_WIDTH = 200;
constexpr int BOTTOM_WIDTH = 60;
int FromSideEdge(int x, int width) { return SIDE + (x < width / 2 ? x : width - 1 - x); }

TRgb TopPixel(bool active, int x, int row) {
  TRgb colour = CaptionRow(active, row);
  if (row < TOP_RADIUS) colour = CornerPixel(active, FromSideEdge(x, TOP_WIDTH), row, true, colour);
  return colour;
}

TRgb BottomPixel(bool active, int x, int row) {
  return CornerPixel(active, FromSideEdge(x, BOTTOM_WIDTH), BOTTOM_ROWS - 1 - row, false, BottomRow(active, row));
}

// The label behind the title: a paper tag with round ends, two frames
// stacked (active, inactive), keyed above and below.
TImage DrawTitleLabel() {
  constexpr int W = 20;
  TImage img(W, CAPTION_ROWS * 2);
  for (int frame = 0; frame < 2; ++frame) {
    const bool active = frame == 0;
    const int y0 = frame * CAPTION_ROWS;
    const TBox tag{0, y0 + 4, W, CAPTION_ROWS - 9};
    for (int row = 0; row < CAPTION_ROWS; ++row) HLine(img, 0, y0 + row, W, CaptionRow(active, row));
    RoundBox(img, tag, 8, active ? TRgb{196, 170, 128} : TRgb{218, 204, 182},
             Gradient(active ? TRgb{255, 251, 240} : TRgb{252, 249, 242}, active ? TRgb{242, 232, 210} : TRgb{244, 239, 228},
                      tag.H - 2));
    for (int row = 0; row < CAPTION_ROWS; ++row)
      for (int x = 0; x < W; ++x)
        if (RoundBoxCoverage(tag, 8, x, y0 + row) == 0) img.Set(x, y0 + row, MAGENTA);
  }
  return img;
}

const TCaptionLooks CAPTION_LOOKS{
    .Row = CaptionRow,
    .Glyph = TRgb{92, 68, 44},
    .GlyphDim = TRgb{184, 170, 150},
    .GlyphHot = TRgb{255, 252, 244},
    .Ring = TRgb{170, 146, 110},
    .RingAlways = false,
    .HotTop = TRgb{176, 146, 104},
    .HotBottom = TRgb{146, 116, 78},
    .HotBorder = TRgb{118, 90, 58},
    .Pressed = TRgb{112, 84, 54},
    .PressedBorder = TRgb{84, 60, 36},
    .CloseHotTop = TRgb{204, 96, 70},
    .CloseHotBottom = TRgb{172, 66, 46},
    .CloseBorder = TRgb{128, 44, 28},
    .ClosePressed = TRgb{140, 50, 32},
    .Disc = true,
};

}  // namespace

const std::vector<TSkinImage>& PaperSkinImages() {
  static const std::vector<TSkinImage> images = [] {
    std::vector<TSkinImage> list;
    AppendFrameBorders(list, TFrameBorders{.TopWidth = TOP_WIDTH, .CaptionRows = CAPTION_ROWS,
                                           .BottomWidth = BOTTOM_WIDTH, .BottomRows = BOTTOM_ROWS,
                                           .SideColumns = SIDE, .SideRows = SIDE_ROWS,
                                           .Top = TopPixel, .Bottom = BottomPixel, .Side = SidePixel});
    list.push_back({.FileName = "title_label.bmp", .Width = 20, .Height = CAPTION_ROWS * 2, .Draw = DrawTitleLabel});
    AppendCaptionButtons(list, CAPTION_LOOKS, 6);
    list.push_back(Toned("menubar.bmp", 150, 38, DrawMenuBar, Tone));
    AppendTonedControls(list, Tone, Toned("progress_chunk.bmp", 10, 11, DrawProgressBlocks, Tone));
    return list;
  }();
  return images;
}

}  // namespace skingen
