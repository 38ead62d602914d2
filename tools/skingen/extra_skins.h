// Pieces shared by the two skins that ship beside the program ("paper" and
// "dusk"): the recolouring that turns the stored skin's grey drawings into
// a skin's own tones, the caption buttons drawn on a skin's caption rows,
// the window corners cut round by the colour key, and the images of the
// optional sections the stored skin does without (progress chunks, the tab
// pane, up-down buttons, track-bar thumbs and channels), drawn in neutral
// greys for a skin to recolour.
#pragma once

#include <vector>

#include "image.h"
#include "painter.h"
#include "skin_images.h"

namespace skingen {

// Maps one colour of a grey drawing to a skin's tone. Magenta is never
// passed in: Recolour keeps the colour key as it is.
using TTone = TRgb (*)(TRgb);

// The pixels of `img` through `tone`, magenta kept.
TImage Recolour(const TImage& img, TTone tone);
// A drawing routine of the stored skin, recoloured.
TSkinImage Toned(const char* fileName, int width, int height, TImage (*draw)(), TTone tone);

// Appends the control images both skins share, drawn by the stored skin's
// routines (and the optional sections' below) through `tone`: everything
// from the MDI buttons on, with `progressChunk` as the skin's own chunk.
void AppendTonedControls(std::vector<TSkinImage>& images, TTone tone, const TSkinImage& progressChunk);

// Luminance (0..255) of a colour, for tone maps.
int Luminance(TRgb c);
// The tone of grey level `luminance` on the ramp from `dark` to `light`,
// with the colour's own difference from grey (its hue) added back scaled by
// `huePercent`.
TRgb ToneRamp(TRgb c, int luminance, TRgb dark, TRgb light, int huePercent);

// The looks of a skin's caption buttons. Frames, as the program numbers
// them: 1 normal, 2 pressed, 3 under the mouse, 4 inactive or disabled,
// 5 hot and 6 pressed on an inactive caption.
struct TCaptionLooks {
  TRgb (*Row)(bool active, int row);  // the caption row a pixel sits on
  TRgb Glyph;                         // normal glyph
  TRgb GlyphDim;                      // inactive or disabled glyph
  TRgb GlyphHot;                      // glyph on a hot or pressed button
  TRgb Ring;                          // outline of a normal button (or the caption: no ring)
  bool RingAlways;                    // the button's shape shows when not hot
  TRgb HotTop, HotBottom, HotBorder;  // the shape under the mouse
  TRgb Pressed, PressedBorder;
  TRgb CloseHotTop, CloseHotBottom, CloseBorder, ClosePressed;
  bool Disc;                          // round buttons; else rounded squares
};

// A six-frame caption button strip of `size` x `size` frames whose first
// row sits on caption row `top`.
TImage CaptionButtonStrip(const TCaptionLooks& looks, const TGlyph& glyph, int size, int top, bool isClose);

// The colour of a pixel of one frame of a window border, the active
// window's or the inactive one's. For the top and bottom borders `x` is the
// column and `y` the row of the frame; for the side borders `x` counts from
// the window's outer edge (0 the outermost column) and `y` is the row.
using TFramePixel = TRgb (*)(bool active, int x, int y);

// A skin's window border: frame_top.bmp and frame_bottom.bmp stack their
// two frames (active above inactive), frame_left.bmp and frame_right.bmp
// set them side by side (active first) and mirror each other.
struct TFrameBorders {
  int TopWidth, CaptionRows;    // one frame of the top border
  int BottomWidth, BottomRows;  // one frame of the bottom border
  int SideColumns, SideRows;    // one frame of a side border
  TFramePixel Top, Bottom, Side;
};

// Appends the four border images of `borders` to `images`.
void AppendFrameBorders(std::vector<TSkinImage>& images, const TFrameBorders& borders);
// An image of two `width` x `rows` frames stacked, active above inactive.
TImage StackedFrames(int width, int rows, TFramePixel pixel);
// Appends the strips of the four caption buttons (close, maximize,
// minimize, help: six 15 x 15 frames each, 90 x 15) drawn in `looks`, their
// first row on caption row `top`.
void AppendCaptionButtons(std::vector<TSkinImage>& images, const TCaptionLooks& looks, int top);

// True when pixel (x, y), counted from a window corner outwards-in (0 is
// the outermost row or column), lies outside a corner rounded to `radius`.
bool OutsideRoundCorner(int x, int y, int radius);
// True when the pixel is the outline ring just inside such a corner.
bool OnRoundCornerEdge(int x, int y, int radius);

// Optional sections, in neutral greys on the stored skin's face (229).
TImage DrawProgressTrough();       // "Progress" with Style=1: one frame, the empty bar
TImage DrawProgressBlocks();       // "Progress.Chunk" tiled: one block and its gap
TImage DrawProgressBar();          // "Progress.Chunk" stretched: a bar with rounded ends
TImage DrawTabPane();              // "Tab.Pane"
// 8 frames: the first arrow's 4 states (normal, pressed, disabled, hot),
// then the second's; the buttons serve both layouts (they are stretched).
TImage DrawUpDownButtons();
TImage DrawUpDownGlyphs(bool horizontal);   // the arrows of the same 8 frames
// Track-bar thumbs, 5 frames: 1 normal, 2 as the program draws it, 3 under
// the mouse, 4 pressed, 5 disabled. `kind`: 0 horizontal bar, 1 vertical
// bar, 2 pointing left, 3 right, 4 up, 5 down.
TImage DrawTrackThumb(int kind);
TImage DrawTrackChannel(bool vertical);  // "Track" / "TRACKVERT"

}  // namespace skingen
