// Row colours shared by several images: the caption, menu band and bottom
// border must match wherever two images meet (the top of the side borders
// continues the caption; caption and MDI buttons are smoothed against the
// rows they are drawn on).
#include "theme.h"

namespace skingen::theme {

TRgb CaptionRow(bool active, int row) {
  if (row <= 0) return active ? OUTLINE_ACTIVE : OUTLINE_INACTIVE;
  if (row == 1) return active ? TRgb{150, 149, 147} : TRgb{208, 207, 205};
  if (row >= CAPTION_ROWS - 1) return active ? Grey(70) : Grey(140);
  return active ? Lerp(TRgb{124, 123, 121}, TRgb{90, 89, 88}, row - 2, CAPTION_ROWS - 4)
                : Lerp(TRgb{174, 173, 171}, TRgb{152, 151, 149}, row - 2, CAPTION_ROWS - 4);
}

TRgb MenuBarRow(bool active, int row) {
  if (row <= 0) return active ? Grey(228) : Grey(234);
  if (row >= MENUBAR_ROWS - 1) return active ? Grey(178) : Grey(196);
  return active ? Lerp(Grey(216), Grey(203), row - 1, MENUBAR_ROWS - 3)
                : Lerp(Grey(224), Grey(215), row - 1, MENUBAR_ROWS - 3);
}

TRgb BottomRow(bool active, int row) {
  if (row >= BOTTOM_ROWS - 1) return active ? OUTLINE_ACTIVE : OUTLINE_INACTIVE;
  if (row == BOTTOM_ROWS - 2) return Grey(212);
  return Lerp(FACE, Grey(222), row, BOTTOM_ROWS - 3);
}

}  // namespace skingen::theme
