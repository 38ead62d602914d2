// The list of the skin's bitmaps with their file names and sizes.
#include "skin_images.h"

namespace skingen {

const std::vector<TSkinImage>& SkinImages() {
  static const std::vector<TSkinImage> images = {
      {.FileName = "frame_top.bmp", .Width = 205, .Height = 50, .Draw = DrawTopBorder},
      {.FileName = "frame_bottom.bmp", .Width = 246, .Height = 16, .Draw = DrawBottomBorder},
      {.FileName = "frame_left.bmp", .Width = 4, .Height = 250, .Draw = DrawLeftBorder},
      {.FileName = "frame_right.bmp", .Width = 4, .Height = 250, .Draw = DrawRightBorder},
      {.FileName = "menubar.bmp", .Width = 150, .Height = 38, .Draw = DrawMenuBar},
      {.FileName = "caption_close.bmp", .Width = 66, .Height = 11, .Draw = DrawCloseButton},
      {.FileName = "caption_maximize.bmp", .Width = 66, .Height = 11, .Draw = DrawMaximizeButton},
      {.FileName = "caption_minimize.bmp", .Width = 66, .Height = 11, .Draw = DrawMinimizeButton},
      {.FileName = "caption_help.bmp", .Width = 78, .Height = 13, .Draw = DrawHelpButton},
      {.FileName = "mdi_buttons.bmp", .Width = 180, .Height = 14, .Draw = DrawMdiButtons},
      {.FileName = "button.bmp", .Width = 90, .Height = 23, .Draw = DrawPushButton},
      {.FileName = "checkbox.bmp", .Width = 65, .Height = 13, .Draw = DrawCheckBox},
      {.FileName = "radio.bmp", .Width = 65, .Height = 13, .Draw = DrawRadioButton},
      {.FileName = "progress.bmp", .Width = 36, .Height = 19, .Draw = DrawProgress},
      {.FileName = "groupbox_edge.bmp", .Width = 44, .Height = 20, .Draw = DrawGroupBoxEdge},
      {.FileName = "groupbox_label.bmp", .Width = 25, .Height = 13, .Draw = DrawGroupBoxLabel},
      {.FileName = "tabs.bmp", .Width = 90, .Height = 19, .Draw = DrawTabs},
      {.FileName = "tab_page.bmp", .Width = 48, .Height = 48, .Draw = DrawTabPage},
      {.FileName = "statusbar.bmp", .Width = 66, .Height = 18, .Draw = DrawStatusBar},
      {.FileName = "toolbar.bmp", .Width = 100, .Height = 23, .Draw = DrawToolBar},
      {.FileName = "combo_button.bmp", .Width = 64, .Height = 18, .Draw = DrawComboButton},
      {.FileName = "sunk_edge.bmp", .Width = 20, .Height = 21, .Draw = DrawSunkEdge},
      {.FileName = "extra_images.bmp", .Width = 80, .Height = 16, .Draw = DrawExtraImages},
      {.FileName = "header.bmp", .Width = 90, .Height = 18, .Draw = DrawHeader},
      {.FileName = "menu_item.bmp", .Width = 150, .Height = 23, .Draw = DrawMenuItem},
      {.FileName = "menu_background.bmp", .Width = 18, .Height = 18, .Draw = DrawMenuBackground},
      {.FileName = "scrollbar.bmp", .Width = 368, .Height = 16, .Draw = DrawScrollBarParts},
      {.FileName = "scroll_track_horz.bmp", .Width = 68, .Height = 17, .Draw = DrawHorzTrack},
      {.FileName = "scroll_track_vert.bmp", .Width = 68, .Height = 17, .Draw = DrawVertTrack},
      {.FileName = "scroll_thumb_horz.bmp", .Width = 66, .Height = 15, .Draw = DrawHorzThumb},
      {.FileName = "scroll_thumb_vert.bmp", .Width = 45, .Height = 22, .Draw = DrawVertThumb},
  };
  return images;
}

const std::vector<TSkinImage>* SkinImagesByName(const std::string& name) {
  if (name == "ravelbook") return &SkinImages();
  if (name == "paper") return &PaperSkinImages();
  if (name == "dusk") return &DuskSkinImages();
  return nullptr;
}

}  // namespace skingen
