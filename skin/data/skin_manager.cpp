// The skin manager: which windows are skinned, the CBT hook that finds them,
// and the deferred skin passes.
#include "skin/data/skin_manager.h"

#include <algorithm>
#include <cctype>

#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/timer.h"
#include "skin/data/skin_component.h"

namespace {

// The one manager of the program, its hook's off switch, the platform and
// the factories of the form-skinning layer.
TSkinManage* GManager = nullptr;
bool GHookDisabled = false;
bool GIsWinNT = (GetVersion() & 0x80000000u) == 0;
TFormSkinnerFactory GFormSkinnerFactory = nullptr;
TPopupMenuSkinnerFactory GPopupMenuSkinnerFactory = nullptr;

constexpr int DISABLED_TAG = 99;       // a form with this Tag is never skinned
constexpr UINT PASS_DELAY_MS = 100;    // the timer's interval when made
constexpr LONG SIZE_GRIP_STYLE = 0x10; // SBS_SIZEGRIP
constexpr LONG DIALOG_EXCLUDED_STYLE = 0x200;

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string WindowClassName(HWND window)
{
    char name[100] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool SameText(const std::string& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

// The open framework form whose window is `window`, else the form stored in
// the window's framework property.
TCustomForm* FormOfWindow(HWND window)
{
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* form = Screen->Forms(i);
            if (form && form->HandleIfAllocated() == window) return form;
        }
    return As<TCustomForm>(SkinWindowObject(window));
}

bool IsOnlyThisForm(const TSkinData* data) { return data->SkinFormtype() == sfOnlyThisForm; }

}  // namespace

// ---- unit-level functions ----------------------------------------------------------

void SetFormSkinnerFactory(TFormSkinnerFactory factory) { GFormSkinnerFactory = factory; }
void SetPopupMenuSkinnerFactory(TPopupMenuSkinnerFactory factory) { GPopupMenuSkinnerFactory = factory; }

TSkinManage* SkinManager() { return GManager; }

namespace {
// Frees the manager when the program ends, taking every skinner off its
// window while the forms and controls they hold still exist.
struct TSkinManagerShutdown {
    ~TSkinManagerShutdown()
    {
        try {
            FreeSkinManager();
        } catch (...) {
        }
    }
};
}  // namespace

TSkinManage* CreateSkinManager()
{
    if (!GManager) {
        GManager = new TSkinManage();
        // Made here, after the application object (a skin component sits on
        // a form, and forms are the application's), so it is destroyed
        // first at exit: the application frees its forms after it. Made at
        // load time, before the application, it ran after them, and the
        // skinners touched freed controls (the program crashed on quitting).
        static TSkinManagerShutdown shutdown;
    }
    return GManager;
}

void FreeSkinManager()
{
    TSkinManage* manager = GManager;
    if (!manager) return;
    delete manager;
    GManager = nullptr;
}

bool SkinIsWinNT() { return GIsWinNT; }

TObject* SkinWindowObject(HWND window)
{
    return window ? FindControl(window) : nullptr;
}

// ---- creation and destruction ----------------------------------------------------------

TSkinManage::TSkinManage()
{
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(PASS_DELAY_MS);
    FTimer->OnTimer = [this](TObject* sender) { TimerFired(sender); };
    GHookDisabled = false;
}

TSkinManage::~TSkinManage()
{
    RunState = SKIN_RUN_DESTROYING;
    Skinning = false;
    if (FTimer) FTimer->SetEnabled(false);
    FTimer.reset();
    while (!FFormSkinners.empty()) {
        TFormSkinnerLink* skinner = FFormSkinners.back();
        FFormSkinners.pop_back();
        try {
            skinner->DetachOnDestroy();
            skinner->FreeSkinner();
        } catch (...) {
        }
    }
    while (!FMenuSkinners.empty()) {
        TPopupMenuSkinnerLink* skinner = FMenuSkinners.back();
        FMenuSkinners.pop_back();
        try {
            skinner->RestoreWindow();
            delete skinner;
        } catch (...) {
        }
    }
    FSkinDatas.clear();
    if (FHook) UnhookWindowsHookEx(FHook);
    FHook = nullptr;
    GHookDisabled = true;
}

void TSkinManage::InstallHook()
{
    GIsWinNT = (GetVersion() & 0x80000000u) == 0;
    if (FHook) return;
    FHook = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    GHookDisabled = false;
}

// ---- components ----------------------------------------------------------------------

void TSkinManage::RegisterSkinData(TSkinData* skinData)
{
    if (!skinData || std::find(FSkinDatas.begin(), FSkinDatas.end(), skinData) != FSkinDatas.end()) return;
    FSkinDatas.push_back(skinData);
    if (!MainSkinData && skinData->SkinFormtype() == sfMainform) MainSkinData = skinData;
}

void TSkinManage::UnregisterSkinData(TSkinData* skinData)
{
    FSkinDatas.erase(std::remove(FSkinDatas.begin(), FSkinDatas.end(), skinData), FSkinDatas.end());
    if (MainSkinData == skinData) MainSkinData = nullptr;
    if (ActingSkinData == skinData) ActingSkinData = nullptr;
    // A skinner cannot outlive the skin it paints with: windows still using
    // the component get their own look back.
    if (RunState == SKIN_RUN_DESTROYING) return;
    for (size_t i = FFormSkinners.size(); i-- > 0;) {
        if (i >= FFormSkinners.size()) continue;
        TFormSkinnerLink* skinner = FFormSkinners[i];
        if (skinner->SkinnerData() != skinData) continue;
        FFormSkinners.erase(FFormSkinners.begin() + static_cast<std::ptrdiff_t>(i));
        if (IsWindow(skinner->SkinnedWindow()) && skinner->SkinnerState() != fssDestroyed)
            skinner->Unskin();
        else
            skinner->DetachOnDestroy();
        skinner->FreeSkinner();
    }
    // With no component left there is no skin to give a new window: a
    // component made later starts from the beginning (its Active decides).
    if (FSkinDatas.empty()) {
        Skinning = false;
        RunState = SKIN_RUN_IDLE;
        PendingAction = spNone;
        if (FTimer) FTimer->SetEnabled(false);
    }
}

// ---- the hook --------------------------------------------------------------------------

LRESULT CALLBACK TSkinManage::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    TSkinManage* manager = GManager;
    HHOOK hook = manager ? manager->FHook : nullptr;
    if (code >= 0 && !GHookDisabled && manager) {
        try {
            manager->HookEvent(code, wParam, lParam);
        } catch (...) {
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManage::HookEvent(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND window = reinterpret_cast<HWND>(wParam);
    switch (code) {
    case HCBT_CREATEWND: {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
        const CREATESTRUCTA* params = create ? create->lpcs : nullptr;
        if (!params) return;
        const std::string className = WindowClassName(window);
        if (SameText(className, "ScrollBar") && (params->style & SIZE_GRIP_STYLE)) {
            if (TFormSkinnerLink* parent = FindFormSkinner(params->hwndParent)) parent->SizeGripCreated(window);
        } else if (!(params->style & WS_CHILD) && className == "#32768") {
            SkinPopupMenu(window);
        } else if (params->dwExStyle & WS_EX_MDICHILD) {
            SkinWindow(window);
        }
        return;
    }
    case HCBT_DESTROYWND:
        DropPopupMenu(window);
        return;
    case HCBT_ACTIVATE:
        // The program runs skinned from the first activation while a
        // component is there (later passes wait for the timer). A window
        // being activated has been made and laid out: it is skinned at once,
        // before it first paints, so that it is painted once, skinned.
        if (RunState == SKIN_RUN_IDLE && !FSkinDatas.empty()) RunState = SKIN_RUN_STARTED;
        SkinWindow(window, true);
        return;
    default: return;
    }
}

// ---- the decision ------------------------------------------------------------------------

bool TSkinManage::SkinWindow(HWND window, bool activateNow)
{
    // 1. Skinning is on.
    if (!Skinning || !window || !IsWindow(window)) return false;
    // 2. Stale entries go first.
    DropDeadSkinners();
    // 3. Not skinned already, by us or by anyone who answers the query.
    if (FindFormSkinner(window)) return false;
    if (SendMessageA(window, SKM_QUERYSKIN, 0, 0) == 1) return false;
    if (FindFormSkinner(window)) return false;   // skinned while the query ran
    // 4. The framework form of the window, if it is one.
    TCustomForm* form = FormOfWindow(window);
    // 5. Ordinary child windows stay out (unless a pass forces them in).
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    const bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
    if (!ForceChildren && (style & WS_CHILD) && !mdiChild) {
        const HWND parent = GetParent(window);
        if (!parent || !SameText(WindowClassName(parent), "mdiclient")) return false;
    }
    // 6. A framework form, a window of this program, or a standard dialog.
    const std::string className = WindowClassName(window);
    const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    if (!form && module != GetModuleHandleA(nullptr) && className != "#32770") return false;
    // 7. Something to see.
    RECT bounds{};
    GetWindowRect(window, &bounds);
    if ((bounds.right - bounds.left) * (bounds.bottom - bounds.top) == 0 && !mdiChild) return false;
    // 8. The form has not opted out.
    if (form && form->Tag() == DISABLED_TAG) return false;
    // 9. Classes that must keep their own look.
    if (className.find("TcxPopupEditPopupWindow") != std::string::npos ||
        className.find("TTERenderWindow") != std::string::npos || className == "TApplication")
        return false;
    // 10. The main component's filter.
    if (!MainComponentAllows(window, className)) return false;
    // 11. The component whose skin the window gets.
    TSkinData* skinData = ChooseSkinData(window, className);
    if (!skinData || skinData->NoSkin()) return false;
    // 12. Make, attach and activate the skinner.
    if (!GFormSkinnerFactory) return false;
    TFormSkinnerLink* skinner = GFormSkinnerFactory(form, window, module, className);
    if (!skinner) return false;
    if (form)
        skinner->AttachForm(skinData, form);
    else
        skinner->AttachPlainWindow(skinData);
    FFormSkinners.push_back(skinner);
    // A framework form is laid out before it is shown. A window still being
    // made (an MDI child seen at its creation) or laid out by its own code
    // (a standard dialog sizes its controls after it is activated) is
    // activated once that is over.
    if (activateNow && form && !mdiChild && className != "#32770")
        SendMessageA(window, SKM_ACTIVATESKIN, 0, SKIN_ACTIVATE_PARAM);
    else
        PostMessageA(window, SKM_ACTIVATESKIN, 0, SKIN_ACTIVATE_PARAM);
    return true;
}

bool TSkinManage::MainComponentAllows(HWND window, const std::string& className)
{
    TSkinData* main = MainSkinData;
    if (!main) return true;
    const std::string lower = Lower(className);
    if (!(main->Options() & SkinOption(xoPreview)) && lower.find("preview") != std::string::npos) return false;
    if (className == "#32770" && (GetWindowLongA(window, GWL_STYLE) & DIALOG_EXCLUDED_STYLE)) return false;
    if (lower == "tpopupdbtreeview") return false;
    main->SetDecidingWindow(window);
    if (main->OnFormSkin) {
        bool doSkin = true;
        main->OnFormSkin(main, className, doSkin);
        return doSkin;
    }
    if (className == "SysMonthCal32") return false;
    if ((main->SkinControls() & SkinControl(xcFastReport)) && className.compare(0, 3, "Tfr") == 0) return false;
    return true;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const std::string& className) const
{
    // (a) a component that serves only its own form, when this is that form;
    for (TSkinData* data : FSkinDatas) {
        if (!IsOnlyThisForm(data)) continue;
        auto* owner = As<TCustomForm>(data->Owner());
        if (owner && owner->HandleIfAllocated() == window) return data;
    }
    // (b) the dialog component for message boxes and standard dialogs;
    const std::string lower = Lower(className);
    if (lower == "tmessageform" || lower == "#32770")
        for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
            if ((*it)->SkinFormtype() == sfDialog) return *it;
    // (c) the main component;
    for (auto it = FSkinDatas.rbegin(); it != FSkinDatas.rend(); ++it)
        if ((*it)->SkinFormtype() == sfMainform) return *it;
    // (d) any component.
    return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

bool TSkinManage::SkinForm(TCustomForm* form)
{
    if (!form || !form->HandleAllocated()) return false;
    const HWND window = form->HandleIfAllocated();
    if (!IsWindowVisible(window) || (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)) return false;
    return SkinWindow(window);
}

// ---- the list of form skinners --------------------------------------------------------

TFormSkinnerLink* TSkinManage::FindFormSkinner(HWND window) const
{
    if (!window) return nullptr;
    for (TFormSkinnerLink* skinner : FFormSkinners)
        if (skinner->SkinnedWindow() == window) return skinner;
    return nullptr;
}

void TSkinManage::ForgetFormSkinner(HWND window)
{
    if (RunState == SKIN_RUN_DESTROYING) return;
    FFormSkinners.erase(std::remove_if(FFormSkinners.begin(), FFormSkinners.end(),
                                       [window](TFormSkinnerLink* s) { return s->SkinnedWindow() == window; }),
                        FFormSkinners.end());
}

void TSkinManage::ForgetFormSkinner(TFormSkinnerLink* skinner)
{
    if (RunState == SKIN_RUN_DESTROYING) return;
    FFormSkinners.erase(std::remove(FFormSkinners.begin(), FFormSkinners.end(), skinner), FFormSkinners.end());
}

void TSkinManage::DropDeadSkinners()
{
    if (RunState == SKIN_RUN_DESTROYING) return;
    for (size_t i = FFormSkinners.size(); i-- > 0;) {
        if (i >= FFormSkinners.size()) continue;
        TFormSkinnerLink* skinner = FFormSkinners[i];
        if (skinner->SkinnerState() != fssDestroyed && IsWindow(skinner->SkinnedWindow())) continue;
        FFormSkinners.erase(FFormSkinners.begin() + static_cast<std::ptrdiff_t>(i));
        skinner->DetachOnDestroy();
        skinner->FreeSkinner();
    }
}

void TSkinManage::TakeOut(TFormSkinnerLink* skinner)
{
    FFormSkinners.erase(std::remove(FFormSkinners.begin(), FFormSkinners.end(), skinner), FFormSkinners.end());
    const HWND window = skinner->SkinnedWindow();
    skinner->Unskin();
    if (IsWindow(window)) {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
    skinner->FreeSkinner();
}

// ---- popup menus -------------------------------------------------------------------------

bool TSkinManage::SkinPopupMenu(HWND window)
{
    if (!Skinning || !GPopupMenuSkinnerFactory) return false;
    if (SendMessageA(window, SKM_QUERYSKIN, 0, 0) == 1 || IsPopupMenuSkinned(window)) return false;
    TSkinData* skinData = ChooseSkinData(window, WindowClassName(window));
    if (!skinData || skinData->NoSkin()) return false;
    const TSkinControlTypes kinds = skinData->SkinControls();
    bool allowed = false;
    switch (MenuKind) {
    case smkPopup: allowed = kinds & SkinControl(xcPopupMenu); break;
    case smkMenuBar: allowed = kinds & (SkinControl(xcMainMenu) | SkinControl(xcMenuItem)); break;
    case smkSystemMenu: allowed = kinds & SkinControl(xcSystemMenu); break;
    default: break;
    }
    if (!allowed) return false;
    TPopupMenuSkinnerLink* skinner = GPopupMenuSkinnerFactory(window, skinData);
    if (!skinner) return false;
    FMenuSkinners.push_back(skinner);
    if (MarkNewMenus) skinner->SetMarked(true);
    return true;
}

void TSkinManage::DropPopupMenu(HWND window)
{
    auto it = std::find_if(FMenuSkinners.begin(), FMenuSkinners.end(),
                           [window](TPopupMenuSkinnerLink* s) { return s->MenuWindow() == window; });
    if (it == FMenuSkinners.end()) return;
    TPopupMenuSkinnerLink* skinner = *it;
    FMenuSkinners.erase(it);
    skinner->RestoreWindow();
    delete skinner;
    if (FMenuSkinners.empty()) {
        MarkNewMenus = false;
        MenuKind = smkPopup;
    }
}

bool TSkinManage::IsPopupMenuSkinned(HWND window) const
{
    return std::any_of(FMenuSkinners.begin(), FMenuSkinners.end(),
                       [window](TPopupMenuSkinnerLink* s) { return s->MenuWindow() == window; });
}

void TSkinManage::MarkAllPopupMenus()
{
    for (TPopupMenuSkinnerLink* skinner : FMenuSkinners) skinner->SetMarked(true);
}

void TSkinManage::AttachMenuToNewest(HMENU menu)
{
    for (auto it = FMenuSkinners.rbegin(); it != FMenuSkinners.rend(); ++it)
        if (!(*it)->MenuHandle()) {
            (*it)->SetMenuHandle(menu);
            return;
        }
}

HBITMAP TSkinManage::PopupMenuBackground(HMENU menu) const
{
    for (TPopupMenuSkinnerLink* skinner : FMenuSkinners)
        if (skinner->MenuHandle() == menu) return skinner->BackgroundBitmap();
    return nullptr;
}

// ---- MDI ---------------------------------------------------------------------------------

void TSkinManage::SetMdiMaximized(bool state)
{
    if (state == MdiMaximized) return;
    MdiMaximized = state;
    if (MainSkinData && (MainSkinData->Options() & SkinOption(xoMDIChildBorder))) return;
    const std::vector<TFormSkinnerLink*> skinners = FFormSkinners;
    for (TFormSkinnerLink* skinner : skinners) {
        if (!skinner->SkinnerIsMdiChild()) continue;
        if (state) {
            if (skinner->SkinnerHasRegion()) skinner->RemoveRegion();
            skinner->SetNativeStyle(true);
        } else if (skinner->SkinnerMinimized()) {
            skinner->SetNativeStyle(true);
        } else {
            skinner->SetNormalWindowState();
            skinner->UpdateRegion();
            skinner->SetNativeStyle(false);
            if (!skinner->SkinnerHasRegion())
                SetWindowPos(skinner->SkinnedWindow(), nullptr, 0, 0, 0, 0,
                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
}

// ---- passes --------------------------------------------------------------------------------

void TSkinManage::RequestPass(int action, unsigned delayMs)
{
    PendingAction = action;
    if (FTimer) FTimer->SetInterval(delayMs);
    if (RunState != SKIN_RUN_IDLE) {
        if (FTimer) {
            FTimer->SetEnabled(false);
            FTimer->SetEnabled(true);
        }
    } else if (action == spSkin) {
        Skinning = true;
    } else if (action == spUnskin) {
        Skinning = false;
    }
}

void TSkinManage::TimerFired(TObject*)
{
    try {
        RunPass();
    } catch (...) {
    }
}

void TSkinManage::RunPass()
{
    if (FTimer) FTimer->SetEnabled(false);
    TSkinData* skinData = ActingSkinData;
    if (!skinData) return;
    const int action = PendingAction;
    if (IsOnlyThisForm(skinData))
        PassForOnlyThisForm(skinData, action);
    else
        PassForAll(skinData, action);
    // The component may have gone away during the pass.
    if (std::find(FSkinDatas.begin(), FSkinDatas.end(), skinData) != FSkinDatas.end()) {
        skinData->SkinPassDone();
        if (skinData->OnSkinChanged) skinData->OnSkinChanged(skinData);
    }
    ActingSkinData = nullptr;
}

void TSkinManage::PassForOnlyThisForm(TSkinData* skinData, int action)
{
    switch (action) {
    case spSkin: {
        Skinning = true;
        ForceChildren = true;
        if (Screen)
            for (int i = Screen->FormCount() - 1; i >= 0; --i)
                if (Screen->Forms(i) == skinData->Owner()) {
                    SkinForm(Screen->Forms(i));
                    break;
                }
        ForceChildren = false;
        break;
    }
    case spUnskin: {
        Skinning = false;
        DropDeadSkinners();
        for (auto it = FFormSkinners.rbegin(); it != FFormSkinners.rend(); ++it)
            if ((*it)->SkinnerData() == skinData) {
                TakeOut(*it);
                break;
            }
        break;
    }
    case spRefresh: {
        DropDeadSkinners();
        for (TFormSkinnerLink* skinner : FFormSkinners)
            if (skinner->SkinnerData() == skinData) {
                skinner->RebuildButtons();
                skinner->ApplySkinChange();
                skinner->RefreshControls();
                break;
            }
        break;
    }
    default: break;
    }
}

void TSkinManage::PassForAll(TSkinData* skinData, int action)
{
    switch (action) {
    case spSkin: {
        Skinning = true;
        ForceChildren = true;
        HideWhileSkinning = false;
        DropDeadSkinners();
        if (Screen)
            for (int i = Screen->FormCount() - 1; i >= 0; --i)
                if (i < Screen->FormCount()) SkinForm(Screen->Forms(i));
        ForceChildren = false;
        break;
    }
    case spUnskin: {
        Skinning = false;
        DropDeadSkinners();
        while (!FFormSkinners.empty()) TakeOut(FFormSkinners.back());
        break;
    }
    case spRefresh: {
        DropDeadSkinners();
        const std::vector<TFormSkinnerLink*> skinners = FFormSkinners;
        for (TFormSkinnerLink* skinner : skinners)
            if (skinner->SkinnerData() == skinData) {
                skinner->RebuildButtons();
                skinner->ApplySkinChange();
            }
        for (TFormSkinnerLink* skinner : FFormSkinners)
            if (skinner->SkinnerData() == skinData) skinner->RefreshControls();
        break;
    }
    default: break;
    }
}

void TSkinManage::RefreshSkin(TSkinData* skinData)
{
    for (TFormSkinnerLink* skinner : FFormSkinners)
        if (skinner->SkinnerData() == skinData) skinner->RebuildButtons();
}
