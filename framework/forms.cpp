// Forms and the list of open forms (see forms.h).
#include "framework/forms.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/display_scale.h"
#include "framework/menus.h"

const TEnumInfo FormBorderStyleEnum{"TFormBorderStyle",
                                    {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumInfo BorderIconEnum{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
const TEnumInfo FormStyleEnum{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
const TEnumInfo PositionEnum{"TPosition",
                             {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
                              "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};
const TEnumInfo WindowStateEnum{"TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"}};

namespace {

// Loaded for everything `owner` owns, the innermost first.
void LoadComponents(TComponent* owner)
{
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        LoadComponents(c);
        if (c->HasState(csLoading)) c->Loaded();
    }
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM list)
{
    if (IsWindowVisible(window) && IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

using PForm = TPropBuilder<TCustomForm>;
IMPLEMENT_CLASS(TCustomForm,
    PForm::Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll),
    PForm::Enum("BiDiMode", BiDiModeEnum, &TCustomForm::BiDiMode, &TCustomForm::SetBiDiMode),
    PForm::Set("BorderIcons", BorderIconEnum, &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons),
    PForm::Enum("BorderStyle", FormBorderStyleEnum, &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle),
    PForm::String("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption),
    PForm::Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight),
    PForm::Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth),
    PForm::Integer("Color", &TCustomForm::Color, &TCustomForm::SetColor),
    PForm::Object("Font", &TCustomForm::Font, &TCustomForm::SetFont),
    PForm::Enum("FormStyle", FormStyleEnum, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle),
    PForm::Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview),
    PForm::Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch),
    PForm::Enum("Position", PositionEnum, &TCustomForm::Position, &TCustomForm::SetPosition),
    PForm::Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled),
    PForm::Enum("WindowState", WindowStateEnum, &TCustomForm::WindowState, &TCustomForm::SetWindowState))

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    BeginLoading();
    FVisible = false;
    FParentFont = false;
    FControlStyle |= csAcceptsControls;
    FLeft = 0;
    FTop = 0;
    FWidth = 320;
    FHeight = 240;
    if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    SetComponentState(csDestroying);
    if (FCreated && OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application) Application->HandleException(std::current_exception(), this);
        }
    }
    if (Screen) Screen->RemoveForm(this);
    if (Application) Application->FormDestroyed(this);
    // The controls go while the form is still a form.
    DestroyComponents();
    while (!FControls.empty()) FControls.back()->SetParent(nullptr);
    DestroyHandle();
}

void TCustomForm::FinishCreation()
{
    if (FCreated) return;
    FCreated = true;
    // The design's pixels become the monitor's while the form is still
    // loading: its aligned controls are laid out once, at the new scale.
    if (FScaled) {
        const int dpi = static_cast<int>(WindowDpi(FHandle));
        if (dpi != FCurrentPixelsPerInch) ChangeScale(dpi, FCurrentPixelsPerInch);
    }
    LoadComponents(this);
    if (HasState(csLoading)) Loaded();
    DoCreate();
}

void TCustomForm::SetPixelsPerInch(int value)
{
    // The design's scale; a form that is already laid out keeps its layout.
    if (value <= 0) return;
    FPixelsPerInch = value;
    if (!FCreated) {
        FCurrentPixelsPerInch = value;
        Font()->SetPixelsPerInch(value);
    }
}

void TCustomForm::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0) return;
    // The client area scales; the frame is the system's at the new scale.
    // The children first, as for any windowed control (an OnResize that
    // places controls places them at their new sizes).
    // The client size is read before anything changes: larger minimum
    // constraints would widen the window at once.
    const RECT client = ClientRect();
    DisableAlign();
    try {
        ScaleConstraints(multiplier, divisor);
        ScaleChildren(multiplier, divisor);
        SetBounds(MulDiv(FLeft, multiplier, divisor), MulDiv(FTop, multiplier, divisor), FWidth, FHeight);
        SetClientSize(MulDiv(client.right, multiplier, divisor), MulDiv(client.bottom, multiplier, divisor));
        ScaleFont(multiplier, divisor);
    } catch (...) {
        EnableAlign();
        throw;
    }
    FCurrentPixelsPerInch = MulDiv(FCurrentPixelsPerInch, multiplier, divisor);
    EnableAlign();
}

