// TWinSkinPopMenu: the skinner of one open popup menu window (window class
// "#32768"). The skin manager makes one as the window is created, when the
// component allows menus of the kind being opened; it paints the window's
// frame and background from the skin's "MenuBackground" object and keeps
// that picture, over which the owner-drawn items draw themselves
// (menu_items.h). It gives the window its procedure back when the menu
// closes.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/gdi_handles.h"
#include "skin/data/skin_manager.h"
#include "skin/form/thunk.h"

class TSkinData;

// Invariant: while FWndProcInstance is set the window's procedure was
// replaced by it.
class TWinSkinPopMenu : public TPopupMenuSkinnerLink {
public:
    TWinSkinPopMenu() = default;
    ~TWinSkinPopMenu() override;
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    // Keeps the three and replaces the window's procedure. The menu is drawn
    // at the scale of the window that opened it (the active window), or of
    // its own monitor when no window of the program is active.
    void Attach(HWND window, TSkinData* skinData, HMENU menu);
    // Puts the window's procedure back and forgets the background.
    void Detach();

    // ---- the manager's view -----------------------------------------------
    HWND MenuWindow() const override { return Handle; }
    // The menu the window shows: the one the manager attached, else the
    // one the window reports.
    HMENU MenuHandle() const override;
    void SetMenuHandle(HMENU menu) override { FMenuHandle = menu; }
    bool Marked() const override { return FMarked; }
    void SetMarked(bool value) override { FMarked = value; }
    HBITMAP BackgroundBitmap() const override { return Background ? Background->Get() : nullptr; }
    void RestoreWindow() override { Detach(); }

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

    WNDPROC OldWndProc = nullptr;
    TWndProcThunk* WndProcInstance = nullptr;
    HWND Handle = nullptr;
    TSkinData* SkinData = nullptr;
    // The window's frame and background at its size, shared with the menu
    // windows of the same size and skin before and after it.
    std::shared_ptr<const TGdiBitmap> Background;
    UINT Dpi = 0;                       // the scale the background is drawn at
    unsigned BackgroundGeneration = 0;  // the skin model Background was built from

private:
    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    bool CanPaint() const;
    // Builds Background at the window's size; false without one.
    bool BuildBackground();
    // Copies the frame ring of Background onto the window (a window whose
    // frame lies in its client area).
    void PaintFrameRing(HDC dc);

    mutable HMENU FMenuHandle = nullptr;
    bool FMarked = false;
};

// Registers the popup-menu skinner with the skin manager.
void RegisterPopupMenuSkinning();
