// Owner-drawn menu items: the form's menus made owner-drawn (and given back),
// and every item measured and drawn from the skin's "MenuItem" object over
// the background of the popup window that shows it, with the menu font and
// the skin's menu colours. The same drawing serves the framework's menus,
// the submenus of the skinned menu bar, the skinned system menu and the
// native menus of plain windows.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>

#include "framework/display_scale.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/data/image_utils.h"
#include "skin/data/frame_draw.h"
#include "skin/data/scaled_picture.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_manager.h"
#include "skin/form/form_skinner.h"
#include "skin/form/menu_bar.h"
#include "skin/form/menu_items.h"

namespace {

constexpr int MENU_TEXT_CHARS = 80;
constexpr UINT TEXT_CALC_FLAGS = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
constexpr UINT TEXT_DRAW_FLAGS = DT_EXPANDTABS | DT_SINGLELINE;
// The largest command that a framework menu item can have; the system's
// own commands lie above.
constexpr UINT LAST_FRAMEWORK_COMMAND = 4095;

COLORREF MenuColour(const TSkinData* skin, int index)
{
    return ColorToRGB(static_cast<TColor>(skin->Model().Colours[static_cast<size_t>(index)]));
}

// The skin is still one the manager knows (a drawing event may outlive the
// skinner that installed it).
bool IsWinNT4()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 4;
}

// The item of the form's menu bar (its menu, or a menu merged into it) with
// `command`, or null.
TMenuItem* BarItem(TMenu* menu, UINT command)
{
    if (auto* bar = As<TMainMenu>(menu)) return bar->FindBarItem(command);
    TMenuItem* item = menu ? menu->Items()->FindByCommand(command) : nullptr;
    return item == (menu ? menu->Items() : nullptr) ? nullptr : item;
}

bool SkinUsable(const TSkinData* skin)
{
    TSkinManage* manager = SkinManager();
    if (!skin || !manager) return false;
    const auto& datas = manager->SkinDatas();
    return std::find(datas.begin(), datas.end(), skin) != datas.end() && !skin->NoSkin();
}

// The scale menus are drawn at: `dpi`, or the system's for 0.
UINT MenuDpi(UINT dpi) { return dpi ? dpi : SystemDpi(); }

// The scale of `window`, the window whose menus an event measures or draws:
// its skinner's, which follows every change of the window's scale, without
// the property lookup (a server call) WindowDpi makes for each item.
UINT EventDpi(HWND window)
{
    if (TSkinManage* manager = SkinManager())
        if (auto* skinner = dynamic_cast<TWinSkinForm*>(manager->FindFormSkinner(window)))
            if (skinner->Dpi()) return skinner->Dpi();
    return WindowDpi(window);
}

// The skin's "MenuItem" object at `dpi`.
const TDataSkinObject* MenuItemObject(const TSkinData* skin, UINT dpi)
{
    const TDataSkinObject* object = skin ? skin->ModelFor(MenuDpi(dpi)).Object(ssMenuItem) : nullptr;
    return object && !object->Bitmap.Empty() ? object : nullptr;
}

// The popup window showing `menu`, told which menu it shows, with the
// offset of its client area in its window.
HBITMAP PopupBackground(HMENU menu, POINT& clientOffset)
{
    TSkinManage* manager = SkinManager();
    clientOffset = POINT{3, 3};
    if (!manager || !menu) return nullptr;
    manager->MarkAllPopupMenus();
    manager->AttachMenuToNewest(menu);
    for (TPopupMenuSkinnerLink* popup : manager->MenuSkinners()) {
        if (popup->MenuHandle() != menu) continue;
        RECT window{};
        POINT origin{0, 0};
        if (GetWindowRect(popup->MenuWindow(), &window) && ClientToScreen(popup->MenuWindow(), &origin))
            clientOffset = POINT{origin.x - window.left, origin.y - window.top};
        return popup->BackgroundBitmap();
    }
    return nullptr;
}

void SplitShortCut(std::wstring& caption, std::wstring& shortCut)
{
    const size_t tab = caption.find(L'\t');
    if (tab == std::wstring::npos) return;
    shortCut = caption.substr(tab + 1);
    caption.resize(tab);
}

