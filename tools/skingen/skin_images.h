// The bitmaps of Ravelbook's skin: one drawing routine per file named in
// assets/skin/ravelbook.ini. Frames of a strip lie side by side (the window
// borders' top and bottom images stack them), and magenta marks pixels the
// program does not draw.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "image.h"
#include "painter.h"

namespace skingen {

// One file of the skin. Invariant: Draw() returns an image of exactly
// Width x Height pixels; the ini's frame counts and margins assume it.
struct TSkinImage {
  const char* FileName;
  int Width;
  int Height;
  std::function<TImage()> Draw;
};

// Every bitmap of the skin, in a fixed order.
const std::vector<TSkinImage>& SkinImages();

// The media player's button pictures (media_player_images.cpp): not part
// of the skin, but program resources that the skinned media player loads.
const std::vector<TSkinImage>& MediaPlayerImages();
// The skins skingen draws: "ravelbook" (the stored skin, SkinImages()),
// "paper" and "dusk" (paper_skin.cpp, dusk_skin.cpp). Null for another name.
const std::vector<TSkinImage>* SkinImagesByName(const std::string& name);
const std::vector<TSkinImage>& PaperSkinImages();
const std::vector<TSkinImage>& DuskSkinImages();

// The caption glyphs (7 x 7, help 7 x 9), shared by every skin.
extern const TGlyph CLOSE_GLYPH;
extern const TGlyph MAXIMIZE_GLYPH;
extern const TGlyph MINIMIZE_GLYPH;
extern const TGlyph RESTORE_GLYPH;
extern const TGlyph HELP_GLYPH;

// Drawing routines, grouped by the files that define them.
// frame_images.cpp: window frame, menu band, caption and MDI buttons.
TImage DrawTopBorder();
TImage DrawBottomBorder();
TImage DrawLeftBorder();
TImage DrawRightBorder();
TImage DrawMenuBar();
TImage DrawCloseButton();
TImage DrawMaximizeButton();
TImage DrawMinimizeButton();
TImage DrawHelpButton();
TImage DrawMdiButtons();

// control_images.cpp: push buttons, check marks, progress, group boxes,
// tabs, status bar, tool bar.
TImage DrawPushButton();
TImage DrawCheckBox();
TImage DrawRadioButton();
TImage DrawProgress();
TImage DrawGroupBoxEdge();
TImage DrawGroupBoxLabel();
TImage DrawTabs();
TImage DrawTabPage();
TImage DrawStatusBar();
TImage DrawToolBar();

// field_images.cpp: combo boxes, column headers, menus, scroll bars.
TImage DrawComboButton();
TImage DrawSunkEdge();
TImage DrawExtraImages();
TImage DrawHeader();
TImage DrawMenuItem();
TImage DrawMenuBackground();
TImage DrawScrollBarParts();
TImage DrawHorzTrack();
TImage DrawVertTrack();
TImage DrawHorzThumb();
TImage DrawVertThumb();

}  // namespace skingen
