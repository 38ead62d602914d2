// Shared pieces of the "paper" and "dusk" skins (see extra_skins.h).
#include "extra_skins.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

constexpr TRgb FACE = Grey(229);

uint8_t Clamp(int v) { return uint8_t(std::clamp(v, 0, 255)); }

const char* const UP_ROWS[] = {
    "...X...",
    "..XXX..",
    ".XXXXX.",
    "XXXXXXX",
};
const TGlyph UP_GLYPH{7, 4, UP_ROWS};

// The looks of one state of a small button: border, top and bottom fill.
struct TStateLook {
  TRgb Border;
  TRgb Top;
  TRgb Bottom;
  TRgb Glyph;
};
// normal, pressed, disabled, hot: the program's order for up-down halves.
const TStateLook BUTTON_STATES[] = {
    {Grey(150), Grey(250), Grey(226), Grey(60)},
    {Grey(112), Grey(196), Grey(214), Grey(24)},
    {Grey(196), Grey(240), Grey(240), Grey(176)},
    {Grey(128), Grey(255), Grey(236), Grey(24)},
};

}  // namespace

int Luminance(TRgb c) { return (c.R * 77 + c.G * 150 + c.B * 29 + 128) >> 8; }

TRgb ToneRamp(TRgb c, int luminance, TRgb dark, TRgb light, int huePercent) {
  const TRgb base = Lerp(dark, light, std::clamp(luminance, 0, 255), 255);
  const int y = Luminance(c);
  return TRgb{Clamp(base.R + (c.R - y) * huePercent / 100), Clamp(base.G + (c.G - y) * huePercent / 100),
              Clamp(base.B + (c.B - y) * huePercent / 100)};
}

TImage Recolour(const TImage& img, TTone tone) {
  TImage out(img.Width(), img.Height());
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) {
      const TRgb c = img.Get(x, y);
      out.Set(x, y, c == MAGENTA ? MAGENTA : tone(c));
    }
  return out;
}

TSkinImage Toned(const char* fileName, int width, int height, TImage (*draw)(), TTone tone) {
  return TSkinImage{.FileName = fileName, .Width = width, .Height = height,
                    .Draw = [draw, tone] { return Recolour(draw(), tone); }};
}

void AppendTonedControls(std::vector<TSkinImage>& images, TTone tone, const TSkinImage& progressChunk) {
  auto add = [&](const char* name, int w, int h, TImage (*draw)()) { images.push_back(Toned(name, w, h, draw, tone)); };
  add("mdi_buttons.bmp", 180, 14, DrawMdiButtons);
  add("button.bmp", 90, 23, DrawPushButton);
  add("checkbox.bmp", 65, 13, DrawCheckBox);
  add("radio.bmp", 65, 13, DrawRadioButton);
  add("progress.bmp", 18, 19, DrawProgressTrough);
  images.push_back(progressChunk);
  add("groupbox_edge.bmp", 44, 20, DrawGroupBoxEdge);
  add("groupbox_label.bmp", 25, 13, DrawGroupBoxLabel);
  add("tabs.bmp", 90, 19, DrawTabs);
  add("tab_page.bmp", 48, 48, DrawTabPage);
  add("tab_pane.bmp", 24, 24, DrawTabPane);
  add("statusbar.bmp", 66, 18, DrawStatusBar);
  add("toolbar.bmp", 100, 23, DrawToolBar);
  add("combo_button.bmp", 64, 18, DrawComboButton);
  add("sunk_edge.bmp", 20, 21, DrawSunkEdge);
  add("extra_images.bmp", 80, 16, DrawExtraImages);
  add("header.bmp", 90, 18, DrawHeader);
  add("menu_item.bmp", 150, 23, DrawMenuItem);
  add("menu_background.bmp", 18, 18, DrawMenuBackground);
  add("scrollbar.bmp", 368, 16, DrawScrollBarParts);
  add("scroll_track_horz.bmp", 68, 17, DrawHorzTrack);
  add("scroll_track_vert.bmp", 68, 17, DrawVertTrack);
  add("scroll_thumb_horz.bmp", 66, 15, DrawHorzThumb);
  add("scroll_thumb_vert.bmp", 45, 22, DrawVertThumb);
  add("updown_buttons.bmp", 128, 11, DrawUpDownButtons);
  add("updown_glyphs_horz.bmp", 72, 9, [] { return DrawUpDownGlyphs(true); });
  add("updown_glyphs_vert.bmp", 72, 9, [] { return DrawUpDownGlyphs(false); });
  add("thumb_horz.bmp", 55, 19, [] { return DrawTrackThumb(0); });
  add("thumb_vert.bmp", 95, 11, [] { return DrawTrackThumb(1); });
  add("thumb_left.bmp", 95, 11, [] { return DrawTrackThumb(2); });
  add("thumb_right.bmp", 95, 11, [] { return DrawTrackThumb(3); });
  add("thumb_up.bmp", 55, 19, [] { return DrawTrackThumb(4); });
  add("thumb_down.bmp", 55, 19, [] { return DrawTrackThumb(5); });
  add("track.bmp", 16, 5, [] { return DrawTrackChannel(false); });
  add("trackvert.bmp", 5, 16, [] { return DrawTrackChannel(true); });
}