// The check or radio mark of `size` pixels as the system draws it, on a
// memory DC kept for the thread: drawing it takes the system's symbol font,
// whose choosing is slow, and a menu draws many marks of a few sizes.
HDC MarkPicture(int size, bool radio)
{
    struct TMark {
        HDC DC = nullptr;
        HBITMAP Bitmap = nullptr;
    };
    thread_local auto* marks = new std::map<std::pair<int, bool>, TMark>;  // never freed, as the scratch pool
    TMark& mark = (*marks)[{size, radio}];
    if (mark.DC) return mark.DC;
    TMemoryDC dc;
    TGdiBitmap bitmap(CreateBitmap(size, size, 1, 1, nullptr));
    if (dc.IsNull() || bitmap.IsNull() || !SelectObject(dc, bitmap)) return nullptr;
    RECT cell{0, 0, size, size};
    DrawFrameControl(dc, &cell, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    mark.Bitmap = bitmap.Release();
    mark.DC = dc.Release();
    return mark.DC;
}

// The item's check or radio mark, black, centred in `box`.
void DrawMark(HDC dc, const RECT& box, bool radio, int shift)
{
    const int size = std::min<int>(box.right - box.left, box.bottom - box.top);
    if (size <= 0) return;
    const HDC markDC = MarkPicture(size, radio);
    if (!markDC) return;
    const int x = box.left + (box.right - box.left - size) / 2 + shift;
    const int y = box.top + (box.bottom - box.top - size) / 2;
    TSaveDC saved(dc);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, size, size, markDC, 0, 0, SRCAND);
}

}  // namespace

