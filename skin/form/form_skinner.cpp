// The form skinner's life: creation, attaching to a window, activation,
// fitting the window to the skin's frame, the caption style bits, skin
// changes and giving the window back.
#include "skin/form/form_skinner.h"

#include <algorithm>

#include "framework/display_scale.h"
#include "framework/forms.h"
#include "framework/timer.h"
#include "skin/data/skin_component.h"
#include "skin/form/menu_bar.h"
#include "skin/form/popup_menu.h"

IMPLEMENT_CLASS(TWinSkinForm)

namespace {

constexpr UINT HOVER_INTERVAL_MS = 250;
constexpr LONG CAPTION_STYLE_BITS = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr UINT FRAME_CHANGE_FLAGS = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

// Thunk targets: the first argument is the skinner, not a window handle.
LRESULT CALLBACK FormThunkProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return reinterpret_cast<TWinSkinForm*>(self)->WndProc(msg, wParam, lParam);
}

LRESULT CALLBACK ClientThunkProc(HWND self, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return reinterpret_cast<TWinSkinForm*>(self)->ClientWndProc(msg, wParam, lParam);
}

bool IsClassNamed(HWND window, const char* name)
{
    char buffer[100] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return lstrcmpiA(buffer, name) == 0;
}

bool InheritsFromClassNamed(const TObject* object, const char* name)
{
    for (const TClassInfo* info = object ? &object->ClassInfo() : nullptr; info; info = info->Parent)
        if (lstrcmpA(info->Name, name) == 0) return true;
    return false;
}

OSVERSIONINFOA PlatformVersion()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version;
}

TFormSkinnerLink* MakeFormSkinner(TCustomForm* form, HWND window, HINSTANCE module, const std::string& className)
{
    (void)module;
    try {
        auto* skinner = new TWinSkinForm(form);
        skinner->SetWindow(window, SkinManager() ? SkinManager()->ManagerTag : nullptr, className);
        return skinner;
    } catch (...) {
        return nullptr;
    }
}

// The module registers its form skinner with the manager as it starts.
struct TFormSkinningRegistrar {
    TFormSkinningRegistrar() { RegisterFormSkinning(); }
} FormSkinningRegistrar;

}  // namespace

void RegisterFormSkinning()
{
    SetFormSkinnerFactory(MakeFormSkinner);
    RegisterPopupMenuSkinning();
}

// The program's link names this symbol so that the form skinner is part of
// it: nothing else in the program calls into this module by name.
extern "C" void RavelbookFormSkinning()
{
    RegisterFormSkinning();
}

// ---- message scopes ------------------------------------------------------------

TMessageScope::TMessageScope(TWinSkinForm* form) : Form(form), Outer(form->FScopes)
{
    form->FScopes = this;
    ++form->FRunning;
}

TMessageScope::~TMessageScope()
{
    if (Dead) return;
    Form->FScopes = Outer;
    if (--Form->FRunning == 0 && Form->FFreePending) delete Form;
}

// ---- creation and destruction ------------------------------------------------

TWinSkinForm::TWinSkinForm(TComponent* owner)
    : TComponent(owner)
{
    FCaptionPrefix = L"  ";
    FCaptionSuffix = L" ";
    FDoubleClickTime = static_cast<int>(GetDoubleClickTime());
    MakeCaptionFont();
    FCanvas = std::make_unique<TCanvas>();
    FControlCanvas = std::make_unique<TCanvas>();
    FControls.clear();
    FIconBitmap = std::make_unique<TBitmap>();
    FFrameBitmap = std::make_unique<TBitmap>();
    FActive = 1;
    FSkinState = fssAttached;
}

