// Which messages of a skinned window the form skinner takes over, and in
// which order it decides.
//
// Three procedures lead here: the window's own procedure (through the
// skinner's thunk), the framework form's WindowProc slot (framework forms
// with a skinned frame) and the MDI client's procedure (MDI frames). What the
// skinner does not take over goes, unchanged, to the procedure that was there
// before, and that result is returned.
//
// The window procedure runs in three stages:
//   1. every window: messages that matter whether or not the frame is
//      skinned (activation, the engine's queries, destruction, colours);
//   2. top-level windows and MDI children with a skinned frame: keeping the
//      window state, style bits, icon and region up to date;
//   3. the same windows once activated (and not a maximized MDI child): the
//      non-client area itself: size, paint, hit-testing, mouse.
//
// Nothing thrown inside leaves a procedure; a failure of the engine's own
// answers 0, while an error the program's handlers raise on the way is
// handed on to the framework's error box.
#include <windows.h>

#include "framework/application.h"
#include "framework/display_scale.h"
#include "framework/forms.h"
#include "framework/timer.h"
#include "skin/data/forwarded_error.h"
#include "skin/data/skin_component.h"
#include "skin/form/form_skinner.h"
#include "skin/form/menu_bar.h"

namespace {

constexpr UINT WM_NCUAHDRAWCAPTION = 0x00AE;  // the system's own caption redraw
constexpr UINT FRAME_CHANGE_FLAGS = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
constexpr UINT MDI_REDRAW_FLAGS = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME;

bool AltAloneHeld()
{
    return GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
}

}  // namespace

LRESULT TWinSkinForm::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!FOldWndProc)
        return FWndProcUnicode ? DefWindowProcW(FHandle, msg, wParam, lParam) : DefWindowProcA(FHandle, msg, wParam, lParam);
    // The old procedure gets the message in the character set it was sent in.
    return FWndProcUnicode ? CallWindowProcW(FOldWndProc, FHandle, msg, wParam, lParam)
                           : CallWindowProcA(FOldWndProc, FHandle, msg, wParam, lParam);
}

LRESULT TWinSkinForm::CallClientDefault(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!FOldClientProc) return DefWindowProcA(FMDIClient, msg, wParam, lParam);
    return CallWindowProcA(FOldClientProc, FMDIClient, msg, wParam, lParam);
}

// ---- the window procedure ---------------------------------------------------------

LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessageScope scope(this);
    try {
        // ---- stage 1: every message ----
        switch (msg) {
        case WM_NCPAINT:
            if (FSkinState == fssAttached) return 0;
            break;
        case WM_ERASEBKGND: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (scope.Dead || FForm || !FSkinData) return result;
            RECT client{};
            GetClientRect(FHandle, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, FSkinData->FaceBrush());
            return 1;
        }
        case WM_NCDESTROY: {
            FSkinState = fssDetaching;
            DetachOnDestroy();
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (!scope.Dead) FSkinState = fssDestroyed;
            return result;
        }
        case WM_NCACTIVATE:
            if (!FSkinFrame) return CallDefault(msg, wParam, lParam);
            if (FSkinState == fssAttached && FWindowKind != wkMdiChild) return 0;
            break;
        case WM_NCUAHDRAWCAPTION:
            return 0;
        case WM_DPICHANGED: {
            // The skin's side first, so that the window's own layout and the
            // frame fitted after it see the new scale; then the window moves
            // to the suggested place if it did not move itself.
            NoteWindowDpi(FHandle, LOWORD(wParam));
            TakeWindowDpi(LOWORD(wParam));
            RECT before{};
            GetWindowRect(FHandle, &before);
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (scope.Dead || !IsWindow(FHandle)) return result;
            FinishDpiChange(before, reinterpret_cast<const RECT*>(lParam));
            return result;
        }
        case WM_MENUSELECT:
            if (FMenuBar) FMenuBar->MenuSelect(wParam, lParam);
            return CallDefault(msg, wParam, lParam);
        case WM_INITMENUPOPUP:
            if (TSkinManage* manager = SkinManager())
                manager->MenuKind = (reinterpret_cast<HMENU>(wParam) == FSystemMenu || HIWORD(lParam)) ? smkSystemMenu
                                                                                                       : smkMenuBar;
            return CallDefault(msg, wParam, lParam);
        case WM_CTLCOLORBTN: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (!scope.Dead && !FForm) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return result;
        }
        case WM_CTLCOLORSTATIC: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (scope.Dead || FForm || !FSkinData) return result;
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
        }
        case SKM_ACTIVATESKIN:
            Activate();
            return 0;
        case SKM_RESKINSCROLLBAR:
            ReskinScrollBar(reinterpret_cast<HWND>(wParam));
            return 0;
        case SKM_QUERYSKIN:
            PostMessageA(FHandle, SKM_SKINFINISHED, 0, SKIN_SIGNATURE);
            return 1;
        case SKM_ISSKINNED:
            // A framework form answers through its WindowProc; any other
            // skinned window answers here.
            if (!FForm || !FOldFormWndProc) return lParam == SKIN_SIGNATURE ? SKIN_SIGNATURE : 1;
            break;
        default: break;
        }
        if (!FSkinFrame) return CallDefault(msg, wParam, lParam);

        // ---- stage 2: top-level windows and MDI children ----
        if (FIsChild && FWindowKind != wkMdiChild) return CallDefault(msg, wParam, lParam);
        switch (msg) {
        case WM_SYSCOMMAND:
            return SysCommand(wParam, lParam);
        case WM_COMMAND:
            return MenuCommand(wParam, lParam);
        case WM_WINDOWPOSCHANGED: {
            ReadWindowState();
            return CallDefault(msg, wParam, lParam);
        }
        case WM_ACTIVATE:
            FActive = LOWORD(wParam) != WA_INACTIVE ? 1 : 0;
            break;
        case WM_NCACTIVATE:
            FActive = wParam ? 1 : 0;
            break;
        case WM_GETMINMAXINFO: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (scope.Dead) return result;
            ReadWindowState();
            if (FWindowState == fwsMinimized || (FWindowState == fwsMaximized && FWindowKind == wkMdiChild))
                SetNativeStyle(true);
            else
                SetNativeStyle(false);
            return result;
        }
        case WM_SETICON: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (!scope.Dead) LoadIconBitmap();
            return result;
        }
        case SKM_OPENMENUBAR:
            OpenMenuBarAt(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case CM_MENUCHANGED: {
            LRESULT result = 0;
            if (FSkinData) {
                FSkinData->SetNCPaintOpen(false);
                result = CallDefault(msg, wParam, lParam);
                if (scope.Dead) return result;
                FSkinData->SetNCPaintOpen(true);
            } else {
                result = CallDefault(msg, wParam, lParam);
                if (scope.Dead) return result;
            }
            if (FNativeMenu) {
                if (FMenuBar && FSkinData && FSkinData->MenuUpdate()) RebuildMenuBar(GetMenu(FHandle));
                if (FMenuBar) SetMenu(FHandle, nullptr);
            }
            return result;
        }
        case WM_SIZE: {
            const LRESULT result = CallDefault(msg, wParam, lParam);
            if (scope.Dead) return result;
            switch (wParam) {
            case SIZE_RESTORED: FWindowState = fwsNormal; break;
            case SIZE_MINIMIZED: FWindowState = fwsMinimized; break;
            case SIZE_MAXIMIZED: FWindowState = fwsMaximized; break;
            default: break;
            }
            TSkinManage* manager = SkinManager();
            const bool mdiHeld = FWindowKind == wkMdiChild &&
                                 ((manager && manager->MdiMaximized) || FWindowState != fwsNormal);
            if (FWindowState != fwsMinimized && !mdiHeld &&
                (FSkinState == fssSkinned || FSkinState == fssChangingSkin))
                UpdateRegion();
            return result;
        }
        default: break;
        }

        // ---- stage 3: the skinned non-client area ----
        if ((FWindowKind == wkMdiChild && FWindowState == fwsMaximized) || FSkinState == fssAttached)
            return CallDefault(msg, wParam, lParam);
        switch (msg) {
        case WM_NCPAINT:
            return NCPaint(wParam, lParam);
        case WM_NCACTIVATE: {
            FActive = wParam ? 1 : 0;
            if (FTimer) FTimer->SetEnabled(wParam != 0);
            if (FWindowKind == wkMdiFrame && FMDIClient) SendMessageA(FMDIClient, WM_NCACTIVATE, wParam, 0);
            if (FWindowKind == wkMdiChild) {
                CallDefault(msg, wParam, lParam);
                if (scope.Dead) return 1;
            }
            if (!(FWindowKind == wkMdiChild && FWindowState == fwsMaximized)) PaintFrame();
            return 1;
        }
        case WM_NCCALCSIZE:
            return NCCalcSize(wParam, lParam);
        case WM_NCHITTEST:
            return NCHitTest(wParam, lParam);
        case WM_NCMOUSEMOVE:
            return NCMouseMove(wParam, lParam);
        case WM_NCLBUTTONDOWN:
            return NCLButtonDown(wParam, lParam);
        case WM_NCLBUTTONUP:
            return NCLButtonUp(wParam, lParam);
        case WM_NCLBUTTONDBLCLK:
            return NCLButtonDblClk(wParam, lParam);
        case WM_NCRBUTTONDOWN:
            return NCRButtonDown(wParam, lParam);
        case SKM_REPAINTFRAME:
            PaintFrame();
            return 0;
        case WM_MEASUREITEM:
            return MeasureMenuItem(wParam, lParam);
        case WM_DRAWITEM:
            return DrawMenuItem(wParam, lParam);
        default:
            return CallDefault(msg, wParam, lParam);
        }
    } catch (const skin::EForwarded& forwarded) {
        skin::ShowForwarded(forwarded);
        return 0;
    } catch (...) {
        return 0;
    }
}

// ---- the framework form's WindowProc -----------------------------------------------