namespace skin {

TMenuItemLook LookOf(TMenuItem* item)
{
    TMenuItemLook look;
    if (!item) return look;
    look.Caption = item->CaptionW();
    look.ShortCut = AnsiToWide(ShortCutToText(item->ShortCut()));
    // A caption may carry its shortcut's text after a tab.
    if (look.ShortCut.empty()) SplitShortCut(look.Caption, look.ShortCut);
    look.Checked = item->Checked();
    look.Radio = item->RadioItem();
    look.Enabled = item->Enabled();
    look.Default = item->Default();
    look.ImageIndex = item->ImageIndex();
    look.HasSubMenu = item->Count() > 0;
    if (TMenu* menu = item->GetParentMenu()) {
        look.Images = menu->Images();
        look.RightToLeft = menu->IsRightToLeft();
    }
    return look;
}

TMenuItemLook LookOfNative(HMENU menu, UINT id, const std::wstring& savedText)
{
    TMenuItemLook look;
    wchar_t text[MENU_TEXT_CHARS + 1] = {};
    GetMenuStringW(menu, id, text, MENU_TEXT_CHARS, MF_BYCOMMAND);
    look.Caption = text[0] ? std::wstring(text) : savedText;
    SplitShortCut(look.Caption, look.ShortCut);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU;
    if (GetMenuItemInfoW(menu, id, FALSE, &info)) {
        look.HasSubMenu = info.hSubMenu != nullptr;
        look.Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        look.Checked = (info.fState & MFS_CHECKED) != 0;
        look.Default = (info.fState & MFS_DEFAULT) != 0;
        look.Radio = (info.fType & MFT_RADIOCHECK) != 0;
        look.RightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
        if (info.fType & MFT_SEPARATOR) look.Caption = L"-";
    }
    if (look.Caption.empty()) look.Caption = L"-";
    return look;
}

void DrawItemContents(const TSkinData* skin, const TMenuItemLook& look, HDC dc, const RECT& rect, bool selected,
                      UINT dpi)
{
    dpi = MenuDpi(dpi);
    const auto px = [dpi](int value) { return ScaleToDpi(value, dpi); };
    const TDataSkinObject* object = MenuItemObject(skin, dpi);
    if (look.IsLine()) {
        if (!object) {
            RECT line{rect.left, rect.top + px(4), rect.right, rect.bottom};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        }
        return;
    }
    TSaveDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    const int glyph = look.Images ? std::max(px(look.Images->Width()), look.Checked ? px(16) : 0) : px(16);
    // The glyph box, from the left edge, or in a right-to-left menu from
    // the right edge.
    const int inset = px(1) + (object ? object->LeftWidth : 0);
    const int top = rect.top + px(1);
    const RECT box = look.RightToLeft ? RECT{rect.right - inset - glyph, top, rect.right - inset, top + glyph}
                                      : RECT{rect.left + inset, top, rect.left + inset + glyph, top + glyph};
    const bool hasImage = look.Images && look.ImageIndex >= 0 && look.ImageIndex < look.Images->Count();
    if (hasImage) {
        if (look.Checked) {
            // A checked item with a picture: the picture on a sunken,
            // patterned box.
            static const WORD pattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
            TGdiBitmap patternBits(CreateBitmap(8, 8, 1, 1, pattern));
            TGdiBrush brush(CreatePatternBrush(patternBits));
            {
                TSaveDC colours(dc);
                SetTextColor(dc, GetSysColor(COLOR_BTNFACE));
                SetBkColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
                FillRect(dc, &box, brush);
            }
            RECT edge = box;
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        }
        const int imageHeight = look.Checked ? px(16) : px(look.Images->Height());
        TCustomImageList* images = look.Images;
        const int index = look.ImageIndex;
        const bool enabled = look.Enabled;
        DrawScaledPicture(dc, box.left, rect.top + (rect.bottom - rect.top - imageHeight) / 2,
                          SIZE{images->Width(), images->Height()}, dpi,
                          [&](HDC to, int x, int y) { images->Draw(to, x, y, index, enabled); });
    } else if (look.Checked) {
        const RECT markBox{box.left, rect.top, box.right, rect.bottom};
        DrawMark(dc, markBox, look.Radio, px(1));
    }

    COLORREF colour = 0;
    if (!skin) {
        colour = GetSysColor(!look.Enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    } else if (look.Enabled) {
        colour = MenuColour(skin, selected ? scHilightText : scMenuText);
    } else {
        colour = MenuColour(skin, scButtonShadow);
        if (colour == MenuColour(skin, scMenuText)) colour = GetSysColor(COLOR_BTNSHADOW);
    }
    SetTextColor(dc, colour);
    HFONT font = MenuFontAt(dpi);
    TGdiFont bold;
    if (look.Default) {
        LOGFONTA logFont{};
        if (GetObjectA(font, sizeof logFont, &logFont)) {
            logFont.lfWeight = FW_BOLD;
            bold.Reset(CreateFontIndirectA(&logFont));
        }
    }
    SelectObject(dc, bold.IsNull() ? font : bold.Get());
    RECT text = look.RightToLeft ? RECT{rect.left + px(1), rect.top, box.left - px(3), rect.bottom}
                                 : RECT{box.right + px(3), rect.top, rect.right - px(1), rect.bottom};
    const std::wstring measured = (look.Caption.empty() || look.Caption == L"&") ? look.Caption + L" " : look.Caption;
    const UINT reading = look.RightToLeft ? DT_RTLREADING : 0;
    RECT extent = text;
    DrawTextW(dc, measured.c_str(), -1, &extent, TEXT_CALC_FLAGS | reading);
    const int textWidth = extent.right - extent.left;
    const int textHeight = extent.bottom - extent.top;
    text.top = rect.top + (rect.bottom - rect.top - textHeight) / 2;
    text.bottom = text.top + textHeight;
    DrawTextW(dc, look.Caption.c_str(), -1, &text, TEXT_DRAW_FLAGS | (look.RightToLeft ? DT_RIGHT | reading : 0));
    if (!look.ShortCut.empty()) {
        // The shortcut beside the caption's end: at the item's far side.
        RECT shortCut = look.RightToLeft ? RECT{rect.left + px(11), text.top, text.right - textWidth, text.bottom}
                                         : RECT{extent.right, text.top, rect.right - px(11), text.bottom};
        DrawTextW(dc, look.ShortCut.c_str(), -1, &shortCut, TEXT_DRAW_FLAGS | (look.RightToLeft ? 0 : DT_RIGHT));
    }
    if (look.HasSubMenu) {
        // The submenu's arrow in the text colour, pointing away from the
        // caption: 4 x 7 pixels at 96, 5 pixels from the far edge.
        const int half = px(3);
        const int middle = rect.top + (rect.bottom - rect.top) / 2;
        const int base = look.RightToLeft ? rect.left + px(5) + half : rect.right - px(5) - half;
        const int tip = look.RightToLeft ? base - half : base + half;
        const POINT arrow[3] = {{base, middle - half}, {base, middle + half}, {tip, middle}};
        TGdiBrush brush(CreateSolidBrush(colour));
        TGdiPen pen(CreatePen(PS_SOLID, 1, colour));
        TSelectObject b(dc, brush);
        TSelectObject p(dc, pen);
        Polygon(dc, arrow, 3);
    }
}

// The part of an item at its far side where the system draws a submenu's
// arrow after the item's owner.
static RECT SubMenuArrowZone(const TMenuItemLook& look, const RECT& rect, UINT dpi)
{
    const int width = std::min<int>(ScaleToDpi(16, dpi), rect.right - rect.left);
    return look.RightToLeft ? RECT{rect.left, rect.top, rect.left + width, rect.bottom}
                            : RECT{rect.right - width, rect.top, rect.right, rect.bottom};
}

// Keeps the system from drawing its own submenu arrow over the item's.
static void KeepSubMenuArrow(HDC dc, const TMenuItemLook& look, const RECT& rect, UINT dpi)
{
    if (!look.HasSubMenu || look.IsLine()) return;
    const RECT zone = SubMenuArrowZone(look, rect, dpi);
    ExcludeClipRect(dc, zone.left, zone.top, zone.right, zone.bottom);
}

void DrawSkinnedItem(const TSkinData* skin, const TMenuItemLook& look, HDC dc, const RECT& rect, bool selected,
                     HMENU parentMenu, UINT dpi)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (!dc || width <= 0 || height <= 0) return;
    dpi = MenuDpi(dpi);
    const TDataSkinObject* object = MenuItemObject(skin, dpi);
    skin::TScratchSurface item(width, height);
    if (!item.Ok()) return;
    const HDC itemDC = item.DC();
    SetStretchBltMode(itemDC, COLORONCOLOR);
    const RECT local{0, 0, width, height};
    if (!object) {
        // No skin object: the plain look in the skin's colours.
        TGdiBrush fill(CreateSolidBrush(skin ? MenuColour(skin, selected && !look.IsLine() ? scHilight : scMenu)
                                             : GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU)));
        FillRect(itemDC, &local, fill);
        DrawItemContents(skin, look, itemDC, local, selected, dpi);
        BitBlt(dc, rect.left, rect.top, width, height, itemDC, 0, 0, SRCCOPY);
        KeepSubMenuArrow(dc, look, rect, dpi);
        return;
    }
    // The popup's own background under the item, or the menu colour.
    POINT offset{3, 3};
    HBITMAP background = PopupBackground(parentMenu, offset);
    bool filled = false;
    if (background) {
        BITMAP info{};
        if (GetObjectA(background, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight > 0) {
            TMemoryDC from(dc);
            TSelectObject use(from, background);
            filled = BitBlt(itemDC, 0, 0, width, height, from, rect.left + offset.x, rect.top + offset.y, SRCCOPY) != 0;
        }
    }
    if (!filled) {
        TGdiBrush fill(CreateSolidBrush(MenuColour(skin, scMenu)));
        FillRect(itemDC, &local, fill);
    }
    const RECT margins{object->LeftWidth, object->TopHeight, object->RightWidth, object->BottomHeight};
    if (!look.IsLine()) {
        skin::DrawFrameBitmap(itemDC, local, object->Bitmap.Handle(), margins, selected ? 4 : 1,
                              std::max(object->Frame, 1), object->Trans != 0, object->Tile != 0, false);
        DrawItemContents(skin, look, itemDC, local, selected, dpi);
        BitBlt(dc, rect.left, rect.top, width, height, itemDC, 0, 0, SRCCOPY);
        KeepSubMenuArrow(dc, look, rect, dpi);
        return;
    }
    // The separator: frame 2 of the image, bottom-aligned, its left and
    // right columns kept and its middle stretched across the item, laid
    // over the background off screen (a masked copy onto the menu window
    // asks the display for its format each time) and shown in one copy.
    const int frames = std::max(object->Frame, 1);
    const int frameWidth = object->Bitmap.Width() / frames;
    const int imageHeight = object->Bitmap.Height();
    const int sourceTop = imageHeight > height ? imageHeight - height : 0;
    const int rows = std::min(imageHeight, height);
    const int left = std::min(object->LeftWidth, width / 2);
    const int right = std::min(object->RightWidth, width - left);
    TGdiBitmap line = skin::MakeDibSection(width, rows, 32);
    TMemoryDC lineDC(dc);
    if (line.IsNull() || lineDC.IsNull()) {
        BitBlt(dc, rect.left, rect.top, width, height, itemDC, 0, 0, SRCCOPY);
        return;
    }
    {
        TSelectObject useLine(lineDC, line);
        TMemoryDC source(dc);
        TSelectObject useSource(source, object->Bitmap.Handle());
        SetStretchBltMode(lineDC, COLORONCOLOR);
        const int x0 = frameWidth;  // frame 2
        StretchBlt(lineDC, 0, 0, left, rows, source, x0, sourceTop, left, rows, SRCCOPY);
        StretchBlt(lineDC, left, 0, width - left - right, rows, source, x0 + left, sourceTop,
                   std::max(frameWidth - left - right, 1), rows, SRCCOPY);
        StretchBlt(lineDC, width - right, 0, right, rows, source, x0 + frameWidth - right, sourceTop, right, rows,
                   SRCCOPY);
    }
    const RECT target{0, height - rows, width, height};
    skin::DrawTransparentBitmap(itemDC, target, line, RGB(255, 0, 255));
    BitBlt(dc, rect.left, rect.top, width, height, itemDC, 0, 0, SRCCOPY);
}

int PopupMeasureExtra(const TSkinData* skin, bool hasImages, UINT dpi)
{
    dpi = MenuDpi(dpi);
    const TDataSkinObject* object = SkinUsable(skin) ? MenuItemObject(skin, dpi) : nullptr;
    return (object ? object->LeftWidth : 0) + ScaleToDpi(12, dpi) + (hasImages ? 0 : ScaleToDpi(23, dpi));
}

int MainMeasureExtra(const TSkinData* skin, bool hasImages, UINT dpi)
{
    dpi = MenuDpi(dpi);
    const TDataSkinObject* object = SkinUsable(skin) ? MenuItemObject(skin, dpi) : nullptr;
    return (object ? object->LeftWidth : 0) + ScaleToDpi(10, dpi) + (hasImages ? 0 : ScaleToDpi(25, dpi));
}

void ScaleMeasuredItem(bool line, UINT dpi, int& width, int& height)
{
    dpi = MenuDpi(dpi);
    if (line) {
        // The framework's separator is 10 x 8 at 96.
        width = ScaleToDpi(10, dpi);
        height = ScaleToDpi(8, dpi);
        return;
    }
    const UINT system = SystemDpi();
    if (system && dpi != system) {
        // Measured with the screen's menu font; the font at `dpi` is as
        // much larger as the scale.
        width = MulDiv(width, static_cast<int>(dpi), static_cast<int>(system));
        height = MulDiv(height, static_cast<int>(dpi), static_cast<int>(system));
    }
    // The glyph box with its inset above and below.
    height = std::max(height, ScaleToDpi(16, dpi) + 2 * ScaleToDpi(1, dpi));
}

HFONT MenuFontAt(UINT dpi)
{
    const UINT system = SystemDpi();
    dpi = MenuDpi(dpi);
    if (dpi == system || !system) return ScreenMenuFont();
    static std::map<UINT, TGdiFont> fonts;
    TGdiFont& font = fonts[dpi];
    if (font.IsNull()) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return ScreenMenuFont();
        metrics.lfMenuFont.lfHeight = MulDiv(metrics.lfMenuFont.lfHeight, static_cast<int>(dpi), static_cast<int>(system));
        font.Reset(CreateFontIndirectW(&metrics.lfMenuFont));
    }
    return font.IsNull() ? ScreenMenuFont() : font.Get();
}

