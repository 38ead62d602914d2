// The skinned menu bar: reading the items, laying out and painting the
// band, opening an item's submenu and moving between menus while one is
// open (a message-filter hook watches the open menu's keys and mouse), and
// the form skinner's side of it. See menu_bar.h.
#include "skin/form/menu_bar.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "framework/sysutils.h"
#include "skin/form/form_skinner.h"

IMPLEMENT_CLASS(TWinSkinMenu)

namespace {

constexpr int MENU_TEXT_CHARS = 80;
constexpr UINT CAPTION_CALC_FLAGS = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
constexpr UINT CAPTION_DRAW_FLAGS = DT_EXPANDTABS | DT_SINGLELINE;
// TrackItem's answer when the bar itself went away while its menu was open.
constexpr int SWITCH_BAR_GONE = -2;

// The one open bar menu of the program (between opening and closing it).
struct TOpenBarMenu {
    TWinSkinMenu* Bar = nullptr;
    int OpenIndex = -1;
    HHOOK Hook = nullptr;
    POINT LastMouse{-1, -1};
    TMenuItem* Current = nullptr;   // the highlighted framework item, if any
    bool FirstMessage = false;
    bool Switching = false;    // a click on another bar item was posted
    bool Switched = false;
    bool BarFreed = false;     // the bar was let go of while its menu was open
} GOpen;

COLORREF SkinColour(const TSkinData* skin, int index, int systemFallback)
{
    if (!skin) return GetSysColor(systemFallback);
    return ColorToRGB(static_cast<TColor>(skin->Model().Colours[static_cast<size_t>(index)]));
}

// The open menu windows of this thread, and the deepest of them (the first
// in z-order).
struct TMenuWindows {
    HWND Deepest = nullptr;
    int Count = 0;
};

BOOL CALLBACK CountMenuWindow(HWND window, LPARAM data)
{
    auto* windows = reinterpret_cast<TMenuWindows*>(data);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (!lstrcmpA(name, "#32768") && IsWindowVisible(window)) {
        if (!windows->Count) windows->Deepest = window;
        ++windows->Count;
    }
    return TRUE;
}

int OpenMenuWindows(HWND& deepest)
{
    TMenuWindows windows;
    EnumThreadWindows(GetCurrentThreadId(), CountMenuWindow, reinterpret_cast<LPARAM>(&windows));
    deepest = windows.Deepest;
    return windows.Count;
}

// The highlighted entry of `menu`: its position, or -1.
int HilitedEntry(HMENU menu)
{
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

// The neighbour of the open item in `step` direction among the items that
// can be opened, wrapping around; -1 when there is none.
int Neighbour(const TWinSkinMenu* bar, int from, int step)
{
    const int count = static_cast<int>(bar->Buttons.size());
    for (int i = 1; i <= count; ++i) {
        const int index = ((from + step * i) % count + count) % count;
        const TMenuBtn* item = bar->Buttons[static_cast<size_t>(index)];
        if (item->Visible && !item->Caption.empty()) return index == from ? -1 : index;
    }
    return -1;
}

// The open menu is right to left: its highlighted item's menu is, or before
// anything is highlighted, the bar's.
bool OpenMenuRightToLeft(const TWinSkinMenu* bar)
{
    if (GOpen.Current)
        if (TMenu* menu = GOpen.Current->GetParentMenu()) return menu->IsRightToLeft();
    return bar->RightToLeft();
}

bool IsKeyMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

// Watches the open bar menu's loop: Left and Right at the edge of the
// submenu, and the mouse moving onto another bar item, post a click on the
// neighbour to the window; the click ends this menu and opens that one.
LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    // A right-to-left menu swaps the arrow keys before anything sees them.
    try {
        if (code == MSGF_MENU && msg && GOpen.Bar && !GOpen.BarFreed && IsKeyMessage(msg->message) &&
            (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) && OpenMenuRightToLeft(GOpen.Bar))
            msg->wParam = msg->wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    } catch (...) {
    }
    const LRESULT next = CallNextHookEx(GOpen.Hook, code, wParam, lParam);
    if (next || code != MSGF_MENU || !GOpen.Bar || GOpen.BarFreed || !msg) return next;
    try {
        TWinSkinMenu* bar = GOpen.Bar;
        if (GOpen.FirstMessage) {
            // The menu opens with its first item highlighted.
            GOpen.FirstMessage = false;
            HWND deepest = nullptr;
            OpenMenuWindows(deepest);
            if (deepest) PostMessageA(deepest, WM_KEYDOWN, VK_DOWN, 0);
        }
        int selected = -1;
        switch (msg->message) {
        case WM_KEYDOWN: {
            if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
                GOpen.Switching = false;
                break;
            }
            HWND deepest = nullptr;
            const int open = OpenMenuWindows(deepest);
            HMENU shown = deepest ? reinterpret_cast<HMENU>(SendMessageA(deepest, 0x01E1 /* MN_GETHMENU */, 0, 0))
                                  : nullptr;
            const int hilited = HilitedEntry(shown);
            if (msg->wParam == VK_LEFT) {
                // Only from the bar item's own submenu; deeper, Left closes
                // the nested menu as usual.
                if (open <= 1) selected = Neighbour(bar, GOpen.OpenIndex, -1);
            } else if (msg->wParam == VK_RIGHT) {
                const bool hasChildren = hilited >= 0 && GetSubMenu(shown, hilited);
                if (!hasChildren) selected = Neighbour(bar, GOpen.OpenIndex, 1);
            }
            break;
        }
        case WM_SYSKEYDOWN:
            if (msg->wParam == VK_MENU && bar->Form) bar->Form->LeaveMenuLoop();
            return next;
        case WM_MENUSELECT:
            bar->MenuSelect(msg->wParam, msg->lParam);
            return next;
        case WM_MOUSEMOVE: {
            POINT at{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
            if (msg->hwnd) ClientToScreen(msg->hwnd, &at);
            if (at.x != GOpen.LastMouse.x || at.y != GOpen.LastMouse.y) {
                GOpen.LastMouse = at;
                RECT window{};
                GetWindowRect(bar->Form->Handle(), &window);
                if (TMenuBtn* item = bar->ItemAt(POINT{at.x - window.left, at.y - window.top}))
                    if (item->Visible && !item->Caption.empty()) selected = item->Index;
            }
            break;
        }
        default: break;
        }
        if (selected >= 0 && selected != GOpen.OpenIndex && !GOpen.Switching) {
            GOpen.Switching = true;
            GOpen.Switched = true;
            HWND window = bar->Form->Handle();
            RECT bounds{};
            GetWindowRect(window, &bounds);
            const TMenuBtn* item = bar->Buttons[static_cast<size_t>(selected)];
            PostMessageA(window, WM_NCLBUTTONDOWN, HTCLIENT,
                         MAKELPARAM(bounds.left + item->Rect.left + 1, bounds.top + item->Rect.top + 1));
            // The key moved to the other menu: this one does not act on it.
            if (msg->message == WM_KEYDOWN) return 1;
        }
    } catch (...) {
    }
    return next;
}

// A published caption as the item holds it: wide when the item keeps it
// wide, else through the ANSI code page.
std::wstring PublishedCaption(const TObject* item)
{
    const TPropInfo* info = item ? FindPropInfo(item, "Caption") : nullptr;
    if (!info) return std::wstring();
    try {
        if (info->Kind == TTypeKind::tkWString) return GetWideStrProp(*item, "Caption");
        if (info->Kind == TTypeKind::tkString) return AnsiToWide(GetStrProp(*item, "Caption"));
    } catch (...) {
    }
    return std::wstring();
}

}  // namespace