TWinSkinForm::~TWinSkinForm()
{
    // Handlers of messages still on the stack must not touch this object.
    for (TMessageScope* scope = FScopes; scope; scope = scope->Outer) scope->Dead = true;
    FScopes = nullptr;
    if (FAliveWhileTracking) *FAliveWhileTracking = false;
    try {
        // A skinner freed while its window lives lets go of it first.
        if (FWndProcInstance || FClientProcInstance) DetachOnDestroy();
        FreeControlSkinners();
        FreeButtons();
        FFrameBitmap.reset();
        if (FTimer) FTimer->SetEnabled(false);
        FTimer.reset();
        FreeMenuBar(false);
        FreeSystemMenuPopup();
        FCaptionFont.reset();
        FIconBitmap.reset();
        ForgetCaptionIcon();
        FCanvas.reset();
        FControlCanvas.reset();
        if (TSkinManage* manager = SkinManager()) manager->ForgetFormSkinner(static_cast<TFormSkinnerLink*>(this));
    } catch (...) {
    }
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    // A drop-down menu skinned for a control went away: nothing to give back.
    if (operation == opRemove)
        FSavedMenuDraw.erase(std::remove_if(FSavedMenuDraw.begin(), FSavedMenuDraw.end(),
                                            [&](const TSavedMenuDraw& saved) { return saved.Menu == component; }),
                             FSavedMenuDraw.end());
}

void TWinSkinForm::FreeSkinner()
{
    if (FRunning > 0) {
        FFreePending = true;
        return;
    }
    delete this;
}

void TWinSkinForm::SetWindow(HWND window, HINSTANCE managerTag, const std::string& managerClassName)
{
    FHandle = window;
    FManagerTag = managerTag;
    FManagerClassName = managerClassName;
}

void TWinSkinForm::MakeCaptionFont()
{
    FCaptionFont = std::make_unique<TFont>();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        // The system's caption font is sized for the system's scale.
        const UINT system = SystemDpi();
        if (FDpi && system && FDpi != system)
            metrics.lfCaptionFont.lfHeight = MulDiv(metrics.lfCaptionFont.lfHeight, static_cast<int>(FDpi),
                                                    static_cast<int>(system));
        FCaptionFont->SetLogFont(metrics.lfCaptionFont);
    }
}

// ---- display scale ------------------------------------------------------------------

const TSkinModel& TWinSkinForm::Skin() const
{
    return FSkinData->ModelFor(FDpi);
}

int TWinSkinForm::Scaled(int value) const
{
    return ScaleToDpi(value, FDpi);
}

HFONT TWinSkinForm::MenuFont()
{
    const UINT system = SystemDpi();
    if (!FDpi || FDpi == system) return ScreenMenuFont();
    if (FMenuFont.IsNull() || FMenuFontDpi != FDpi) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return ScreenMenuFont();
        metrics.lfMenuFont.lfHeight = MulDiv(metrics.lfMenuFont.lfHeight, static_cast<int>(FDpi), static_cast<int>(system));
        FMenuFont.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
        FMenuFontDpi = FDpi;
        if (FMenuFont.IsNull()) return ScreenMenuFont();
    }
    return FMenuFont.Get();
}

bool TWinSkinForm::TakeWindowDpi(UINT dpi)
{
    if (dpi == 0 || dpi == FDpi || !FAttached) return false;
    FDpi = dpi;
    MakeCaptionFont();
    FMenuFont.Reset(nullptr);
    FMenuFontDpi = 0;
    ForgetFrameParts();
    ForgetCaptionIcon();
    if (FSkinFrame && FSkinData && !FSkinData->NoSkin()) {
        if (FMenuBar) FMenuHeight = SystemMetricForDpi(SM_CYMENU, FDpi);
        RebuildButtons();
    }
    ReloadControlSkins();
    return true;
}

void TWinSkinForm::FinishDpiChange(const RECT& before, const RECT* suggested)
{
    RECT now{};
    GetWindowRect(FHandle, &now);
    constexpr UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (suggested && EqualRect(&now, &before) && !IsIconic(FHandle) && !IsZoomed(FHandle)) {
        POINT at{suggested->left, suggested->top};
        if (HWND parent = GetParent(FHandle); parent && (GetWindowLongA(FHandle, GWL_STYLE) & WS_CHILD))
            ScreenToClient(parent, &at);
        SetWindowPos(FHandle, nullptr, at.x, at.y, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, flags);
    } else {
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE);
    }
    if (FSkinFrame && (FSkinState == fssSkinned || FSkinState == fssChangingSkin)) {
        if (FMenuBar) FMenuBar->Layout();
        UpdateRegion();
    }
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---- attaching -------------------------------------------------------------

