// Drawing menu items from the skin: what an item shows (TMenuItemLook, from
// a framework item or a native menu entry), the skinned look over the
// background of the popup window that shows the item, and the measuring and
// drawing events given to the items of a skinned form's menus.
#pragma once

#include <windows.h>

#include <string>

#include "framework/menus.h"

class TSkinData;

namespace skin {

// What one menu item shows.
struct TMenuItemLook {
    std::wstring Caption;          // "-" is a separator
    std::wstring ShortCut;         // right-aligned text, may be empty
    bool Checked = false;
    bool Radio = false;
    bool Enabled = true;
    bool Default = false;          // drawn bold
    bool HasSubMenu = false;       // opens a submenu: an arrow at the far side
    int ImageIndex = -1;
    TCustomImageList* Images = nullptr;
    // Drawn mirrored: glyph on the right, text right-aligned and read right
    // to left, shortcut on the left.
    bool RightToLeft = false;
    bool IsLine() const { return Caption == L"-"; }
};

TMenuItemLook LookOf(TMenuItem* item);
// The native entry `id` of `menu`; `savedText` stands in for a text the
// entry no longer reports (an entry made owner-drawn).
TMenuItemLook LookOfNative(HMENU menu, UINT id, const std::wstring& savedText);

// Every size below is a 96-DPI size drawn at `dpi`, the scale of the window
// that opened the menu (0 is the system's): the skin's objects are the
// skin's at that scale, the font is the menu font at it, and the glyph box,
// the marks, the item pictures and the insets grow with it.

// The glyph box (check mark, radio mark or picture), the caption and the
// shortcut of an item in `rect` of `dc`, in the skin's menu colours (the
// system's without a skin).
void DrawItemContents(const TSkinData* skin, const TMenuItemLook& look, HDC dc, const RECT& rect, bool selected,
                      UINT dpi = 0);
// The whole item in `rect` of `dc`: the popup's background under it (the
// popup window showing `parentMenu`), the skin's "MenuItem" frame (frame 4
// when selected, frame 2 for a separator) and the contents; without a
// "MenuItem" object the plain look in the skin's menu colours. An item that
// opens a submenu gets its arrow at the scale, and the arrow's place is then
// excluded from `dc`'s clipping region: the system draws its own arrow, of
// its own size, after the item's owner, and it would cover the skin's.
void DrawSkinnedItem(const TSkinData* skin, const TMenuItemLook& look, HDC dc, const RECT& rect, bool selected,
                     HMENU parentMenu, UINT dpi = 0);

// What the skinned measuring adds to an item's own width: for popup menus
// and for the items below a menu bar.
int PopupMeasureExtra(const TSkinData* skin, bool hasImages, UINT dpi = 0);
int MainMeasureExtra(const TSkinData* skin, bool hasImages, UINT dpi = 0);
// An item's own size as the framework measured it with the screen's menu
// font (`width` x `height`, a separator when `line`) made the size at `dpi`:
// the text's size follows the font's scale, a separator's height and the
// room for the glyph box the scale.
void ScaleMeasuredItem(bool line, UINT dpi, int& width, int& height);
// The menu font at `dpi` (the screen's menu font at the system's scale).
HFONT MenuFontAt(UINT dpi);

// Events for framework items: the skinned draw and the two measures, at the
// scale of `window` (the window whose menus they are) when they run. They
// fall back to the item's plain look once the skin is gone.
TMenuDrawItemEvent SkinnedDrawEvent(TSkinData* skin, HWND window = nullptr);
TMenuMeasureItemEvent PopupMeasureEvent(TSkinData* skin, HWND window = nullptr);
TMenuMeasureItemEvent MainMeasureEvent(TSkinData* skin, HWND window = nullptr);

}  // namespace skin
