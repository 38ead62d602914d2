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

TImage Trough() { return DrawProgressTrough(); }
TImage Bar() { return DrawProgressBar(); }
TImage UpDownButtons() { return DrawUpDownButtons(); }
TImage UpDownGlyphsHorz() { return DrawUpDownGlyphs(true); }
TImage UpDownGlyphsVert() { return DrawUpDownGlyphs(false); }
TImage ThumbHorz() { return DrawTrackThumb(0); }
TImage ThumbVert() { return DrawTrackThumb(1); }
TImage ThumbLeft() { return DrawTrackThumb(2); }
TImage ThumbRight() { return DrawTrackThumb(3); }
TImage ThumbUp() { return DrawTrackThumb(4); }
TImage ThumbDown() { return DrawTrackThumb(5); }
TImage TrackHorz() { return DrawTrackChannel(false); }
TImage TrackVert() { return DrawTrackChannel(true); }

}  // namespace

const std::vector<TSkinImage>& DuskSkinImages() {
  static const std::vector<TSkinImage> images = {
      {.FileName = "frame_top.bmp", .Width = 120, .Height = CAPTION_ROWS * 2, .Draw = DrawTop},
      {.FileName = "frame_bottom.bmp", .Width = 40, .Height = BOTTOM_ROWS * 2, .Draw = DrawBottom},
      {.FileName = "frame_left.bmp", .Width = SIDE * 2, .Height = SIDE_ROWS, .Draw = [] { return SideBorder(true); }},
      {.FileName = "frame_right.bmp", .Width = SIDE * 2, .Height = SIDE_ROWS, .Draw = [] { return SideBorder(false); }},
      {.FileName = "caption_close.bmp", .Width = 90, .Height = 15, .Draw = DrawClose},
      {.FileName = "caption_maximize.bmp", .Width = 90, .Height = 15, .Draw = DrawMaximize},
      {.FileName = "caption_minimize.bmp", .Width = 90, .Height = 15, .Draw = DrawMinimize},
      {.FileName = "caption_help.bmp", .Width = 90, .Height = 15, .Draw = DrawHelp},
      {.FileName = "menubar.bmp", .Width = 150, .Height = 38, .Draw = DrawMenuBand},
      Toned("mdi_buttons.bmp", 180, 14, DrawMdiButtons, Tone),
      Toned("button.bmp", 90, 23, DrawPushButton, Tone),
      Toned("checkbox.bmp", 65, 13, DrawCheckBox, Tone),
      Toned("radio.bmp", 65, 13, DrawRadioButton, Tone),
      Toned("progress.bmp", 18, 19, Trough, Tone),
      Toned("progress_chunk.bmp", 16, 13, Bar, Tone),
      Toned("groupbox_edge.bmp", 44, 20, DrawGroupBoxEdge, Tone),
      Toned("groupbox_label.bmp", 25, 13, DrawGroupBoxLabel, Tone),
      Toned("tabs.bmp", 90, 19, DrawTabs, Tone),
      Toned("tab_page.bmp", 48, 48, DrawTabPage, Tone),
      Toned("tab_pane.bmp", 24, 24, DrawTabPane, Tone),
      Toned("statusbar.bmp", 66, 18, DrawStatusBar, Tone),
      Toned("toolbar.bmp", 100, 23, DrawToolBar, Tone),
      Toned("combo_button.bmp", 64, 18, DrawComboButton, Tone),
      Toned("sunk_edge.bmp", 20, 21, DrawSunkEdge, Tone),
      Toned("extra_images.bmp", 80, 16, DrawExtraImages, Tone),
      Toned("header.bmp", 90, 18, DrawHeader, Tone),
      Toned("menu_item.bmp", 150, 23, DrawMenuItem, Tone),
      Toned("menu_background.bmp", 18, 18, DrawMenuBackground, Tone),
      Toned("scrollbar.bmp", 368, 16, DrawScrollBarParts, Tone),
      Toned("scroll_track_horz.bmp", 68, 17, DrawHorzTrack, Tone),
      Toned("scroll_track_vert.bmp", 68, 17, DrawVertTrack, Tone),
      Toned("scroll_thumb_horz.bmp", 66, 15, DrawHorzThumb, Tone),
      Toned("scroll_thumb_vert.bmp", 45, 22, DrawVertThumb, Tone),
      Toned("updown_buttons.bmp", 128, 11, UpDownButtons, Tone),
      Toned("updown_glyphs_horz.bmp", 72, 9, UpDownGlyphsHorz, Tone),
      Toned("updown_glyphs_vert.bmp", 72, 9, UpDownGlyphsVert, Tone),
      Toned("thumb_horz.bmp", 55, 19, ThumbHorz, Tone),
      Toned("thumb_vert.bmp", 95, 11, ThumbVert, Tone),
      Toned("thumb_left.bmp", 95, 11, ThumbLeft, Tone),
      Toned("thumb_right.bmp", 95, 11, ThumbRight, Tone),
      Toned("thumb_up.bmp", 55, 19, ThumbUp, Tone),
      Toned("thumb_down.bmp", 55, 19, ThumbDown, Tone),
      Toned("track.bmp", 16, 5, TrackHorz, Tone),
      Toned("trackvert.bmp", 5, 16, TrackVert, Tone),
  };
  return images;
}

}  // namespace skingen