void TWinSkinForm::CommonAttach(TSkinData* skinData)
{
    if (FWndProcInstance || FAttached) return;
    FAttached = true;
    TSkinManage* manager = SkinManager();
    if (manager) manager->RunState = SKIN_RUN_STARTED;
    FSkinData = skinData;
    // The skin is laid out at the window's scale from the start.
    FDpi = WindowDpi(FHandle);
    MakeCaptionFont();

    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(HOVER_INTERVAL_MS);
    FTimer->OnTimer = [this](TObject* sender) {
        try {
            HoverTimer(sender);
        } catch (...) {
        }
    };

    FSkinFrame = (skinData->SkinControls() & SkinControl(xcMainMenu)) ? 1 : 0;

    FStyle = GetWindowLongA(FHandle, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(FHandle, GWL_EXSTYLE);
    FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) ? 1 : 0;
    FIsChild = (FStyle & WS_CHILD) ? 1 : 0;
    {
        char name[100] = {};
        GetClassNameA(FHandle, name, sizeof name);
        FClassName = name;
    }
    FOwnerWindow = GetWindow(FHandle, GW_OWNER);

    FStyleFlags = 0;
    if ((FStyle & WS_SYSMENU) || FSystemMenu) FStyleFlags |= sfSystemMenu;
    if (FStyle & WS_MINIMIZEBOX) FStyleFlags |= sfMinimizeBox;
    if (FStyle & WS_MAXIMIZEBOX) FStyleFlags |= sfMaximizeBox;
    if (exStyle & WS_EX_CONTEXTHELP) FStyleFlags |= sfHelpButton;

    ReadWindowState();

    FSizeable = (FStyle & WS_THICKFRAME) ? 1 : 0;
    FWindowKind = wkPlain;
    for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsClassNamed(child, "MDIClient")) {
            FWindowKind = wkMdiFrame;
            FMDIClient = child;
            if (manager) {
                manager->MdiClient = child;
                manager->MdiFrameForm = As<TCustomForm>(FForm);
            }
            break;
        }
    }
    if (exStyle & WS_EX_MDICHILD) {
        FWindowKind = wkMdiChild;
        if (skinData->Options() & SkinOption(xoMDIChildBorder)) FSkinFrame = 0;
    }

    if ((FStyle & WS_CAPTION) != WS_CAPTION)
        FBorderKind = bkNone;
    else if (FStyle & WS_THICKFRAME)
        FBorderKind = bkSizeable;
    else if (FStyle & DS_MODALFRAME)
        FBorderKind = bkDialog;
    else
        FBorderKind = bkSingle;
    if (exStyle & WS_EX_DLGMODALFRAME) FBorderKind = bkDialog;

    const OSVERSIONINFOA version = PlatformVersion();
    const bool newShell = version.dwMajorVersion > 4 && version.dwMinorVersion == 0;
    if (((exStyle & WS_EX_APPWINDOW) && SkinIsWinNT() && newShell) ||
        (!FOwnerWindow && FWindowKind != wkMdiChild && newShell))
        FStyleFlags |= sfKeepSysMenuStyle;

    FUnicode = IsWindowUnicode(FHandle) ? 1 : 0;
    if (FClassName == "#32770" || FClassName == "TMessageForm") {
        FBorderKind = bkDialog;
        FDialogClass = 1;
    }

    if (manager && manager->HideWhileSkinning && !FIsChild && FSkinFrame && FBorderKind != bkNone) {
        FStyle &= ~WS_VISIBLE;
        SetWindowLongA(FHandle, GWL_STYLE, FStyle);
    }

    if (!SkinIsWinNT()) skinData->SetSkinControls(skinData->SkinControls() & ~SkinControl(xcSystemMenu));

    if (FWindowKind == wkMdiFrame) {
        FSavedMenuUpdate = skinData->MenuUpdate() ? 1 : 0;
        FClientProcInstance = TWndProcThunk::Create(this, ClientThunkProc);
        if (FClientProcInstance)
            FOldClientProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(FMDIClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FClientProcInstance->Proc())));
    }

    FWndProcInstance = TWndProcThunk::Create(this, FormThunkProc);
    if (FWndProcInstance) {
        FWndProcUnicode = FUnicode != 0;
        const auto proc = reinterpret_cast<LONG_PTR>(FWndProcInstance->Proc());
        FOldWndProc = reinterpret_cast<WNDPROC>(FWndProcUnicode ? SetWindowLongPtrW(FHandle, GWLP_WNDPROC, proc)
                                                                : SetWindowLongPtrA(FHandle, GWLP_WNDPROC, proc));
    }

    if (FSkinFrame) {
        FNativeMenu = GetMenu(FHandle);
        if (FNativeMenu && FWindowKind != wkMdiChild) {
            CreateMenuBar();
            if (FMenuBar) FMenuHeight = SystemMetricForDpi(SM_CYMENU, FDpi);
        }
        const bool keepStyle = (FWindowKind == wkMdiChild && manager && manager->MdiMaximized) ||
                               FWindowState == fwsMinimized;
        if (!keepStyle) SetNativeStyle(false);
        RebuildButtons();
    } else {
        FSkinState = fssSkinned;
    }

    if (FWindowKind == wkMdiChild) {
        const int native = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (FBorderTop < native) FMenuHeight = native - FBorderTop;
        if (FWindowState == fwsMaximized && manager && !manager->MdiMaximized) manager->SetMdiMaximized(true);
    }
}

