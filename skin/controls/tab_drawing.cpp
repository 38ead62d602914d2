// The skin's look of tab strips (see tab_drawing.h).
#include "skin/controls/tab_drawing.h"

#include <algorithm>

#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_model_core.h"

namespace skin {

namespace {

// Texts of tabs are read up to this many characters.
constexpr int TAB_TEXT_CHARS = 80;
// TCIF_TEXT | TCIF_IMAGE | TCIF_STATE.
constexpr UINT TAB_ITEM_MASK = 0x13;

// Margins (as sizes) of an image turned a quarter to the left: the top edge
// becomes the left one.
RECT TurnedLeft(const RECT& m) { return RECT{m.top, m.right, m.bottom, m.left}; }
RECT TurnedRight(const RECT& m) { return RECT{m.bottom, m.left, m.top, m.right}; }

}  // namespace

TTabOrientation TabOrientationOf(DWORD style)
{
    // TCS_RIGHT and TCS_BOTTOM are the same bit.
    if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? toRight : toLeft;
    return (style & TCS_BOTTOM) ? toBottom : toTop;
}

RECT TabPageRect(const RECT& display, TTabOrientation orientation)
{
    RECT page{display.left - 4, display.top - 4, display.right + 4, display.bottom + 4};
    switch (orientation) {
    case toTop: ++page.top; break;
    case toBottom: --page.bottom; break;
    case toLeft: ++page.left; break;
    case toRight: --page.right; break;
    }
    return page;
}

RECT TabStripRect(const RECT& whole, const RECT& page, TTabOrientation orientation)
{
    RECT strip = whole;
    switch (orientation) {
    case toTop: strip.bottom = page.top; break;
    case toBottom: strip.top = page.bottom; break;
    case toLeft: strip.right = page.left; break;
    case toRight: strip.left = page.right; break;
    }
    return strip;
}

SIZE TabBufferSize(const RECT& strip, TTabOrientation orientation)
{
    int width = std::max<int>(strip.right - strip.left, 0);
    int height = std::max<int>(strip.bottom - strip.top, 0);
    if (orientation == toLeft || orientation == toRight) std::swap(width, height);
    return SIZE{width, height};
}

RECT TabBufferRect(const RECT& item, const RECT& whole, const RECT& strip, const RECT& page,
                   TTabOrientation orientation)
{
    int stripHeight = strip.bottom - strip.top;
    switch (orientation) {
    case toTop:
        // One pixel down, onto the page's edge.
        return RECT{item.left - strip.left, item.top - strip.top + 1, item.right - strip.left,
                    item.bottom - strip.top + 1};
    case toBottom:
        return RECT{item.left - strip.left, item.top - page.bottom - 1, item.right - strip.left,
                    item.bottom - page.bottom - 1};
    case toLeft:
        // Turned counter-clockwise afterwards: buffer (x, y) lands on
        // strip (y, height - 1 - x).
        return RECT{stripHeight - (item.bottom - strip.top), item.left - strip.left,
                    stripHeight - (item.top - strip.top), item.right - strip.left};
    case toRight:
        // Turned clockwise afterwards: buffer (x, y) lands on strip
        // (width - 1 - y, x).
        return RECT{item.top - strip.top, whole.right - item.right, item.bottom - strip.top,
                    whole.right - item.left};
    }
    return item;
}

void TurnTabBuffer(TGdiBitmap& buffer, TTabOrientation orientation)
{
    if (orientation == toLeft) RotateLeft(buffer);
    if (orientation == toRight) RotateRight(buffer);
}

void TTabImages::Prepare(const TSkinModel& model, TTabOrientation orientation)
{
    Tab.Reset();
    Page.Reset();
    PageMargins = RECT{4, 5, 4, 4};
    PageFromPane = false;
    auto* tabs = dynamic_cast<TDataSkinBorder*>(model.Object(ssTabs));
    if (!tabs) return;
    if (!tabs->Bitmap.Empty()) Tab = CopyBitmap(tabs->Bitmap.Handle(), 24);
    if (tabs->Style == 0) {
        if (!tabs->Bitmap2.Empty()) Page = CopyBitmap(tabs->Bitmap2.Handle(), 24);
    } else if (tabs->Style == 1) {
        if (TDataSkinObject* pane = model.Object(ssTabPane); pane && !pane->Bitmap.Empty()) {
            Page = CopyBitmap(pane->Bitmap.Handle(), 24);
            PageMargins = RECT{pane->LeftWidth, pane->TopHeight, pane->RightWidth, pane->BottomHeight};
            PageFromPane = true;
        }
    }
    switch (orientation) {
    case toTop: break;
    case toBottom:
        if (Tab) FlipVertical(Tab);
        if (Page) FlipVertical(Page);
        std::swap(PageMargins.top, PageMargins.bottom);
        break;
    case toLeft:
        if (Page) RotateLeft(Page);
        PageMargins = TurnedLeft(PageMargins);
        break;
    case toRight:
        if (Page) RotateRight(Page);
        PageMargins = TurnedRight(PageMargins);
        break;
    }
}

std::vector<TTabItem> ReadTabItems(HWND tabs, bool unicode)
{
    std::vector<TTabItem> items;
    int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TTabItem item;
        // The answer says whether the tab is shown: a scrolled row's tabs
        // before its first shown one are still counted.
        item.Visible = SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item.Rect)) != 0;
        if (unicode) {
            wchar_t text[TAB_TEXT_CHARS + 1] = {};
            TCITEMW info{};
            info.mask = TAB_ITEM_MASK;
            info.pszText = text;
            info.cchTextMax = TAB_TEXT_CHARS;
            if (SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&info))) {
                item.Text = info.pszText ? info.pszText : L"";
                item.Image = info.iImage;
            }
        } else {
            char text[TAB_TEXT_CHARS + 1] = {};
            TCITEMA info{};
            info.mask = TAB_ITEM_MASK;
            info.pszText = text;
            info.cchTextMax = TAB_TEXT_CHARS;
            if (SendMessageA(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&info))) {
                const char* chars = info.pszText ? info.pszText : "";
                int length = MultiByteToWideChar(CP_ACP, 0, chars, -1, nullptr, 0);
                if (length > 1) {
                    item.Text.resize(length - 1);
                    MultiByteToWideChar(CP_ACP, 0, chars, -1, item.Text.data(), length);
                }
                item.Image = info.iImage;
            }
        }
        items.push_back(std::move(item));
    }
    return items;
}

