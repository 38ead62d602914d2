// TWinSkinForm: the form skinner, one per skinned window.
//
// The skin manager makes one for each window that gets skinned (a framework
// form, a standard dialog "#32770" or an MDI child). It takes over the
// window's window procedure through a per-object thunk (and, for a framework
// form, the form's WindowProc slot too), removes the system's caption
// decorations, lays the client area inside the skin's borders and from then
// on answers the non-client messages itself. When skinning ends, or the
// window goes away, it gives back everything it took: window procedures,
// style bits, the native menu, the outer size and the window region.
//
// Where the work lives (one class, several files):
//   form_skinner.cpp     creation, attaching, activation, fitting the window,
//                        caption style bits, skin change, detaching
//   message_routing.cpp  the window procedure, the form's WindowProc and the
//                        MDI client's procedure: which message goes where
//   frame_painting.cpp   frame sizes, WM_NCCALCSIZE, WM_NCPAINT, the caption
//                        strip, caption text, icon, window region
//   caption_buttons.cpp  caption buttons, hit-testing, non-client mouse
//                        messages, the hover timer, the system menu
//   menu_bar.cpp         the skinned menu bar: its band, its items, opening
//                        their menus, moving between them while one is open
//   menu_items.cpp       owner-drawn menu items: the form's menus made
//                        owner-drawn, measuring and drawing items from the skin
//   popup_menu.cpp       the popup-menu skinner of each open menu window
//   control_links.cpp    the control skinners: discovery and their list
//
// Invariants: FHandle is the skinned window for the skinner's whole life;
// while FWndProcInstance is set the window's procedure was replaced by it;
// FOldFormWndProc is set exactly while the form's WindowProc slot is ours.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/classes.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/menus.h"
#include "skin/data/skin_manager.h"
#include "skin/data/skin_messages.h"
#include "skin/form/thunk.h"

class TSkinData;
class TSkinModel;
class TTimer;
class TCustomForm;
class TNCObject;        // nc_objects.h
class TWinSysButton;    // nc_objects.h
class TWinSkinMenu;     // the skinned menu bar
class TSkinControl;     // the control skinner base

// FWindowKind
enum : BYTE { wkPlain = 0, wkMdiFrame = 1, wkMdiChild = 2 };
// FBorderKind
enum : BYTE { bkSizeable = 0, bkSingle = 1, bkNone = 2, bkDialog = 3 };
// FStyleFlags
enum : BYTE {
    sfMaximizeBox = 0x01,
    sfMinimizeBox = 0x02,
    sfHelpButton = 0x04,
    sfSystemMenu = 0x08,
    sfKeepSysMenuStyle = 0x10,  // leave WS_SYSMENU alone while painting
};
// FWindowState
enum : BYTE { fwsNormal = 0, fwsMaximized = 1, fwsMinimized = 2 };

class TWinSkinForm : public TComponent, public TFormSkinnerLink {
    DECLARE_CLASS(TWinSkinForm, TComponent)
public:
    // Owned by the framework form it skins, or by nobody for a plain window.
    explicit TWinSkinForm(TComponent* owner);
    // Lets go of the window if it still holds it (as on WM_NCDESTROY), frees
    // what it made and tells the manager to forget the window.
    ~TWinSkinForm() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Set by the manager right after creation.
    void SetWindow(HWND window, HINSTANCE managerTag, const std::string& managerClassName);

    // ---- the manager's view [form_skinner.cpp] ----------------------------
    HWND SkinnedWindow() const override { return FHandle; }
    TSkinData* SkinnerData() const override { return FSkinData; }
    int SkinnerState() const override { return FSkinState; }
    bool SkinnerIsMdiChild() const override { return FWindowKind == wkMdiChild; }
    bool SkinnerMinimized() const override { return FWindowState == fwsMinimized; }
    bool SkinnerHasRegion() const override { return FRegion != nullptr; }
    void SetNormalWindowState() override;
    void SizeGripCreated(HWND grip) override;
    void FreeSkinner() override;