void TWinSkinForm::AttachForm(TSkinData* skinData, TCustomForm* form)
{
    FForm = form;
    if (skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(form, FHandle, FManagerClassName);
    if (skinData->SkinControls() & SkinControl(xcMenuItem)) form->SetAutoScroll(false);
    CommonAttach(skinData);
    if (FSkinFrame && !FOldFormWndProc) {
        FOldFormWndProc = form->WindowProc();
        form->SetWindowProc(TWndMethod(this, &TWinSkinForm::FormWndProc));
    }
    FSavedColor = form->Color();
    form->SetColor(static_cast<TColor>(skinData->FaceColour()));
    // The form's popup menus (with xcPopupMenu) and main menus (with
    // xcMenuItem) are drawn from the skin.
    SetMenusOwnerDraw(true);
}

void TWinSkinForm::AttachPlainWindow(TSkinData* skinData)
{
    CommonAttach(skinData);
}

// ---- activation --------------------------------------------------------------

void TWinSkinForm::Activate()
{
    TSkinManage* manager = SkinManager();
    FSystemMenu = GetSystemMenu(FHandle, FALSE);
    LoadIconBitmap();
    RECT window{};
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &FClientRect);
    FNativeFrame = RECT{0, 0, (window.right - window.left) - (FClientRect.right - FClientRect.left),
                        (window.bottom - window.top) - (FClientRect.bottom - FClientRect.top)};

    if (manager && manager->HideWhileSkinning) {
        manager->HideWhileSkinning = false;
        const LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        if (!(style & WS_VISIBLE)) SetWindowLongA(FHandle, GWL_STYLE, style | WS_VISIBLE);
    }

    SkinChildControls();

    if (FSkinState == fssAttached) {
        if (FWindowKind == wkMdiChild) {
            if (FWindowState == fwsMaximized) {
                if (FMDIClient || (manager && manager->MdiClient))
                    PostMessageA(manager ? manager->MdiClient : FMDIClient, SKM_REDRAWMDICLIENT,
                                 reinterpret_cast<WPARAM>(FHandle), 0);
            } else if (FWindowState == fwsMinimized) {
                SetNativeStyle(true);
            } else {
                FSkinState = fssResizing;
                FitToFrame(false);
                FSkinState = fssSkinned;
                UpdateRegion();
            }
        } else if (!FIsChild && FBorderKind != bkNone && FWindowState != fwsMinimized) {
            // Fitting the frame changes the client size, and the form lays
            // out all its controls again: with drawing held, that is one
            // repaint of the whole window instead of one per moved control.
            const bool hold = IsWindowVisible(FHandle) != FALSE;
            if (hold) SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
            FSkinState = fssResizing;
            FitToFrame(false);
            FSkinState = fssSkinned;
            if (FWindowState == fwsMaximized)
                SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, FRAME_CHANGE_FLAGS);
            else if (!FRegion)
                SetRegion(false);   // the first region only takes pixels away: the repaint below covers it
            else
                UpdateRegion();
            if (hold) {
                SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
                RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
        }
    }

    SendMessageA(FHandle, SKM_SKINFINISHED, 0, SKIN_SIGNATURE);
    if (FSkinData && FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FForm, FHandle, FManagerClassName);
    FSkinState = fssSkinned;
    if (FTimer) FTimer->SetEnabled(true);
}

