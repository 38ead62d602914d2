// MDI frames and children (see forms.h): the frame's MDI client window, the
// system's MDI procedures behind both kinds of form, the children's menus
// shown in the frame's bar, the window menu and the frame's window commands
// (tile, cascade, arrange, next, previous).
#include <windows.h>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/menus.h"

namespace {

// The first command of the window menu's child entries: above every
// command a framework menu item can have.
constexpr UINT FIRST_CHILD_COMMAND = 0xFF00;
constexpr int CLIENT_ID = 0xCAC;

bool IsMdiChildWindow(HWND window)
{
    return window && (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
}

}  // namespace

void TCustomForm::CreateMDIClient()
{
    if (FClientHandle && IsWindow(FClientHandle)) return;
    CLIENTCREATESTRUCT create{};
    create.hWindowMenu = FWindowMenu ? FWindowMenu->Handle() : nullptr;
    create.idFirstChild = FIRST_CHILD_COMMAND;
    RECT client{};
    GetClientRect(FHandle, &client);
    FClientHandle = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                    0, 0, client.right, client.bottom, FHandle,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(CLIENT_ID)),
                                    GetModuleHandleA(nullptr), &create);
    if (!FClientHandle) throw EInvalidOperation("Cannot create the MDI client window");
}

void TCustomForm::DestroyWnd()
{
    if (FFormStyle == fsMDIChild && FHandle && IsMdiChildWindow(FHandle)) {
        // The frame's client destroys its child (activating the next one)
        // and takes it out of the window menu.
        TCustomForm* frame = MDIParentForm();
        if (frame && frame->FMenu && FMenu && frame->FMenu->Merged() == FMenu) frame->FMenu->Merge(nullptr);
        HWND client = GetParent(FHandle);
        if (client && IsWindow(client)) {
            FText = GetText();
            ::SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(FHandle), 0);
        }
        if (!FHandle || !IsWindow(FHandle)) {
            FHandle = nullptr;
            return;
        }
    }
    if (FFormStyle == fsMDIForm) {
        // The children go first, as the frame's client goes with the frame.
        while (TCustomForm* child = ActiveMDIChild()) {
            if (!child->HandleAllocated()) break;
            child->DestroyHandle();
        }
        FClientHandle = nullptr;
    }
    TWinControl::DestroyWnd();
}

void TCustomForm::DefaultHandler(TMessage& m)
{
    if (FHandle && FFormStyle == fsMDIForm && FClientHandle) {
        m.Result = DefFrameProcA(FHandle, FClientHandle, m.Msg, m.WParam, m.LParam);
        return;
    }
    if (FHandle && FFormStyle == fsMDIChild && IsMdiChildWindow(FHandle)) {
        m.Result = DefMDIChildProcA(FHandle, m.Msg, m.WParam, m.LParam);
        return;
    }
    TWinControl::DefaultHandler(m);
}

TCustomForm* TCustomForm::MDIParentForm() const
{
    if (FFormStyle != fsMDIChild) return nullptr;
    if (auto* owner = As<TCustomForm>(Owner()); owner && owner->FFormStyle == fsMDIForm) return owner;
    if (TCustomForm* main = Application ? Application->MainForm() : nullptr; main && main->FFormStyle == fsMDIForm)
        return main;
    for (int i = 0; Screen && i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->FFormStyle == fsMDIForm) return Screen->Forms(i);
    return nullptr;
}

void TCustomForm::SetWindowMenu(TMenuItem* item)
{
    if (FWindowMenu == item) return;
    FWindowMenu = item;
    SetMDIMenus();
}

void TCustomForm::SetMDIMenus()
{
    if (FFormStyle != fsMDIForm || !FClientHandle || !FHandle) return;
    HMENU frameMenu = FMenu ? FMenu->Handle() : nullptr;
    HMENU windowMenu = FWindowMenu ? FWindowMenu->Handle() : nullptr;
    if (!frameMenu) return;
    ::SendMessageA(FClientHandle, WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu),
                   reinterpret_cast<LPARAM>(windowMenu));
    // Writing the menu again took the children's entries out of the window
    // menu: the client lists them again.
    ::SendMessageA(FClientHandle, WM_MDIREFRESHMENU, 0, 0);
    DrawMenuBar(FHandle);
}

void TCustomForm::MergeChildMenu(TCustomForm* child)
{
    if (FFormStyle != fsMDIForm || !FMenu) return;
    TMainMenu* menu = child ? child->Menu() : nullptr;
    if (FMenu->Merged() == menu) return;
    FMenu->Merge(menu);
}

TCustomForm* TCustomForm::ActiveMDIChild() const
{
    if (!FClientHandle) return nullptr;
    HWND active = reinterpret_cast<HWND>(::SendMessageA(FClientHandle, WM_MDIGETACTIVE, 0, 0));
    return As<TCustomForm>(FindControl(active));
}

int TCustomForm::MDIChildCount() const
{
    int count = 0;
    for (HWND child = FClientHandle ? GetWindow(FClientHandle, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT))
        if (IsMdiChildWindow(child) && As<TCustomForm>(FindControl(child))) ++count;
    return count;
}

TCustomForm* TCustomForm::MDIChildren(int index) const
{
    int at = 0;
    for (HWND child = FClientHandle ? GetWindow(FClientHandle, GW_CHILD) : nullptr; child;
         child = GetWindow(child, GW_HWNDNEXT)) {
        auto* form = IsMdiChildWindow(child) ? As<TCustomForm>(FindControl(child)) : nullptr;
        if (form && at++ == index) return form;
    }
    throw EListError(Format("MDI child index out of bounds (%d)", index));
}

void TCustomForm::Tile()
{
    if (FClientHandle)
        ::SendMessageA(FClientHandle, WM_MDITILE, FTileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::Cascade()
{
    if (FClientHandle) ::SendMessageA(FClientHandle, WM_MDICASCADE, 0, 0);
}

void TCustomForm::ArrangeIcons()
{
    if (FClientHandle) ::SendMessageA(FClientHandle, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next()
{
    if (FClientHandle) ::SendMessageA(FClientHandle, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous()
{
    if (FClientHandle) ::SendMessageA(FClientHandle, WM_MDINEXT, 0, 1);
}