// ---- caption buttons ---------------------------------------------------------

TImage CaptionButtonStrip(const TCaptionLooks& looks, const TGlyph& glyph, int size, int top, bool isClose) {
  TImage img(size * 6, size);
  for (int frame = 0; frame < 6; ++frame) {
    const int x0 = frame * size;
    const bool inactive = frame == 3 || frame >= 4;
    const bool pressed = frame == 1 || frame == 5;
    const bool hot = frame == 2 || frame == 4;
    const TBox box{x0, 0, size, size};
    const double c = size / 2.0;
    const int gx = x0 + (size - glyph.W) / 2;
    const int gy = (size - glyph.H) / 2;
    // The shape is blended onto the caption rows it is drawn on, then keyed
    // outside, so its edge is smooth against the caption.
    for (int y = 0; y < size; ++y) HLine(img, x0, y, size, looks.Row(!inactive || frame == 3, top + y));
    TRgb glyphColour = looks.Glyph;
    if (pressed || hot) {
      TRgb border = pressed ? looks.PressedBorder : looks.HotBorder;
      TRgb fillTop = pressed ? looks.Pressed : looks.HotTop;
      TRgb fillBottom = pressed ? looks.Pressed : looks.HotBottom;
      if (isClose) {
        border = looks.CloseBorder;
        fillTop = pressed ? looks.ClosePressed : looks.CloseHotTop;
        fillBottom = pressed ? looks.ClosePressed : looks.CloseHotBottom;
      }
      if (looks.Disc) {
        Disc(img, x0 + c, c, c, border);
        DiscGradient(img, x0 + c, c, c - 1, fillTop, fillBottom);
      } else {
        RoundBox(img, box, 3, border, Gradient(fillTop, fillBottom, size - 2));
      }
      glyphColour = looks.GlyphHot;
    } else {
      if (looks.RingAlways && looks.Disc) {
        Disc(img, x0 + c, c, c, looks.Ring);
        Disc(img, x0 + c, c, c - 1, looks.Row(frame != 3, top + size / 2));
      } else if (looks.RingAlways) {
        RoundBox(img, box, 3, looks.Ring, [&](int row) { return looks.Row(frame != 3, top + row + 1); });
      }
      if (frame == 3) glyphColour = looks.GlyphDim;
    }
    for (int y = 0; y < size; ++y)
      for (int x = x0; x < x0 + size; ++x) {
        const int cover = looks.Disc ? DiscCoverage(x0 + c, c, c, x, y) : RoundBoxCoverage(box, 3, x, y);
        const bool shape = pressed || hot || looks.RingAlways;
        if (!shape || cover == 0) img.Set(x, y, MAGENTA);
      }
    Stamp(img, glyph, gx, gy + (pressed ? 1 : 0), glyphColour);
  }
  return img;
}

// ---- window borders --------------------------------------------------------------

TImage StackedFrames(int width, int rows, TFramePixel pixel) {
  TImage img(width, rows * 2);
  for (int frame = 0; frame < 2; ++frame)
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < width; ++x) img.Set(x, frame * rows + y, pixel(frame == 0, x, y));
  return img;
}

namespace {

// Two side-border frames side by side, `columns` wide each; `left` tells
// which side of the window the border is on, so which column is its outer
// edge.
TImage SideBorderFrames(int columns, int rows, bool left, TFramePixel pixel) {
  TImage img(columns * 2, rows);
  for (int frame = 0; frame < 2; ++frame)
    for (int c = 0; c < columns; ++c) {
      const int fromEdge = left ? c : columns - 1 - c;
      for (int y = 0; y < rows; ++y) img.Set(frame * columns + c, y, pixel(frame == 0, fromEdge, y));
    }
  return img;
}

}  // namespace

