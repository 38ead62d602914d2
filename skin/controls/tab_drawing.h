// The skin's look of tab strips, apart from the skinners that hook the
// controls: the geometry of the strip and the page, the tab images turned
// for the four tab positions, reading the tabs from a tab window, and the
// painters of a row of tabs and of one tab's picture and text.
//
// Tabs are always laid out and drawn horizontally, their bottom edge joining
// the page, in a buffer the size of the strip; bottom tabs use images turned
// upside down, and left and right tabs are drawn in a buffer whose width and
// height are exchanged and turned into place at the end (TabBufferRect and
// TurnTabBuffer agree on this). Column headers draw their items with the
// same painters.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/gdi_handles.h"

class TSkinModel;
class TDataSkinObject;

namespace skin {

// Where a tab control has its tabs, from its window style.
enum TTabOrientation { toTop, toBottom, toLeft, toRight };
TTabOrientation TabOrientationOf(DWORD style);

// The page rectangle: `display` (the control's TCM_ADJUSTRECT answer for its
// whole rectangle) grown by 4 on every side, then moved in by 1 on the tab
// side, so that the selected tab overlaps the page's edge.
RECT TabPageRect(const RECT& display, TTabOrientation orientation);
// The strip: the part of `whole` on the tab side of `page`.
RECT TabStripRect(const RECT& whole, const RECT& page, TTabOrientation orientation);
// A tab's rectangle (control coordinates) in the horizontal buffer of
// `strip`; `whole` is the control's rectangle and `page` the page rectangle.
RECT TabBufferRect(const RECT& item, const RECT& whole, const RECT& strip, const RECT& page,
                   TTabOrientation orientation);
// The buffer's size for `strip`: exchanged for left and right tabs.
SIZE TabBufferSize(const RECT& strip, TTabOrientation orientation);
// Turns a buffer drawn horizontally into the orientation's place (left tabs
// counter-clockwise, right tabs clockwise; nothing for top and bottom).
void TurnTabBuffer(TGdiBitmap& buffer, TTabOrientation orientation);

// The tab and page images of a skin turned for one orientation: 24-bit
// copies of "Tabs" (Bitmap) and of its page image ("Tabs" Bitmap2 with
// Style 0, "Tab.Pane" with Style 1).
struct TTabImages {
    TGdiBitmap Tab;
    TGdiBitmap Page;
    RECT PageMargins{4, 5, 4, 4};  // as sizes; turned with the image
    bool PageFromPane = false;

    // Rebuilds both from `model` for `orientation`; empty when the skin
    // lacks them.
    void Prepare(const TSkinModel& model, TTabOrientation orientation);
};

// One tab as its window reports it.
struct TTabItem {
    RECT Rect{};        // control coordinates
    std::wstring Text;
    int Image = -1;
    bool Visible = true;  // false: scrolled out of the row, not drawn
};

// The tabs of a tab window (TCM_GETITEMCOUNT, TCM_GETITEMRECT, TCM_GETITEM
// in the W or A form by `unicode`, texts of up to 80 characters), one for
// each tab, so that a tab's place in the list is its index; a tab the window
// reports as not shown (scrolled out of a single row) is marked so.
std::vector<TTabItem> ReadTabItems(HWND tabs, bool unicode);

// How a row of tabs is drawn: frames of `Image` (`FrameCount` frames side by
// side) with the object's margins, tiling and transparency, and the text
// colour of each frame.
struct TTabLook {
    HBITMAP Image = nullptr;
    int FrameCount = 5;
    RECT Margins{};
    bool Transparent = false;
    bool Tile = false;
    COLORREF NormalText = 0;    // frame 1 and the hot frame
    COLORREF SelectedText = 0;  // the selected frame
    int SelectedFrame = 2;
    int HotFrame = 0;           // 0: no hot look

    // The look of `object` (its Bitmap, margins, Tile and Trans).
    static TTabLook Of(const TDataSkinObject& object, HBITMAP image);
};

// Draws `items` (already in buffer coordinates) into `dc`: the selected one
// (index `selected`) in the selected frame, the one under the pointer (`hot`)
// in the hot frame, the others in frame 1, each with its picture from
// `images` and its text centred; disabled controls write in the button
// shadow colour. The DC's font is used.
void DrawTabRow(HDC dc, const std::vector<TTabItem>& items, int selected, int hot, const TTabLook& look,
                HIMAGELIST images, bool enabled, bool rightToLeft);

// A tab's picture and text inside `rect`, laid out as a tab: the picture left
// of the text, both centred together (or from the left or right edge for
// DT_LEFT and DT_RIGHT `alignment`), the text clipped to the tab's left and
// right edges, transparent, in `colour` (the button shadow colour when
// disabled) with an ellipsis when it does not fit.
void DrawTabText(HDC dc, const RECT& rect, HIMAGELIST images, int image, const std::wstring& text, UINT alignment,
                 COLORREF colour, bool enabled, bool rightToLeft);

}  // namespace skin
