// The pictures of the media player's buttons, as the skinned media player
// loads them from a program's bitmap resources: one per button and look,
// named "<look>_<button>" (EN enabled, DI disabled, CL in the button's own
// colour; MPPLAY, MPPAUSE, ...). Each is a 16 x 14 picture on an olive
// background, which the player leaves out when it draws them.
#include <array>
#include <string>

#include "painter.h"
#include "skin_images.h"

namespace skingen {

namespace {

constexpr TRgb OLIVE{128, 128, 0};
constexpr int PICTURE_W = 16;
constexpr int PICTURE_H = 14;

// 12 x 11 pixel art of each button, in button order.
const char* const PLAY[] = {"   X        ", "   XX       ", "   XXX      ", "   XXXX     ", "   XXXXX    ",
                            "   XXXXXX   ", "   XXXXX    ", "   XXXX     ", "   XXX      ", "   XX       ",
                            "   X        "};
const char* const PAUSE[] = {"  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ",
                             "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ", "  XXX  XXX  ",
                             "  XXX  XXX  "};
const char* const STOP[] = {"            ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ",
                            " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ",
                            "            "};
const char* const NEXT[] = {" X      XX  ", " XX     XX  ", " XXX    XX  ", " XXXX   XX  ", " XXXXX  XX  ",
                            " XXXXXX XX  ", " XXXXX  XX  ", " XXXX   XX  ", " XXX    XX  ", " XX     XX  ",
                            " X      XX  "};
const char* const PREV[] = {" XX      X  ", " XX     XX  ", " XX    XXX  ", " XX   XXXX  ", " XX  XXXXX  ",
                            " XX XXXXXX  ", " XX  XXXXX  ", " XX   XXXX  ", " XX    XXX  ", " XX     XX  ",
                            " XX      X  "};
const char* const STEP[] = {"X     X     ", "XX    XX    ", "XXX   XXX   ", "XXXX  XXXX  ", "XXXXX XXXXX ",
                            "XXXXXXXXXXXX", "XXXXX XXXXX ", "XXXX  XXXX  ", "XXX   XXX   ", "XX    XX    ",
                            "X     X     "};
const char* const BACK[] = {"     X     X", "    XX    XX", "   XXX   XXX", "  XXXX  XXXX", " XXXXX XXXXX",
                            "XXXXXXXXXXXX", " XXXXX XXXXX", "  XXXX  XXXX", "   XXX   XXX", "    XX    XX",
                            "     X     X"};
const char* const RECORD[] = {"            ", "   XXXXX    ", "  XXXXXXX   ", " XXXXXXXXX  ", " XXXXXXXXX  ",
                              " XXXXXXXXX  ", " XXXXXXXXX  ", " XXXXXXXXX  ", "  XXXXXXX   ", "   XXXXX    ",
                              "            "};
const char* const EJECT[] = {"     X      ", "    XXX     ", "   XXXXX    ", "  XXXXXXX   ", " XXXXXXXXX  ",
                             "XXXXXXXXXXX ", "            ", "XXXXXXXXXXX ", "XXXXXXXXXXX ", "            ",
                             "            "};

struct TButtonArt {
  const char* Name;
  const char* const* Rows;
  TRgb Colour;  // the button's own colour
};

const std::array<TButtonArt, 9> BUTTONS = {{
    {"mpplay", PLAY, TRgb{0, 128, 0}},
    {"mppause", PAUSE, TRgb{192, 160, 0}},
    {"mpstop", STOP, TRgb{192, 0, 0}},
    {"mpnext", NEXT, TRgb{0, 0, 128}},
    {"mpprev", PREV, TRgb{0, 0, 128}},
    {"mpstep", STEP, TRgb{0, 0, 128}},
    {"mpback", BACK, TRgb{0, 0, 128}},
    {"mprecord", RECORD, TRgb{192, 0, 0}},
    {"mpeject", EJECT, TRgb{64, 64, 64}},
}};

enum TLook { lkEnabled, lkDisabled, lkColoured };

template <int Button, TLook Look>
TImage DrawPicture() {
  TImage img(PICTURE_W, PICTURE_H, OLIVE);
  const TButtonArt& art = BUTTONS[Button];
  const TGlyph glyph{12, 11, art.Rows};
  if (Look == lkDisabled) {
    Stamp(img, glyph, 3, 2, TRgb{255, 255, 255});
    Stamp(img, glyph, 2, 1, Grey(128));
  } else {
    Stamp(img, glyph, 2, 1, Look == lkColoured ? art.Colour : TRgb{0, 0, 0});
  }
  return img;
}

#define MP_PICTURES(button, name)                                                       \
  {"en_" name ".bmp", PICTURE_W, PICTURE_H, &DrawPicture<button, lkEnabled>},          \
      {"di_" name ".bmp", PICTURE_W, PICTURE_H, &DrawPicture<button, lkDisabled>},     \
      {"cl_" name ".bmp", PICTURE_W, PICTURE_H, &DrawPicture<button, lkColoured>}

}  // namespace

const std::vector<TSkinImage>& MediaPlayerImages() {
  static const std::vector<TSkinImage> images = {
      MP_PICTURES(0, "mpplay"),   MP_PICTURES(1, "mppause"), MP_PICTURES(2, "mpstop"),
      MP_PICTURES(3, "mpnext"),   MP_PICTURES(4, "mpprev"),  MP_PICTURES(5, "mpstep"),
      MP_PICTURES(6, "mpback"),   MP_PICTURES(7, "mprecord"), MP_PICTURES(8, "mpeject"),
  };
  return images;
}

}  // namespace skingen
