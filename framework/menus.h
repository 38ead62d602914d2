// Menus: the menu bar of a form (TMainMenu), context menus (TPopupMenu) and
// their items (TMenuItem), with the image lists their items take pictures
// from (TCustomImageList).
//
// A menu owns a tree of items under its root item (Items). Each item has a
// caption ("-" makes a separator), a check mark (RadioItem items of one
// GroupIndex check each other out), an enabled and a visible state, a
// default flag, a shortcut shown right-aligned and run from the keyboard, an
// image of the menu's image list, sub-items, and OnClick. The native menu is
// made on demand (Handle) and kept in step with every change; each item has
// its own command identifier, unique in the program, by which the window
// that tracks the menu reports the choice (WM_COMMAND).
//
// Owner-drawn menus (OwnerDraw) hand the measuring and drawing of every item
// to the item: its OnMeasureItem and OnDrawItem when set, else the plain
// look (MeasureItem, DrawItem).
//
// A form shows a TMainMenu as its window's menu (TCustomForm::SetMenu); the
// form runs the command of a chosen item, measures and draws its owner-drawn
// items and runs the shortcuts of its menus. A change of a form's main menu
// reaches the form's window as CM_MENUCHANGED. A TPopupMenu opens at a
// screen point (Popup) or, as a control's PopupMenu, when the user asks the
// control for its context menu; its messages go to a hidden window of the
// framework, which runs the chosen item.
#pragma once

#include "framework/image_list.h"
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/bidi_mode.h"
#include "framework/classes.h"
#include "framework/graphics.h"

class TMenu;
class TControl;

// ---- image lists: framework/image_list.h ----------------------------------------

// ---- shortcuts ----------------------------------------------------------------------

// A key with its shift keys: the virtual key in the low byte, scShift,
// scCtrl and scAlt above it; 0 is none.
using TShortCut = WORD;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
// The shortcut of `key` with the shift keys of `shift` (TShiftState bits).
TShortCut ShortCut(WORD key, unsigned shift);
// The text a menu shows for a shortcut: "Ctrl+N", "Shift+Del", "F2".
std::string ShortCutToText(TShortCut shortCut);

// ---- items ----------------------------------------------------------------------------

using TMenuDrawItemEvent = std::function<void(TObject* sender, TCanvas* canvas, const RECT& rect, bool selected)>;
using TMenuMeasureItemEvent = std::function<void(TObject* sender, TCanvas* canvas, int& width, int& height)>;

// Invariants: an item is in the list of its Parent exactly when Parent() is
// that item; Command() is unique among the items that exist.
class TMenuItem : public TComponent {
    DECLARE_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    // Leaves its parent and frees its sub-items and its native submenu.
    ~TMenuItem() override;

    // The caption is kept as UTF-16, so that a caption in a script the
    // ANSI code page cannot write (Arabic or Hebrew in a Chinese program)
    // is shown as it was given; Caption() is the ANSI form of it.
    std::string Caption() const;
    void SetCaption(const std::string& value);
    const std::wstring& CaptionW() const { return FCaption; }
    void SetCaptionW(const std::wstring& value);
    bool Checked() const { return FChecked; }
    // Checking a RadioItem unchecks the RadioItems of the same GroupIndex
    // beside it.
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    // A separator: the caption is "-".
    bool IsLine() const { return FCaption == L"-"; }

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throws EListError for a bad index.
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    int IndexOf(const TMenuItem* item) const;
    // Puts `item` (taken from any parent it had) at the end or at `index`.
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes `item` out without freeing it.
    void Remove(TMenuItem* item);
    // Frees the sub-item at `index` / every sub-item.
    void Delete(int index);
    void Clear();

    // The command identifier the item's window reports when it is chosen.
    UINT Command() const { return FCommand; }
    // The native submenu of an item with sub-items (made on first use); null
    // for an item without.
    HMENU Handle();
    HMENU HandleIfAllocated() const { return FHandle; }
    // The menu whose tree the item is in, or null.
    TMenu* GetParentMenu() const;

    // Runs OnClick (the user chose the item).
    virtual void Click();
    // Runs OnMeasureItem / OnDrawItem, or measures and draws the plain look.
    void DoMeasureItem(TCanvas* canvas, int& width, int& height);
    void DoDrawItem(TCanvas* canvas, const RECT& rect, bool selected);
    // The plain look: the caption's size in the canvas's font; the item drawn
    // as the system draws menu items.
    void MeasureItem(TCanvas* canvas, int& width, int& height);
    void DrawItem(TCanvas* canvas, const RECT& rect, bool selected);