void AppendFrameBorders(std::vector<TSkinImage>& images, const TFrameBorders& b) {
  images.push_back({.FileName = "frame_top.bmp", .Width = b.TopWidth, .Height = b.CaptionRows * 2,
                    .Draw = [b] { return StackedFrames(b.TopWidth, b.CaptionRows, b.Top); }});
  images.push_back({.FileName = "frame_bottom.bmp", .Width = b.BottomWidth, .Height = b.BottomRows * 2,
                    .Draw = [b] { return StackedFrames(b.BottomWidth, b.BottomRows, b.Bottom); }});
  images.push_back({.FileName = "frame_left.bmp", .Width = b.SideColumns * 2, .Height = b.SideRows,
                    .Draw = [b] { return SideBorderFrames(b.SideColumns, b.SideRows, true, b.Side); }});
  images.push_back({.FileName = "frame_right.bmp", .Width = b.SideColumns * 2, .Height = b.SideRows,
                    .Draw = [b] { return SideBorderFrames(b.SideColumns, b.SideRows, false, b.Side); }});
}

void AppendCaptionButtons(std::vector<TSkinImage>& images, const TCaptionLooks& looks, int top) {
  constexpr int SIZE = 15;
  const struct {
    const char* FileName;
    const TGlyph* Glyph;
  } buttons[] = {{"caption_close.bmp", &CLOSE_GLYPH},
                 {"caption_maximize.bmp", &MAXIMIZE_GLYPH},
                 {"caption_minimize.bmp", &MINIMIZE_GLYPH},
                 {"caption_help.bmp", &HELP_GLYPH}};
  for (const auto& button : buttons) {
    const TGlyph* glyph = button.Glyph;
    const bool isClose = glyph == &CLOSE_GLYPH;
    images.push_back({.FileName = button.FileName, .Width = SIZE * 6, .Height = SIZE,
                      .Draw = [looks, glyph, top, isClose] {
                        return CaptionButtonStrip(looks, *glyph, SIZE, top, isClose);
                      }});
  }
}

// ---- round window corners ---------------------------------------------------------