    // ---- attaching, activation, skin change, detaching [form_skinner.cpp] -
    // Attaches to a framework form: the common steps plus the form's
    // WindowProc and colour.
    void AttachForm(TSkinData* skinData, TCustomForm* form) override;
    // The common attach steps only.
    void AttachPlainWindow(TSkinData* skinData) override;
    // SKM_ACTIVATESKIN: measures the native frame, skins the controls and
    // fits the window to the skin's frame the first time.
    void Activate();
    // Sizes the window so that its client area keeps its size inside the
    // skin's borders.
    void FitToFrame(bool afterSkinChange);
    // Puts the caption style bits (system menu, minimize, maximize box) back
    // (on) or takes them away (off).
    void SetNativeStyle(bool on) override;
    void ApplySkinChange() override;
    // Gives the living window back exactly as it was before attaching.
    void Unskin() override;
    // Lets go of the window procedures and the control skinners of a window
    // that is going away.
    void DetachOnDestroy() override;
    // Deletes the window region and sets none.
    void RemoveRegion() override;
    void AddControlSkinner(TSkinControl* skinner);
    void RemoveControlSkinner(TSkinControl* skinner);
    TSkinControl* FindControlSkinner(HWND control) const;

    // ---- message routing [message_routing.cpp] -----------------------------
    // The window procedure (reached through the thunk).
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The form's WindowProc slot while the frame is skinned.
    void FormWndProc(TMessage& message);
    // The MDI client's window procedure (MDI frames).
    LRESULT ClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The procedure that was there before (the old window procedure).
    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallClientDefault(UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- frame painting [frame_painting.cpp] ---------------------------------
    // The four border sizes from the skin's borders (all 0 without a border).
    void ComputeFrameSizes();                                   // [frame_painting.cpp]
    LRESULT NCCalcSize(WPARAM wParam, LPARAM lParam);           // [frame_painting.cpp]
    LRESULT NCPaint(WPARAM wParam, LPARAM lParam);              // [frame_painting.cpp]
    // Paints the whole frame, into `dc` or the window DC when null.
    void PaintFrame(HDC dc = nullptr);                          // [frame_painting.cpp]
    void PaintCaptionStrip(HDC dc, int width, int height);      // [frame_painting.cpp]
    // side 1 left, 2 right, 3 top, 4 bottom.
    void DrawBorder(HDC dc, int side, const RECT& rect);        // [frame_painting.cpp]
    // Draws `text` (the window text between the caption prefix and suffix)
    // on the caption strip being composed in `dc`.
    void DrawCaptionText(HDC dc, const std::wstring& text);     // [frame_painting.cpp]
    // The window's text as the caption shows it.
    std::wstring CaptionWindowText();                           // [frame_painting.cpp]
    // Forgets the composed frame parts (the frame sizes or the skin changed).
    void ForgetFrameParts();                                    // [frame_painting.cpp]
    void DrawCaptionIcon(HDC dc, TWinSysButton* button);        // [frame_painting.cpp]
    // The icon bitmap from the window's icon (activation, WM_SETICON).
    void LoadIconBitmap();                                      // [frame_painting.cpp]
    void UpdateRegion() override;                               // [frame_painting.cpp]
    // The region for the window's current size; `redraw` false where no
    // part of the window becomes visible that was hidden (the first region
    // only takes pixels away from a window without one).
    void SetRegion(bool redraw);                                // [frame_painting.cpp]

    // ---- caption buttons and the system menu [caption_buttons.cpp] -------
    // Frees the buttons, recomputes the frame sizes, makes the buttons.
    void RebuildButtons() override;                             // [caption_buttons.cpp]
    void FreeButtons();                                         // [caption_buttons.cpp]
    void UpdateButtonVisibility();                              // [caption_buttons.cpp]
    void LayoutButtons();                                       // [caption_buttons.cpp]
    void DrawButtons(HDC dc);                                   // [caption_buttons.cpp]
    // The non-client object under a screen point, or null.
    TNCObject* ObjectAt(POINT screenPoint);                     // [caption_buttons.cpp]
    LRESULT NCHitTest(WPARAM wParam, LPARAM lParam);            // [caption_buttons.cpp]
    LRESULT NCMouseMove(WPARAM wParam, LPARAM lParam);          // [caption_buttons.cpp]
    LRESULT NCLButtonDown(WPARAM wParam, LPARAM lParam);        // [caption_buttons.cpp]
    LRESULT NCLButtonUp(WPARAM wParam, LPARAM lParam);          // [caption_buttons.cpp]
    LRESULT NCLButtonDblClk(WPARAM wParam, LPARAM lParam);      // [caption_buttons.cpp]
    LRESULT NCRButtonDown(WPARAM wParam, LPARAM lParam);        // [caption_buttons.cpp]
    LRESULT SysCommand(WPARAM wParam, LPARAM lParam);           // [caption_buttons.cpp]
    // WM_COMMAND carrying a system command from a tracked menu.
    LRESULT MenuCommand(WPARAM wParam, LPARAM lParam);          // [caption_buttons.cpp]
    void PerformAction(TWinSysButton* button, int x, int y);    // [caption_buttons.cpp]
    void MaximizeCommand();                                     // [caption_buttons.cpp]
    void MinimizeCommand();                                     // [caption_buttons.cpp]
    void RestoreCommand();                                      // [caption_buttons.cpp]
    // FTimer's handler: hot-object tracking and the caption-button hint.
    void HoverTimer(TObject* sender);                           // [caption_buttons.cpp]
    void ShowSystemMenu(POINT screenPoint);                     // [caption_buttons.cpp]
    void FreeSystemMenuPopup();                                 // [caption_buttons.cpp]
    void SetHotObject(TNCObject* object) { FHotObject = object; }
    TNCObject* HotObject() const { return FHotObject; }

    // ---- menu bar [menu_bar.cpp] ------------------------------------------------
    // Makes the skinned menu bar for FNativeMenu.
    void CreateMenuBar();
    // Frees the menu bar; with `giveMenuBack` the window gets its native menu
    // back (not while it is being destroyed).
    void FreeMenuBar(bool giveMenuBack);
    // Reads the bar's items again from `menu` (null: the one it had); `mdi`
    // after the MDI client set a new frame menu.
    void RebuildMenuBar(HMENU menu, bool mdi = false);
    // Opens the menu-bar item at a screen point (SKM_OPENMENUBAR); true when one opened.
    bool OpenMenuBarAt(POINT screenPoint);
    // Opens the menu-bar item with `key` as accelerator (0: the first item);
    // true when there was one.
    bool OpenMenuBarByKey(WPARAM key);
    // Paints the menu bar into `band` (window coordinates) of `dc`.
    void PaintMenuBar(HDC dc, const RECT& band);
    TWinSkinMenu* MenuBar() const { return FMenuBar; }
    bool InMenuLoop() const { return FInMenuLoop != 0; }
    // Alt pressed in an open bar menu: the menu loop is over for the skinner.
    void LeaveMenuLoop() { FInMenuLoop = 0; }
    // ---- owner-drawn menu items [menu_items.cpp] ----------------------------
    // Owner-draw of the form's popup menus (and main menus) on or off.
    void SetMenusOwnerDraw(bool on);
    // Draws the items of `menu` (a control's own drop-down menu, owned by the
    // form or not) from the skin until owner-draw goes off again; what the
    // menu and its items had is given back then.
    void SkinMenuItems(TMenu* menu);
    // WM_MEASUREITEM and WM_DRAWITEM of menu items.
    LRESULT MeasureMenuItem(WPARAM wParam, LPARAM lParam);
    LRESULT DrawMenuItem(WPARAM wParam, LPARAM lParam);
    // ---- controls [control_links.cpp] -----------------------------------------
    // Gives each recognised child control its control skinner.
    void SkinChildControls();
    // Frees every control skinner (each gives its control back).
    void FreeControlSkinners();
    // Every control skinner reloads the skin / repaints.
    void ReloadControlSkins();
    void RefreshControls() override;
    // Replaces the skinner of the control window by a scroll-bar skinner.
    void ReskinScrollBar(HWND control);

    // ---- display scale [form_skinner.cpp] ----------------------------------
    // The skin at the scale the window is laid out at now (the loaded model
    // at 96). Only valid while FSkinData is set.
    const TSkinModel& Skin() const;
    // The scale the frame is laid out and painted at (pixels an inch).
    UINT Dpi() const { return FDpi; }
    // `value` of the skin's 96-pixel design at the frame's scale.
    int Scaled(int value) const;
    // The font of the menu bar's items at the frame's scale.
    HFONT MenuFont();
    // WM_DPICHANGED (message_routing.cpp) takes the new scale here first
    // (frame sizes, caption buttons, menu bar, caption font, control
    // skinners); true when it changed.
    bool TakeWindowDpi(UINT dpi);
    // After the window's own procedure had the message: moves the window to
    // `suggested` when it did not move itself (it was at `before`), fits the
    // frame and the region and paints everything once at the new scale.
    void FinishDpiChange(const RECT& before, const RECT* suggested);

    // ---- state others read -----------------------------------------------
    HWND Handle() const { return FHandle; }
    TControl* Form() const { return FForm; }
    TSkinData* SkinData() const { return FSkinData; }
    // The working canvas handed to the control skinners as they attach.
    TCanvas* ControlCanvas() const { return FControlCanvas.get(); }
    int SkinState() const { return FSkinState; }
    bool SkinFrame() const { return FSkinFrame != 0; }
    BYTE WindowKind() const { return FWindowKind; }
    BYTE BorderKind() const { return FBorderKind; }
    BYTE WindowState() const { return FWindowState; }
    BYTE StyleFlags() const { return FStyleFlags; }
    bool IsActive() const { return FActive != 0; }
    bool RightToLeft() const { return FRightToLeft != 0; }
    // An MDI frame with a menu bar whose active child is maximized: the
    // child's caption buttons sit on the bar.
    bool MdiChildMaximizedInFrame() const;
    int BorderLeft() const { return FBorderLeft; }
    int BorderTop() const { return FBorderTop; }
    int BorderRight() const { return FBorderRight; }
    int BorderBottom() const { return FBorderBottom; }
    int MenuHeight() const { return FMenuHeight; }
    const RECT& NativeFrame() const { return FNativeFrame; }
    const std::vector<TWinSysButton*>& Buttons() const { return FButtons; }
    const std::vector<TSkinControl*>& ControlSkinners() const { return FControls; }
    TTimer* HoverTimerObject() const { return FTimer.get(); }
    bool WindowProcReplaced() const { return FWndProcInstance != nullptr; }
    // Re-reads the window state from the placement.
    void ReadWindowState();

    // Per-message bookkeeping: the skinner is not freed while one of its
    // messages is still running (see message_routing.cpp).
    int RunningMessages() const { return FRunning; }

private:
    void CommonAttach(TSkinData* skinData);
    void RestoreWindowProcs();
    void RestoreClientProc();
    void MakeCaptionFont();

    // ---- state, in the order of the design ---------------------------------
    TWndMethod FOldFormWndProc;              // the form's previous WindowProc
    WNDPROC FOldWndProc = nullptr;           // the window's previous procedure
    TWndProcThunk* FWndProcInstance = nullptr;   // our thunk on the window
    WNDPROC FOldClientProc = nullptr;        // the MDI client's previous procedure
    TWndProcThunk* FClientProcInstance = nullptr;
    std::unique_ptr<TFont> FCaptionFont;     // the system caption font
    std::unique_ptr<TTimer> FTimer;          // 250 ms hover timer
    std::wstring FCaptionPrefix;             // "  "
    std::wstring FCaptionSuffix;             // " "
    std::string FClassName;
    BYTE FSavedMenuUpdate = 0;
    BYTE FSkinFrame = 0;                     // 1: the non-client area is skinned
    RECT FClientRect{};
    int FLastClickTime = 0;
    int FDoubleClickTime = 0;
    HWND FOwnerWindow = nullptr;
    HICON FIconHandle = nullptr;
    int FIconSize = 0;
    RECT FCaptionTextRect{};
    int FBorderLeft = 0;
    int FBorderTop = 0;                      // the caption height
    int FBorderRight = 0;
    int FBorderBottom = 0;
    RECT FWindowRect{};
    RECT FCaptionArea{};
    RECT FNativeFrame{};                     // (0, 0, native nc width, native nc height)
    int FMenuHeight = 0;
    int FButtonCount = 0;
    BYTE FInMenuLoop = 0;
    BYTE FRightToLeft = 0;
    BYTE FSizeable = 0;
    BYTE FUnicode = 0;
    BYTE FDialogClass = 0;
    BYTE FIsChild = 0;
    TPopupMenu* FSystemMenuPopup = nullptr;
    HWND FMDIClient = nullptr;
    HMENU FNativeMenu = nullptr;
    HMENU FSystemMenu = nullptr;
    HMENU FTrackedMenu = nullptr;
    TColor FSavedColor = 0;
    LONG FStyle = 0;
    int FRightButtonsExtent = 0;
    TNCObject* FHotObject = nullptr;
    BYTE FRegionValid = 0;
    HRGN FRegion = nullptr;
    TControl* FForm = nullptr;
    HWND FHandle = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TCanvas> FControlCanvas;
    TSkinData* FSkinData = nullptr;
    TWinSkinMenu* FMenuBar = nullptr;
    std::vector<TWinSysButton*> FButtons;
    std::unique_ptr<TBitmap> FIconBitmap;
    std::unique_ptr<TBitmap> FFrameBitmap;
    // The frame's parts composed for one window size and activation: the
    // side and bottom borders and the caption strip's background (the top
    // border with the tops of the side borders). Every paint reuses them
    // until the size, the activation, the frame sizes or the skin change.
    struct TFrameParts {
        int Width = 0;
        int Height = 0;
        int Active = -1;
        RECT Frame{};
        const TSkinData* Skin = nullptr;
        TGdiBitmap Left, Right, Bottom, Caption;
        TGdiBitmap Sides;  // window-sized: the left, right and bottom borders in place
    };
    TFrameParts FFrameParts;
    // Counts the times the frame parts were composed or forgotten, so that
    // what is drawn over them knows when they changed.
    unsigned FFramePartsGeneration = 0;
    // Everything the composed caption strip depends on.
    struct TCaptionStripKey {
        int Width = 0;
        int Height = 0;
        int TargetDepth = 0;           // bits per pixel of the DC painted to
        unsigned PartsGeneration = 0;
        const TSkinData* Skin = nullptr;
        int Frame[4]{};                // left, top, right, bottom border
        int MenuHeight = 0;
        BYTE Active = 0;
        BYTE WindowState = 0;
        BYTE BorderKind = 0;
        BYTE RightToLeft = 0;
        bool Popup = false;
        COLORREF TextColour = 0;
        COLORREF FaceColour = 0;
        HFONT Font = nullptr;
        HICON Icon = nullptr;
        int IconSize = 0;
        std::wstring Text;
        std::vector<int> Buttons;      // visible, enabled and state of each button
        bool operator==(const TCaptionStripKey&) const = default;
    };
    // The caption strip as last composed (background, text, icon and
    // buttons), kept selected in its own memory DC: a paint whose key is
    // unchanged copies it and draws nothing else. FCaptionArea,
    // FCaptionTextRect and the buttons' rectangles stay as that compose left
    // them.
    struct TCaptionStrip {
        TCaptionStripKey Key;
        TGdiBitmap Bitmap;
        TOwnedDC DC;
        HGDIOBJ Old = nullptr;
        bool Ready = false;
        TCaptionStrip() = default;
        TCaptionStrip(const TCaptionStrip&) = delete;
        TCaptionStrip& operator=(const TCaptionStrip&) = delete;
        ~TCaptionStrip() { Forget(); }
        void Forget();
    };
    TCaptionStrip FCaptionStrip;
    TCaptionStripKey CaptionStripKey(HDC dc, int width, int stripHeight);
    // Composes the caption strip for `key` into FCaptionStrip; false when
    // it could not be made.
    bool ComposeCaptionStrip(HDC dc, const TCaptionStripKey& key);
    // The window icon at the caption's size, copied once per icon.
    HICON FCaptionIconSource = nullptr;
    HICON FCaptionIconCopy = nullptr;
    int FCaptionIconCopySize = 0;
    void ForgetCaptionIcon();
    const TFrameParts& FrameParts(HDC dc, int width, int height);
    std::vector<TSkinControl*> FControls;
    int FFrameWidth = 0;
    int FFrameHeight = 0;
    int FRegionWidth = 0;
    int FRegionHeight = 0;
    BYTE FActive = 1;
    BYTE FWindowKind = wkPlain;
    BYTE FBorderKind = bkSizeable;
    BYTE FStyleFlags = 0;
    BYTE FWindowState = fwsNormal;
    int FSkinState = fssAttached;
    HINSTANCE FManagerTag = nullptr;
    std::string FManagerClassName;

    // Our own bookkeeping.
    UINT FDpi = 0;                           // the scale the frame is laid out at (0: not attached)
    TGdiFont FMenuFont;                      // the menu bar's font when not at the system scale
    UINT FMenuFontDpi = 0;
    bool FWndProcUnicode = false;            // the thunk was set with SetWindowLongW
    bool FAttached = false;                  // the common attach steps ran
    int FRunning = 0;                        // messages of this skinner on the stack
    bool FFreePending = false;               // FreeSkinner came while messages ran
    struct TMessageScope* FScopes = nullptr; // innermost running message
    // Set by a menu being tracked (system menu, menu bar): the destructor
    // clears it, so the code after the menu's loop knows whether this
    // skinner still exists.
    bool* FAliveWhileTracking = nullptr;
    // The framework menus made owner-drawn, with what that replaced, and
    // the native menu entries made owner-drawn for the menu bar's submenus.
    struct TSavedMenuItemDraw {
        TMenuItem* Item;
        UINT Command;
        TMenuDrawItemEvent OnDrawItem;
        TMenuMeasureItemEvent OnMeasureItem;
    };
    struct TSavedMenuDraw {
        TMenu* Menu;
        bool OwnerDraw;
        std::vector<TSavedMenuItemDraw> Items;
        bool Watched = false;  // a free notice takes it off the list
    };
    std::vector<TSavedMenuDraw> FSavedMenuDraw;
    struct TSavedNativeEntry {
        HMENU Menu;
        UINT Position;
        UINT Id;
        UINT Type;
        std::wstring Text;
    };
    std::vector<TSavedNativeEntry> FSavedNativeEntries;
    void SaveMenuDraw(TMenu* menu, bool allItems);
    void RestoreMenuDraw();
    void MakeNativeOwnerDrawn(HMENU menu);
    void RestoreNativeEntries();
    // The text of a native entry as it was before it was made owner-drawn.
    std::wstring NativeEntryText(HMENU menu, UINT id) const;

    friend struct TMessageScope;
    friend class TWinSkinMenu;
};

// One running message of a form skinner. While it lives the skinner is not
// freed by FreeSkinner; if the skinner is destroyed anyway (its form goes
// away inside the message), Dead tells the handler not to touch it again.
struct TMessageScope {
    explicit TMessageScope(TWinSkinForm* form);
    ~TMessageScope();
    TMessageScope(const TMessageScope&) = delete;
    TMessageScope& operator=(const TMessageScope&) = delete;
    TWinSkinForm* Form;
    TMessageScope* Outer;
    bool Dead = false;
};

// Registers the form skinner with the skin manager (done at start-up by this
// module; calling it again changes nothing).
void RegisterFormSkinning();
// The same under a C name that the program's link asks for, so that this
// module is linked into a program that never names it.
extern "C" void RavelbookFormSkinning();
