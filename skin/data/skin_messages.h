// The skin engine's own window messages.
//
// Form skinners, popup-menu skinners and control skinners answer them, the
// skin manager sends some of them, and the application may send any of them
// to a skinned window. The $34xx and $35xx numbers lie between WM_USER and
// WM_APP, the $BCxx numbers above WM_APP. The numbers are part of the
// engine's interface and never change.
#pragma once

#include <windows.h>

// The system's message that a window moved to a monitor of another scale
// (wParam: the new scale in both words; lParam: the suggested window
// rectangle). The headers declare it only for newer targets than ours.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// Re-apply the skin (framework forms: through the form's WindowProc).
constexpr UINT SKM_SKINCHANGED = 0x3401;
// Repaint the skinned frame.
constexpr UINT SKM_REPAINTFRAME = 0x3502;
// Posted by the manager right after a form skinner was made (wParam 0,
// lParam 1000): the skinner activates.
constexpr UINT SKM_ACTIVATESKIN = 0x3503;
// Turn a control's skinning on (wParam > 0, repainting it) or off.
constexpr UINT SKM_ENABLESKIN = 0x3506;
// Sent by a tab skinner to the form (wParam = tab window, lParam = tab index):
// answer 0 to close the page.
constexpr UINT SKM_QUERYCLOSEPAGE = 0x3507;
// Posted by a form skinner to its window when a caption button with an
// application-defined action was clicked (wParam = the action).
constexpr UINT SKM_CAPTIONBUTTON = 0x3514;
// Sent by a form skinner to its window (wParam = visibility code, lParam =
// action): an answer above 0 shows the caption button.
constexpr UINT SKM_QUERYBUTTONVISIBLE = 0x3515;
// Sent to the MDI client of a skinned MDI frame: redraw everything.
constexpr UINT SKM_REDRAWMDICLIENT = 0x3516;
// Sent by a control skinner to the form: replace the skinner of the control
// window in wParam by a scroll-bar skinner.
constexpr UINT SKM_RESKINSCROLLBAR = 0x3517;
// Open the menu-bar item at the screen point in lParam (x low, y high word).
constexpr UINT SKM_OPENMENUBAR = 0x3518;
// A skinned window, popup menu or control answers 1.
constexpr UINT SKM_QUERYSKIN = 0x3523;
// Let an edit skinner paint its client area into the DC in wParam
// (lParam SKIN_SIGNATURE).
constexpr UINT SKM_PAINTCLIENTTO = 0xBC4A;
// Paint the skinned frame into the DC in wParam (lParam SKIN_SIGNATURE);
// answered with SKIN_SIGNATURE.
constexpr UINT SKM_PAINTFRAMETO = 0xBC4B;
// Answered with SKIN_SIGNATURE when lParam is SKIN_SIGNATURE, else 1.
constexpr UINT SKM_ISSKINNED = 0xBC4D;
// Sent by a form skinner to its window when skinning is done (wParam 0,
// lParam SKIN_SIGNATURE).
constexpr UINT SKM_SKINFINISHED = 0xBC4E;

// The value that marks the engine's requests and answers.
constexpr LPARAM SKIN_SIGNATURE = 0x41A2;
// lParam of SKM_ACTIVATESKIN.
constexpr LPARAM SKIN_ACTIVATE_PARAM = 1000;
