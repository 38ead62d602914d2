// The colours of Ravelbook's skin: a light warm-grey body with a graphite
// caption. The face, shadow and highlight values are the ones the skin's
// ini gives in [Colours], so that what the program fills with colours and
// what it draws from these bitmaps meet without seams.
#pragma once

#include "image.h"

namespace skingen::theme {

// [Colours] of the ini.
constexpr TRgb FACE = Grey(229);              // ButtonFace, Menubar, Menu
constexpr TRgb BUTTON_LIGHT{240, 238, 236};   // Buttonlight
constexpr TRgb SHADOW = Grey(167);            // ButtonShadow
constexpr TRgb DARK_SHADOW = Grey(64);        // ButtonDkShadow
constexpr TRgb HILIGHT = Grey(102);           // Hilight (selected menu items)
constexpr TRgb WHITE = Grey(255);
constexpr TRgb TEXT = Grey(0);

// Window outline, active and inactive.
constexpr TRgb OUTLINE_ACTIVE = Grey(64);
constexpr TRgb OUTLINE_INACTIVE = Grey(128);

// The caption strip is 25 rows high (the height of one frame of the top
// border). Row 0 is the window outline, row 1 a soft highlight, rows 2..23
// a gradient, row 24 the line above the menu band or client area.
constexpr int CAPTION_ROWS = 25;
TRgb CaptionRow(bool active, int row);

// The menu band under the caption: one frame of the menu bar image, 19 rows.
constexpr int MENUBAR_ROWS = 19;
TRgb MenuBarRow(bool active, int row);

// The bottom border: 8 rows, the last one the window outline.
constexpr int BOTTOM_ROWS = 8;
TRgb BottomRow(bool active, int row);

// Scroll-bar track and thumb.
constexpr TRgb TRACK{236, 234, 231};
constexpr TRgb TRACK_EDGE{216, 211, 206};
constexpr TRgb THUMB{206, 204, 201};
constexpr TRgb THUMB_BORDER{163, 161, 158};
constexpr TRgb THUMB_HOT{192, 190, 187};
constexpr TRgb THUMB_HOT_BORDER{140, 138, 135};
constexpr TRgb THUMB_PRESSED{162, 160, 157};
constexpr TRgb THUMB_PRESSED_BORDER{112, 110, 108};

// Close-button accents (the one touch of colour in the theme).
constexpr TRgb CLOSE_HOT_TOP{214, 86, 72};
constexpr TRgb CLOSE_HOT_BOTTOM{188, 62, 50};
constexpr TRgb CLOSE_BORDER{140, 40, 32};
constexpr TRgb CLOSE_PRESSED{150, 46, 38};

}  // namespace skingen::theme
