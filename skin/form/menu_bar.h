// The skinned menu bar: the band under the caption of a skinned window with
// a menu, drawn from the skin's menu-bar image, with one non-client object
// per top-level item of the window's menu.
//
// The window's native menu is taken off the window when the items are read
// (the band replaces it) and given back when the skinner lets go. Clicking
// an item, its access key with Alt, Alt alone or F10 opens its submenu with
// TrackPopupMenu under the item; while a submenu is open the mouse moving
// onto another item, or Left/Right at the submenu's edge, moves to the
// neighbouring menu. Only one bar menu is open at a time in the program.
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
    std::string Caption;
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
    int StartOffset(int bandWidth) const;
    // Lays the items out in `band` (window coordinates) with `dc`'s font.
    void LayoutItems(HDC dc, const RECT& band);
    bool TrackItem(TMenuBtn* item, int& switchTo);
};

// The accelerator of a caption: the character after a single "&", upper
// case; 0 when there is none.
char MenuAccelerator(const std::string& caption);
