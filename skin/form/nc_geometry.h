// Geometry of a skinned window's non-client area: the frame sizes the
// client area is fitted into, where the caption text goes and how it is
// cut, which caption buttons show and where, which frame of a button's
// strip is drawn, what a point of the frame is (hit-testing), and the
// opaque runs of a border bitmap that make up the window region.
//
// Everything here is pure arithmetic on values the caller hands in; the
// painting (frame_painting.cpp) and the mouse handling (caption_buttons.cpp)
// read the window and the skin and call these.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "skin/data/image_utils.h"
#include "skin/data/skin_objects.h"

namespace skin {

// Sizes of the skinned frame: border widths, the top one being the caption
// height.
struct TFrameSizes {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Thickness of one border: the width of a left or right image's frame
// (frames side by side), the height of a top or bottom image's frame
// (frames stacked). 0 for a missing border or an empty image; a frame count
// below 1 counts as 1.
int BorderThickness(const TDataSkinBorder* border, bool stackedFrames);

// The frame sizes from the four border objects; all 0 for a window without
// a border (`framed` false).
TFrameSizes FrameSizesOf(const TDataSkinBorder* left, const TDataSkinBorder* top, const TDataSkinBorder* right,
                         const TDataSkinBorder* bottom, bool framed);

// The client rectangle of a window placed at `window` (screen or parent
// coordinates): inside the borders and below the menu-bar band.
RECT FrameClientRect(const RECT& window, const TFrameSizes& frame, int menuHeight);

// What the visibility rules of the caption buttons look at.
struct TCaptionWindowState {
    bool Maximized = false;
    bool Active = true;
    bool MaximizeBox = false;
    bool MinimizeBox = false;
    bool HelpButton = false;
    bool SystemMenu = false;
    bool DialogBorder = false;        // border kind dialog
    bool DialogClass = false;         // "#32770" or "TMessageForm"
    bool MdiChildMaximizedInFrame = false;  // an MDI frame with a maximized active child and a menu bar
};

// Whether a caption button is shown and usable.
struct TButtonStatus {
    bool Visible = false;
    bool Enabled = true;
};

// Asks the window whether an application-defined button shows
// (wParam = Visibility, lParam = Action); an answer above 0 shows it.
using TAskButtonVisible = std::function<LRESULT(int visibility, int action)>;

// Visibility and enabling of one caption button. `ask` is called only for a
// Visibility of 1000 to 2000; without one such buttons are hidden.
TButtonStatus CaptionButtonStatus(const TDataSkinSysButton& button, const TCaptionWindowState& state,
                                  const TAskButtonVisible& ask);

// What the placement of caption buttons depends on.
struct TButtonLayoutInput {
    int WindowWidth = 0;
    RECT CaptionArea{};        // where the caption text (with its back image) lies
    int BorderTop = 0;
    int BorderRight = 0;
    int MenuHeight = 0;
    int MenuBarLeftMargin = 0; // left margin of the skin's menu bar, 0 without one
};

// Places a width x height button by its Align: true with `rect` set, false
// (rect left alone) for an Align that places nothing.
bool LayoutCaptionButton(const TDataSkinSysButton& button, int width, int height, const TButtonLayoutInput& input,
                         RECT& rect);

// The frame of a button's strip drawn with the caption: the first frame for
// an active window's enabled button or a strip of fewer than four frames,
// else the fourth (the inactive look).
int CaptionStripFrame(int frameCount, bool windowActive, bool enabled);

// Button states of a non-client object; the value is the frame drawn.
enum TNCState : std::int32_t { ncsNormal = 1, ncsPressed = 2, ncsHot = 3 };

// The frame drawn for a button in `state`: the state's own frame; a disabled
// button its fourth frame (first when the strip has three or fewer); a
// menu-bar-row button its fourth frame when hot.
int ButtonStateFrame(TNCState state, int frameCount, bool enabled, bool menuBarRow);

// The caption text: the skin's placement values and the measured text.
struct TCaptionTextInput {
    RECT Area{};               // the caption area (between the side borders)
    SIZE Text{};               // the text's measured size
    int TextShift = 0;         // Title: LeftWidth
    int TextShiftVert = 0;     // Title: TopHeight
    int TextRightClip = 0;     // Title: RightWidth
    int TextAlignment = 0;     // 0 left, 1 centred, 2 right
    int BackLeft = 0;          // TXTBackleft
    int BackRight = 0;         // TXTBackRight
    int RightButtonsExtent = 0;
    bool RightToLeft = false;
    bool Popup = false;        // WS_POPUP
    bool DialogBorder = false;
};

struct TCaptionTextPlace {
    RECT Back{};               // the text with its back image (FCaptionArea)
    RECT Text{};               // where the text itself is drawn (FCaptionTextRect)
};

// Where the caption text goes: aligned in the caption area, centred
// vertically, cut on the right before the buttons, moved left over the
// missing icon on dialog frames.
TCaptionTextPlace PlaceCaptionText(const TCaptionTextInput& input);

// A caption button as hit-testing sees it.
struct TButtonHit {
    RECT Rect{};
    int Action = 0;
    bool Visible = false;
};

// Index of the first visible button with Action >= 0 under `point`
// (window coordinates), or -1.
int ButtonIndexAt(const std::vector<TButtonHit>& buttons, POINT point);

// The hit-test code of a caption button's Action: HTCLOSE, HTMAXBUTTON,
// HTMINBUTTON, HTSYSMENU, HTHELP, or HTCAPTION for any other.
int ButtonHitCode(int action);

// Everything a point of the window is tested against.
struct TFrameHitGeometry {
    int Width = 0;
    int Height = 0;
    TFrameSizes Frame;
    int MenuHeight = 0;
    bool Sizeable = false;     // WS_THICKFRAME, and neither maximized nor minimized
    int TopGrip = 0;           // sizing band along the top edge, inside the caption
    int CornerSize = 0;        // length of the corner sizing zones along each edge
    std::vector<TButtonHit> Buttons;
};

// What the point (window coordinates) of a skinned window is: HTNOWHERE
// outside, HTCLIENT inside the client area, a sizing code on the borders of
// a sizeable window, a caption button's code, HTMENU on the menu-bar band,
// HTCAPTION on the rest of the caption and HTBORDER on fixed borders.
int FrameHitTest(const TFrameHitGeometry& geometry, POINT point);

// The answer to WM_NCHITTEST: what the system says for the client area and
// its scroll bars (and for points it declines), the frame's answer for
// everything else.
int CombineHitTest(int systemAnswer, int frameAnswer);

// The skinned window's answer to WM_NCHITTEST, from the system's: only
// HTNOWHERE and HTCAPTION change. On the menu-bar band (below the caption,
// `menuHeight` high) they become HTMENU; elsewhere below the top 4 rows
// HTCAPTION (the caption buttons answer as caption: their clicks are taken
// before the system could start a move). Sizing borders, the client area
// and every other answer stay the system's. `point` in window coordinates.
int SkinnedHitTest(int systemAnswer, POINT point, int borderTop, int menuHeight);

// Rows of opaque pixels: every run of pixels that are not the key colour
// becomes a one-pixel-high rectangle, moved by (dx, dy). A pixel counts as
// key when each channel lies between the key's value and that value + 1.
std::vector<RECT> OpaqueRuns(const TPixels& pixels, COLORREF key, int dx, int dy);

}  // namespace skin