void TWinSkinForm::ReadWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(FHandle, &placement)) return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = fwsMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = fwsMaximized; break;
    default: FWindowState = fwsNormal; break;
    }
}

void TWinSkinForm::SetNormalWindowState()
{
    FWindowState = fwsNormal;
}

// ---- fitting the window ----------------------------------------------------------

void TWinSkinForm::FitToFrame(bool afterSkinChange)
{
    if (FWindowState == fwsMaximized) {
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, FRAME_CHANGE_FLAGS);
        return;
    }
    int width = 0, height = 0;
    if (afterSkinChange || FDialogClass || FSkinState == fssChangingSkin) {
        RECT client{};
        GetClientRect(FHandle, &client);
        width = client.right - client.left;
        height = client.bottom - client.top;
    } else if (FForm) {
        width = FForm->ClientWidth();
        height = FWindowKind == wkMdiChild ? FForm->ClientHeight() : FForm->ClientHeight() - FMenuHeight;
    } else {
        width = FClientRect.right - FClientRect.left;
        height = FClientRect.bottom - FClientRect.top;
    }
    int newWidth = width + FBorderLeft + FBorderRight;
    const int newHeight = height + FBorderTop + FBorderBottom + FMenuHeight;

    // A dialog whose caption is wider than the dialog is widened to show it,
    // its controls moved right to stay centred.
    if (FDialogClass && FSkinState == fssResizing && FSkinData && Skin().Title.get()) {
        const TDataSkinTitle* title = Skin().Title.get();
        const int length = GetWindowTextLengthA(FHandle);
        std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
        GetWindowTextA(FHandle, text.data(), length + 1);
        text.resize(static_cast<size_t>(std::max(length, 0)));
        SIZE extent{};
        if (HDC dc = GetDC(FHandle)) {
            HGDIOBJ old = SelectObject(dc, FCaptionFont->Handle());
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(dc, old);
            ReleaseDC(FHandle, dc);
        }
        // The title keeps TextShift in LeftWidth and TextRightClip in RightWidth.
        const int minimum = title->LeftWidth + extent.cx + title->RightWidth;
        if (newWidth < minimum) {
            const int shift = (minimum - newWidth) / 2;
            for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT bounds{};
                GetWindowRect(child, &bounds);
                MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&bounds), 2);
                SetWindowPos(child, nullptr, bounds.left + shift, bounds.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            newWidth = minimum;
        }
    }
    SetWindowPos(FHandle, nullptr, 0, 0, newWidth, newHeight,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

// ---- caption style bits ------------------------------------------------------------

void TWinSkinForm::SetNativeStyle(bool on)
{
    TSkinManage* manager = SkinManager();
    if (!on && manager && manager->MdiMaximized) return;
    FStyle = GetWindowLongA(FHandle, GWL_STYLE);
    if (on) {
        if (FStyleFlags & sfSystemMenu) FStyle |= WS_SYSMENU;
        if (FStyleFlags & sfMinimizeBox) FStyle |= WS_MINIMIZEBOX;
        if (FStyleFlags & sfMaximizeBox) FStyle |= WS_MAXIMIZEBOX;
    } else {
        FStyle &= ~CAPTION_STYLE_BITS;
    }
    SetWindowLongA(FHandle, GWL_STYLE, FStyle);
}

// ---- skin change -------------------------------------------------------------------

void TWinSkinForm::ApplySkinChange()
{
    if (!FSkinData) return;
    const auto face = static_cast<TColor>(FSkinData->FaceColour());
    if (FForm) {
        FForm->SetColor(face);
        for (int i = 0; i < FForm->ComponentCount(); ++i) {
            TComponent* component = FForm->Components(i);
            if (auto* form = As<TCustomForm>(component)) form->SetColor(face);
            else if (InheritsFromClassNamed(component, "TCustomGrid") && FindPropInfo(component, "FixedColor"))
                SetOrdProp(*component, "FixedColor", face);
        }
    }
    // The controls' new looks, the new frame size and the re-layout are all
    // drawn in one repaint of the window at the end.
    const bool hold = FSkinFrame && FForm && IsWindowVisible(FHandle);
    if (hold) SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    ReloadControlSkins();
    ForgetFrameParts();
    FSkinState = fssChangingSkin;
    if (FSkinFrame && FForm) {
        SetMenusOwnerDraw(true);
        FitToFrame(true);
        const int height = FForm->Height();
        FForm->SetHeight(height + 1);
        FForm->SetHeight(height);
    }
    if (hold) {
        SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    SendMessageA(FHandle, SKM_SKINFINISHED, 0, SKIN_SIGNATURE);
    if (FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FForm, FHandle, FManagerClassName);
    FSkinState = fssSkinned;
}

// ---- detaching -----------------------------------------------------------------------

void TWinSkinForm::RestoreWindowProcs()
{
    if (FForm && FOldFormWndProc) {
        if (FForm->WindowProc() == TWndMethod(this, &TWinSkinForm::FormWndProc)) FForm->SetWindowProc(FOldFormWndProc);
        FOldFormWndProc = TWndMethod();
    }
    UnsubclassThunk(FHandle, FWndProcInstance, FOldWndProc, FWndProcUnicode);
}

void TWinSkinForm::RestoreClientProc()
{
    UnsubclassThunk(FMDIClient, FClientProcInstance, FOldClientProc, false);
}

void TWinSkinForm::Unskin()
{
    if (FTimer) FTimer->SetEnabled(false);
    if (!FSkinFrame) {
        FreeControlSkinners();
        if (FForm) {
            SetMenusOwnerDraw(false);
            FForm->SetColor(FSavedColor);
        }
        RestoreWindowProcs();
        RestoreClientProc();
        if (FForm)
            for (int i = 0; i < FForm->ComponentCount(); ++i)
                if (auto* control = As<TControl>(FForm->Components(i))) control->Invalidate();
        return;
    }

    FreeSystemMenuPopup();
    RestoreWindowProcs();

    FreeControlSkinners();
    if (FForm) {
        SetMenusOwnerDraw(false);
        FForm->SetColor(FSavedColor);
    }

    if (FStyleFlags & sfSystemMenu) SetWindowLongA(FHandle, GWL_STYLE, GetWindowLongA(FHandle, GWL_STYLE) | WS_SYSMENU);
    SetNativeStyle(true);
    FreeMenuBar(true);
    RestoreClientProc();

    if (!FIsChild || FWindowKind == wkMdiChild) {
        RECT window{};
        GetWindowRect(FHandle, &window);
        const int width = (window.right - window.left) + FNativeFrame.right - FBorderLeft - FBorderRight;
        const int height = (window.bottom - window.top) + FNativeFrame.bottom - FBorderTop - FBorderBottom;
        POINT origin{window.left, window.top};
        if (FWindowKind == wkMdiChild) ScreenToClient(GetParent(FHandle), &origin);
        if (FWindowState == fwsMaximized)
            SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, FRAME_CHANGE_FLAGS);
        else
            SetWindowPos(FHandle, nullptr, origin.x, origin.y, width, height,
                         SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    FRegion = nullptr;
    FRegionValid = 0;
    FRegionWidth = FRegionHeight = 0;
    SetWindowRgn(FHandle, nullptr, TRUE);
    FSkinState = fssDestroyed;
}

void TWinSkinForm::DetachOnDestroy()
{
    FreeSystemMenuPopup();
    if (FTimer) FTimer->SetEnabled(false);
    RestoreWindowProcs();
    RestoreClientProc();
    FreeControlSkinners();
    FreeMenuBar(false);
}

void TWinSkinForm::RemoveRegion()
{
    // The region belongs to the system once the window holds it; taking it
    // away frees it.
    FRegion = nullptr;
    FRegionValid = 0;
    FRegionWidth = FRegionHeight = 0;
    if (IsWindow(FHandle)) SetWindowRgn(FHandle, nullptr, FWindowKind == wkMdiChild);
}

// ---- control skinners ----------------------------------------------------------------

void TWinSkinForm::AddControlSkinner(TSkinControl* skinner)
{
    if (skinner && std::find(FControls.begin(), FControls.end(), skinner) == FControls.end())
        FControls.push_back(skinner);
}

void TWinSkinForm::RemoveControlSkinner(TSkinControl* skinner)
{
    FControls.erase(std::remove(FControls.begin(), FControls.end(), skinner), FControls.end());
}