TMenuDrawItemEvent SkinnedDrawEvent(TSkinData* skin, HWND window)
{
    return [skin, window](TObject* sender, TCanvas* canvas, const RECT& rect, bool selected) {
        auto* item = static_cast<TMenuItem*>(sender);
        HDC dc = canvas ? canvas->Handle() : nullptr;
        if (!item || !dc) return;
        if (!SkinUsable(skin)) {
            item->DrawItem(canvas, rect, selected);
            return;
        }
        HMENU parent = item->Parent() ? item->Parent()->HandleIfAllocated() : nullptr;
        DrawSkinnedItem(skin, LookOf(item), dc, rect, selected, parent, EventDpi(window));
    };
}

TMenuMeasureItemEvent PopupMeasureEvent(TSkinData* skin, HWND window)
{
    return [skin, window](TObject* sender, TCanvas* canvas, int& width, int& height) {
        auto* item = static_cast<TMenuItem*>(sender);
        if (!item) return;
        const UINT dpi = EventDpi(window);
        item->MeasureItem(canvas, width, height);
        ScaleMeasuredItem(item->IsLine(), dpi, width, height);
        TMenu* menu = item->GetParentMenu();
        width += PopupMeasureExtra(skin, menu && menu->Images(), dpi);
    };
}

TMenuMeasureItemEvent MainMeasureEvent(TSkinData* skin, HWND window)
{
    return [skin, window](TObject* sender, TCanvas* canvas, int& width, int& height) {
        auto* item = static_cast<TMenuItem*>(sender);
        if (!item) return;
        const UINT dpi = EventDpi(window);
        item->MeasureItem(canvas, width, height);
        ScaleMeasuredItem(item->IsLine(), dpi, width, height);
        TMenu* menu = item->GetParentMenu();
        width += MainMeasureExtra(skin, menu && menu->Images(), dpi);
    };
}

}  // namespace skin