namespace {

double CornerDistance(int x, int y, int radius) {
  const double dx = radius - x - 0.5;
  const double dy = radius - y - 0.5;
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace

bool OutsideRoundCorner(int x, int y, int radius) {
  return x < radius && y < radius && CornerDistance(x, y, radius) > radius;
}

bool OnRoundCornerEdge(int x, int y, int radius) {
  if (OutsideRoundCorner(x, y, radius)) return false;
  if (x == 0 || y == 0) return true;
  return x < radius && y < radius && CornerDistance(x, y, radius) > radius - 1.25;
}

// ---- optional sections -------------------------------------------------------------

TImage DrawProgressTrough() {
  constexpr int W = 18;
  constexpr int H = 19;
  TImage img(W, H, FACE);
  RoundBox(img, TBox{0, 0, W, H}, 3, Grey(160), Gradient(Grey(214), Grey(242), H - 2));
  return img;
}

TImage DrawProgressBlocks() {
  constexpr int W = 10;
  constexpr int H = 11;
  TImage img(W, H, Grey(228));  // the trough's middle shows in the gap
  RoundBox(img, TBox{0, 0, W - 2, H}, 2, Grey(92), Gradient(Grey(168), Grey(116), H - 2));
  HLine(img, 2, 1, W - 6, Grey(196));
  return img;
}

TImage DrawProgressBar() {
  constexpr int W = 16;
  constexpr int H = 13;
  TImage img(W, H, Grey(228));
  RoundBox(img, TBox{0, 0, W, H}, 5, Grey(84), Gradient(Grey(176), Grey(104), H - 2));
  HLine(img, 4, 1, W - 8, Grey(206));
  return img;
}

TImage DrawTabPane() {
  constexpr int S = 24;
  TImage img(S, S, FACE);
  FrameBox(img, TBox{0, 0, S, S}, Grey(150));
  HLine(img, 1, 1, S - 2, Grey(120));  // the accent under the tabs
  HLine(img, 1, 2, S - 2, Grey(250));
  VLine(img, 1, 3, S - 4, Grey(248));
  HLine(img, 1, S - 2, S - 2, Grey(206));
  VLine(img, S - 2, 2, S - 3, Grey(206));
  return img;
}

TImage DrawUpDownButtons() {
  constexpr int W = 16;
  constexpr int H = 11;
  TImage img(W * 8, H, FACE);
  for (int arrow = 0; arrow < 2; ++arrow)
    for (int state = 0; state < 4; ++state) {
      const TStateLook& look = BUTTON_STATES[state];
      const TBox box{(arrow * 4 + state) * W, 0, W, H};
      FillBox(img, box, FACE);
      RoundBox(img, box, 2, look.Border, Gradient(look.Top, look.Bottom, H - 2));
    }
  return img;
}

TImage DrawUpDownGlyphs(bool horizontal) {
  constexpr int S = 9;
  TImage img(S * 8, S);
  for (int arrow = 0; arrow < 2; ++arrow)
    for (int state = 0; state < 4; ++state) {
      TImage cell(S, S);
      Stamp(cell, UP_GLYPH, 1, 2, BUTTON_STATES[state].Glyph);
      // Up, then down; left, then right.
      if (arrow == 1) cell = RotateClockwise(RotateClockwise(cell));
      if (horizontal) cell = RotateClockwise(RotateClockwise(RotateClockwise(cell)));
      img.Paste(cell, (arrow * 4 + state) * S, 0);
    }
  return img;
}

TImage DrawTrackThumb(int kind) {
  // Drawn upright (11 x 19, pointing down for a pointed thumb) and turned.
  constexpr int W = 11;
  constexpr int H = 19;
  const TStateLook looks[] = {BUTTON_STATES[0], BUTTON_STATES[0], BUTTON_STATES[3], BUTTON_STATES[1],
                              BUTTON_STATES[2]};
  const bool pointed = kind >= 2;
  TImage strip(W * 5, H);
  for (int frame = 0; frame < 5; ++frame) {
    TImage cell(W, H);
    const TStateLook& look = looks[frame];
    if (!pointed) {
      RoundBox(cell, TBox{0, 0, W, H}, 3, look.Border, Gradient(look.Top, look.Bottom, H - 2));
      KeyOutsideRoundBox(cell, TBox{0, 0, W, H}, 3);
      for (int y : {7, 9, 11}) HLine(cell, 3, y, W - 6, look.Glyph);
    } else {
      // A box with a point: the lower part narrows one pixel per row.
      const int body = H - W / 2 - 1;
      for (int y = 0; y < H; ++y) {
        const int inset = y < body ? 0 : y - body + 1;
        const TRgb fill = Lerp(look.Top, look.Bottom, y, H - 1);
        for (int x = inset; x < W - inset; ++x)
          cell.Set(x, y, (x == inset || x == W - 1 - inset || y == 0) ? look.Border : fill);
      }
      cell.Set(0, 0, MAGENTA);
      cell.Set(W - 1, 0, MAGENTA);
    }
    strip.Paste(cell, frame * W, 0);
  }
  // kind 0: an upright pill on a horizontal bar; 1: lying on a vertical bar.
  TImage out = strip;
  auto turnEach = [&](int quarterTurns) {
    const int cw = (quarterTurns % 2) ? H : W;
    const int ch = (quarterTurns % 2) ? W : H;
    TImage turned(cw * 5, ch);
    for (int frame = 0; frame < 5; ++frame) {
      TImage cell(W, H);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) cell.Set(x, y, strip.Get(frame * W + x, y));
      for (int q = 0; q < quarterTurns; ++q) cell = RotateClockwise(cell);
      turned.Paste(cell, frame * cw, 0);
    }
    return turned;
  };
  switch (kind) {
    case 1: out = turnEach(1); break;  // vertical bar
    case 2: out = turnEach(1); break;  // point to the left
    case 3: out = turnEach(3); break;  // point to the right
    case 4: out = turnEach(2); break;  // point up
    default: break;                    // 0 and 5 (point down) stay upright
  }
  return out;
}

TImage DrawTrackChannel(bool vertical) {
  constexpr int L = 16;
  constexpr int T = 5;
  TImage img(L, T, FACE);
  RoundBox(img, TBox{0, 0, L, T}, 2, Grey(140), [](int row) { return row == 0 ? Grey(196) : Grey(236); });
  if (!vertical) return img;
  return RotateClockwise(img);
}

}  // namespace skingen
