// Column headers painted from the skin (see header_painting.h).
#include "skin/controls/header_painting.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/display_scale.h"
#include "framework/gdi_handles.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_draw.h"
#include "skin/data/skin_model.h"

namespace skin {

namespace {

// The text of an item is read into a buffer of this many characters.
constexpr int HEADER_TEXT_CHARS = 201;
// Every section is read with its text, format and image.
constexpr UINT HEADER_ITEM_MASK = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
constexpr UINT MEASURE_FORMAT = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_END_ELLIPSIS;
constexpr UINT DRAW_FORMAT = DT_EXPANDTABS | DT_END_ELLIPSIS;

int FrameCountOf(const TDataSkinObject& bar) { return std::max<int>(bar.Frame, 1); }

// Draws one section into `target` at `box`.
void PaintSection(HDC target, const RECT& box, HWND header, int index, HIMAGELIST images, const TDataSkinObject& bar,
                  const THeaderPaintState& state)
{
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    if (width <= 0 || height <= 0) return;
    wchar_t text[HEADER_TEXT_CHARS] = {};
    HDITEMW item{};
    item.mask = HEADER_ITEM_MASK;
    item.pszText = text;
    item.cchTextMax = HEADER_TEXT_CHARS;
    if (!::SendMessageW(header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return;

    TGdiBitmap face = BuildFrameBitmap(RECT{0, 0, width, height}, bar.Bitmap.Handle(), SkinMargins(bar),
                                       HeaderSectionFrame(index, state, FrameCountOf(bar)), FrameCountOf(bar), bar.Tile != 0, false);
    if (face.IsNull()) return;
    TMemoryDC dc(target);
    TSelectObject selectFace(dc, face);
    if (text[0]) {
        int alignment = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? HDF_RIGHT
                        : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? HDF_CENTER
                                                                     : HDF_LEFT;
        bool hasImage = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) != 0;
        int iconWidth = 0;
        int iconHeight = 0;
        if (images && hasImage && item.iImage != -1 && ImageList_GetIconSize(images, &iconWidth, &iconHeight)) {
            if (iconWidth >= width) iconWidth = 0;
        } else {
            iconWidth = 0;
        }
        HGDIOBJ font = GetCurrentObject(target, OBJ_FONT);
        TSelectObject selectFont(dc, font);
        RECT measured{0, 0, width, height};
        DrawTextW(dc, text, -1, &measured, MEASURE_FORMAT | state.ExtraTextFormat);
        SIZE textSize{measured.right - measured.left, measured.bottom - measured.top};
        THeaderTextLayout layout = LayoutHeaderText(width, height, iconWidth, textSize, alignment, state.Dpi);
        if (iconWidth > 0) ImageList_Draw(images, item.iImage, dc, layout.Icon.x, layout.Icon.y, ILD_TRANSPARENT);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, state.TextColour);
        TSelectObject selectBrush(dc, GetStockObject(HOLLOW_BRUSH));
        RECT textBox = layout.Text;
        DrawTextW(dc, text, -1, &textBox, DRAW_FORMAT | state.ExtraTextFormat);
    }
    BitBlt(target, box.left, box.top, width, height, dc, 0, 0, SRCCOPY);
}

}  // namespace

int HeaderSectionFrame(int section, const THeaderPaintState& state, int frames)
{
    if (!state.Enabled) return frames >= hfDisabled ? hfDisabled : hfNormal;
    if (section < 0) return hfNormal;
    if (section == state.PressedSection) return frames >= hfPressed ? hfPressed : hfHot;
    if (section == state.HotSection) return frames >= hfHot ? hfHot : hfNormal;
    return hfNormal;
}

THeaderTextLayout LayoutHeaderText(int width, int height, int iconWidth, SIZE textSize, int alignment, UINT dpi)
{
    int x = alignment == HDF_RIGHT    ? width - iconWidth - textSize.cx - ScaleToDpi(2, dpi)
            : alignment == HDF_CENTER ? (width - iconWidth - textSize.cx) / 2
                                      : ScaleToDpi(3, dpi);
    if (x < ScaleToDpi(2, dpi)) x = ScaleToDpi(1, dpi);
    THeaderTextLayout layout{};
    // The image is centred by its width, as square images are.
    layout.Icon = POINT{x, (height - iconWidth) / 2};
    int top = (height - static_cast<int>(textSize.cy)) / 2;
    LONG left = x + iconWidth;
    // The text may use the section up to its right inset: some glyphs ink a
    // column past the width they are measured at (a "y" at 150 %), and a box
    // of exactly that width would cut it. Text wider than the section ends
    // in an ellipsis at the section's edge.
    LONG right = std::max<LONG>(left + textSize.cx, width - ScaleToDpi(2, dpi));
    layout.Text = RECT{left, top, std::min<LONG>(right, width), top + textSize.cy};
    if (layout.Text.right < layout.Text.left) layout.Text.right = layout.Text.left;
    return layout;
}

void PaintHeaderBar(HDC dc, const RECT& rect, HWND header, const TDataSkinObject& bar, const THeaderPaintState& state,
                    std::vector<RECT>& sections)
{
    if (bar.Bitmap.Empty() || !header) return;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;

    TMemoryDC buffer(dc);
    TGdiBitmap surface = skin::MakeDibSection(width, height, 32);
    if (buffer.IsNull() || surface.IsNull()) return;
    TSelectObject selectSurface(buffer, surface);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(header, WM_GETFONT, 0, 0));
    TSelectObject selectFont(buffer, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(buffer, TRANSPARENT);

    auto images = reinterpret_cast<HIMAGELIST>(::SendMessageW(header, HDM_GETIMAGELIST, 0, 0));
    int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    sections.assign(static_cast<size_t>(std::max(count, 0)), RECT{0, 0, 0, 0});
    int rightmost = 0;
    for (int i = 0; i < count; ++i) {
        RECT box{};
        if (!::SendMessageW(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&box))) continue;
        PaintSection(buffer, box, header, i, images, bar, state);
        const int divider = ScaleToDpi(3, state.Dpi);
        sections[i] = RECT{box.left + divider, box.top, box.right - divider, box.bottom};
        rightmost = std::max<int>(rightmost, box.right);
    }
    if (rightmost < width) {
        // The rest of the bar is no section: never hot or pressed (-1 is also
        // what "no hot/pressed section" reads as, so it is not asked for).
        DrawFrameBitmap(buffer, RECT{rightmost, 0, width, height}, bar.Bitmap.Handle(), SkinMargins(bar),
                        HeaderSectionFrame(-1, state, FrameCountOf(bar)), FrameCountOf(bar), false, bar.Tile != 0,
                        false);
    }
    BitBlt(dc, rect.left, rect.top, width, height, buffer, 0, 0, SRCCOPY);
}

}  // namespace skin