// ---- the form's menus made owner-drawn ----------------------------------------------------

namespace {

// Calls `visit` for every item below `item`.
template <class F>
void ForEachItem(TMenuItem* item, F&& visit)
{
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        visit(child);
        ForEachItem(child, visit);
    }
}

// The menus of `owner` and of the forms it owns.
template <class F>
void ForEachMenu(TComponent* owner, F&& visit)
{
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* component = owner->Components(i);
        if (auto* menu = As<TMenu>(component)) visit(menu);
        else if (As<TCustomForm>(component)) ForEachMenu(component, visit);
    }
}

}  // namespace

void TWinSkinForm::SaveMenuDraw(TMenu* menu, bool allItems)
{
    for (const TSavedMenuDraw& saved : FSavedMenuDraw)
        if (saved.Menu == menu) return;
    TSavedMenuDraw saved{menu, menu->OwnerDraw(), {}};
    ForEachItem(menu->Items(), [&](TMenuItem* item) {
        if (allItems || item->Parent() != menu->Items())
            saved.Items.push_back({item, item->Command(), item->OnDrawItem, item->OnMeasureItem});
    });
    FSavedMenuDraw.push_back(std::move(saved));
}

void TWinSkinForm::RestoreMenuDraw()
{
    std::vector<TSavedMenuDraw> saved = std::move(FSavedMenuDraw);
    FSavedMenuDraw.clear();
    for (TSavedMenuDraw& menu : saved) {
        for (TSavedMenuItemDraw& item : menu.Items) {
            // Only items that still exist.
            if (TMenuItem::FromCommand(item.Command) != item.Item) continue;
            item.Item->OnDrawItem = std::move(item.OnDrawItem);
            item.Item->OnMeasureItem = std::move(item.OnMeasureItem);
        }
        bool exists = menu.Watched;
        if (menu.Watched) menu.Menu->RemoveFreeNotification(this);
        if (FForm && !exists) ForEachMenu(FForm, [&](TMenu* m) { exists = exists || m == menu.Menu; });
        if (exists) menu.Menu->SetOwnerDraw(menu.OwnerDraw);
    }
}