void TCustomForm::DpiChanged(int dpi, const RECT* suggested)
{
    NoteWindowDpi(FHandle, static_cast<UINT>(dpi));
    DisableAlign();
    try {
        const int old = FCurrentPixelsPerInch;
        const bool rescale = FScaled && dpi != old;
        if (rescale) {
            ScaleConstraints(dpi, old);
            ScaleChildren(dpi, old);
            FCurrentPixelsPerInch = dpi;
        }
        if (suggested)
            SetWindowPos(FHandle, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (rescale) ScaleFont(dpi, old);
    } catch (...) {
        EnableAlign();
        throw;
    }
    // Laid out once, then painted once, frame and children included.
    EnableAlign();
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TCustomForm::DoCreate()
{
    if (!OnCreate) return;
    try {
        OnCreate(this);
    } catch (...) {
        if (!Application) throw;
        Application->HandleException(std::current_exception(), this);
    }
}

void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action)
{
    if (OnClose) OnClose(this, action);
}

void TCustomForm::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    p.ExStyle = WS_EX_CONTROLPARENT;
    if (!FEnabled) p.Style |= WS_DISABLED;
    bool icons = true;
    switch (FBorderStyle) {
    case bsNone:
        p.Style |= WS_POPUP;
        icons = false;
        break;
    case bsSingle: p.Style |= WS_CAPTION; break;
    case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        p.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        p.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        p.Style |= WS_CAPTION;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        p.Style |= WS_CAPTION | WS_THICKFRAME;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (icons && (FBorderIcons & BorderIcon(biSystemMenu))) {
        p.Style |= WS_SYSMENU;
        bool boxes = FBorderStyle != bsDialog && FBorderStyle != bsToolWindow && FBorderStyle != bsSizeToolWin;
        if (boxes && (FBorderIcons & BorderIcon(biMinimize))) p.Style |= WS_MINIMIZEBOX;
        if (boxes && (FBorderIcons & BorderIcon(biMaximize))) p.Style |= WS_MAXIMIZEBOX;
        if (FBorderIcons & BorderIcon(biHelp)) p.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (FFormStyle == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    p.ExStyle |= BiDiExStyle(FBiDiMode);
    p.WndParent = FParentWindow;
    if (FFormStyle == fsMDIChild) {
        // A child of its frame's MDI client, made with the system's MDI
        // child style.
        TCustomForm* frame = MDIParentForm();
        if (!frame) throw EInvalidOperation("Cannot create an MDI child form without an MDI frame");
        frame->HandleNeeded();
        p.Style = (p.Style & ~WS_POPUP) | WS_CHILD;
        p.ExStyle |= WS_EX_MDICHILD;
        p.WndParent = frame->ClientHandle();
    }
    p.WindowClass.hIcon = Application ? Application->Icon() : LoadIconA(nullptr, IDI_APPLICATION);
}

void TCustomForm::SetMenu(TMainMenu* menu)
{
    if (FMenu == menu) return;
    if (FMenu) FMenu->RemoveFreeNotification(this);
    FMenu = menu;
    if (menu) menu->FreeNotification(this);
    if (FFormStyle == fsMDIChild) {
        // A child's menu shows in its frame's bar while the child is active.
        if (TCustomForm* frame = MDIParentForm(); frame && FHandle && frame->ActiveMDIChild() == this)
            frame->MergeChildMenu(this);
        return;
    }
    if (FHandle) {
        ::SetMenu(FHandle, menu ? menu->Handle() : nullptr);
        DrawMenuBar(FHandle);
        SetMDIMenus();
    }
}

void TCustomForm::SetBiDiMode(TBiDiMode value)
{
    if (value == FBiDiMode) return;
    FBiDiMode = value;
    RecreateWnd();
    if (FMenu) FMenu->MenuChanged();
}

void TCustomForm::CreateWindowDone()
{
    if (FFormStyle == fsMDIForm) CreateMDIClient();
    if (FMenu && FFormStyle != fsMDIChild) {
        ::SetMenu(FHandle, FMenu->Handle());
        SetMDIMenus();
    }
    if (FIcon) ::SendMessageA(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(FIcon));
    // A form shown before its window was rebuilt is shown again.
    if (FVisible) ShowWindow(FHandle, SW_SHOWNORMAL);
}

void TCustomForm::PlaceOnScreen()
{
    if (FPlaced) return;
    FPlaced = true;
    int x = FLeft, y = FTop;
    switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter:
        x = (GetSystemMetrics(SM_CXSCREEN) - FWidth) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - FHeight) / 2;
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* centre = Application ? Application->MainForm() : nullptr;
        if (FPosition == poOwnerFormCenter) centre = As<TCustomForm>(Owner()) ? As<TCustomForm>(Owner()) : centre;
        if (centre && centre != this) {
            x = centre->Left() + (centre->Width() - FWidth) / 2;
            y = centre->Top() + (centre->Height() - FHeight) / 2;
        } else {
            x = (GetSystemMetrics(SM_CXSCREEN) - FWidth) / 2;
            y = (GetSystemMetrics(SM_CYSCREEN) - FHeight) / 2;
        }
        break;
    }
    default: return;
    }
    SetBounds(std::max(x, 0), std::max(y, 0), FWidth, FHeight);
}

