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

// The glyph box (check mark, radio mark or picture), the caption and the
// shortcut of an item in `rect` of `dc`, in the skin's menu colours (the
// system's without a skin).
void DrawItemContents(const TSkinData* skin, const TMenuItemLook& look, HDC dc, const RECT& rect, bool selected);
// The whole item in `rect` of `dc`: the popup's background under it (the
// popup window showing `parentMenu`), the skin's "MenuItem" frame (frame 4
// when selected, frame 2 for a separator) and the contents; without a
// "MenuItem" object the plain look in the skin's menu colours.
void DrawSkinnedItem(const TSkinData* skin, const TMenuItemLook& look, HDC dc, const RECT& rect, bool selected,
                     HMENU parentMenu);

// What the skinned measuring adds to an item's own width: for popup menus
// and for the items below a menu bar.
int PopupMeasureExtra(const TSkinData* skin, bool hasImages);
int MainMeasureExtra(const TSkinData* skin, bool hasImages);

// Events for framework items: the skinned draw and the two measures. They
// fall back to the item's plain look once the skin is gone.
TMenuDrawItemEvent SkinnedDrawEvent(TSkinData* skin);
TMenuMeasureItemEvent PopupMeasureEvent(TSkinData* skin);
TMenuMeasureItemEvent MainMeasureEvent(TSkinData* skin);

}  // namespace skin