void TWinSkinForm::SetMenusOwnerDraw(bool on)
{
    if (!FForm || !FSkinData) return;
    if (!on) {
        RestoreMenuDraw();
        return;
    }
    if (FForm->ClassName() == "TwwRichEditForm") return;
    const TSkinControlTypes kinds = FSkinData->SkinControls();
    TSkinData* skin = FSkinData;
    HWND window = FHandle;
    ForEachMenu(FForm, [&](TMenu* menu) {
        if (auto* popup = As<TPopupMenu>(menu)) {
            if (!(kinds & SkinControl(xcPopupMenu)) || popup->Tag() == skin->DisableTag()) return;
            SaveMenuDraw(popup, true);
            ForEachItem(popup->Items(), [&](TMenuItem* item) {
                item->OnDrawItem = skin::SkinnedDrawEvent(skin, window);
                if (!item->OnMeasureItem) item->OnMeasureItem = skin::PopupMeasureEvent(skin, window);
            });
            popup->SetOwnerDraw(true);
        } else if (As<TMainMenu>(menu) && (kinds & SkinControl(xcMenuItem))) {
            SaveMenuDraw(menu, false);
            ForEachItem(menu->Items(), [&](TMenuItem* item) {
                if (item->Parent() == menu->Items() || item->OnDrawItem) return;
                item->OnDrawItem = skin::SkinnedDrawEvent(skin, window);
                item->OnMeasureItem = skin::MainMeasureEvent(skin, window);
            });
            menu->SetOwnerDraw(true);
        }
    });
}

