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

// A side border's pixel: the caption's rows beside the caption, the frame's
// columns below it, turning round the bottom corner.
TRgb SidePixel(bool active, int fromEdge, int y) {
  if (y < CAPTION_ROWS) return fromEdge == 0 ? OUTLINE : CaptionRow(active, y);
  return FrameColumn(active, std::min(fromEdge, SIDE_ROWS - 1 - y));
}

TRgb TopPixel(bool active, int, int row) { return CaptionRow(active, row); }
TRgb BottomPixel(bool active, int, int row) { return FrameColumn(active, BOTTOM_ROWS - 1 - row); }

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

// The menu band: the caption's dark continued, with a faint bottom line.
constexpr int MENU_ROWS = 19;
TRgb MenuBandPixel(bool active, int, int row) {
  TRgb colour = Lerp(TRgb{46, 50, 60}, TRgb{40, 44, 53}, row, MENU_ROWS - 1);
  if (row == MENU_ROWS - 1) colour = TRgb{28, 31, 38};
  if (!active) colour = Mix(colour, TRgb{44, 47, 54}, 128);
  return colour;
}

}  // namespace

const std::vector<TSkinImage>& DuskSkinImages() {
  static const std::vector<TSkinImage> images = [] {
    std::vector<TSkinImage> list;
    AppendFrameBorders(list, TFrameBorders{.TopWidth = 120, .CaptionRows = CAPTION_ROWS,
                                           .BottomWidth = 40, .BottomRows = BOTTOM_ROWS,
                                           .SideColumns = SIDE, .SideRows = SIDE_ROWS,
                                           .Top = TopPixel, .Bottom = BottomPixel, .Side = SidePixel});
    AppendCaptionButtons(list, CAPTION_LOOKS, 5);
    list.push_back({.FileName = "menubar.bmp", .Width = 150, .Height = MENU_ROWS * 2,
                    .Draw = [] { return StackedFrames(150, MENU_ROWS, MenuBandPixel); }});
    AppendTonedControls(list, Tone, Toned("progress_chunk.bmp", 16, 13, DrawProgressBar, Tone));
    return list;
  }();
  return images;
}

}  // namespace skingen
