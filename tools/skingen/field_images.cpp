// Images of fields and lists: the combo box's edge and button, the arrow and
// size-grip glyphs, column headers, popup menus and the scroll-bar parts.
//
// Frame meanings follow the program's state numbering: for combo boxes and
// their glyphs 1 normal, 2 pressed, 3 disabled, 4 under the mouse; for
// scroll-bar arrows the same four per arrow.
#include "painter.h"
#include "skin_images.h"
#include "theme.h"

namespace skingen {

using namespace theme;

namespace {

const char* const DROP_ROWS[] = {
    "XXXXXXX",
    ".XXXXX.",
    "..XXX..",
    "...X...",
};
const TGlyph DROP_GLYPH{7, 4, DROP_ROWS};

const char* const LEFT_ROWS[] = {
    "...X",
    "..XX",
    ".XXX",
    "XXXX",
    ".XXX",
    "..XX",
    "...X",
};
const TGlyph LEFT_GLYPH{4, 7, LEFT_ROWS};

// The combo box's sunken edge, per state: border colour and field colour.
struct TEdgeLook {
  TRgb Border;
  TRgb Field;
};
const TEdgeLook EDGE_LOOKS[] = {
    {SHADOW, WHITE},
    {HILIGHT, WHITE},
    {Grey(200), Grey(244)},
    {Grey(128), WHITE},
};

// One scroll-bar arrow frame, 16 x 16, pointing left; the caller turns it.
// 0 normal, 1 pressed, 2 disabled, 3 under the mouse. Row 0 is the track's
// edge line so that the arrows continue the track.
TImage ScrollArrow(int state) {
  TImage img(16, 16, TRACK);
  HLine(img, 0, 0, 16, TRACK_EDGE);
  const TBox box{1, 1, 14, 14};
  TRgb glyph = Grey(96);
  if (state == 1) {
    RoundBox(img, box, 2, THUMB_PRESSED_BORDER, Solid(THUMB_PRESSED));
    glyph = Grey(32);
  } else if (state == 3) {
    RoundBox(img, box, 2, THUMB_HOT_BORDER, Solid(THUMB_HOT));
    glyph = Grey(40);
  } else if (state == 2) {
    glyph = Grey(196);
  }
  Stamp(img, LEFT_GLYPH, 6 + (state == 1 ? 1 : 0), 4 + (state == 1 ? 1 : 0), glyph);
  return img;
}

// The ridges in the middle of a horizontal thumb: 0 normal, 1 pressed,
// 2 under the mouse. Everything else is keyed.
TImage ThumbGrip(int state) {
  const TRgb darks[] = {Grey(146), Grey(112), Grey(128)};
  const TRgb lights[] = {Grey(226), Grey(184), Grey(212)};
  TImage img(16, 16);
  for (int x : {5, 8, 11}) {
    VLine(img, x, 5, 6, darks[state]);
    VLine(img, x + 1, 5, 6, lights[state]);
  }
  return img;
}

// A scroll thumb frame: a flat bar inset by one pixel, whose corners are
// softened against the track. Its middle is uniform so that it tiles.
void ThumbFrame(TImage& img, TBox frame, TRgb border, TRgb fill) {
  const TBox box = frame.Inset(1);
  FillBox(img, box, fill);
  FrameBox(img, box, border);
  const int corners[][2] = {{box.X, box.Y},
                            {box.X + box.W - 1, box.Y},
                            {box.X, box.Y + box.H - 1},
                            {box.X + box.W - 1, box.Y + box.H - 1}};
  for (const auto& c : corners) img.Set(c[0], c[1], Mix(border, TRACK, 128));
}

// A thumb strip of `w` x `h` frames: 1 normal, 2 pressed, 3 under the mouse.
TImage ThumbStrip(int w, int h) {
  TImage img(w * 3, h);
  ThumbFrame(img, TBox{0, 0, w, h}, THUMB_BORDER, THUMB);
  ThumbFrame(img, TBox{w, 0, w, h}, THUMB_PRESSED_BORDER, THUMB_PRESSED);
  ThumbFrame(img, TBox{2 * w, 0, w, h}, THUMB_HOT_BORDER, THUMB_HOT);
  return img;
}

}  // namespace

// The combo box's button inside the edge (its outer ring stays keyed so the
// edge shows through), one frame per state.
TImage DrawComboButton() {
  constexpr int W = 16;
  constexpr int H = 18;
  const TRgb borders[] = {Grey(176), Grey(120), Grey(206), Grey(132)};
  const TRgb tops[] = {Grey(250), Grey(204), Grey(242), WHITE};
  const TRgb bottoms[] = {TRgb{228, 227, 225}, Grey(220), Grey(242), TRgb{236, 235, 233}};
  TImage img(W * 4, H);
  for (int frame = 0; frame < 4; ++frame) {
    const TBox box{frame * W + 2, 2, W - 4, H - 4};
    FillBox(img, box, EDGE_LOOKS[frame].Field);
    RoundBox(img, box, 2, borders[frame], Gradient(tops[frame], bottoms[frame], box.H));
    KeyOutsideRoundBox(img, box, 2);
  }
  return img;
}

// The combo box's edge: 1-pixel border, white field, softened corners.
TImage DrawSunkEdge() {
  constexpr int W = 5;
  constexpr int H = 21;
  TImage img(W * 4, H);
  for (int frame = 0; frame < 4; ++frame) {
    const TEdgeLook& look = EDGE_LOOKS[frame];
    const TBox box{frame * W, 0, W, H};
    FillBox(img, box, look.Field);
    FrameBox(img, box, look.Border);
    const TRgb corner = Mix(look.Border, FACE, 150);
    img.Set(box.X, 0, corner);
    img.Set(box.X + W - 1, 0, corner);
    img.Set(box.X, H - 1, corner);
    img.Set(box.X + W - 1, H - 1, corner);
  }
  return img;
}

// Frames 1-4: the drop-down arrow for the combo button's states; frame 5:
// the status bar's size grip.
TImage DrawExtraImages() {
  constexpr int S = 16;
  TImage img(S * 5, S);
  const TRgb arrows[] = {Grey(64), Grey(24), Grey(176), Grey(24)};
  for (int frame = 0; frame < 4; ++frame) Stamp(img, DROP_GLYPH, frame * S + 5, frame == 1 ? 7 : 6, arrows[frame]);
  const int dots[][2] = {{12, 12}, {12, 8}, {8, 12}, {12, 4}, {8, 8}, {4, 12}};
  for (const auto& d : dots) {
    const int x = 4 * S + d[0];
    const int y = d[1];
    FillBox(img, TBox{x, y, 2, 2}, Grey(150));
    img.Set(x + 1, y + 1, Grey(128));
    img.Set(x + 2, y + 2, WHITE);
  }
  return img;
}

// Column headers: 1 normal, 2 under the mouse, 3 pressed, 4 disabled,
// 5 sorted column. Rows 8 and 9 are tiled to the header's height and are
// therefore equal; the right two columns are the divider.
TImage DrawHeader() {
  constexpr int W = 18;
  constexpr int H = 18;
  struct TLook {
    TRgb Top;
    TRgb Middle;
    TRgb Bottom;
    TRgb Line;
    TRgb Accent;
  };
  const TLook looks[] = {
      {Grey(252), Grey(240), Grey(228), Grey(188), Grey(188)},
      {WHITE, Grey(248), Grey(238), Grey(188), Grey(120)},
      {Grey(218), Grey(224), Grey(232), Grey(168), Grey(168)},
      {Grey(238), Grey(238), Grey(238), Grey(206), Grey(206)},
      {Grey(248), Grey(236), Grey(226), Grey(188), HILIGHT},
  };
  TImage img(W * 5, H);
  for (int frame = 0; frame < 5; ++frame) {
    const TLook& look = looks[frame];
    const int x0 = frame * W;
    for (int y = 0; y < 8; ++y) HLine(img, x0, y, W, Lerp(look.Top, look.Middle, y, 8));
    HLine(img, x0, 8, W, look.Middle);
    HLine(img, x0, 9, W, look.Middle);
    for (int y = 10; y < H - 1; ++y) HLine(img, x0, y, W, Lerp(look.Middle, look.Bottom, y - 9, H - 11));
    HLine(img, x0, H - 1, W, look.Line);
    if (look.Accent != look.Line) HLine(img, x0, H - 2, W, look.Accent);
    VLine(img, x0 + W - 2, 3, H - 6, frame == 3 ? Grey(220) : Grey(196));
    VLine(img, x0 + W - 1, 3, H - 6, WHITE);
  }
  return img;
}

// Popup menu items: 1 normal (keyed: the menu's background shows), 2 the
// separator (a line near the bottom, which is where short separator items
// are cut from), 3 selected but disabled, 4 selected, 5 selected in a menu
// that is not in front.
TImage DrawMenuItem() {
  constexpr int W = 30;
  constexpr int H = 23;
  const TRgb menu{250, 249, 247};
  TImage img(W * 5, H);
  HLine(img, W + 2, 19, W - 4, Grey(212));
  struct TLook {
    TRgb Border;
    TRgb Top;
    TRgb Bottom;
  };
  const TLook looks[] = {
      {Grey(196), Grey(238), Grey(232)},
      {Grey(80), Grey(120), Grey(94)},
      {Grey(150), Grey(204), Grey(188)},
  };
  const int frames[] = {2, 3, 4};
  for (int i = 0; i < 3; ++i) {
    const TBox box{frames[i] * W + 1, 1, W - 1, H - 2};
    FillBox(img, box, menu);
    RoundBox(img, box, 2, looks[i].Border, Gradient(looks[i].Top, looks[i].Bottom, box.H));
    KeyOutsideRoundBox(img, box, 2);
  }
  return img;
}

// Popup menu background: a one-pixel border around a near-white field.
TImage DrawMenuBackground() {
  TImage img(18, 18, TRgb{250, 249, 247});
  FrameBox(img, TBox{0, 0, 18, 18}, TRgb{138, 137, 135});
  return img;
}

// The 23-frame strip: four arrows of four states each (left, right, up,
// down; normal, pressed, disabled, hot), the horizontal and vertical thumb
// ridges (normal, pressed, hot) and the corner square.
TImage DrawScrollBarParts() {
  constexpr int S = 16;
  TImage img(S * 23, S);
  for (int state = 0; state < 4; ++state) {
    const TImage left = ScrollArrow(state);
    const TImage up = MirrorX(RotateClockwise(left));
    img.Paste(left, state * S, 0);
    img.Paste(MirrorX(left), (4 + state) * S, 0);
    img.Paste(up, (8 + state) * S, 0);
    img.Paste(MirrorX(RotateClockwise(MirrorX(left))), (12 + state) * S, 0);
  }
  for (int state = 0; state < 3; ++state) {
    const TImage grip = ThumbGrip(state);
    img.Paste(grip, (16 + state) * S, 0);
    img.Paste(RotateClockwise(grip), (19 + state) * S, 0);
  }
  FillBox(img, TBox{22 * S, 0, S, S}, TRACK);
  return img;
}

// Tracks: 1 enabled, 2 pressed, 3 disabled, 4 under the mouse. The edge line
// faces the window's content.
TImage DrawHorzTrack() {
  constexpr int S = 17;
  const TRgb fills[] = {TRACK, TRgb{222, 219, 215}, Grey(241), TRgb{241, 239, 236}};
  const TRgb edges[] = {TRACK_EDGE, TRACK_EDGE, Grey(226), TRACK_EDGE};
  TImage img(S * 4, S);
  for (int frame = 0; frame < 4; ++frame) {
    FillBox(img, TBox{frame * S, 0, S, S}, fills[frame]);
    HLine(img, frame * S, 0, S, edges[frame]);
  }
  return img;
}

TImage DrawVertTrack() {
  constexpr int S = 17;
  const TImage horz = DrawHorzTrack();
  TImage img(S * 4, S);
  for (int frame = 0; frame < 4; ++frame) {
    TImage cell(S, S);
    for (int y = 0; y < S; ++y)
      for (int x = 0; x < S; ++x) cell.Set(y, x, horz.Get(frame * S + x, y));
    img.Paste(cell, frame * S, 0);
  }
  return img;
}

TImage DrawHorzThumb() { return ThumbStrip(22, 15); }
TImage DrawVertThumb() { return ThumbStrip(15, 22); }

}  // namespace skingen
