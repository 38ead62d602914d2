// "dusk": a dark slate skin with light text. Square window corners, a slim
// caption with a blue accent line, the caption buttons on the left (close,
// minimize, maximize as round lamps that light up under the mouse), a help
// button on the right, and the title set to the right. Controls are the
// stored skin's drawings with their lightness turned over onto slate
// tones, so light faces become dark and dark text light; progress bars fill
// with one smooth stretched bar.
//
// Geometry (assets/skin/dusk.ini gives the same numbers): caption 26 rows,
// side borders 3 pixels, bottom border 4 rows.
#include "extra_skins.h"

namespace skingen {

namespace {

constexpr int CAPTION_ROWS = 26;
constexpr int SIDE = 3;
constexpr int SIDE_ROWS = 250;
constexpr int BOTTOM_ROWS = 4;

constexpr TRgb NIGHT{22, 25, 31};
constexpr TRgb MIST{236, 239, 244};
constexpr TRgb OUTLINE{12, 14, 18};
constexpr TRgb ACCENT{84, 138, 204};

TRgb Tone(TRgb c) { return ToneRamp(c, 255 - Luminance(c), NIGHT, MIST, 100); }

TRgb CaptionRow(bool active, int row) {
  if (row <= 0) return OUTLINE;
  if (row == 1) return active ? TRgb{74, 82, 98} : TRgb{62, 66, 74};
  if (row == CAPTION_ROWS - 2) return active ? ACCENT : TRgb{66, 72, 84};
  if (row >= CAPTION_ROWS - 1) return OUTLINE;
  return active ? Lerp(TRgb{52, 58, 72}, TRgb{34, 38, 48}, row - 2, CAPTION_ROWS - 5)
                : Lerp(TRgb{48, 51, 58}, TRgb{40, 43, 50}, row - 2, CAPTION_ROWS - 5);
}

TRgb FrameColumn(bool active, int fromEdge) {
  if (fromEdge == 0) return OUTLINE;
  if (fromEdge == 1) return active ? TRgb{58, 64, 78} : TRgb{50, 53, 60};
  return active ? TRgb{40, 44, 54} : TRgb{40, 43, 50};
}

TImage SideBorder(bool left) {
  TImage img(SIDE * 2, SIDE_ROWS);
  for (int frame = 0; frame < 2; ++frame) {
    const bool active = frame == 0;
    for (int c = 0; c < SIDE; ++c) {
      const int fromEdge = left ? c : SIDE - 1 - c;
      for (int y = 0; y < SIDE_ROWS; ++y) {
        const int fromBottom = SIDE_ROWS - 1 - y;
        TRgb colour = FrameColumn(active, std::min(fromEdge, fromBottom));
        if (y < CAPTION_ROWS) colour = fromEdge == 0 ? OUTLINE : CaptionRow(active, y);
        img.Set(frame * SIDE + c, y, colour);
      }
    }
  }
  return img;
}

TImage DrawTop() {
  TImage img(120, CAPTION_ROWS * 2);
  for (int frame = 0; frame < 2; ++frame)
    for (int row = 0; row < CAPTION_ROWS; ++row)
      HLine(img, 0, frame * CAPTION_ROWS + row, img.Width(), CaptionRow(frame == 0, row));
  return img;
}

TImage DrawBottom() {
  TImage img(40, BOTTOM_ROWS * 2);
  for (int frame = 0; frame < 2; ++frame)
    for (int row = 0; row < BOTTOM_ROWS; ++row)
      HLine(img, 0, frame * BOTTOM_ROWS + row, img.Width(), FrameColumn(frame == 0, BOTTOM_ROWS - 1 - row));
  return img;
}

const TCaptionLooks CAPTION_LOOKS{
    .Row = CaptionRow,
    .Glyph = TRgb{176, 184, 198},
    .GlyphDim = TRgb{92, 98, 110},
    .GlyphHot = TRgb{250, 252, 255},
    .Ring = TRgb{96, 104, 120},
    .RingAlways = true,
    .HotTop = TRgb{104, 156, 222},
    .HotBottom = TRgb{70, 118, 184},
    .HotBorder = TRgb{40, 78, 130},
    .Pressed = TRgb{52, 92, 150},
    .PressedBorder = TRgb{28, 56, 100},
    .CloseHotTop = TRgb{222, 98, 84},
    .CloseHotBottom = TRgb{188, 64, 52},
    .CloseBorder = TRgb{120, 36, 28},
    .ClosePressed = TRgb{150, 44, 34},
    .Disc = true,
};

TImage DrawClose() { return CaptionButtonStrip(CAPTION_LOOKS, CLOSE_GLYPH, 15, 5, true); }
TImage DrawMaximize() { return CaptionButtonStrip(CAPTION_LOOKS, MAXIMIZE_GLYPH, 15, 5, false); }
TImage DrawMinimize() { return CaptionButtonStrip(CAPTION_LOOKS, MINIMIZE_GLYPH, 15, 5, false); }
TImage DrawHelp() { return CaptionButtonStrip(CAPTION_LOOKS, HELP_GLYPH, 15, 5, false); }

// The menu band: the caption's dark continued, with a faint bottom line.
TImage DrawMenuBand() {
  constexpr int ROWS = 19;
  TImage img(150, ROWS * 2);
  for (int frame = 0; frame < 2; ++frame)
    for (int row = 0; row < ROWS; ++row) {
      TRgb colour = Lerp(TRgb{46, 50, 60}, TRgb{40, 44, 53}, row, ROWS - 1);
      if (row == ROWS - 1) colour = TRgb{28, 31, 38};
      if (frame == 1) colour = Mix(colour, TRgb{44, 47, 54}, 128);
      HLine(img, 0, frame * ROWS + row, img.Width(), colour);
    }
  return img;
}

}  // namespace

const std::vector<TSkinImage>& DuskSkinImages() {
  static const std::vector<TSkinImage> images = [] {
    std::vector<TSkinImage> list = {
      {.FileName = "frame_top.bmp", .Width = 120, .Height = CAPTION_ROWS * 2, .Draw = DrawTop},
      {.FileName = "frame_bottom.bmp", .Width = 40, .Height = BOTTOM_ROWS * 2, .Draw = DrawBottom},
      {.FileName = "frame_left.bmp", .Width = SIDE * 2, .Height = SIDE_ROWS, .Draw = [] { return SideBorder(true); }},
      {.FileName = "frame_right.bmp", .Width = SIDE * 2, .Height = SIDE_ROWS, .Draw = [] { return SideBorder(false); }},
      {.FileName = "caption_close.bmp", .Width = 90, .Height = 15, .Draw = DrawClose},
      {.FileName = "caption_maximize.bmp", .Width = 90, .Height = 15, .Draw = DrawMaximize},
      {.FileName = "caption_minimize.bmp", .Width = 90, .Height = 15, .Draw = DrawMinimize},
      {.FileName = "caption_help.bmp", .Width = 90, .Height = 15, .Draw = DrawHelp},
      {.FileName = "menubar.bmp", .Width = 150, .Height = 38, .Draw = DrawMenuBand},
    };
    AppendTonedControls(list, Tone, Toned("progress_chunk.bmp", 16, 13, DrawProgressBar, Tone));
    return list;
  }();
  return images;
}

}  // namespace skingen
