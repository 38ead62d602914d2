// Menus, menu items and image lists. See menus.h.
#include "framework/menus.h"

#include <algorithm>
#include <map>

#include "framework/application.h"
#include "framework/controls.h"
#include "framework/forms.h"
#include "framework/sysutils.h"

namespace {

// Every item's command, so that the window reporting a choice finds the item.
std::map<UINT, TMenuItem*>& Commands()
{
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

// Command identifiers run from 1 up to below the system commands; a freed
// one is used again.
UINT NewCommand(TMenuItem* item)
{
    static UINT next = 1;
    auto& commands = Commands();
    for (UINT tries = 0; tries < 0xEFFF; ++tries) {
        const UINT command = next;
        next = next >= 0xEFFF ? 1 : next + 1;
        if (!commands.count(command)) {
            commands[command] = item;
            return command;
        }
    }
    return 0;
}

std::string KeyName(WORD key)
{
    if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
    if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    switch (key) {
    case VK_BACK: return "BkSp";
    case VK_TAB: return "Tab";
    case VK_RETURN: return "Enter";
    case VK_ESCAPE: return "Esc";
    case VK_SPACE: return "Space";
    case VK_PRIOR: return "PgUp";
    case VK_NEXT: return "PgDn";
    case VK_END: return "End";
    case VK_HOME: return "Home";
    case VK_LEFT: return "Left";
    case VK_UP: return "Up";
    case VK_RIGHT: return "Right";
    case VK_DOWN: return "Down";
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Del";
    default: break;
    }
    char name[32] = {};
    const UINT scan = MapVirtualKeyA(key, 0);
    if (scan && GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) > 0) return name;
    return std::string();
}

// The window TPopupMenu's menus report to while open.
LRESULT CALLBACK PopupWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (msg) {
        case WM_MEASUREITEM:
        case WM_DRAWITEM:
            if (MenuItemMessage(msg, lParam)) return TRUE;
            break;
        case WM_COMMAND:
            if (!lParam && HIWORD(wParam) == 0)
                if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam))) {
                    item->Click();
                    return 0;
                }
            break;
        default: break;
        }
    } catch (...) {
        // An item's handler failed (a locked ledger, say): the user is told,
        // as for any other handler, and the menu's command counts as done.
        if (Application) Application->HandleException(std::current_exception());
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

HFONT ScreenMenuFont()
{
    static TGdiFont font;
    if (font.IsNull()) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
    }
    return font.IsNull() ? static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)) : font.Get();
}

// ---- shortcuts ----------------------------------------------------------------------

TShortCut ShortCut(WORD key, unsigned shift)
{
    TShortCut result = key & 0xFF;
    if (shift & ssShift) result |= scShift;
    if (shift & ssCtrl) result |= scCtrl;
    if (shift & ssAlt) result |= scAlt;
    return result;
}

std::string ShortCutToText(TShortCut shortCut)
{
    const std::string name = KeyName(shortCut & 0xFF);
    if (!shortCut || name.empty()) return std::string();
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + name;
}

// ---- items ----------------------------------------------------------------------------

using PI = TPropBuilder<TMenuItem>;
IMPLEMENT_CLASS(TMenuItem,
    PI::WideString("Caption", &TMenuItem::CaptionW, &TMenuItem::SetCaptionW),
    PI::Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked),
    PI::Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled),
    PI::Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible),
    PI::Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault),
    PI::Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem),
    PI::Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex),
    PI::Integer("ShortCut", &TMenuItem::ShortCut, [](TMenuItem& i, int v) { i.SetShortCut(static_cast<TShortCut>(v)); }),
    PI::Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex))

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner)
{
    FCommand = NewCommand(this);
}

TMenuItem::~TMenuItem()
{
    try {
        while (!FItems.empty()) delete FItems.back();
        if (FParent) FParent->Remove(this);
        FreeHandle();
        Commands().erase(FCommand);
    } catch (...) {
    }
}