wchar_t MenuAccelerator(const std::wstring& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(CharUpperW(
            reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(static_cast<unsigned short>(caption[i + 1]))))));
    }
    return 0;
}

// ---- TMenuBtn --------------------------------------------------------------------------

void TMenuBtn::Paint()
{
    TWinSkinMenu* bar = Form ? Form->MenuBar() : nullptr;
    HWND window = Form ? Form->Handle() : nullptr;
    if (!bar || !IsWindow(window) || !Visible || bar->Background.IsNull()) return;
    TWindowDC dc = TWindowDC::Whole(window);
    if (dc.IsNull()) return;
    {
        TMemoryDC source(dc);
        TSelectObject selected(source, bar->Background);
        BitBlt(dc, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, source,
               Rect.left - bar->BarRect.left, Rect.top - bar->BarRect.top, SRCCOPY);
    }
    if (State == skin::ncsHot || State == skin::ncsPressed) {
        TGdiBrush frame(CreateSolidBrush(SkinColour(SkinData, scButtonHilight, COLOR_BTNHIGHLIGHT)));
        FrameRect(dc, &Rect, frame);
    }
    TSaveDC saved(dc);
    SelectObject(dc, Form ? Form->MenuFont() : ScreenMenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ItemEnabled ? SkinColour(SkinData, scMenuBarText, COLOR_MENUTEXT) : GetSysColor(COLOR_BTNSHADOW));
    RECT text = Rect;
    DrawTextW(dc, Caption.c_str(), -1, &text,
              CAPTION_DRAW_FLAGS | DT_CENTER | DT_VCENTER | (bar->RightToLeft() ? DT_RTLREADING : 0));
}