void TCustomForm::SetVisible(bool value)
{
    if (value) {
        if (!FCreated) FinishCreation();
        HandleNeeded();
        PlaceOnScreen();
    }
    if (value == FVisible && (!FHandle || (IsWindowVisible(FHandle) != 0) == value)) return;
    FVisible = value;
    if (FHandle) {
        int show = SW_SHOWNORMAL;
        if (value && FWindowState == wsMinimized) show = SW_SHOWMINIMIZED;
        if (value && FWindowState == wsMaximized) show = SW_SHOWMAXIMIZED;
        ShowWindow(FHandle, value ? show : SW_HIDE);
    }
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FInModal) {
        if (CloseQuery()) {
            TCloseAction action = caHide;
            DoClose(action);
            if (action != caNone) FModalResult = FModalResult ? FModalResult : mrCancel;
        }
        return;
    }
    if (!CloseQuery()) return;
    // An MDI child that closes goes away.
    TCloseAction action = FFormStyle == fsMDIChild ? caFree : caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
    }
}

void TCustomForm::Release()
{
    if (FHandle)
        PostMessageA(FHandle, CM_RELEASE, 0, 0);
    else
        delete this;
}

int TCustomForm::ShowModal()
{
    if (FInModal || FVisible) throw EInvalidOperation("Cannot make a visible window modal");
    // Every other enabled top-level window of the thread waits.
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND w : disabled) EnableWindow(w, FALSE);
    FInModal = true;
    FModalResult = mrNone;
    try {
        Show();
        while (FModalResult == mrNone && FInModal) {
            if (!Application || !Application->HandleMessage()) break;
        }
    } catch (...) {
        FInModal = false;
        for (HWND w : disabled) EnableWindow(w, TRUE);
        throw;
    }
    FInModal = false;
    for (HWND w : disabled) EnableWindow(w, TRUE);
    Hide();
    return FModalResult;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    if (value == FBorderIcons) return;
    FBorderIcons = value & 0xF;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value)
{
    if (value == FFormStyle) return;
    const bool mdi = value == fsMDIChild || value == fsMDIForm || FFormStyle == fsMDIChild || FFormStyle == fsMDIForm;
    FFormStyle = value;
    if (mdi) {
        RecreateWnd();
        return;
    }
    if (FHandle)
        SetWindowPos(FHandle, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const
{
    if (FHandle) {
        if (IsIconic(FHandle)) return wsMinimized;
        if (IsZoomed(FHandle)) return wsMaximized;
        return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    FWindowState = value;
    if (FHandle && FVisible && FFormStyle == fsMDIChild && value != wsMinimized) {
        // The frame's client maximizes and restores its children.
        if (TCustomForm* frame = MDIParentForm(); frame && frame->ClientHandle()) {
            ::SendMessageA(frame->ClientHandle(), value == wsMaximized ? WM_MDIMAXIMIZE : WM_MDIRESTORE,
                           reinterpret_cast<WPARAM>(FHandle), 0);
            return;
        }
    }
    if (FHandle && FVisible) {
        static const int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
        ShowWindow(FHandle, commands[value]);
    }
}

void TCustomForm::SetIcon(HICON icon)
{
    FIcon = icon;
    if (FHandle) ::SendMessageA(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control && GetParentForm(control) != this)
        throw EInvalidOperation("The active control must be on the form");
    if (FActive && control && control->CanFocus())
        control->SetFocus();
    else
        SetFocusedControl(control);
}

void TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (control == FActiveControl) return;
    TWinControl* old = FActiveControl;
    FActiveControl = control;
    if (old) old->Perform(CM_EXIT);
    if (control && control == FActiveControl) control->Perform(CM_ENTER);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(FActiveControl));
}

void TCustomForm::SelectNext(TWinControl* current, bool forward)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return;
    int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[i] == current) start = i;
    if (start < 0) start = forward ? n - 1 : 0;
    for (int step = 1; step <= n; ++step) {
        TWinControl* c = list[((start + (forward ? step : -step)) % n + n) % n];
        if (c->TabStop() && c->CanFocus()) {
            c->SetFocus();
            return;
        }
    }
}