TMenuItem* TMenuItem::FromCommand(UINT command)
{
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

std::string TMenuItem::Caption() const
{
    return WideToAnsi(FCaption);
}

void TMenuItem::SetCaption(const std::string& value)
{
    SetCaptionW(AnsiToWide(value));
}

void TMenuItem::SetCaptionW(const std::wstring& value)
{
    if (FCaption == value) return;
    FCaption = value;
    Changed();
}

void TMenuItem::SetChecked(bool value)
{
    if (FChecked == value) return;
    FChecked = value;
    if (value && FRadioItem && FParent)
        for (TMenuItem* other : FParent->FItems)
            if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex) other->FChecked = false;
    Changed();
}

void TMenuItem::SetEnabled(bool value)
{
    if (FEnabled == value) return;
    FEnabled = value;
    Changed();
}

void TMenuItem::SetVisible(bool value)
{
    if (FVisible == value) return;
    FVisible = value;
    Changed();
}

void TMenuItem::SetDefault(bool value)
{
    if (FDefault == value) return;
    FDefault = value;
    Changed();
}

void TMenuItem::SetRadioItem(bool value)
{
    if (FRadioItem == value) return;
    FRadioItem = value;
    Changed();
}

void TMenuItem::SetGroupIndex(int value)
{
    FGroupIndex = value;
}

void TMenuItem::SetShortCut(TShortCut value)
{
    if (FShortCut == value) return;
    FShortCut = value;
    Changed();
}

void TMenuItem::SetImageIndex(int value)
{
    if (FImageIndex == value) return;
    FImageIndex = value;
    Changed();
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(Format("Menu index out of bounds (%d)", index));
    return FItems[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item || item == this) return;
    if (item->FParent) item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    Changed();
}

void TMenuItem::Delete(int index) { delete Items(index); }

void TMenuItem::Clear()
{
    while (!FItems.empty()) delete FItems.back();
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* item = this;
    while (item->FParent) item = item->FParent;
    return item->FMenu;
}

HMENU TMenuItem::Handle()
{
    if (FHandle) return FHandle;
    if (FMenu)
        FHandle = FMenu->CreateMenuHandle();
    else if (!FItems.empty())
        FHandle = CreatePopupMenu();
    if (FHandle) WriteEntries(FHandle);
    return FHandle;
}

void TMenuItem::FreeHandle()
{
    if (!FHandle) return;
    // Our entries' submenus belong to the sub-items: take them out before the
    // menu goes, so that destroying it leaves them alone.
    while (GetMenuItemCount(FHandle) > 0)
        if (!RemoveMenu(FHandle, 0, MF_BYPOSITION)) break;
    DestroyMenu(FHandle);
    FHandle = nullptr;
}

void TMenuItem::RebuildHandle()
{
    if (!FHandle) return;
    while (GetMenuItemCount(FHandle) > 0)
        if (!RemoveMenu(FHandle, 0, MF_BYPOSITION)) break;
    WriteEntries(FHandle);
}

void TMenuItem::WriteEntries(HMENU menu)
{
    TMenu* owner = GetParentMenu();
    const bool ownerDraw = owner && owner->OwnerDraw();
    // The menu bar itself shows plain texts; owner-drawing starts below it.
    const bool barLevel = owner && FMenu == owner && dynamic_cast<TMainMenu*>(owner);
    UINT position = 0;
    // A menu bar shows the items of a menu merged into it as well.
    auto* bar = barLevel ? static_cast<TMainMenu*>(owner) : nullptr;
    const std::vector<TMenuItem*> items = bar ? bar->BarItems() : FItems;
    for (TMenuItem* item : items) {
        if (!item->FVisible) continue;
        HMENU submenu = nullptr;
        if (!item->FItems.empty()) {
            if (item->FHandle)
                item->RebuildHandle();
            else
                item->Handle();
            submenu = item->FHandle;
        }
        std::wstring text = item->FCaption;
        if (item->FShortCut) text += L"\t" + AnsiToWide(ShortCutToText(item->FShortCut));
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_DATA | MIIM_SUBMENU;
        info.wID = item->FCommand;
        info.hSubMenu = submenu;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        if (item->IsLine()) {
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask |= MIIM_STRING;
            info.fType = MFT_STRING;
            info.dwTypeData = text.data();
            info.cch = static_cast<UINT>(text.size());
        }
        if (item->FRadioItem) info.fType |= MFT_RADIOCHECK;
        if (ownerDraw && !barLevel) info.fType |= MFT_OWNERDRAW;
        if (item->FChecked) info.fState |= MFS_CHECKED;
        if (!item->FEnabled) info.fState |= MFS_GRAYED;
        if (item->FDefault) info.fState |= MFS_DEFAULT;
        InsertMenuItemW(menu, position++, TRUE, &info);
    }
}