// ---- TWinSkinMenu ------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TComponent* owner) : TComponent(owner) {}

TWinSkinMenu::~TWinSkinMenu()
{
    if (GOpen.Bar == this) GOpen.Bar = nullptr;
    FreeItems();
}

void TWinSkinMenu::FreeItems()
{
    if (Form) {
        for (TMenuBtn* item : Buttons)
            if (Form->HotObject() == item) Form->SetHotObject(nullptr);
    }
    for (TMenuBtn* item : Buttons) delete item;
    Buttons.clear();
    ItemCount = 0;
}

void TWinSkinMenu::BuildItems()
{
    ReadItems(false);
}

void TWinSkinMenu::RebuildFromMDIMenu()
{
    ReadItems(true);
    Layout();
}

void TWinSkinMenu::ReadItems(bool mdi)
{
    HWND window = Form->Handle();
    if (HMENU menu = GetMenu(window)) MenuHandle = menu;
    if (!MenuHandle) return;
    if (auto* form = As<TCustomForm>(Form->Form())) {
        Menu = form->Menu();
        if (!Menu) return;
    }
    FreeItems();
    ItemCount = GetMenuItemCount(MenuHandle);
    if (ItemCount <= 0) {
        ItemCount = 0;
        SetMenu(window, nullptr);
        return;
    }
    auto* bar = As<TMainMenu>(Menu);
    for (int i = 0; i < ItemCount; ++i) {
        wchar_t text[MENU_TEXT_CHARS + 1] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = MENU_TEXT_CHARS;
        GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &info);
        auto* item = new TMenuBtn(Form);
        item->SkinData = SkinData;
        item->Index = i;
        item->SubMenu = info.hSubMenu;
        item->ItemEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) ? 0 : 1;
        item->Visible = 1;
        item->Command = info.wID;
        item->Caption = (info.fType & (MFT_BITMAP | MFT_SEPARATOR)) ? std::wstring() : std::wstring(text);
        TMenuItem* menuItem = nullptr;
        if (bar)
            menuItem = bar->FindBarItem(info.wID);
        else if (Menu)
            menuItem = Menu->Items()->FindByCommand(info.wID);
        if (menuItem && menuItem != Menu->Items() && !(mdi && menuItem->Caption().empty())) {
            item->Caption = mdi ? menuItem->CaptionW() : PublishedCaption(menuItem);
            item->ItemEnabled = menuItem->Enabled() ? 1 : 0;
            item->MenuItem = menuItem;
            item->SubMenu = menuItem->Count() > 0 ? menuItem->Handle() : nullptr;
            if (mdi) item->Command = menuItem->Command();
        }
        Buttons.push_back(item);
    }
    ItemCount = static_cast<int>(Buttons.size());
    SetMenu(window, nullptr);
}