void TWinSkinForm::SkinMenuItems(TMenu* menu)
{
    if (!menu || !FSkinData) return;
    SaveMenuDraw(menu, true);
    for (TSavedMenuDraw& saved : FSavedMenuDraw)
        if (saved.Menu == menu && !saved.Watched) {
            saved.Watched = true;
            menu->FreeNotification(this);
        }
    TSkinData* skin = FSkinData;
    HWND window = FHandle;
    ForEachItem(menu->Items(), [&](TMenuItem* item) {
        item->OnDrawItem = skin::SkinnedDrawEvent(skin, window);
        if (!item->OnMeasureItem) item->OnMeasureItem = skin::PopupMeasureEvent(skin, window);
    });
    menu->SetOwnerDraw(true);
}

// ---- native menu entries made owner-drawn ------------------------------------------------------

void TWinSkinForm::MakeNativeOwnerDrawn(HMENU menu)
{
    if (!menu || !IsMenu(menu)) return;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        // Wide throughout: an entry's text outside the code page must come
        // back as it was when the skin lets go of the menu.
        wchar_t text[MENU_TEXT_CHARS + 1] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = MENU_TEXT_CHARS;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (!(info.fType & MFT_OWNERDRAW)) {
            FSavedNativeEntries.push_back({menu, static_cast<UINT>(i), info.wID, info.fType, text});
            MENUITEMINFOW change{};
            change.cbSize = sizeof change;
            change.fMask = MIIM_FTYPE;
            change.fType = info.fType | MFT_OWNERDRAW;
            SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &change);
        }
        if (info.hSubMenu) MakeNativeOwnerDrawn(info.hSubMenu);
    }
}

void TWinSkinForm::RestoreNativeEntries()
{
    std::vector<TSavedNativeEntry> saved = std::move(FSavedNativeEntries);
    FSavedNativeEntries.clear();
    for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
        if (!IsMenu(it->Menu)) continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        if (!GetMenuItemInfoW(it->Menu, it->Position, TRUE, &info) || info.wID != it->Id) continue;
        if (!(info.fType & MFT_OWNERDRAW)) continue;
        MENUITEMINFOW back{};
        back.cbSize = sizeof back;
        back.fMask = MIIM_FTYPE;
        back.fType = it->Type;
        if (!(it->Type & MFT_SEPARATOR) && !it->Text.empty()) {
            back.fMask |= MIIM_STRING;
            back.dwTypeData = it->Text.data();
            back.cch = static_cast<UINT>(it->Text.size());
        }
        SetMenuItemInfoW(it->Menu, it->Position, TRUE, &back);
    }
}

std::wstring TWinSkinForm::NativeEntryText(HMENU menu, UINT id) const
{
    for (const TSavedNativeEntry& entry : FSavedNativeEntries)
        if (entry.Menu == menu && entry.Id == id) return entry.Text;
    return std::wstring();
}

// ---- WM_MEASUREITEM and WM_DRAWITEM --------------------------------------------------------