void TMenuItem::Changed()
{
    TMenuItem* root = this;
    while (root->FParent) root = root->FParent;
    if (TMenu* menu = root->FMenu) {
        if (!menu->HasState(csDestroying)) menu->MenuChanged();
        return;
    }
    // A tree outside any menu keeps its own native menus in step.
    if (FParent && FParent->FHandle) FParent->RebuildHandle();
    if (FHandle) RebuildHandle();
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick) OnClick(this);
}

void TMenuItem::DoMeasureItem(TCanvas* canvas, int& width, int& height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, canvas, width, height);
    else
        MeasureItem(canvas, width, height);
}

void TMenuItem::DoDrawItem(TCanvas* canvas, const RECT& rect, bool selected)
{
    if (OnDrawItem)
        OnDrawItem(this, canvas, rect, selected);
    else
        DrawItem(canvas, rect, selected);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height)
{
    if (IsLine()) {
        width = 10;
        height = 8;
        return;
    }
    HDC dc = canvas ? canvas->Handle() : nullptr;
    SIZE extent{0, 0};
    if (dc) {
        TSelectObject font(dc, ScreenMenuFont());
        std::wstring text = FCaption.empty() ? std::wstring(L" ") : FCaption;
        if (FShortCut) text += L"    " + AnsiToWide(ShortCutToText(FShortCut));
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        extent = SIZE{r.right, r.bottom};
    }
    width = extent.cx + 8;
    height = std::max<int>(extent.cy + 4, GetSystemMetrics(SM_CYMENUSIZE));
}