bool TWinSkinMenu::RightToLeft() const
{
    if (Menu) return Menu->IsRightToLeft();
    return Form && Form->RightToLeft();
}

int TWinSkinMenu::StartOffset(int bandWidth) const
{
    const TDataSkinObject* bar = SkinData && Form ? Form->Skin().Object(ssMenuBar) : nullptr;
    const auto px = [this](int value) { return Form ? Form->Scaled(value) : value; };
    const int offset = bar ? (RightToLeft() ? bar->RightWidth + px(8) : bar->LeftWidth + px(4)) : px(6);
    return bandWidth < offset ? px(12) : offset;
}

void TWinSkinMenu::LayoutItems(HDC dc, const RECT& band)
{
    const bool rightToLeft = RightToLeft();
    int x = rightToLeft ? band.right - StartOffset(band.right - band.left) : band.left + StartOffset(band.right - band.left);
    if (rightToLeft && Form->MdiChildMaximizedInFrame()) {
        // The items end left of the maximized child's buttons.
        for (const TWinSysButton* button : Form->Buttons())
            if (button->Visible && button->HasImage() && button->SkinButton->Visibility == 100)
                x = std::min<int>(x, button->Rect.left - Form->Scaled(5));
    }
    for (TMenuBtn* item : Buttons) {
        if (!item->Visible) {
            item->Rect = RECT{0, 0, 0, 0};
            continue;
        }
        int width = 0;
        if (!item->Caption.empty()) {
            RECT measure{0, 0, 0, 0};
            DrawTextW(dc, item->Caption.c_str(), -1, &measure, CAPTION_CALC_FLAGS);
            width = measure.right - measure.left + Form->Scaled(10);
        }
        if (rightToLeft) {
            item->Rect = RECT{x - width, band.top, x, band.bottom - 1};
            x -= width;
        } else {
            item->Rect = RECT{x, band.top, x + width, band.bottom - 1};
            x += width;
        }
    }
}

void TWinSkinMenu::Layout()
{
    HWND window = Form->Handle();
    RECT bounds{};
    if (!GetWindowRect(window, &bounds)) return;
    const RECT band{Form->BorderLeft(), Form->BorderTop(), (bounds.right - bounds.left) - Form->BorderRight(),
                    Form->BorderTop() + Form->MenuHeight()};
    if (band.right <= band.left || band.bottom <= band.top) return;
    TWindowDC dc = TWindowDC::Whole(window);
    if (dc.IsNull()) return;
    TSaveDC saved(dc);
    SelectObject(dc, Form ? Form->MenuFont() : ScreenMenuFont());
    LayoutItems(dc, band);
}

