// TSkinManage: the one object that decides which top-level windows of the
// program are skinned.
//
// It hears about windows from a CBT hook on the user-interface thread (window
// created, activated, destroyed), gives each window that qualifies a form
// skinner and each popup menu window a popup-menu skinner, and keeps the
// lists of both. Skin changes (skin on, skin off, a reloaded skin) are run as
// one deferred pass from its timer.
//
// Layering: this file belongs to the skin data layer, which never includes
// the form-skinning layer. The manager therefore talks to form skinners and
// popup-menu skinners through the two small interfaces below, and makes them
// through factory functions that the form-skinning layer registers
// (SetFormSkinnerFactory, SetPopupMenuSkinnerFactory) before the first window
// is skinned. Without a registered factory no window is skinned.
//
// Everything runs on the user-interface thread; nothing is locked. Creating a
// skinner sends messages, so the hook can be re-entered: a window that
// answers SKM_QUERYSKIN or already has a skinner is never given a second one.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/data/skin_messages.h"

class TSkinData;
class TCustomForm;
class TTimer;
class TObject;

// A form skinner as the manager sees it. Deleting one through this interface
// destroys the skinner (the destructor is virtual).
class TFormSkinnerLink {
public:
    virtual ~TFormSkinnerLink() = default;
    // Frees the skinner now, or, while one of its window's messages is still
    // being handled by it, as soon as that message returns.
    virtual void FreeSkinner() = 0;

    // The skinned window, the component whose skin it applies, and its skin
    // state (TFormSkinState's values).
    virtual HWND SkinnedWindow() const = 0;
    virtual TSkinData* SkinnerData() const = 0;
    virtual int SkinnerState() const = 0;
    virtual bool SkinnerIsMdiChild() const = 0;
    virtual bool SkinnerMinimized() const = 0;
    virtual bool SkinnerHasRegion() const = 0;

    // Attaches to a framework form (AttachForm) or to any other window
    // (AttachPlainWindow).
    virtual void AttachForm(TSkinData* skinData, TCustomForm* form) = 0;
    virtual void AttachPlainWindow(TSkinData* skinData) = 0;
    // Gives the window back while it lives on.
    virtual void Unskin() = 0;
    // Lets go of a window that is going away (or at shutdown).
    virtual void DetachOnDestroy() = 0;
    virtual void RebuildButtons() = 0;
    virtual void ApplySkinChange() = 0;
    // Lets every control skinner of the window repaint from the skin.
    virtual void RefreshControls() = 0;
    virtual void UpdateRegion() = 0;
    virtual void RemoveRegion() = 0;
    virtual void SetNativeStyle(bool on) = 0;
    // Puts a maximized or minimized MDI child back to the normal state.
    virtual void SetNormalWindowState() = 0;
    // A size-grip scroll bar is being created on the skinned window.
    virtual void SizeGripCreated(HWND grip) = 0;
};

// A popup-menu skinner as the manager sees it.
class TPopupMenuSkinnerLink {
public:
    virtual ~TPopupMenuSkinnerLink() = default;
    virtual HWND MenuWindow() const = 0;
    virtual HMENU MenuHandle() const = 0;
    virtual void SetMenuHandle(HMENU menu) = 0;
    virtual bool Marked() const = 0;
    virtual void SetMarked(bool value) = 0;
    // The background bitmap the menu is painted on, or null.
    virtual HBITMAP BackgroundBitmap() const = 0;
    // Gives the menu window back before the skinner is freed.
    virtual void RestoreWindow() = 0;
};

// Makes a form skinner for `window`: owned by `form` when it is a framework
// form, without owner otherwise. `module` and `className` are what the
// manager found for the window. Null when none can be made.
using TFormSkinnerFactory = TFormSkinnerLink* (*)(TCustomForm* form, HWND window, HINSTANCE module,
                                                  const std::string& className);
// Makes a popup-menu skinner for the popup menu window `window`.
using TPopupMenuSkinnerFactory = TPopupMenuSkinnerLink* (*)(HWND window, TSkinData* skinData);

void SetFormSkinnerFactory(TFormSkinnerFactory factory);
void SetPopupMenuSkinnerFactory(TPopupMenuSkinnerFactory factory);

// TWinSkinForm's FSkinState values, shared with the manager.
enum TFormSkinState : int {
    fssAttached = 0,    // made, not yet activated: no non-client painting
    fssSkinned = 1,
    fssChangingSkin = 3,
    fssDetaching = 4,   // inside WM_NCDESTROY
    fssResizing = 5,    // fitting the window on first activation
    fssDestroyed = 6,   // after WM_NCDESTROY
};

// RunState values.
constexpr int SKIN_RUN_IDLE = 0;
constexpr int SKIN_RUN_STARTED = 1;
constexpr int SKIN_RUN_DESTROYING = 4;

