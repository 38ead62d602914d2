// Caption buttons of a skinned window: making them from the skin, which
// show, where they go and how they are drawn; what a point of the frame is
// (WM_NCHITTEST); the non-client mouse messages that press and release
// them; what each button does; window and system commands; the hover timer
// with the caption-button hint; and the system menu popup.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/timer.h"
#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"
#include "skin/form/menu_bar.h"
#include "skin/form/menu_items.h"
#include "skin/form/nc_geometry.h"
#include "skin/form/nc_objects.h"

namespace {

// Window coordinates of a screen point.
POINT ToWindow(HWND window, POINT screen)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{screen.x - rect.left, screen.y - rect.top};
}

POINT PointOf(LPARAM lParam)
{
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace

// ---- the buttons ---------------------------------------------------------------------

void TWinSkinForm::RebuildButtons()
{
    if (!FSkinData || FSkinData->NoSkin())
        return;
    FreeButtons();
    ComputeFrameSizes();
    for (const auto& skinButton : Skin().CaptionButtons) {
        auto* button = new TWinSysButton(this, skinButton.get());
        button->Enabled = 1;
        if (button->IsIconButton()) {
            LoadIconBitmap();
            if (skinButton->Bitmap.Empty() && FIconBitmap && !FIconBitmap->Empty())
                button->IconImage = skin::CopyBitmap(FIconBitmap->Handle(), 24);
        }
        FButtons.push_back(button);
    }
    FButtonCount = static_cast<int>(FButtons.size());
}

void TWinSkinForm::FreeButtons()
{
    FHotObject = nullptr;
    for (TWinSysButton* button : FButtons)
        delete button;
    FButtons.clear();
    FButtonCount = 0;
}

void TWinSkinForm::UpdateButtonVisibility()
{
    skin::TCaptionWindowState state;
    state.Maximized = FWindowState == fwsMaximized;
    state.Active = FActive != 0;
    state.MaximizeBox = (FStyleFlags & sfMaximizeBox) != 0;
    state.MinimizeBox = (FStyleFlags & sfMinimizeBox) != 0;
    state.HelpButton = (FStyleFlags & sfHelpButton) != 0;
    state.SystemMenu = (FStyleFlags & sfSystemMenu) != 0;
    state.DialogBorder = FBorderKind == bkDialog;
    state.DialogClass = FDialogClass != 0;
    state.MdiChildMaximizedInFrame = MdiChildMaximizedInFrame();
    HWND window = FHandle;
    const skin::TAskButtonVisible ask = [window](int visibility, int action) {
        return SendMessageA(window, SKM_QUERYBUTTONVISIBLE, static_cast<WPARAM>(visibility), action);
    };
    for (TWinSysButton* button : FButtons) {
        const skin::TButtonStatus status = skin::CaptionButtonStatus(*button->SkinButton, state, ask);
        button->Visible = status.Visible ? 1 : 0;
        button->Enabled = status.Enabled ? 1 : 0;
        if (!button->Visible && FHotObject == button) {
            FHotObject = nullptr;
            button->State = skin::ncsNormal;
        }
    }
}

bool TWinSkinForm::MdiChildMaximizedInFrame() const
{
    if (FWindowKind != wkMdiFrame || !FMDIClient || !FMenuBar || !IsWindow(FMDIClient))
        return false;
    BOOL maximized = FALSE;
    const HWND active =
        reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    return active && maximized;
}

void TWinSkinForm::LayoutButtons()
{
    RECT window{};
    GetWindowRect(FHandle, &window);
    skin::TButtonLayoutInput input;
    input.WindowWidth = window.right - window.left;
    input.CaptionArea = FCaptionArea;
    input.BorderTop = FBorderTop;
    input.BorderRight = FBorderRight;
    input.MenuHeight = FMenuHeight;
    if (const TDataSkinObject* menuBar = FSkinData ? Skin().Object(ssMenuBar) : nullptr)
        input.MenuBarLeftMargin = menuBar->LeftWidth;
    for (TWinSysButton* button : FButtons) {
        if (!button->Visible || !button->HasImage())
            continue;
        const SIZE size = button->FrameSize();
        skin::LayoutCaptionButton(*button->SkinButton, size.cx, size.cy, input, button->Rect);
    }
}

void TWinSkinForm::DrawButtons(HDC dc)
{
    for (TWinSysButton* button : FButtons) {
        if (!button->Visible || !button->HasImage() || button->SkinButton->Visibility == 100)
            continue;
        if (button->IsIconButton()) {
            DrawCaptionIcon(dc, button);
            continue;
        }
        const int frames = button->FrameCount();
        // A button the mouse is on shows its state; the others the window's.
        const int frame = button->State != skin::ncsNormal
                              ? button->StateFrame()
                              : skin::CaptionStripFrame(frames, FActive != 0, button->Enabled != 0);
        const RECT margins{button->SkinButton->LeftWidth, 0, button->SkinButton->RightWidth, 0};
        skin::DrawFrameStrip(dc, button->Rect, button->Image(), margins, frame, frames, true, false);
    }
}

// ---- the mouse -------------------------------------------------------------------------

TNCObject* TWinSkinForm::ObjectAt(POINT screenPoint)
{
    const POINT point = ToWindow(FHandle, screenPoint);
    for (TWinSysButton* button : FButtons)
        if (button->Visible && button->HasImage() && button->Action() >= 0 && PtInRect(&button->Rect, point))
            return button;
    return FMenuBar ? FMenuBar->ItemAt(point) : nullptr;
}

LRESULT TWinSkinForm::NCHitTest(WPARAM wParam, LPARAM lParam)
{
    const LRESULT system = CallDefault(WM_NCHITTEST, wParam, lParam);
    RECT window{};
    if (!GetWindowRect(FHandle, &window))
        return system;
    const POINT point = ToWindow(FHandle, PointOf(lParam));
    return skin::SkinnedHitTest(static_cast<int>(system), point, FBorderTop, FMenuHeight);
}

LRESULT TWinSkinForm::NCMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!FActive)
        return 0;
    if (TNCObject* object = ObjectAt(PointOf(lParam))) {
        object->MouseMove();
        return 0;
    }
    if (FHotObject) {
        TNCObject* hot = FHotObject;
        hot->MouseLeave();
        FHotObject = nullptr;
    }
    return CallDefault(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TWinSkinForm::NCLButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (FSkinData)
        FSkinData->HideCaptionHint();
    if (TNCObject* object = ObjectAt(PointOf(lParam))) {
        if (object->IsMenuItem() && FMenuBar && FMenuBar->IsOpen()) {
            // A move to another menu of the bar while one is open: that menu
            // ends first, then the click comes again and opens the item.
            EndMenu();
            PostMessageA(FHandle, WM_NCLBUTTONDOWN, wParam, lParam);
            return 0;
        }
        if (!FActive || GetForegroundWindow() != FHandle)
            SetForegroundWindow(FHandle);
        object->MouseDown();
        if (object->IsMenuItem())
            OpenMenuBarAt(PointOf(lParam));
        return 0;
    }
    if (FWindowState == fwsMaximized && FActive && wParam == HTCAPTION)
        wParam = HTMENU;  // a maximized window is not dragged
    return CallDefault(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::NCLButtonUp(WPARAM wParam, LPARAM lParam)
{
    if (FSkinData)
        FSkinData->HideCaptionHint();
    if (TNCObject* object = ObjectAt(PointOf(lParam))) {
        // A click is a press and a release on the same button: releasing a
        // drag that began elsewhere does nothing.
        if (!object->IsMenuItem() && object == FHotObject && object->State == skin::ncsPressed) {
            object->MouseUp();
            const POINT point = PointOf(lParam);
            PerformAction(static_cast<TWinSysButton*>(object), point.x, point.y);
        }
        return 0;
    }
    return CallDefault(WM_NCLBUTTONUP, wParam, lParam);
}

LRESULT TWinSkinForm::NCLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    if (TNCObject* object = ObjectAt(PointOf(lParam))) {
        auto* button = static_cast<TWinSysButton*>(object);
        if (!object->IsMenuItem() && button->IsIconButton()) {
            if (FTimer)
                FTimer->SetEnabled(false);
            PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    }
    // Anywhere else on the frame: a maximized or minimized window comes back,
    // a window with a maximize box is maximized.
    if (FWindowState != fwsNormal) {
        RestoreCommand();
        return 0;
    }
    if (FStyleFlags & sfMaximizeBox) {
        MaximizeCommand();
        return 0;
    }
    return CallDefault(WM_NCLBUTTONDBLCLK, wParam, lParam);
}

LRESULT TWinSkinForm::NCRButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (FSkinData)
        FSkinData->HideCaptionHint();
    if ((wParam == HTCAPTION || wParam == HTSYSMENU) && FWindowKind != wkMdiChild) {
        ShowSystemMenu(PointOf(lParam));
        return 0;
    }
    return CallDefault(WM_NCRBUTTONDOWN, wParam, lParam);
}

// ---- actions and commands ----------------------------------------------------------------

void TWinSkinForm::PerformAction(TWinSysButton* button, int x, int y)
{
    if (!button)
        return;
    auto toActiveChild = [this](WPARAM command) {
        if (FWindowKind != wkMdiFrame || !FMDIClient)
            return;
        if (HWND child = reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, 0)))
            SendMessageA(child, WM_SYSCOMMAND, command, 0);
    };
    switch (button->Action()) {
    case 0: {
        HMENU systemMenu = FSystemMenu ? FSystemMenu : GetSystemMenu(FHandle, FALSE);
        if (systemMenu && GetMenuState(systemMenu, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            if (FTimer)
                FTimer->SetEnabled(false);
            PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    }
    case 1:
    case 22:
        if (button->Enabled)
            FWindowState == fwsMaximized ? RestoreCommand() : MaximizeCommand();
        break;
    case 2:
    case 23:
        if (button->Enabled)
            FWindowState == fwsMinimized ? RestoreCommand() : MinimizeCommand();
        break;
    case 3:
    case 11:
    case 12: ShowSystemMenu(POINT{x + 1, y + 1}); break;
    case 4: PostMessageA(FHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case 7:
    case 60: toActiveChild(SC_MINIMIZE); break;
    case 8:
    case 61: toActiveChild(SC_RESTORE); break;
    case 9:
    case 62: toActiveChild(SC_CLOSE); break;
    default: PostMessageA(FHandle, SKM_CAPTIONBUTTON, static_cast<WPARAM>(button->Action()), 0); break;
    }
}

void TWinSkinForm::MaximizeCommand()
{
    if (FWindowState == fwsMaximized) {
        RestoreCommand();
        return;
    }
    if (FWindowKind == wkMdiChild)
        if (TSkinManage* manager = SkinManager())
            manager->SetMdiMaximized(true);
    FWindowState = fwsMaximized;
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    if (FHotObject) {
        FHotObject->State = skin::ncsNormal;
        FHotObject->HoverTime = 0;
    }
    FHotObject = nullptr;
}

void TWinSkinForm::MinimizeCommand()
{
    if (FWindowState == fwsMinimized) {
        RestoreCommand();
        return;
    }
    FWindowState = fwsMinimized;
    if (FSystemMenu && !(FStyleFlags & sfKeepSysMenuStyle)) {
        FStyle = GetWindowLongA(FHandle, GWL_STYLE) | WS_SYSMENU;
        SetWindowLongA(FHandle, GWL_STYLE, FStyle);
    }
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::RestoreCommand()
{
    FWindowState = fwsNormal;
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

LRESULT TWinSkinForm::SysCommand(WPARAM wParam, LPARAM lParam)
{
    if (!FInMenuLoop && (wParam & 0xFFF0) == SC_KEYMENU) {
        if (lParam != ' ' && lParam != '-' && !GetCapture()) {
            const bool opened = OpenMenuBarByKey(static_cast<WPARAM>(lParam));
            if (lParam == 0 || opened)
                return 1;
        } else if (lParam == ' ') {
            POINT origin{0, 0};
            ClientToScreen(FHandle, &origin);
            ShowSystemMenu(origin);
        }
    }
    switch (wParam) {
    case SC_MINIMIZE:
        FWindowState = fwsMinimized;
        if (FWindowKind == wkMdiChild)
            SetNativeStyle(true);
        break;
    case SC_MAXIMIZE: FWindowState = fwsMaximized; break;
    case SC_RESTORE:
        FWindowState = fwsNormal;
        if (FWindowKind == wkMdiChild) {
            SetNativeStyle(false);
            if (TSkinManage* manager = SkinManager(); manager && manager->MdiMaximized)
                manager->SetMdiMaximized(false);
        }
        break;
    default: break;
    }
    return CallDefault(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TWinSkinForm::MenuCommand(WPARAM wParam, LPARAM lParam)
{
    const WORD command = LOWORD(wParam);
    switch (command) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        if (command < 0xFF00) {
            PostMessageA(FHandle, WM_SYSCOMMAND, command, 0);
            return 0;
        }
        break;
    default: break;
    }
    return CallDefault(WM_COMMAND, wParam, lParam);
}

// ---- hover timer and hint ----------------------------------------------------------------

void TWinSkinForm::HoverTimer(TObject*)
{
    if (FInMenuLoop || !FHotObject)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT point = ToWindow(FHandle, cursor);
    if (!PtInRect(&FHotObject->Rect, point)) {
        TNCObject* hot = FHotObject;
        hot->MouseLeave();
        FHotObject = nullptr;
        if (FSkinData)
            FSkinData->HideCaptionHint();
        return;
    }
    if (FHotObject->IsMenuItem() || !FSkinData)
        return;
    FHotObject->HoverTime += static_cast<int>(FTimer ? FTimer->Interval() : 250);
    const int pause = 2 * Application->HintPause();
    const int hidePause = Application->HintHidePause();
    if (FHotObject->HoverTime >= pause + hidePause) {
        FSkinData->HideCaptionHint();
    } else if (FHotObject->HoverTime >= pause) {
        const auto* button = static_cast<TWinSysButton*>(FHotObject);
        if (const char* text = CaptionHintText(button->Action())) {
            RECT window{};
            GetWindowRect(FHandle, &window);
            const int x = button->Rect.left + window.left;
            const RECT at{x, cursor.y + 24, x, cursor.y + 24};
            FSkinData->ShowCaptionHint(at, text);
        }
    }
}

// ---- the system menu ---------------------------------------------------------------------

namespace {

bool IsWindowsNT4()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 4;
}

// System menu popups whose menu is open now, and those of them let go of
// while open: those are freed once their menu has closed.
std::vector<TPopupMenu*> GTrackedSystemMenus;
std::vector<TPopupMenu*> GReleasedSystemMenus;

bool Contains(const std::vector<TPopupMenu*>& list, const TPopupMenu* popup)
{
    return std::find(list.begin(), list.end(), popup) != list.end();
}

void Erase(std::vector<TPopupMenu*>& list, const TPopupMenu* popup)
{
    list.erase(std::remove(list.begin(), list.end(), popup), list.end());
}

// An item of the system menu popup: choosing it posts `message` (with
// `command`) to the window. It holds nothing of the skinner, which may be
// gone by the time the menu closes.
TMenuItem* SystemMenuItem(TPopupMenu* popup, const std::string& caption, UINT_PTR command, int image, HWND window,
                          UINT message)
{
    auto* item = new TMenuItem(popup);
    item->SetCaption(caption);
    item->SetTag(static_cast<int>(command));
    item->SetImageIndex(image);
    item->OnClick = [window, message, command](TObject*) {
        if (IsWindow(window)) PostMessageA(window, message, command, 0);
    };
    popup->Items()->Add(item);
    return item;
}

}  // namespace

void TWinSkinForm::ShowSystemMenu(POINT screenPoint)
{
    TSkinManage* manager = SkinManager();
    if (manager && manager->ManagerTag)
        return;
    const DWORD now = GetTickCount();
    if (FDoubleClickTime >= 0 && static_cast<int>(now - static_cast<DWORD>(FLastClickTime)) <= FDoubleClickTime) {
        // A second click on the caption's icon within the double-click time.
        if (FHotObject) {
            if (FTimer)
                FTimer->SetEnabled(false);
            PostMessageA(FHandle, WM_CLOSE, 0, 0);
        }
        return;
    }
    if (manager)
        manager->MenuKind = smkSystemMenu;
    FLastClickTime = static_cast<int>(now);

    FreeSystemMenuPopup();
    // The popup is nobody's component: it lives from one showing to the
    // next, and outlives this skinner when that goes while the menu is open.
    // Its items are drawn from the skin with the skin's window glyphs
    // whatever the skin controls say: xcSystemMenu decides only whether the
    // menu's own window is skinned (the skin manager's choice).
    auto* popup = new TPopupMenu(nullptr);
    FSystemMenuPopup = popup;
    popup->SetTag(33333);
    if (FSkinData) {
        auto* glyphs = new TCustomImageList(popup);
        glyphs->SetHandle(FSkinData->MenuGlyphs(), false);
        popup->SetImages(glyphs);
    }
    if (FRightToLeft) popup->SetBiDiMode(bdRightToLeft);
    HMENU systemMenu = FSystemMenu ? FSystemMenu : GetSystemMenu(FHandle, FALSE);
    const bool maximized = FWindowState == fwsMaximized;
    const bool minimized = FWindowState == fwsMinimized;
    if (IsWindowsNT4()) {
        // The window commands as fixed items; choosing one runs the command
        // on this window (through the skinner, if it is still there).
        const HWND window = FHandle;
        auto fixed = [popup, window](const char* caption, int tag, int image) {
            auto* item = new TMenuItem(popup);
            item->SetCaption(caption);
            item->SetTag(tag);
            item->SetImageIndex(image);
            item->OnClick = [window, tag](TObject*) {
                if (!IsWindow(window)) return;
                TSkinManage* manager = SkinManager();
                auto* skinner = manager ? dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)) : nullptr;
                switch (tag) {
                case 0: skinner ? skinner->RestoreCommand() : void(PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0)); break;
                case 1: skinner ? skinner->MaximizeCommand() : void(PostMessageA(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0)); break;
                case 2: skinner ? skinner->MinimizeCommand() : void(PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0)); break;
                case 3:
                    if (skinner && skinner->HoverTimerObject()) skinner->HoverTimerObject()->SetEnabled(false);
                    PostMessageA(window, WM_CLOSE, 0, 0);
                    break;
                default: break;
                }
            };
            popup->Items()->Add(item);
            return item;
        };
        fixed(" Restore ", 0, 0)->SetEnabled(FWindowState != fwsNormal);
        if (FStyleFlags & sfMaximizeBox)
            fixed(" Maximize ", 1, 1)->SetEnabled(!maximized);
        if (FStyleFlags & sfMinimizeBox)
            fixed(" Minimize ", 2, 2)->SetEnabled(!minimized);
        fixed("-", 100, 100);
        fixed(" Close \tALT+F4", 3, 3);
    } else if (systemMenu) {
        const int count = GetMenuItemCount(systemMenu);
        for (int i = 0; i < count; ++i) {
            char text[81] = {};
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE;
            info.dwTypeData = text;
            info.cch = sizeof(text) - 1;
            if (!GetMenuItemInfoA(systemMenu, static_cast<UINT>(i), TRUE, &info))
                continue;
            // The text as the system menu has it, its shortcut after a tab.
            const std::string caption = (info.fType & MFT_SEPARATOR) || !text[0] ? std::string("-") : std::string(text);
            bool enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
            int image = -1;
            switch (info.wID & 0xFFF0) {
            case SC_SIZE:
            case SC_MOVE: enabled = !maximized; break;
            case SC_MINIMIZE:
                image = 2;
                enabled = !minimized && (FStyleFlags & sfMinimizeBox);
                break;
            case SC_MAXIMIZE:
                image = 1;
                enabled = !maximized && (FStyleFlags & sfMaximizeBox);
                break;
            case SC_CLOSE: image = 3; break;
            case SC_RESTORE:
                image = 0;
                enabled = FWindowState != fwsNormal;
                break;
            default: break;
            }
            TMenuItem* item = SystemMenuItem(popup, caption, info.wID, image, FHandle, WM_SYSCOMMAND);
            item->SetEnabled(enabled);
            item->SetChecked((info.fState & MFS_CHECKED) != 0);
        }
    }
    if (FSkinData) {
        // Items measured and drawn from the skin, like the form's own popups.
        for (int i = 0; i < popup->Items()->Count(); ++i) {
            popup->Items()->Items(i)->OnDrawItem = skin::SkinnedDrawEvent(FSkinData, FHandle);
            popup->Items()->Items(i)->OnMeasureItem = skin::PopupMeasureEvent(FSkinData, FHandle);
        }
        popup->SetOwnerDraw(true);
    }
    if (!popup->Items()->Count())
        return;

    // The menu runs its own loop; the chosen item's click runs inside Popup
    // and reaches the window by message, so nothing here is used once the
    // menu has closed: the popup may have been let go of meanwhile (this
    // skinner unskinned or destroyed), and is then freed here.
    GTrackedSystemMenus.push_back(popup);
    popup->Popup(screenPoint.x, screenPoint.y);
    Erase(GTrackedSystemMenus, popup);
    if (Contains(GReleasedSystemMenus, popup)) {
        Erase(GReleasedSystemMenus, popup);
        delete popup;
    }
}

void TWinSkinForm::FreeSystemMenuPopup()
{
    TPopupMenu* popup = std::exchange(FSystemMenuPopup, nullptr);
    if (!popup)
        return;
    if (Contains(GTrackedSystemMenus, popup)) {
        // Its menu is open: it goes when the menu has closed.
        GReleasedSystemMenus.push_back(popup);
        EndMenu();
        return;
    }
    delete popup;
}