void TWinSkinMenu::PaintBar(HDC dc, const RECT& band)
{
    const int width = band.right - band.left;
    const int height = band.bottom - band.top;
    if (!dc || width <= 0 || height <= 0) return;
    TMemoryDC scratch(dc);
    TGdiBitmap composed = skin::MakeDibSection(width, height, 32);
    if (scratch.IsNull() || composed.IsNull()) return;
    {
        TSelectObject selected(scratch, composed);
        SetStretchBltMode(scratch, COLORONCOLOR);
        const RECT local{0, 0, width, height};
        const TDataSkinObject* bar = SkinData && Form ? Form->Skin().Object(ssMenuBar) : nullptr;
        if (bar && !bar->Bitmap.Empty()) {
            const int frame = Form->IsActive() ? 1 : 2;
            const RECT margins{bar->LeftWidth, 0, bar->RightWidth, 0};
            if (bar->Tile == 1) {
                TGdiBitmap built = skin::BuildFrameBitmap(local, bar->Bitmap.Handle(), margins, frame, 2, false, true);
                if (!built.IsNull()) {
                    TMemoryDC from(scratch.Get());
                    TSelectObject use(from, built);
                    BitBlt(scratch, 0, 0, width, height, from, 0, 0, SRCCOPY);
                }
            } else {
                skin::DrawFrameStrip(scratch, local, bar->Bitmap.Handle(), margins, frame, 2, false, true);
            }
        } else {
            TGdiBrush fill(CreateSolidBrush(SkinColour(SkinData, scMenubar, COLOR_MENU)));
            FillRect(scratch, &local, fill);
        }
        BarRect = band;
        // The background is kept for the items' own repaints.
        Background = skin::MakeDibSection(width, height, 32);
        if (!Background.IsNull()) {
            TMemoryDC keep(dc);
            TSelectObject use(keep, Background);
            BitBlt(keep, 0, 0, width, height, scratch, 0, 0, SRCCOPY);
        }
        TSaveDC saved(scratch);
        SelectObject(scratch, Form ? Form->MenuFont() : ScreenMenuFont());
        SetBkMode(scratch, TRANSPARENT);
        Painting = 1;
        LayoutItems(scratch, band);
        const UINT reading = RightToLeft() ? DT_RTLREADING : 0;
        TGdiBrush hotFrame(CreateSolidBrush(SkinColour(SkinData, scButtonHilight, COLOR_BTNHIGHLIGHT)));
        for (TMenuBtn* item : Buttons) {
            if (!item->Visible || item->Caption.empty()) continue;
            RECT cell{item->Rect.left - band.left, 0, item->Rect.right - band.left, height - 1};
            if (item->State == skin::ncsHot || item->State == skin::ncsPressed) FrameRect(scratch, &cell, hotFrame);
            SetTextColor(scratch, item->ItemEnabled ? SkinColour(SkinData, scMenuBarText, COLOR_MENUTEXT)
                                                    : GetSysColor(COLOR_BTNSHADOW));
            DrawTextW(scratch, item->Caption.c_str(), -1, &cell, CAPTION_DRAW_FLAGS | DT_CENTER | DT_VCENTER | reading);
        }
        Painting = 0;
        if (Form->MdiChildMaximizedInFrame()) {
            // The maximized child's own buttons sit on the bar.
            for (const TWinSysButton* button : Form->Buttons()) {
                if (!button->Visible || !button->HasImage() || button->SkinButton->Visibility != 100) continue;
                const RECT at{button->Rect.left - Form->BorderLeft(), button->Rect.top - Form->BorderTop(),
                              button->Rect.right - Form->BorderLeft(), button->Rect.bottom - Form->BorderTop()};
                const int frame = button->State == skin::ncsNormal ? 1 : button->StateFrame();
                skin::DrawFrameStrip(scratch, at, button->Image(), RECT{0, 0, 0, 0}, frame, button->FrameCount(), true,
                                     false);
            }
            if (TSkinManage* manager = SkinManager(); manager && !manager->MdiMaximized) manager->SetMdiMaximized(true);
        }
        BitBlt(dc, band.left, band.top, width, height, scratch, 0, 0, SRCCOPY);
    }
}

TMenuBtn* TWinSkinMenu::ItemAt(POINT point) const
{
    for (TMenuBtn* item : Buttons)
        if (item->Visible && !item->Caption.empty() && PtInRect(&item->Rect, point)) return item;
    return nullptr;
}