void TCustomForm::RemoveHint(TControl* control)
{
    TOOLINFOA tool;
    if (FHintWindow && IsWindow(FHintWindow) && HintTool(control, tool))
        ::SendMessageA(FHintWindow, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TCustomForm::ControlRemoving(TControl* control)
{
    RemoveHint(control);
    for (TControl* c = FActiveControl; c; c = c->Parent()) {
        if (c == control) {
            FActiveControl = nullptr;
            return;
        }
    }
}

bool TCustomForm::HintTool(TControl* control, TOOLINFOA& tool) const
{
    if (!FHandle || !control || control == this) return false;
    auto* windowed = As<TWinControl>(control);
    HWND host = windowed ? FHandle : (control->Parent() ? control->Parent()->HandleIfAllocated() : nullptr);
    if (!host || (windowed && !windowed->HandleAllocated())) return false;
    tool = TOOLINFOA{};
    tool.cbSize = sizeof tool;
    tool.hwnd = host;
    if (windowed) {
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.uId = reinterpret_cast<UINT_PTR>(windowed->HandleIfAllocated());
    } else {
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.rect = control->BoundsRect();
    }
    return true;
}

HWND TCustomForm::HintWindow()
{
    // Making the form's window may register hints, and so make the tooltip.
    HWND owner = Handle();
    if (FHintWindow && IsWindow(FHintWindow)) return FHintWindow;
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    FHintWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!FHintWindow) return nullptr;
    if (Application) {
        ::SendMessageA(FHintWindow, TTM_SETDELAYTIME, TTDT_INITIAL, Application->HintPause());
        ::SendMessageA(FHintWindow, TTM_SETDELAYTIME, TTDT_AUTOPOP, Application->HintHidePause());
        ::SendMessageA(FHintWindow, TTM_SETDELAYTIME, TTDT_RESHOW, Application->HintShortPause());
    }
    ::SendMessageA(FHintWindow, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    return FHintWindow;
}

void TCustomForm::UpdateHint(TControl* control)
{
    TOOLINFOA tool;
    if (!HintTool(control, tool)) return;
    bool wanted = control->ShowHint() && !control->Hint().empty() && !control->HasState(csDestroying) &&
                  (!Application || Application->ShowHint());
    if (!wanted && !(FHintWindow && IsWindow(FHintWindow))) return;
    HWND tip = HintWindow();
    if (!tip) return;
    ::SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    if (!wanted) return;
    std::string text = control->Hint();
    tool.lpszText = text.data();
    ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool TCustomForm::PreviewKey(TMessage& m)
{
    if (m.Msg == WM_CHAR) {
        if (!OnKeyPress) return true;
        char key = static_cast<char>(m.WParam);
        OnKeyPress(this, key);
        m.WParam = static_cast<unsigned char>(key);
        return key != 0;
    }
    const TKeyEvent& event = (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) ? OnKeyDown : OnKeyUp;
    if (!event) return true;
    WORD key = static_cast<WORD>(m.WParam);
    event(this, key, KeyboardShiftState());
    m.WParam = key;
    return key != 0;
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FActiveControl) FActiveControl = nullptr;
    if (operation == opRemove && component == FMenu) {
        // The window lets go of the native menu before the menu destroys it.
        if (FHandle && IsWindow(FHandle)) ::SetMenu(FHandle, nullptr);
        FMenu = nullptr;
    }
}

void TCustomForm::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        delete this;  // nothing of this object may be used after this line
        return;
    case WM_DPICHANGED:
        DpiChanged(LOWORD(m.WParam), reinterpret_cast<const RECT*>(m.LParam));
        m.Result = 0;
        return;
    case WM_NCDESTROY:
        ForgetWindowDpi(FHandle);
        break;
    case WM_SHOWWINDOW:
        TWinControl::WndProc(m);
        if (m.WParam)
            DoShow();
        else
            DoHide();
        return;
    case WM_ACTIVATE:
        TWinControl::WndProc(m);
        if (LOWORD(m.WParam) != WA_INACTIVE) {
            FActive = true;
            if (Screen) Screen->SetActiveForm(this);
            if (!HIWORD(m.WParam)) {
                // Give the focus back to the control that had it, or to the
                // first one that can take it.
                if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated())
                    ::SetFocus(FActiveControl->HandleIfAllocated());
                else if (!FActiveControl)
                    SelectNext(nullptr, true);
            }
            if (OnActivate) OnActivate(this);
        } else {
            FActive = false;
            if (Screen && Screen->ActiveForm() == this) Screen->SetActiveForm(nullptr);
            if (OnDeactivate) OnDeactivate(this);
        }
        return;
    case WM_GETMINMAXINFO: {
        TWinControl::WndProc(m);
        auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
        const TSizeConstraints* c = Constraints();
        if (c->MinWidth()) info->ptMinTrackSize.x = c->MinWidth();
        if (c->MinHeight()) info->ptMinTrackSize.y = c->MinHeight();
        if (c->MaxWidth()) info->ptMaxTrackSize.x = info->ptMaxSize.x = c->MaxWidth();
        if (c->MaxHeight()) info->ptMaxTrackSize.y = info->ptMaxSize.y = c->MaxHeight();
        m.Result = 0;
        return;
    }
    case CM_DIALOGKEY:
        switch (m.WParam) {
        case VK_TAB:
            if (KeyboardShiftState() & (ssCtrl | ssAlt)) break;
            SelectNext(FActiveControl, !(KeyboardShiftState() & ssShift));
            m.Result = 1;
            return;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
            SelectNext(FActiveControl, m.WParam == VK_RIGHT || m.WParam == VK_DOWN);
            m.Result = 1;
            return;
        }
        Broadcast(m);
        return;
    case CM_DIALOGCHAR:
        Broadcast(m);
        return;
    case WM_COMMAND:
        // A menu item chosen from the form's menu bar (or by its accelerator).
        if (!m.LParam && HIWORD(m.WParam) <= 1)
            if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(m.WParam))) {
                item->Click();
                m.Result = 0;
                return;
            }
        break;
    case WM_INITMENUPOPUP:
        // An item's submenu opening is a click on the item (its menu may
        // fill itself there).
        if (!HIWORD(m.LParam) && FMenu) {
            auto* menu = reinterpret_cast<HMENU>(m.WParam);
            TMenuItem* item = FMenu->Items()->FindByHandle(menu);
            if (!item && FMenu->Merged()) item = FMenu->Merged()->Items()->FindByHandle(menu);
            if (item && item != FMenu->Items()) item->Click();
        }
        break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (MenuItemMessage(m.Msg, m.LParam)) {
            m.Result = TRUE;
            return;
        }
        break;
    case CM_MENUCHANGED:
        // The menu was written again: the window shows it (an MDI child's
        // shows in its frame's bar, which hears of it from the menu).
        if (FHandle && FMenu && FFormStyle != fsMDIChild) {
            ::SetMenu(FHandle, FMenu->Handle());
            DrawMenuBar(FHandle);
            SetMDIMenus();
        }
        return;
    case WM_MDIACTIVATE:
        // The child being activated shows its menu in the frame's bar; the
        // one being deactivated takes its menu out.
        if (FFormStyle == fsMDIChild) {
            TWinControl::WndProc(m);
            if (TCustomForm* frame = MDIParentForm()) {
                if (reinterpret_cast<HWND>(m.LParam) == FHandle)
                    frame->MergeChildMenu(this);
                else if (!m.LParam)
                    frame->MergeChildMenu(nullptr);
            }
            return;
        }
        break;
    case CM_FONTCHANGED:
        TWinControl::WndProc(m);
        if (FHintWindow && IsWindow(FHintWindow))
            ::SendMessageA(FHintWindow, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
        return;
    case CM_FOCUSCHANGED:
        Broadcast(m);
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

// ---- TScreen -----------------------------------------------------------------------

IMPLEMENT_CLASS(TScreen)

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen()
{
    if (Screen == this) Screen = nullptr;
}

TCustomForm* TScreen::Forms(int index) const
{
    if (index < 0 || index >= FormCount()) throw EListError(Format("Form index out of bounds (%d)", index));
    return FForms[index];
}

TWinControl* TScreen::ActiveControl() const { return FActiveForm ? FActiveForm->ActiveControl() : nullptr; }

void TScreen::AddForm(TCustomForm* form)
{
    if (std::find(FForms.begin(), FForms.end(), form) == FForms.end()) FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), form), FForms.end());
    if (FActiveForm == form) FActiveForm = nullptr;
}

int ControlPixelsPerInch(const TControl* control)
{
    auto* mutableControl = const_cast<TControl*>(control);
    if (TCustomForm* form = control ? GetParentForm(mutableControl) : nullptr) return form->CurrentPixelsPerInch();
    auto* windowed = As<TWinControl>(mutableControl);
    return static_cast<int>(WindowDpi(windowed ? windowed->HandleIfAllocated() : nullptr));
}