    // The item of this tree (this one included) whose command, native
    // submenu or shortcut is `value`; null if none.
    TMenuItem* FindByCommand(UINT command);
    TMenuItem* FindByHandle(HMENU menu);
    TMenuItem* FindByShortCut(TShortCut shortCut);

    // The sub-items' native menu entries written again into Handle() (and
    // the sub-menus' below it); menus call it after a change.
    void RebuildHandle();

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    // The item whose command is `command`, among all items of the program.
    static TMenuItem* FromCommand(UINT command);

protected:
    // Something shown in the native menu changed.
    void Changed();

private:
    void WriteEntries(HMENU menu);
    void FreeHandle();

    std::wstring FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    TShortCut FShortCut = 0;
    int FImageIndex = -1;
    UINT FCommand = 0;
    HMENU FHandle = nullptr;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;     // set on the root item of a menu
    std::vector<TMenuItem*> FItems;

    friend class TMenu;
};

// ---- menus ---------------------------------------------------------------------------

class TMenu : public TComponent {
    DECLARE_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its sub-items are the menu's top level.
    TMenuItem* Items() const { return FItems; }
    // The native menu (made on first use).
    virtual HMENU Handle();
    HMENU HandleIfAllocated() const { return FItems->HandleIfAllocated(); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // The menu's bidirectional mode: its own, or with ParentBiDiMode (the
    // default) that of the form owning it.
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    // A right-to-left menu is laid out from the right and drawn mirrored.
    bool IsRightToLeft() const { return BiDiMode() != bdLeftToRight; }

    // Runs the item whose command is `command`; false when none of this menu.
    bool DispatchCommand(UINT command);
    // Runs the enabled, visible item whose shortcut is `shortCut`; false
    // when none.
    bool IsShortCut(TShortCut shortCut);

    // Something in the tree changed: the native menu is written again.
    virtual void MenuChanged();
    void Notification(TComponent* component, TOperation operation) override;

protected:
    // The root's native menu: a menu bar or a popup menu.
    virtual HMENU CreateMenuHandle() { return CreatePopupMenu(); }

private:
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    int FUpdating = 0;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;

    friend class TMenuItem;
};

// The menu bar of a form.
class TMainMenu : public TMenu {
    DECLARE_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    // The window showing the menu lets go of it first.
    ~TMainMenu() override;
    // Tells the form's window (CM_MENUCHANGED) after writing the native menu.
    void MenuChanged() override;
    // The window that shows this menu, or null.
    HWND WindowHandle() const;

    // Shows the top-level items of `menu` in this menu bar as well (an MDI
    // child's menu in its frame's bar): an item of `menu` takes the place of
    // this menu's items of the same GroupIndex, the others go in GroupIndex
    // order. Null takes the merged menu out again.
    void Merge(TMainMenu* menu);
    TMainMenu* Merged() const { return FMerged; }
    // The top-level items the bar shows, in order (this menu's and the
    // merged menu's).
    std::vector<TMenuItem*> BarItems() const;
    // The item whose command is `command` in this menu or the merged one.
    TMenuItem* FindBarItem(UINT command) const;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    HMENU CreateMenuHandle() override { return CreateMenu(); }

private:
    TMainMenu* FMerged = nullptr;     // the menu shown in this one
    TMainMenu* FMergedInto = nullptr; // the menu this one is shown in
};

// A context menu.
class TPopupMenu : public TMenu {
    DECLARE_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    ~TPopupMenu() override;

    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control whose context menu was asked for last.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value) { FPopupComponent = value; }

    // Runs OnPopup, then opens the menu at the screen point (x, y) and
    // returns when it closes; the chosen item's OnClick runs before it
    // returns. Safe when the menu object is freed while it is open.
    void Popup(int x, int y);
    // The window the menu's messages go to while it is open.
    static HWND PopupWindow();

    TNotifyEvent OnPopup;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    // Cleared by the destructor: Popup's loop tells whether the menu
    // object still exists when the menu has closed.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The screen's menu font (from the system's non-client metrics).
HFONT ScreenMenuFont();

// Owner-drawn menu messages for framework menus: WM_MEASUREITEM and
// WM_DRAWITEM of a menu item (CtlType ODT_MENU) are answered by the item
// with that command. True when one was.
bool MenuItemMessage(UINT msg, LPARAM lParam);
