// Control images: push buttons, check boxes and radio buttons, the progress
// bar, group boxes, tabs and their page, the status bar and tool buttons.
//
// Opaque images (push buttons, tabs, tool buttons) are drawn on the face
// colour, which is what the program fills controls with before it draws
// them, so their rounded corners blend into the form. Images drawn with the
// colour key (check marks, radio buttons, the progress fill) are smoothed
// against the face colour and keyed where the shape does not reach.
#include "painter.h"
#include "skin_images.h"
#include "theme.h"

namespace skingen {

using namespace theme;

namespace {

const char* const CHECK_ROWS[] = {
    "......oX",
    ".....oXX",
    "o...oXXo",
    "XX.oXXo.",
    "oXXXXo..",
    ".oXXo...",
    "..oo....",
};
const TGlyph CHECK_GLYPH{8, 7, CHECK_ROWS};

// A rounded, bordered box of the given looks at (x0, 0), on the face colour.
void FaceBox(TImage& img, TBox box, int radius, TRgb border, const TRowColour& fill) {
  FillBox(img, box, FACE);
  RoundBox(img, box, radius, border, fill);
}

}  // namespace

// Push buttons: 1 normal, 2 pressed, 3 disabled, 4 under the mouse,
// 5 focused or default (a dark outer ring).
TImage DrawPushButton() {
  constexpr int W = 18;
  constexpr int H = 23;
  TImage img(W * 5, H);
  const TBox b0{0, 0, W, H};
  FaceBox(img, b0, 3, TRgb{146, 145, 143}, Gradient(Grey(253), TRgb{226, 225, 223}, H));
  HLine(img, 2, 1, W - 4, WHITE);

  const TBox b1 = b0.Moved(W, 0);
  FaceBox(img, b1, 3, TRgb{104, 103, 101}, Gradient(TRgb{198, 197, 195}, TRgb{218, 217, 215}, H));
  HLine(img, b1.X + 2, 1, W - 4, TRgb{184, 183, 181});

  const TBox b2 = b0.Moved(2 * W, 0);
  FaceBox(img, b2, 3, TRgb{194, 193, 191}, Solid(TRgb{238, 237, 235}));

  const TBox b3 = b0.Moved(3 * W, 0);
  FaceBox(img, b3, 3, TRgb{116, 115, 113}, Gradient(WHITE, TRgb{236, 235, 233}, H));
  HLine(img, b3.X + 2, 1, W - 4, WHITE);

  const TBox b4 = b0.Moved(4 * W, 0);
  FaceBox(img, b4, 3, Grey(64), Solid(Grey(64)));
  RoundBox(img, b4.Inset(1), 2, TRgb{196, 195, 193}, Gradient(Grey(253), TRgb{226, 225, 223}, H - 2));
  return img;
}

// Check boxes: 1 clear, 2 checked, 3 clear and disabled, 4 checked and
// disabled (also the indeterminate box), 5 indeterminate and enabled.
TImage DrawCheckBox() {
  constexpr int S = 13;
  TImage img(S * 5, S);
  for (int frame = 0; frame < 5; ++frame) {
    const TBox box{frame * S, 0, S, S};
    const bool disabled = frame == 2 || frame == 3;
    FaceBox(img, box, 2, disabled ? Grey(184) : TRgb{118, 117, 115},
            disabled ? Solid(Grey(240)) : Gradient(WHITE, TRgb{228, 227, 225}, S));
    KeyOutsideRoundBox(img, box, 2);
    if (frame == 1 || frame == 3) Stamp(img, CHECK_GLYPH, box.X + 3, 3, disabled ? Grey(164) : Grey(40));
    if (frame == 4) FillBox(img, TBox{box.X + 4, 4, 5, 5}, Grey(90));
  }
  return img;
}

// Radio buttons: 1 clear, 2 chosen, 3 clear and disabled, 4 chosen and
// disabled, 5 clear under the mouse.
TImage DrawRadioButton() {
  constexpr int S = 13;
  TImage img(S * 5, S);
  for (int frame = 0; frame < 5; ++frame) {
    const int x0 = frame * S;
    const bool disabled = frame == 2 || frame == 3;
    const double c = S / 2.0;
    FillBox(img, TBox{x0, 0, S, S}, FACE);
    TRgb border = TRgb{118, 117, 115};
    if (disabled) border = Grey(184);
    if (frame == 4) border = Grey(72);
    Disc(img, x0 + c, c, 6.5, border);
    if (disabled) Disc(img, x0 + c, c, 5.5, Grey(240));
    else DiscGradient(img, x0 + c, c, 5.5, WHITE, TRgb{226, 225, 223});
    if (frame == 1 || frame == 3) Disc(img, x0 + c, c, 2.6, disabled ? Grey(164) : Grey(40));
    for (int y = 0; y < S; ++y)
      for (int x = 0; x < S; ++x)
        if (DiscCoverage(c, c, 6.5, x, y) == 0) img.Set(x0 + x, y, MAGENTA);
  }
  return img;
}

// Progress: frame 1 the empty trough, frame 2 the filled part, keyed
// around so that the trough's border stays visible under it.
TImage DrawProgress() {
  constexpr int W = 18;
  constexpr int H = 19;
  TImage img(W * 2, H);
  FaceBox(img, TBox{0, 0, W, H}, 2, SHADOW, Gradient(Grey(220), Grey(244), H));
  const int x0 = W;
  HLine(img, x0 + 1, 1, W - 1, Grey(170));
  VGradient(img, TBox{x0 + 1, 2, W - 1, H - 4}, Grey(146), Grey(108));
  HLine(img, x0 + 1, H - 2, W - 1, Grey(96));
  VLine(img, x0 + W - 1, 1, H - 2, Grey(86));
  return img;
}

// Group box frame: the line runs through the caption's middle (row 6);
// frame 1 normal, frame 2 disabled. An etched line: grey with white inside.
TImage DrawGroupBoxEdge() {
  constexpr int W = 22;
  constexpr int H = 20;
  TImage img(W * 2, H, FACE);
  for (int frame = 0; frame < 2; ++frame) {
    const TBox box{frame * W, 6, W, H - 6};
    RoundBox(img, box, 3, frame == 0 ? Grey(172) : Grey(204), Solid(FACE));
    RoundBox(img, box.Inset(1), 2, frame == 0 ? Grey(250) : Grey(240), Solid(FACE));
  }
  return img;
}

// The plate behind a group box caption.
TImage DrawGroupBoxLabel() {
  TImage img(25, 13, FACE);
  RoundBox(img, TBox{0, 0, 25, 13}, 3, Grey(196), Gradient(Grey(248), Grey(234), 13));
  return img;
}

// Tabs: 1 ordinary, 2 selected (lighter, dark accent along the top),
// 3 under the mouse, 4 disabled, 5 selected without focus (soft accent).
// Only the top corners are round; the bottom row meets the page's border.
TImage DrawTabs() {
  constexpr int W = 18;
  constexpr int H = 19;
  TImage img(W * 5, H);
  struct TLook {
    TRgb Border;
    TRgb Top;
    TRgb Bottom;
    TRgb Accent;
    bool HasAccent;
  };
  const TLook looks[] = {
      {Grey(168), Grey(232), Grey(216), {}, false},
      {Grey(140), Grey(252), Grey(238), HILIGHT, true},
      {Grey(150), Grey(246), Grey(230), {}, false},
      {Grey(198), Grey(234), Grey(234), {}, false},
      {Grey(150), Grey(250), Grey(238), Grey(176), true},
  };
  for (int frame = 0; frame < 5; ++frame) {
    const TLook& look = looks[frame];
    const TBox box{frame * W, 0, W, H + 4};  // runs past the bottom: square lower corners
    FillBox(img, TBox{box.X, 0, W, H}, FACE);
    RoundBox(img, box, 3, look.Border, Gradient(look.Top, look.Bottom, H));
    if (!look.HasAccent) continue;
    const TBox inner = box.Inset(1);
    for (int y = 1; y <= 2; ++y)
      for (int x = box.X + 1; x < box.X + W - 1; ++x)
        img.Blend(x, y, y == 1 ? look.Accent : Mix(look.Accent, look.Top, 110), RoundBoxCoverage(inner, 2, x, y));
  }
  return img;
}

// The page area under the tabs: a border with a light inner edge at the top
// and left and a soft shadow at the bottom and right; the middle is the face.
TImage DrawTabPage() {
  constexpr int S = 48;
  TImage img(S, S, FACE);
  FrameBox(img, TBox{0, 0, S, S}, Grey(160));
  HLine(img, 1, 1, S - 2, Grey(248));
  VLine(img, 1, 1, S - 2, Grey(248));
  HLine(img, 1, S - 2, S - 2, Grey(214));
  VLine(img, S - 2, 2, S - 3, Grey(214));
  return img;
}

// Status-bar panels: 1 lowered, 2 raised, 3 flat. Each panel's left edge
// carries the separator from the panel before it.
TImage DrawStatusBar() {
  constexpr int W = 22;
  constexpr int H = 18;
  TImage img(W * 3, H);
  const TRgb tops[] = {Grey(234), Grey(246), Grey(238)};
  const TRgb bottoms[] = {Grey(222), Grey(232), Grey(226)};
  for (int frame = 0; frame < 3; ++frame) {
    const int x0 = frame * W;
    HLine(img, x0, 0, W, Grey(196));
    HLine(img, x0, 1, W, Grey(248));
    VGradient(img, TBox{x0, 2, W, H - 2}, tops[frame], bottoms[frame]);
    if (frame == 2) continue;
    const TRgb first = frame == 0 ? Grey(176) : Grey(252);
    const TRgb second = frame == 0 ? Grey(252) : Grey(176);
    VLine(img, x0, 3, H - 6, first);
    VLine(img, x0 + 1, 3, H - 6, second);
  }
  return img;
}

// Tool buttons: 1 normal (flat), 2 pressed, 3 disabled, 4 under the mouse,
// 5 checked.
TImage DrawToolBar() {
  constexpr int W = 20;
  constexpr int H = 23;
  TImage img(W * 5, H, FACE);
  VGradient(img, TBox{0, 0, W, H}, Grey(236), Grey(224));
  FaceBox(img, TBox{W, 0, W, H}, 3, Grey(118), Gradient(Grey(198), Grey(216), H));
  VGradient(img, TBox{2 * W, 0, W, H}, Grey(234), Grey(230));
  FaceBox(img, TBox{3 * W, 0, W, H}, 3, Grey(148), Gradient(Grey(254), Grey(234), H));
  FaceBox(img, TBox{4 * W, 0, W, H}, 3, Grey(132), Gradient(Grey(216), Grey(228), H));
  return img;
}

}  // namespace skingen