TTabLook TTabLook::Of(const TDataSkinObject& object, HBITMAP image)
{
    TTabLook look;
    look.Image = image;
    look.FrameCount = object.Frame > 0 ? object.Frame : 1;
    look.Margins = RECT{object.LeftWidth, object.TopHeight, object.RightWidth, object.BottomHeight};
    look.Transparent = object.Trans != 0;
    look.Tile = object.Tile != 0;
    look.NormalText = ResolveColour(object.NormalColour2);
    look.SelectedText = ResolveColour(object.MouseOverColour2);
    return look;
}

void DrawTabRow(HDC dc, const std::vector<TTabItem>& items, int selected, int hot, const TTabLook& look,
                HIMAGELIST images, bool enabled, bool rightToLeft)
{
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const TTabItem& item = items[i];
        if (!item.Visible) continue;
        int frame = 1;
        if (i == selected)
            frame = look.SelectedFrame;
        else if (i == hot && look.HotFrame > 0)
            frame = look.HotFrame;
        if (look.Image)
            DrawFrameBitmap(dc, item.Rect, look.Image, look.Margins, frame, look.FrameCount, look.Transparent,
                            look.Tile, false);
        COLORREF colour = i == selected ? look.SelectedText : look.NormalText;
        DrawTabText(dc, item.Rect, images, item.Image, item.Text, DT_CENTER, colour, enabled, rightToLeft);
    }
}

void DrawTabText(HDC dc, const RECT& rect, HIMAGELIST images, int image, const std::wstring& text, UINT alignment,
                 COLORREF colour, bool enabled, bool rightToLeft)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int iconWidth = 0;
    int iconHeight = 0;
    if (images && image != -1 && ImageList_GetIconSize(images, &iconWidth, &iconHeight) && iconWidth < width) {
    } else {
        iconWidth = iconHeight = 0;
    }
    RECT measured{0, 0, width, height};
    if (!text.empty())
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS);
    else
        measured = RECT{0, 0, 0, 0};
    int textWidth = measured.right - measured.left;
    int textHeight = measured.bottom - measured.top;
    int x;
    if (alignment & DT_RIGHT)
        x = width - iconWidth - textWidth - 2;
    else if (alignment & DT_CENTER)
        x = (width - iconWidth - textWidth) / 2;
    else
        x = 3;
    if (x < 2) x = 1;
    if (iconWidth > 0)
        // Vertically by its width, as the header's icons are: list icons
        // are square.
        ImageList_Draw(images, image, dc, rect.left + x, rect.top + (height - iconWidth) / 2, ILD_TRANSPARENT);
    if (text.empty()) return;
    // The text starts where it is centred (or aligned) and may use the tab
    // up to its edge: some glyphs ink a pixel past the width the text is
    // measured at (Tahoma's "4" at 150 %), and a box of exactly that width
    // would cut their last column.
    RECT box{rect.left + x + iconWidth, rect.top + (height - textHeight) / 2, rect.right, 0};
    box.bottom = box.top + textHeight;
    if (box.left < rect.left) box.left = rect.left;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, enabled ? colour : GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    UINT format = DT_EXPANDTABS | DT_WORDBREAK | DT_END_ELLIPSIS | (rightToLeft ? DT_RTLREADING : 0);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
    SelectObject(dc, oldBrush);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

}  // namespace skin
