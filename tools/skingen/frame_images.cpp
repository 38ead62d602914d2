// Window frame images: the four borders, the menu band, the caption buttons
// and the buttons of a maximized MDI child.
//
// Geometry the program gives these images: the caption is one frame of the
// top border (25 rows); the side borders are 2 pixels wide and run the full
// window height, their first 25 rows beside the caption and their last 8
// beside the bottom border; caption buttons sit 7 rows (help: 6) below the
// window top; the MDI buttons are centred in the 19-row menu band.
#include "painter.h"
#include "skin_images.h"
#include "theme.h"

namespace skingen {

using namespace theme;

namespace {

constexpr int SIDE_ROWS = 250;
constexpr int SIDE_BOTTOM_ROWS = 8;

const char* const CLOSE_ROWS[] = {
    "X.....X",
    "XX...XX",
    ".XX.XX.",
    "..XXX..",
    ".XX.XX.",
    "XX...XX",
    "X.....X",
};
const char* const MAXIMIZE_ROWS[] = {
    "XXXXXXX",
    "XXXXXXX",
    "X.....X",
    "X.....X",
    "X.....X",
    "X.....X",
    "XXXXXXX",
};
const char* const MINIMIZE_ROWS[] = {
    ".......",
    ".......",
    ".......",
    ".......",
    ".......",
    "XXXXXXX",
    "XXXXXXX",
};
const char* const RESTORE_ROWS[] = {
    "..XXXXX",
    "..XXXXX",
    "..X...X",
    "XXXXX.X",
    "XXXXXXX",
    "X...X..",
    "XXXXX..",
};
const char* const HELP_ROWS[] = {
    ".XXXXX.",
    "XX...XX",
    ".....XX",
    "....XX.",
    "...XX..",
    "...XX..",
    ".......",
    "...XX..",
    "...XX..",
};


}  // namespace

const TGlyph CLOSE_GLYPH{7, 7, CLOSE_ROWS};
const TGlyph MAXIMIZE_GLYPH{7, 7, MAXIMIZE_ROWS};
const TGlyph MINIMIZE_GLYPH{7, 7, MINIMIZE_ROWS};
const TGlyph RESTORE_GLYPH{7, 7, RESTORE_ROWS};
const TGlyph HELP_GLYPH{7, 9, HELP_ROWS};

namespace {

// Looks of one caption-button frame. The program shows frame 1 normal,
// 2 pressed, 3 under the mouse and 4 on an inactive window or for a
// disabled button; frames 5 and 6 are the hot and pressed looks for an
// inactive caption, kept for completeness of the strip.
enum class TButtonLook { Normal, Pressed, Hot, Dimmed, HotInactive, PressedInactive };

const TButtonLook CAPTION_FRAMES[] = {TButtonLook::Normal,  TButtonLook::Pressed,     TButtonLook::Hot,
                                      TButtonLook::Dimmed,  TButtonLook::HotInactive, TButtonLook::PressedInactive};

// Draws one caption-button frame of size x size at (x0, 0). `top` is the
// caption row of the button's first row, so that smoothed corners blend
// into the caption gradient they are drawn on.
void DrawCaptionFrame(TImage& img, int x0, int size, int top, const TGlyph& glyph, bool isClose,
                      TButtonLook look) {
  const TBox box{x0, 0, size, size};
  const int gx = x0 + (size - glyph.W) / 2;
  const int gy = (size - glyph.H) / 2;
  const bool inactive = look == TButtonLook::HotInactive || look == TButtonLook::PressedInactive;
  const bool pressed = look == TButtonLook::Pressed || look == TButtonLook::PressedInactive;

  switch (look) {
    case TButtonLook::Normal:
      Stamp(img, glyph, gx, gy, Grey(246));
      return;
    case TButtonLook::Dimmed:
      // Etched: reads as a dark glyph on the light inactive caption and as
      // a faint engraving on the dark active one (a disabled button).
      Stamp(img, glyph, gx + 1, gy + 1, Grey(184));
      Stamp(img, glyph, gx, gy, Grey(104));
      return;
    default:
      break;
  }

  for (int y = 0; y < size; ++y) HLine(img, x0, y, size, CaptionRow(!inactive, top + y));
  if (isClose) {
    RoundBox(img, box, 3, CLOSE_BORDER,
             pressed ? Solid(CLOSE_PRESSED) : Gradient(CLOSE_HOT_TOP, CLOSE_HOT_BOTTOM, size - 2));
  } else if (pressed) {
    RoundBox(img, box, 3, inactive ? Grey(96) : Grey(40), Solid(inactive ? Grey(118) : Grey(62)));
  } else {
    RoundBox(img, box, 3, inactive ? Grey(128) : Grey(60),
             inactive ? Gradient(Grey(204), Grey(186), size - 2) : Gradient(Grey(164), Grey(138), size - 2));
  }
  KeyOutsideRoundBox(img, box, 3);
  Stamp(img, glyph, gx, gy + (pressed ? 1 : 0), WHITE);
}

TImage CaptionButton(const TGlyph& glyph, int size, int top, bool isClose) {
  TImage img(size * 6, size);
  int x0 = 0;
  for (TButtonLook look : CAPTION_FRAMES) {
    DrawCaptionFrame(img, x0, size, top, glyph, isClose, look);
    x0 += size;
  }
  return img;
}

// Side border: the outer column is the window outline; the inner one
// continues the caption, the client face and the bottom border.
TImage SideBorder(bool left) {
  TImage img(4, SIDE_ROWS);
  for (int frame = 0; frame < 2; ++frame) {
    const bool active = frame == 0;
    const int outer = frame * 2 + (left ? 0 : 1);
    const int inner = frame * 2 + (left ? 1 : 0);
    for (int y = 0; y < SIDE_ROWS; ++y) {
      TRgb in = FACE;
      if (y < CAPTION_ROWS) in = CaptionRow(active, y);
      else if (y >= SIDE_ROWS - SIDE_BOTTOM_ROWS) in = BottomRow(active, y - (SIDE_ROWS - SIDE_BOTTOM_ROWS));
      img.Set(outer, y, active ? OUTLINE_ACTIVE : OUTLINE_INACTIVE);
      img.Set(inner, y, in);
    }
  }
  return img;
}

}  // namespace

TImage DrawTopBorder() {
  TImage img(205, CAPTION_ROWS * 2);
  for (int frame = 0; frame < 2; ++frame)
    for (int row = 0; row < CAPTION_ROWS; ++row)
      HLine(img, 0, frame * CAPTION_ROWS + row, img.Width(), CaptionRow(frame == 0, row));
  return img;
}

TImage DrawBottomBorder() {
  TImage img(246, BOTTOM_ROWS * 2);
  for (int frame = 0; frame < 2; ++frame) {
    const int y0 = frame * BOTTOM_ROWS;
    for (int row = 0; row < BOTTOM_ROWS; ++row) HLine(img, 0, y0 + row, img.Width(), BottomRow(frame == 0, row));
    // A small grip in the fixed right end, next to the window's corner.
    const int dots[][2] = {{241, 1}, {241, 4}, {238, 4}};
    for (const auto& d : dots) {
      img.Set(d[0] + 1, y0 + d[1] + 1, WHITE);
      img.Set(d[0], y0 + d[1], frame == 0 ? Grey(150) : Grey(176));
    }
  }
  return img;
}

TImage DrawLeftBorder() { return SideBorder(true); }

TImage DrawRightBorder() { return SideBorder(false); }

TImage DrawMenuBar() {
  TImage img(150, MENUBAR_ROWS * 2);
  for (int frame = 0; frame < 2; ++frame)
    for (int row = 0; row < MENUBAR_ROWS; ++row)
      HLine(img, 0, frame * MENUBAR_ROWS + row, img.Width(), MenuBarRow(frame == 0, row));
  return img;
}

TImage DrawCloseButton() { return CaptionButton(CLOSE_GLYPH, 11, 7, true); }

TImage DrawMaximizeButton() { return CaptionButton(MAXIMIZE_GLYPH, 11, 7, false); }

TImage DrawMinimizeButton() { return CaptionButton(MINIMIZE_GLYPH, 11, 7, false); }

TImage DrawHelpButton() { return CaptionButton(HELP_GLYPH, 13, 6, false); }

// Minimize, restore and close of a maximized MDI child, four frames each
// (normal, pressed, disabled, hot), drawn on the menu band.
TImage DrawMdiButtons() {
  constexpr int W = 15;
  constexpr int H = 14;
  constexpr int BAND_TOP = (MENUBAR_ROWS - H) / 2;
  const TGlyph* glyphs[] = {&MINIMIZE_GLYPH, &RESTORE_GLYPH, &CLOSE_GLYPH};
  TImage img(W * 12, H);
  for (int button = 0; button < 3; ++button) {
    const TGlyph& glyph = *glyphs[button];
    for (int frame = 0; frame < 4; ++frame) {
      const int x0 = (button * 4 + frame) * W;
      const int gx = x0 + (W - glyph.W) / 2;
      const int gy = (H - glyph.H) / 2;
      const TBox box{x0, 0, W, H};
      if (frame == 0) {
        Stamp(img, glyph, gx, gy, Grey(40));
      } else if (frame == 2) {
        Stamp(img, glyph, gx, gy, Grey(158));
      } else {
        const bool pressed = frame == 1;
        for (int y = 0; y < H; ++y) HLine(img, x0, y, W, MenuBarRow(true, BAND_TOP + y));
        RoundBox(img, box, 3, pressed ? Grey(112) : Grey(146),
                 pressed ? Gradient(Grey(172), Grey(186), H - 2) : Gradient(Grey(252), Grey(234), H - 2));
        KeyOutsideRoundBox(img, box, 3);
        Stamp(img, glyph, gx, gy + (pressed ? 1 : 0), pressed ? Grey(16) : Grey(24));
      }
    }
  }
  return img;
}

}  // namespace skingen