// PendingAction values.
enum TSkinPass : int { spNone = 0, spSkin = 1, spUnskin = 2, spRefresh = 3 };

// MenuKind values.
enum TSkinMenuKind : int { smkPopup = 0, smkMenuBar = 1, smkSystemMenu = 2 };

class TSkinManage {
public:
    TSkinManage();
    // Takes every form skinner off its window, frees the popup-menu skinners
    // and removes the hook; afterwards the hook only passes events on.
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // Installs the CBT hook for the current thread (once).
    void InstallHook();
    bool HookInstalled() const { return FHook != nullptr; }

    void RegisterSkinData(TSkinData* skinData);
    void UnregisterSkinData(TSkinData* skinData);

    // The decision for one window (see skin_manager.cpp); true when a form
    // skinner was made and attached. Its activation (fitting the frame,
    // skinning the controls) is posted, or, with `activateNow`, done before
    // this returns.
    bool SkinWindow(HWND window, bool activateNow = false);
    // Skins the form's window unless the form is hidden or a child window.
    bool SkinForm(TCustomForm* form);
    TFormSkinnerLink* FindFormSkinner(HWND window) const;
    // Removes the entry of `window` (its skinner is going away by itself),
    // unless the manager is being destroyed.
    void ForgetFormSkinner(HWND window);
    // The same for a skinner that is being destroyed: only its own entry goes.
    void ForgetFormSkinner(TFormSkinnerLink* skinner);
    // Removes entries whose skinner is gone or destroyed (freeing the latter).
    void DropDeadSkinners();

    bool SkinPopupMenu(HWND window);
    void DropPopupMenu(HWND window);
    bool IsPopupMenuSkinned(HWND window) const;
    void MarkAllPopupMenus();
    // Gives `menu` to the newest popup-menu skinner that has no menu yet.
    void AttachMenuToNewest(HMENU menu);
    HBITMAP PopupMenuBackground(HMENU menu) const;

    void SetMdiMaximized(bool state);

    // Runs `action` after `delayMs` from the timer; before anything was ever
    // skinned only switches Skinning on (1) or off (2).
    void RequestPass(int action, unsigned delayMs);
    // The timer's work: one pass (public so that it can also be run at once).
    void RunPass();

    // Every form skinner using `skinData` rebuilds its caption buttons.
    void RefreshSkin(TSkinData* skinData);

    // The filter of the main component; true lets the window pass.
    bool MainComponentAllows(HWND window, const std::string& className);
    // Step 11 of the decision: the component for a window, or null.
    TSkinData* ChooseSkinData(HWND window, const std::string& className) const;

    const std::vector<TFormSkinnerLink*>& FormSkinners() const { return FFormSkinners; }
    const std::vector<TPopupMenuSkinnerLink*>& MenuSkinners() const { return FMenuSkinners; }
    const std::vector<TSkinData*>& SkinDatas() const { return FSkinDatas; }

    TTimer* Timer() const { return FTimer.get(); }
    bool Skinning = false;
    bool ForceChildren = false;
    int RunState = SKIN_RUN_IDLE;
    int MenuKind = smkPopup;
    bool MarkNewMenus = false;
    bool MdiMaximized = false;
    HWND MdiClient = nullptr;
    TCustomForm* MdiFrameForm = nullptr;
    bool HideWhileSkinning = false;
    int PendingAction = spNone;
    TSkinData* ActingSkinData = nullptr;
    TSkinData* MainSkinData = nullptr;
    // The module served by this manager: null for the program's own.
    HINSTANCE ManagerTag = nullptr;

private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void HookEvent(int code, WPARAM wParam, LPARAM lParam);
    void TimerFired(TObject* sender);
    void TakeOut(TFormSkinnerLink* skinner);
    void PassForOnlyThisForm(TSkinData* skinData, int action);
    void PassForAll(TSkinData* skinData, int action);

    std::unique_ptr<TTimer> FTimer;
    HHOOK FHook = nullptr;
    std::vector<TFormSkinnerLink*> FFormSkinners;
    std::vector<TPopupMenuSkinnerLink*> FMenuSkinners;
    std::vector<TSkinData*> FSkinDatas;
};

// The single manager, or null before the first component finished loading
// (and after shutdown).
TSkinManage* SkinManager();
// Makes the manager when there is none; returns it.
TSkinManage* CreateSkinManager();
// Frees the manager (the program's shutdown does this by itself).
void FreeSkinManager();
// Whether the platform is of the Windows NT family (read at hook install).
bool SkinIsWinNT();
// The framework object stored in `window`'s "ControlOfs..." property, or null.
TObject* SkinWindowObject(HWND window);
