// The skinned menu bar: the band under the caption of a skinned window with
// a menu, drawn from the skin's menu-bar image, with one non-client object
// per top-level item of the window's menu.
//
// The window's native menu is taken off the window when the items are read
// (the band replaces it) and given back when the skinner lets go. Clicking
// an item, its access key with Alt, Alt alone or F10 opens its submenu with
// TrackPopupMenu under the item (right-aligned under its right edge in a
// right-to-left bar, which is laid out from the band's right edge). While a
// submenu is open the mouse moving onto another item, or Left/Right at the
// submenu's edge, moves to the neighbouring menu: the open menu is left by a
// click posted to the window on that item, which opens it in turn. In a
// right-to-left menu Left and Right are swapped, so Left always moves to the
// item on the visual left. Only one bar menu is open at a time in the
// program.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/classes.h"
#include "framework/gdi_handles.h"
#include "skin/form/nc_objects.h"

class TMenu;
class TMenuItem;
class TSkinData;
class TWinSkinForm;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
public:
    explicit TMenuBtn(TWinSkinForm* form) : TNCObject(form) {}

    TMenuItem* MenuItem = nullptr;     // the framework item, or null
    TSkinData* SkinData = nullptr;
    std::int32_t Index = 0;
    std::wstring Caption;              // as the menu holds it, any characters
    BYTE ItemEnabled = 1;
    HMENU SubMenu = nullptr;           // null for an item without children
    UINT Command = 0;

    bool IsMenuItem() const override { return true; }
    // Redraws the item on the window: the band's background under it, the
    // hot frame when hot or pressed, its caption.
    void Paint() override;
};

// Invariant: Buttons holds ItemCount items in menu order, each with Index
// equal to its position.
class TWinSkinMenu : public TComponent {
    DECLARE_CLASS(TWinSkinMenu, TComponent)
public:
    explicit TWinSkinMenu(TComponent* owner);
    ~TWinSkinMenu() override;

    // Reads the items from the window's menu (and the form's Menu), then
    // takes the native menu off the window. Nothing without a menu.
    void BuildItems();
    // The same after the MDI client set a new frame menu: a framework item
    // with an empty caption keeps the native entry's values, the caption is
    // the item's own, the command the item's; then the items are laid out.
    void RebuildFromMDIMenu();
    // The item rectangles for the band as it is now, without painting.
    void Layout();
    // Paints the band `band` (window coordinates) of `dc`.
    void PaintBar(HDC dc, const RECT& band);
    // The first item whose rectangle holds `point` (window coordinates) and
    // whose caption is not empty.
    TMenuBtn* ItemAt(POINT point) const;
    // The first enabled, visible item with `key` as access key ("&" + key).
    TMenuBtn* ItemForAccelerator(WPARAM key) const;
    // Opens the item's submenu under it and returns when the menus close;
    // true when a menu was tracked. Moving to a neighbouring menu continues
    // here with that item.
    bool OpenItem(TMenuBtn* item);
    // The first visible item with a caption, or null.
    TMenuBtn* FirstItem() const;
    // The bar reads and lays out right to left (its Menu's mode, or the
    // window's for a native menu).
    bool RightToLeft() const;
    // WM_MENUSELECT while this bar's menu is open: the highlighted item is
    // remembered, the closing of the menu ends the menu loop.
    void MenuSelect(WPARAM wParam, LPARAM lParam);
    // This bar's menu is open now.
    bool IsOpen() const;

    std::vector<TMenuBtn*> Buttons;
    TMenu* Menu = nullptr;
    RECT BarRect{};
    TSkinData* SkinData = nullptr;
    TWinSkinForm* Form = nullptr;
    TGdiBitmap Background;             // the band without item texts
    std::int32_t ItemCount = 0;
    BYTE Painting = 0;
    HMENU MenuHandle = nullptr;

private:
    void FreeItems();
    void ReadItems(bool mdi);
    int StartOffset(int bandWidth) const;
    // Lays the items out in `band` (window coordinates) with `dc`'s font.
    void LayoutItems(HDC dc, const RECT& band);
    // Tracks the item's submenu; false when it has none.
    bool TrackItem(TMenuBtn* item);
};

// The accelerator of a caption: the character after a single "&", upper
// case; 0 when there is none.
wchar_t MenuAccelerator(const std::wstring& caption);