void TWinSkinForm::FormWndProc(TMessage& message)
{
    TMessageScope scope(this);
    try {
        switch (message.Msg) {
        case WM_SETTEXT: {
            skin::ForwardCall([&] { FOldFormWndProc(message); });
            if (scope.Dead || !IsWindowVisible(FHandle)) return;
            TSkinManage* manager = SkinManager();
            if (FWindowState == fwsMaximized && manager && manager->MdiClient)
                PostMessageA(manager->MdiClient, SKM_REDRAWMDICLIENT, reinterpret_cast<WPARAM>(FHandle), 0);
            if (FWindowState == fwsMinimized)
                PaintFrame();
            else
                SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, FRAME_CHANGE_FLAGS);
            return;
        }
        case SKM_SKINCHANGED:
            ApplySkinChange();
            return;
        case CM_DIALOGCHAR: {
            skin::ForwardCall([&] { FOldFormWndProc(message); });
            if (scope.Dead || message.Result) return;
            if (AltAloneHeld()) {
                if (OpenMenuBarByKey(message.WParam)) message.Result = 1;
                return;
            }
            TSkinManage* manager = SkinManager();
            if (FWindowKind == wkMdiChild) {
                if (manager && manager->MdiFrameForm && manager->MdiFrameForm != FForm)
                    message.Result = manager->MdiFrameForm->Perform(message.Msg, message.WParam, message.LParam);
                return;
            }
            // A form that is not the main form hands the key to the main form,
            // unless it runs modally (the main form is then disabled).
            TCustomForm* mainForm = Application ? Application->MainForm() : nullptr;
            if (mainForm && mainForm != FForm && mainForm->HandleAllocated() &&
                IsWindowEnabled(mainForm->HandleIfAllocated()))
                message.Result = mainForm->Perform(message.Msg, message.WParam, message.LParam);
            return;
        }
        case SKM_PAINTFRAMETO:
            if (message.LParam == SKIN_SIGNATURE) {
                if (message.WParam) PaintFrame(reinterpret_cast<HDC>(message.WParam));
                message.Result = SKIN_SIGNATURE;
                return;
            }
            skin::ForwardCall([&] { FOldFormWndProc(message); });
            return;
        case SKM_ISSKINNED:
            message.Result = message.LParam == SKIN_SIGNATURE ? SKIN_SIGNATURE : 1;
            return;
        default:
            if (FOldFormWndProc) skin::ForwardCall([&] { FOldFormWndProc(message); });
            return;
        }
    } catch (const skin::EForwarded& forwarded) {
        // The form's own handling failed: the framework shows its error.
        std::rethrow_exception(forwarded.Error);
    } catch (...) {
        if (!scope.Dead) message.Result = 0;
    }
}

// ---- the MDI client's procedure -------------------------------------------------------

LRESULT TWinSkinForm::ClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessageScope scope(this);
    try {
        TSkinManage* manager = SkinManager();
        switch (msg) {
        case WM_NCDESTROY: {
            const WNDPROC old = FOldClientProc;
            const HWND client = FMDIClient;
            RestoreClientProc();
            return old ? CallWindowProcA(old, client, msg, wParam, lParam) : DefWindowProcA(client, msg, wParam, lParam);
        }
        case WM_NCCALCSIZE:
            if (FSkinFrame && FSkinData && !(FSkinData->Options() & SkinOption(xoMDIScrollbar)))
                SetWindowLongA(FMDIClient, GWL_STYLE, GetWindowLongA(FMDIClient, GWL_STYLE) & ~(WS_HSCROLL | WS_VSCROLL));
            return CallClientDefault(msg, wParam, lParam);
        case WM_MDICREATE:
            if (FSkinData) FSkinData->SetMenuUpdate(false);
            return CallClientDefault(msg, wParam, lParam);
        case WM_MDIDESTROY: {
            const LRESULT result = CallClientDefault(msg, wParam, lParam);
            if (scope.Dead || !FSkinFrame) return result;
            BOOL maximized = FALSE;
            HWND active = reinterpret_cast<HWND>(SendMessageA(FMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
            if (manager) manager->SetMdiMaximized(active && maximized);
            if (!active && FMenuBar && FSkinData) {
                FSkinData->SetMenuUpdate(FSavedMenuUpdate != 0);
                RebuildMenuBar(GetMenu(FHandle));
            }
            return result;
        }
        case WM_MDITILE:
        case WM_MDICASCADE:
            if (FSkinFrame && manager && manager->MdiMaximized) manager->SetMdiMaximized(false);
            return CallClientDefault(msg, wParam, lParam);
        case WM_MDISETMENU: {
            const LRESULT result = CallClientDefault(msg, wParam, lParam);
            if (scope.Dead || !FSkinFrame) return result;
            if (wParam && FMenuBar) {
                RebuildMenuBar(GetMenu(FHandle), true);
                SetMenu(FHandle, nullptr);
            }
            return result;
        }
        case SKM_REDRAWMDICLIENT:
            RedrawWindow(FHandle, nullptr, nullptr, MDI_REDRAW_FLAGS);
            return 0;
        default:
            return CallClientDefault(msg, wParam, lParam);
        }
    } catch (const skin::EForwarded& forwarded) {
        skin::ShowForwarded(forwarded);
        return 0;
    } catch (...) {
        return 0;
    }
}