TMenuBtn* TWinSkinMenu::ItemForAccelerator(WPARAM key) const
{
    const wchar_t wanted = MenuAccelerator(std::wstring{L'&', static_cast<wchar_t>(key & 0xFFFF)});
    if (!wanted) return nullptr;
    for (TMenuBtn* item : Buttons)
        if (item->ItemEnabled && item->Visible && MenuAccelerator(item->Caption) == wanted) return item;
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FirstItem() const
{
    for (TMenuBtn* item : Buttons)
        if (item->Visible && !item->Caption.empty()) return item;
    return nullptr;
}

bool TWinSkinMenu::IsOpen() const
{
    return GOpen.Bar == this;
}

void TWinSkinMenu::MenuSelect(WPARAM wParam, LPARAM lParam)
{
    if (GOpen.Bar != this) return;
    const UINT flags = HIWORD(wParam);
    auto* menu = reinterpret_cast<HMENU>(lParam);
    if (flags == 0xFFFF && !menu) {
        // The menu closes; a pending move to another menu keeps the loop.
        if (!GOpen.Switching && Form) Form->FInMenuLoop = 0;
        return;
    }
    GOpen.Switching = false;
    GOpen.Current = nullptr;
    const UINT id = LOWORD(wParam);
    auto* bar = As<TMainMenu>(Menu);
    if (flags & MF_POPUP) {
        HMENU submenu = menu ? GetSubMenu(menu, static_cast<int>(id)) : nullptr;
        if (Menu && submenu) GOpen.Current = Menu->Items()->FindByHandle(submenu);
        if (!GOpen.Current && bar && bar->Merged() && submenu)
            GOpen.Current = bar->Merged()->Items()->FindByHandle(submenu);
    } else if (bar) {
        GOpen.Current = bar->FindBarItem(id);
    } else if (Menu) {
        GOpen.Current = Menu->Items()->FindByCommand(id);
    }
}

bool TWinSkinMenu::OpenItem(TMenuBtn* item)
{
    GOpen.Switched = false;
    if (!item) return false;
    // The menu's loop may free the form skinner (its window went away) or
    // this bar (the skinner let go of the window): the flags tell.
    TWinSkinForm* form = Form;
    bool alive = true;
    bool* outer = form->FAliveWhileTracking;
    form->FAliveWhileTracking = &alive;
    if (item->State != skin::ncsPressed) {
        if (TNCObject* hot = form->HotObject(); hot && hot != item) hot->MouseLeave();
        form->SetHotObject(item);
        item->State = skin::ncsPressed;
        item->Paint();
    }
    const bool tracked = TrackItem(item);
    const bool freed = std::exchange(GOpen.BarFreed, false);
    if (alive) form->FAliveWhileTracking = outer;
    if (freed) {
        delete this;
        return tracked;
    }
    // The items may have been read again while the menu was open.
    if (!alive || std::find(Buttons.begin(), Buttons.end(), item) == Buttons.end()) return tracked;
    // Closed: the item shows hot while the mouse is on it, else normal.
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT window{};
    GetWindowRect(form->Handle(), &window);
    const POINT at{cursor.x - window.left, cursor.y - window.top};
    item->State = PtInRect(&item->Rect, at) ? skin::ncsHot : skin::ncsNormal;
    if (item->State == skin::ncsNormal && form->HotObject() == item) form->SetHotObject(nullptr);
    item->Paint();
    return tracked;
}

bool TWinSkinMenu::TrackItem(TMenuBtn* item)
{
    HWND window = Form->Handle();
    // The item's command reaches the window first, so that a framework
    // item's click runs (its menu may fill itself there). A native entry
    // with a submenu has no command of its own: its identifier is the
    // submenu.
    const bool nativePopup = !item->MenuItem && item->SubMenu &&
                             item->Command == static_cast<UINT>(reinterpret_cast<UINT_PTR>(item->SubMenu));
    if (item->Command && !nativePopup) PostMessageA(window, WM_COMMAND, item->Command, 0);
    if (!item->SubMenu) return false;

    GOpen.Bar = this;
    GOpen.OpenIndex = item->Index;
    RECT bounds{};
    GetWindowRect(window, &bounds);
    Form->MakeNativeOwnerDrawn(item->SubMenu);
    Form->FInMenuLoop = 1;
    const bool rightToLeft = RightToLeft();
    const int x = (rightToLeft ? item->Rect.right : item->Rect.left) + bounds.left;
    const int y = item->Rect.bottom + bounds.top;
    if (TSkinManage* manager = SkinManager()) {
        manager->MenuKind = smkMenuBar;
        manager->MarkNewMenus = true;
    }
    Form->FTrackedMenu = item->SubMenu;

    GOpen.Switching = false;
    GOpen.FirstMessage = true;
    GOpen.Current = nullptr;
    GetCursorPos(&GOpen.LastMouse);
    if (!GOpen.Hook) GOpen.Hook = SetWindowsHookExA(WH_MSGFILTER, MenuFilterHook, nullptr, GetCurrentThreadId());

    // The system reports the chosen item to the window (WM_COMMAND).
    if (item->ItemEnabled) {
        UINT flags = TPM_RIGHTBUTTON | TPM_NONOTIFY;
        if (rightToLeft) flags |= TPM_RIGHTALIGN;
        TrackPopupMenu(item->SubMenu, flags, x, y, 0, window, nullptr);
    }

    if (GOpen.Hook) UnhookWindowsHookEx(GOpen.Hook);
    GOpen.Hook = nullptr;
    GOpen.Current = nullptr;
    GOpen.Bar = nullptr;
    GOpen.OpenIndex = -1;
    GOpen.FirstMessage = false;
    if (!GOpen.BarFreed) Form->FInMenuLoop = 0;
    return true;
}

// ---- the form skinner's side -------------------------------------------------------

void TWinSkinForm::CreateMenuBar()
{
    FMenuBar = new TWinSkinMenu(nullptr);
    FMenuBar->SkinData = FSkinData;
    FMenuBar->Form = this;
    if (auto* form = As<TCustomForm>(FForm)) FMenuBar->Menu = form->Menu();
    FMenuBar->BuildItems();
    if (GetMenu(FHandle)) {
        // A menu the bar cannot show (a framework form's native menu that is
        // not its Menu) stays the window's own.
        delete FMenuBar;
        FMenuBar = nullptr;
    }
}

void TWinSkinForm::FreeMenuBar(bool giveMenuBack)
{
    TWinSkinMenu* bar = std::exchange(FMenuBar, nullptr);
    const bool open = bar && GOpen.Bar == bar;
    if (open) {
        // Its menu is open: close it; the bar frees itself once the menu's
        // loop has ended.
        GOpen.BarFreed = true;
        bar->Form = nullptr;
        EndMenu();
    }
    RestoreNativeEntries();
    if (giveMenuBack && IsWindow(FHandle)) {
        // The window gets the menu it shows now: the form's own (it may have
        // been replaced while skinned), else the native one it had.
        HMENU menu = FNativeMenu;
        if (auto* form = As<TCustomForm>(FForm); form && form->Menu()) menu = form->Menu()->Handle();
        else if (bar && bar->MenuHandle) menu = bar->MenuHandle;
        if (menu && IsMenu(menu) && GetMenu(FHandle) != menu) SetMenu(FHandle, menu);
    }
    if (bar && FHotObject && std::find(bar->Buttons.begin(), bar->Buttons.end(), FHotObject) != bar->Buttons.end())
        FHotObject = nullptr;
    if (bar && !open) delete bar;
}

void TWinSkinForm::RebuildMenuBar(HMENU menu, bool mdi)
{
    if (!FMenuBar) return;
    if (menu) FMenuBar->MenuHandle = menu;
    if (auto* form = As<TCustomForm>(FForm)) FMenuBar->Menu = form->Menu();
    if (mdi)
        FMenuBar->RebuildFromMDIMenu();
    else
        FMenuBar->BuildItems();
    // The band shows the new items at once.
    if (FSkinState == fssSkinned) PaintFrame();
}

bool TWinSkinForm::OpenMenuBarAt(POINT screenPoint)
{
    if (!FMenuBar) return false;
    RECT bounds{};
    GetWindowRect(FHandle, &bounds);
    TMenuBtn* item = FMenuBar->ItemAt(POINT{screenPoint.x - bounds.left, screenPoint.y - bounds.top});
    if (!item) return false;
    return FMenuBar->OpenItem(item);
}

bool TWinSkinForm::OpenMenuBarByKey(WPARAM key)
{
    if (!FMenuBar) return false;
    TMenuBtn* item = key ? FMenuBar->ItemForAccelerator(key) : FMenuBar->FirstItem();
    if (!item) return false;
    if (!IsWindowEnabled(FHandle)) return false;
    FMenuBar->OpenItem(item);
    return true;
}

void TWinSkinForm::PaintMenuBar(HDC dc, const RECT& band)
{
    if (FMenuBar) FMenuBar->PaintBar(dc, band);
}