void TMenuItem::DrawItem(TCanvas* canvas, const RECT& rect, bool selected)
{
    HDC dc = canvas ? canvas->Handle() : nullptr;
    if (!dc) return;
    TSaveDC saved(dc);
    FillRect(dc, &rect, GetSysColorBrush(selected && !IsLine() ? COLOR_HIGHLIGHT : COLOR_MENU));
    if (IsLine()) {
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    SelectObject(dc, ScreenMenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(!FEnabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    TMenu* menu = GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    const int glyph = images ? std::max(images->Width(), 16) : 16;
    if (images && FImageIndex >= 0)
        images->Draw(dc, rect.left + 2, rect.top + (rect.bottom - rect.top - images->Height()) / 2, FImageIndex, FEnabled);
    else if (FChecked) {
        RECT mark{rect.left + 2, rect.top, rect.left + 2 + glyph, rect.bottom};
        DrawTextA(dc, FRadioItem ? "\xa1\xf1" : "\xa1\xcc", -1, &mark, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    RECT text{rect.left + glyph + 6, rect.top, rect.right - 4, rect.bottom};
    DrawTextW(dc, FCaption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    if (FShortCut) DrawTextA(dc, ShortCutToText(FShortCut).c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

TMenuItem* TMenuItem::FindByCommand(UINT command)
{
    if (FCommand == command) return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindByCommand(command)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindByHandle(HMENU menu)
{
    if (menu && FHandle == menu) return this;
    for (TMenuItem* item : FItems)
        if (TMenuItem* found = item->FindByHandle(menu)) return found;
    return nullptr;
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut shortCut)
{
    if (!shortCut) return nullptr;
    for (TMenuItem* item : FItems) {
        if (!item->FVisible || !item->FEnabled) continue;
        if (item->FShortCut == shortCut) return item;
        if (TMenuItem* found = item->FindByShortCut(shortCut)) return found;
    }
    return nullptr;
}

// ---- menus ---------------------------------------------------------------------------

const TEnumInfo BiDiModeEnum{"TBiDiMode",
                              {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};

using PM = TPropBuilder<TMenu>;
IMPLEMENT_CLASS(TMenu,
    PM::Enum("BiDiMode", BiDiModeEnum, &TMenu::BiDiMode, &TMenu::SetBiDiMode),
    PM::Bool("ParentBiDiMode", &TMenu::ParentBiDiMode, &TMenu::SetParentBiDiMode),
    PM::Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw),
    PM::Object("Images", &TMenu::Images, &TMenu::SetImages))

TMenu::TMenu(TComponent* owner) : TComponent(owner)
{
    FItems = new TMenuItem(this);
    FItems->FMenu = this;
}

TMenu::~TMenu()
{
    // The root item is owned by this menu and freed with it; its sub-items
    // are freed with the root.
}

HMENU TMenu::Handle() { return FItems->Handle(); }

TBiDiMode TMenu::BiDiMode() const
{
    if (FParentBiDiMode)
        if (auto* form = As<TCustomForm>(Owner())) return form->BiDiMode();
    return FBiDiMode;
}

void TMenu::SetBiDiMode(TBiDiMode value)
{
    FParentBiDiMode = false;
    if (FBiDiMode == value) return;
    FBiDiMode = value;
    MenuChanged();
}

void TMenu::SetParentBiDiMode(bool value)
{
    if (FParentBiDiMode == value) return;
    FParentBiDiMode = value;
    MenuChanged();
}

void TMenu::SetImages(TCustomImageList* value)
{
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
    MenuChanged();
}

void TMenu::SetOwnerDraw(bool value)
{
    if (FOwnerDraw == value) return;
    FOwnerDraw = value;
    MenuChanged();
}

void TMenu::MenuChanged()
{
    if (HasState(csDestroying)) return;
    FItems->RebuildHandle();
}

void TMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) FImages = nullptr;
}

bool TMenu::DispatchCommand(UINT command)
{
    TMenuItem* item = FItems->FindByCommand(command);
    if (!item || item == FItems) return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TShortCut shortCut)
{
    TMenuItem* item = FItems->FindByShortCut(shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

// ---- main menu --------------------------------------------------------------------------

IMPLEMENT_CLASS(TMainMenu)

TMainMenu::~TMainMenu()
{
    SetComponentState(csDestroying);
    if (FMergedInto) FMergedInto->Merge(nullptr);
    if (FMerged) FMerged->FMergedInto = nullptr;
    FMerged = nullptr;
    if (HWND window = WindowHandle(); window && IsWindow(window)) ::SetMenu(window, nullptr);
}

void TMainMenu::Notification(TComponent* component, TOperation operation)
{
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == FMerged) FMerged = nullptr;
}

void TMainMenu::Merge(TMainMenu* menu)
{
    if (menu == this || menu == FMerged) return;
    if (FMerged) {
        FMerged->FMergedInto = nullptr;
        FMerged->RemoveFreeNotification(this);
    }
    FMerged = menu;
    if (menu) {
        if (menu->FMergedInto && menu->FMergedInto != this) menu->FMergedInto->Merge(nullptr);
        menu->FMergedInto = this;
        menu->FreeNotification(this);
    }
    MenuChanged();
}

std::vector<TMenuItem*> TMainMenu::BarItems() const
{
    std::vector<TMenuItem*> items;
    for (int i = 0; i < Items()->Count(); ++i) items.push_back(Items()->Items(i));
    if (!FMerged || FMerged->HasState(csDestroying)) return items;
    // The merged menu's groups replace this menu's items of the same group.
    std::vector<int> groups;
    for (int i = 0; i < FMerged->Items()->Count(); ++i) groups.push_back(FMerged->Items()->Items(i)->GroupIndex());
    items.erase(std::remove_if(items.begin(), items.end(),
                               [&](TMenuItem* item) {
                                   return std::find(groups.begin(), groups.end(), item->GroupIndex()) != groups.end();
                               }),
                items.end());
    for (int i = 0; i < FMerged->Items()->Count(); ++i) {
        TMenuItem* item = FMerged->Items()->Items(i);
        auto at = std::find_if(items.begin(), items.end(),
                               [&](TMenuItem* own) { return own->GroupIndex() > item->GroupIndex(); });
        items.insert(at, item);
    }
    return items;
}

TMenuItem* TMainMenu::FindBarItem(UINT command) const
{
    TMenuItem* item = Items()->FindByCommand(command);
    if ((!item || item == Items()) && FMerged) item = FMerged->Items()->FindByCommand(command);
    return item == Items() || (FMerged && item == FMerged->Items()) ? nullptr : item;
}

HWND TMainMenu::WindowHandle() const
{
    auto* form = As<TCustomForm>(Owner());
    return form && form->Menu() == this ? form->HandleIfAllocated() : nullptr;
}

void TMainMenu::MenuChanged()
{
    if (HasState(csDestroying)) return;
    TMenu::MenuChanged();
    // A merged menu's change shows in the bar it is merged into.
    if (FMergedInto) FMergedInto->MenuChanged();
    if (HWND window = WindowHandle()) SendMessageA(window, CM_MENUCHANGED, 0, 0);
}

// ---- popup menu ---------------------------------------------------------------------------

using PP = TPropBuilder<TPopupMenu>;
IMPLEMENT_CLASS(TPopupMenu, PP::Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup))

TPopupMenu::~TPopupMenu()
{
    *FAlive = false;
}

HWND TPopupMenu::PopupWindow()
{
    static HWND window = nullptr;
    if (window && IsWindow(window)) return window;
    static const char* const className = "TPopupList";
    WNDCLASSA cls{};
    cls.lpfnWndProc = PopupWindowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = className;
    RegisterClassA(&cls);
    window = CreateWindowExA(0, className, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, cls.hInstance, nullptr);
    return window;
}

void TPopupMenu::Popup(int x, int y)
{
    const std::shared_ptr<bool> alive = FAlive;
    if (OnPopup) OnPopup(this);
    UINT chosen = 0;
    if (*alive) {
        HMENU menu = Handle();
        if (menu)
            // A right-to-left menu opens leftwards from the point.
            chosen = static_cast<UINT>(TrackPopupMenu(
                menu, (IsRightToLeft() ? TPM_RIGHTALIGN : TPM_LEFTALIGN) | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                x, y, 0, PopupWindow(), nullptr));
    }
    // The command finds the item among those that still exist, even when
    // this menu went away while it was open.
    if (chosen)
        if (TMenuItem* item = TMenuItem::FromCommand(chosen)) item->Click();
}

// ---- owner-drawn items ------------------------------------------------------------------

bool MenuItemMessage(UINT msg, LPARAM lParam)
{
    if (msg == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (!measure || measure->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromCommand(measure->itemID);
        if (!item) return false;
        // A memory DC like the screen measures text as the screen does,
        // without asking the server for the screen's visible region (one
        // round trip per item of every menu opened).
        TMemoryDC screen;
        TCanvas canvas;
        canvas.SetHandle(screen);
        int width = static_cast<int>(measure->itemWidth);
        int height = static_cast<int>(measure->itemHeight);
        item->DoMeasureItem(&canvas, width, height);
        canvas.SetHandle(nullptr);
        measure->itemWidth = static_cast<UINT>(std::max(width, 0));
        measure->itemHeight = static_cast<UINT>(std::max(height, 0));
        return true;
    }
    if (msg == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (!draw || draw->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromCommand(draw->itemID);
        if (!item) return false;
        TCanvas canvas;
        canvas.SetHandle(draw->hDC);
        item->DoDrawItem(&canvas, draw->rcItem, (draw->itemState & ODS_SELECTED) != 0);
        canvas.SetHandle(nullptr);
        return true;
    }
    return false;
}