LRESULT TWinSkinForm::MeasureMenuItem(WPARAM wParam, LPARAM lParam)
{
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (!measure || measure->CtlType != ODT_MENU || !FSkinData) return CallDefault(WM_MEASUREITEM, wParam, lParam);
    if (auto* form = As<TCustomForm>(FForm)) {
        TMenu* menu = FMenuBar && FMenuBar->Menu ? FMenuBar->Menu : form->Menu();
        if (TMenuItem* item = BarItem(menu, measure->itemID)) {
            TWindowDC dc = TWindowDC::Whole(FHandle);
            TCanvas canvas;
            canvas.SetHandle(dc);
            int width = 0;
            int height = 0;
            item->MeasureItem(&canvas, width, height);
            canvas.SetHandle(nullptr);
            skin::ScaleMeasuredItem(item->IsLine(), FDpi, width, height);
            TMenu* owner = item->GetParentMenu();
            width += skin::MainMeasureExtra(FSkinData, owner && owner->Images() != nullptr, FDpi);
            measure->itemWidth = static_cast<UINT>(std::max(width, 0));
            measure->itemHeight = static_cast<UINT>(std::max(height, 0));
            return TRUE;
        }
        if (measure->itemID >= 1 && measure->itemID <= LAST_FRAMEWORK_COMMAND)
            return CallDefault(WM_MEASUREITEM, wParam, lParam);
    }
    // A native entry: measured from its text.
    wchar_t text[MENU_TEXT_CHARS + 1] = {};
    if (FTrackedMenu) GetMenuStringW(FTrackedMenu, measure->itemID, text, MENU_TEXT_CHARS, MF_BYCOMMAND);
    std::wstring caption = text;
    if (caption.empty())
        for (const TSavedNativeEntry& entry : FSavedNativeEntries)
            if (entry.Id == measure->itemID) caption = entry.Text;
    TWindowDC dc = TWindowDC::Whole(FHandle);
    SIZE extent{0, 0};
    if (!dc.IsNull() && !caption.empty()) {
        TSelectObject font(dc, skin::MenuFontAt(FDpi));
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, caption.c_str(), -1, &r, TEXT_CALC_FLAGS);
        extent = SIZE{r.right, r.bottom};
    }
    const TDataSkinObject* object = MenuItemObject(FSkinData, FDpi);
    measure->itemWidth = static_cast<UINT>(extent.cx + Scaled(26) + (object ? object->LeftWidth : 0));
    // Room for the glyph box (16 and its insets) as the framework's items.
    measure->itemHeight = static_cast<UINT>(caption.empty() ? Scaled(8) : std::max<int>(extent.cy + Scaled(4), Scaled(18)));
    if (!SkinIsWinNT()) measure->itemHeight += Scaled(4);
    return TRUE;
}

LRESULT TWinSkinForm::DrawMenuItem(WPARAM wParam, LPARAM lParam)
{
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (!draw || draw->CtlType != ODT_MENU || !FSkinData) return CallDefault(WM_DRAWITEM, wParam, lParam);
    // An MDI frame on Windows NT 4 leaves its items to the system.
    if (FWindowKind == wkMdiFrame && IsWinNT4()) return CallDefault(WM_DRAWITEM, wParam, lParam);
    HMENU parent = reinterpret_cast<HMENU>(draw->hwndItem);
    if (TSkinManage* manager = SkinManager()) manager->AttachMenuToNewest(parent);
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    if (auto* form = As<TCustomForm>(FForm)) {
        TMenu* menu = FMenuBar && FMenuBar->Menu ? FMenuBar->Menu : form->Menu();
        if (TMenuItem* item = BarItem(menu, draw->itemID)) {
            skin::DrawSkinnedItem(FSkinData, skin::LookOf(item), draw->hDC, draw->rcItem, selected, parent, FDpi);
            return TRUE;
        }
        if (draw->itemID >= 1 && draw->itemID <= LAST_FRAMEWORK_COMMAND)
            return CallDefault(WM_DRAWITEM, wParam, lParam);
    }
    skin::TMenuItemLook look = skin::LookOfNative(parent, draw->itemID, NativeEntryText(parent, draw->itemID));
    // A native menu of a right-to-left window is drawn mirrored too.
    look.RightToLeft = look.RightToLeft || FRightToLeft != 0 || (FMenuBar && FMenuBar->RightToLeft());
    skin::DrawSkinnedItem(FSkinData, look, draw->hDC, draw->rcItem, selected, parent, FDpi);
    return TRUE;
}
