// Frame painting of a skinned window: the frame sizes the client area is
// fitted into, WM_NCCALCSIZE and WM_NCPAINT, the borders, the caption strip
// (composed off screen and copied in one block), the caption text and icon,
// and the window region cut from the transparent pixels of the borders.
//
// Painting never throws to the window procedure: a failure leaves the frame
// as it was.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/display_scale.h"
#include "skin/data/frame_draw.h"
#include "skin/data/image_utils.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_model.h"
#include "skin/form/form_skinner.h"
#include "skin/form/nc_geometry.h"
#include "skin/form/nc_objects.h"

namespace {

// Text drawing of the caption: single line, no prefix, an ellipsis where
// it is cut; right-to-left windows read and align from the right.
constexpr UINT CAPTION_TEXT_FLAGS = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
constexpr UINT CAPTION_TEXT_FLAGS_RTL = CAPTION_TEXT_FLAGS | DT_RIGHT | DT_RTLREADING;
// The most the caption text reads from an 8-bit window.
constexpr int MAX_CAPTION_CHARS = 1000;
// Region rectangles merged into the region at a time.
constexpr size_t REGION_BATCH = 2000;

// The icon a window shows: its small icon, its big icon, else its class's.
HICON WindowIcon(HWND window)
{
    HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    if (!icon)
        icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    return icon;
}

// Draws `icon` at size x size, choosing the best image of its resource.
void DrawIconAt(HDC dc, HICON icon, int x, int y, int size)
{
    HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE));
    DrawIconEx(dc, x, y, copy ? copy : icon, size, size, 0, nullptr, DI_NORMAL);
    if (copy)
        DestroyIcon(copy);
}

// A region made of `rects`, merged in batches.
HRGN RegionFromRects(const std::vector<RECT>& rects)
{
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    for (size_t start = 0; start < rects.size(); start += REGION_BATCH) {
        const size_t count = std::min(REGION_BATCH, rects.size() - start);
        std::vector<BYTE> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = static_cast<DWORD>(count);
        data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
        RECT bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        auto* out = reinterpret_cast<RECT*>(data->Buffer);
        for (size_t i = 0; i < count; ++i) {
            const RECT& r = rects[start + i];
            out[i] = r;
            bounds.left = std::min(bounds.left, r.left);
            bounds.top = std::min(bounds.top, r.top);
            bounds.right = std::max(bounds.right, r.right);
            bounds.bottom = std::max(bounds.bottom, r.bottom);
        }
        data->rdh.rcBound = bounds;
        HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
        if (part) {
            CombineRgn(result, result, part, RGN_OR);
            DeleteObject(part);
        }
    }
    return result;
}

// The opaque pixels of `border` drawn (frame 1) at width x height, placed
// at (x, y).
HRGN OpaqueBorderRegion(const TDataSkinBorder& border, bool stacked, int x, int y, int width, int height)
{
    const int frames = std::max(1, static_cast<int>(border.Frame));
    TGdiBitmap built = skin::BuildFrameBitmap(RECT{0, 0, width, height}, border.Bitmap.Handle(), SkinMargins(border),
                                              1, frames, border.Tile != 1, stacked);
    skin::TPixels pixels;
    if (built.IsNull() || !skin::ReadPixels(built, pixels))
        return CreateRectRgn(x, y, x + width, y + height);
    return RegionFromRects(skin::OpaqueRuns(pixels, skin::TRANSPARENT_COLOUR, x, y));
}

void AddRegion(HRGN target, HRGN part)
{
    if (!part)
        return;
    CombineRgn(target, target, part, RGN_OR);
    DeleteObject(part);
}

}  // namespace

// ---- frame sizes and the client area ---------------------------------------------

void TWinSkinForm::ComputeFrameSizes()
{
    ForgetFrameParts();
    if (!FSkinData || FSkinData->NoSkin())
        return;
    if (FBorderKind == bkNone) {
        FBorderLeft = FBorderTop = FBorderRight = FBorderBottom = FMenuHeight = 0;
        return;
    }
    const skin::TFrameSizes sizes = skin::FrameSizesOf(Skin().Border(sbLeft), Skin().Border(sbTop),
                                                       Skin().Border(sbRight), Skin().Border(sbBottom), true);
    FBorderLeft = sizes.Left;
    FBorderTop = sizes.Top;
    FBorderRight = sizes.Right;
    FBorderBottom = sizes.Bottom;
}

LRESULT TWinSkinForm::NCCalcSize(WPARAM wParam, LPARAM lParam)
{
    CallDefault(WM_NCCALCSIZE, wParam, lParam);
    if (!lParam)
        return 0;
    const bool native = (FWindowKind == wkMdiChild && FWindowState != fwsNormal) || FBorderKind == bkNone;
    const skin::TFrameSizes frame{FBorderLeft, FBorderTop, FBorderRight, FBorderBottom};
    if (!wParam) {
        // The rectangle is the window's; it becomes the client area.
        if (!native) {
            RECT* rect = reinterpret_cast<RECT*>(lParam);
            *rect = skin::FrameClientRect(*rect, frame, FMenuHeight);
        }
        return 0;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    if (native) {
        params->rgrc[1] = params->rgrc[0];
        return WVR_VALIDRECTS;
    }
    const WINDOWPOS* pos = params->lppos;
    const RECT window = pos ? RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy} : params->rgrc[0];
    const RECT client = skin::FrameClientRect(window, frame, FMenuHeight);
    params->rgrc[0] = client;
    params->rgrc[1] = client;
    return WVR_VALIDRECTS;
}

// ---- painting ------------------------------------------------------------------------

LRESULT TWinSkinForm::NCPaint(WPARAM wParam, LPARAM lParam)
{
    if (!(FStyleFlags & sfKeepSysMenuStyle)) {
        const LONG style = GetWindowLongA(FHandle, GWL_STYLE);
        if (style & WS_SYSMENU) {
            FStyle = style & ~WS_SYSMENU;
            SetWindowLongA(FHandle, GWL_STYLE, FStyle);
        }
    }
    if (FSkinData && FSkinData->NCPaintOpen()) {
        if ((FWindowKind == wkMdiChild && FWindowState == fwsMaximized) || FBorderKind == bkNone)
            return CallDefault(WM_NCPAINT, wParam, lParam);
        PaintFrame();
    }
    return 0;
}

void TWinSkinForm::PaintFrame(HDC dc)
{
    if (FSkinState != fssSkinned && FSkinState != fssChangingSkin)
        return;
    if (FBorderKind == bkNone || (FWindowKind == wkMdiChild && FWindowState == fwsMaximized))
        return;
    if (!FSkinData || FSkinData->NoSkin())
        return;
    try {
        TWindowDC own;
        HDC target = dc;
        if (!target) {
            own = TWindowDC::Whole(FHandle);
            target = own;
        }
        if (!target || !GetWindowRect(FHandle, &FWindowRect))
            return;
        const int width = FWindowRect.right - FWindowRect.left;
        const int height = FWindowRect.bottom - FWindowRect.top;
        FFrameWidth = width;
        FFrameHeight = height;
        if (FWindowState != fwsMinimized) {
            const TFrameParts& parts = FrameParts(target, width, height);
            TMemoryDC source(target);
            const auto copy = [&](const TGdiBitmap& part, int x, int y, int w, int h) {
                if (part.IsNull() || source.IsNull() || w <= 0 || h <= 0)
                    return;
                TSelectObject selected(source, part);
                BitBlt(target, x, y, w, h, source, 0, y, SRCCOPY);
            };
            if (!parts.Sides.IsNull()) {
                // The sides and the bottom in one copy, the client area left out.
                TSaveDC saved(target);
                ExcludeClipRect(target, FBorderLeft, FBorderTop, width - FBorderRight, height - FBorderBottom);
                copy(parts.Sides, 0, FBorderTop, width, height - FBorderTop);
            }
        }
        PaintCaptionStrip(target, width, height);
        if (FWindowState != fwsMinimized && FMenuHeight > 0) {
            // The band under the caption: the menu bar's, else face-coloured.
            const RECT band{FBorderLeft, FBorderTop, width - FBorderRight, FBorderTop + FMenuHeight};
            if (FMenuBar)
                PaintMenuBar(target, band);
            else
                FillRect(target, &band, FSkinData->FaceBrush());
        }
    } catch (...) {
        FHotObject = nullptr;
    }
}

void TWinSkinForm::PaintCaptionStrip(HDC dc, int width, int height)
{
    if (!dc || !FSkinData || FSkinData->NoSkin())
        return;
    const bool minimized = FWindowState == fwsMinimized;
    const int stripHeight = minimized ? height : FBorderTop;
    if (width <= 0 || stripHeight <= 0)
        return;
    if (!minimized)
        FrameParts(dc, width, height);
    UpdateButtonVisibility();
    // Most paints show the caption as it was: copy the strip composed then.
    TCaptionStripKey key = CaptionStripKey(dc, width, stripHeight);
    if (!FCaptionStrip.Ready || !(key == FCaptionStrip.Key))
        if (!ComposeCaptionStrip(dc, key))
            return;
    BitBlt(dc, 0, 0, width, stripHeight, FCaptionStrip.DC, 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

TWinSkinForm::TCaptionStripKey TWinSkinForm::CaptionStripKey(HDC dc, int width, int stripHeight)
{
    TCaptionStripKey key;
    key.Width = width;
    key.Height = stripHeight;
    if (GetObjectType(dc) == OBJ_MEMDC) {
        BITMAP bitmap{};
        if (GetObject(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bitmap), &bitmap))
            key.TargetDepth = bitmap.bmBitsPixel * bitmap.bmPlanes;
    } else {
        key.TargetDepth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    }
    key.PartsGeneration = FFramePartsGeneration;
    key.Skin = FSkinData;
    key.Frame[0] = FBorderLeft;
    key.Frame[1] = FBorderTop;
    key.Frame[2] = FBorderRight;
    key.Frame[3] = FBorderBottom;
    key.MenuHeight = FMenuHeight;
    key.Active = FActive;
    key.WindowState = FWindowState;
    key.BorderKind = FBorderKind;
    key.RightToLeft = FRightToLeft;
    key.Popup = (GetWindowLongA(FHandle, GWL_STYLE) & WS_POPUP) != 0;
    const auto& colours = Skin().Colours;
    key.TextColour = skin::ResolveColour(colours[FActive ? scTitleTextActive : scTitleTextNoActive]);
    key.FaceColour = skin::ResolveColour(FSkinData->FaceColour());
    key.Font = FCaptionFont ? static_cast<HFONT>(FCaptionFont->Handle()) : nullptr;
    key.Icon = WindowIcon(FHandle);
    key.IconSize = FIconSize;
    key.Text = FCaptionPrefix + CaptionWindowText() + FCaptionSuffix;
    key.Buttons.reserve(FButtons.size());
    for (const TWinSysButton* button : FButtons)
        key.Buttons.push_back((button->Visible ? 1 : 0) | (button->Enabled ? 2 : 0) |
                              static_cast<int>(button->State) << 2);
    return key;
}

bool TWinSkinForm::ComposeCaptionStrip(HDC dc, const TCaptionStripKey& key)
{
    FCaptionStrip.Forget();
    const bool minimized = FWindowState == fwsMinimized;
    const int width = key.Width;
    const int stripHeight = key.Height;
    TGdiBitmap strip = skin::MakeDibSection(width, stripHeight, 32);
    TMemoryDC memory(dc);
    if (memory.IsNull() || strip.IsNull())
        return false;
    const HGDIOBJ old = SelectObject(memory, strip);
    RECT area{};
    if (minimized) {
        const RECT all{0, 0, width, stripHeight};
        TGdiBrush face(CreateSolidBrush(key.FaceColour));
        FillRect(memory, &all, face);
        area = RECT{0, 0, width, FBorderTop};
    } else {
        // The top border with the tops of the side borders, as composed
        // for this size.
        area = RECT{FBorderLeft, 0, width - FBorderRight, FBorderTop};
        const TFrameParts& parts = FFrameParts;
        if (!parts.Caption.IsNull()) {
            TMemoryDC source(dc);
            TSelectObject background(source, parts.Caption);
            BitBlt(memory, 0, 0, width, stripHeight, source, 0, 0, SRCCOPY);
        }
    }
    if (minimized)
        DrawBorder(memory, 3, area);
    FCaptionArea = area;
    DrawCaptionText(memory, key.Text);
    LayoutButtons();
    DrawButtons(memory);

    FCaptionStrip.Bitmap = std::move(strip);
    FCaptionStrip.DC = std::move(memory);
    FCaptionStrip.Old = old;
    FCaptionStrip.Key = key;
    FCaptionStrip.Ready = true;
    return true;
}

void TWinSkinForm::TCaptionStrip::Forget()
{
    // The DC goes before the bitmap selected into it.
    if (!DC.IsNull() && Old)
        SelectObject(DC, Old);
    DC.Reset();
    Bitmap.Reset();
    Old = nullptr;
    Key = TCaptionStripKey{};
    Ready = false;
}

const TWinSkinForm::TFrameParts& TWinSkinForm::FrameParts(HDC dc, int width, int height)
{
    TFrameParts& parts = FFrameParts;
    const RECT frame{FBorderLeft, FBorderTop, FBorderRight, FBorderBottom};
    const int active = FActive ? 1 : 0;
    if (parts.Width == width && parts.Height == height && parts.Active == active && EqualRect(&parts.Frame, &frame) &&
        parts.Skin == FSkinData)
        return parts;
    parts = TFrameParts{};
    ++FFramePartsGeneration;
    parts.Width = width;
    parts.Height = height;
    parts.Active = active;
    parts.Frame = frame;
    parts.Skin = FSkinData;

    // Each border at its place's size, composed once.
    const auto compose = [&](int side, int w, int h) {
        TGdiBitmap bitmap = skin::MakeDibSection(std::max(w, 1), std::max(h, 1), 32);
        TMemoryDC memory(dc);
        if (bitmap.IsNull() || memory.IsNull())
            return TGdiBitmap();
        TSelectObject selected(memory, bitmap);
        DrawBorder(memory, side, RECT{0, 0, w, h});
        return bitmap;
    };
    if (FBorderLeft > 0 && height > 0)
        parts.Left = compose(1, FBorderLeft, height);
    if (FBorderRight > 0 && height > 0)
        parts.Right = compose(2, FBorderRight, height);
    const int middle = width - FBorderLeft - FBorderRight;
    if (middle > 0 && FBorderBottom > 0)
        parts.Bottom = compose(4, middle, FBorderBottom);

    // The sides and the bottom at their places in one window-sized picture.
    parts.Sides = skin::MakeDibSection(std::max(width, 1), std::max(height, 1), 32);
    if (!parts.Sides.IsNull()) {
        TMemoryDC memory(dc);
        TMemoryDC source(dc);
        TSelectObject selected(memory, parts.Sides);
        const auto place = [&](const TGdiBitmap& part, int x, int y, int w, int h) {
            if (part.IsNull() || w <= 0 || h <= 0)
                return;
            TSelectObject from(source, part);
            BitBlt(memory, x, y, w, h, source, 0, 0, SRCCOPY);
        };
        place(parts.Left, 0, 0, FBorderLeft, height);
        place(parts.Right, width - FBorderRight, 0, FBorderRight, height);
        place(parts.Bottom, FBorderLeft, height - FBorderBottom, middle, FBorderBottom);
    }

    // The caption strip's background: the top border between the sides, the
    // tops of the side borders running through the caption rows.
    if (width > 0 && FBorderTop > 0) {
        parts.Caption = skin::MakeDibSection(width, FBorderTop, 32);
        TMemoryDC memory(dc);
        TMemoryDC source(dc);
        if (!parts.Caption.IsNull() && !memory.IsNull() && !source.IsNull()) {
            TSelectObject selected(memory, parts.Caption);
            if (!parts.Left.IsNull()) {
                TSelectObject side(source, parts.Left);
                BitBlt(memory, 0, 0, FBorderLeft, std::min(FBorderTop, height), source, 0, 0, SRCCOPY);
            }
            if (!parts.Right.IsNull()) {
                TSelectObject side(source, parts.Right);
                BitBlt(memory, width - FBorderRight, 0, FBorderRight, std::min(FBorderTop, height), source, 0, 0,
                       SRCCOPY);
            }
            DrawBorder(memory, 3, RECT{FBorderLeft, 0, width - FBorderRight, FBorderTop});
        }
    }
    return parts;
}

void TWinSkinForm::ForgetFrameParts()
{
    FFrameParts = TFrameParts{};
    ++FFramePartsGeneration;
    FCaptionStrip.Forget();
}

void TWinSkinForm::DrawBorder(HDC dc, int side, const RECT& rect)
{
    if (rect.right < rect.left || rect.bottom < rect.top || !FSkinData)
        return;
    static const TSkinBorderSide SIDES[] = {sbLeft, sbRight, sbTop, sbBottom};
    if (side < 1 || side > 4)
        return;
    const TDataSkinBorder* border = Skin().Border(SIDES[side - 1]);
    if (!border || border->Bitmap.Empty())
        return;
    const int frames = std::max(1, static_cast<int>(border->Frame));
    const int frame = (FActive || frames == 1) ? 1 : 2;
    const bool stacked = side >= 3;
    skin::DrawFrameBitmap(dc, rect, border->Bitmap.Handle(), SkinMargins(*border), frame, frames, false,
                          border->Tile != 1, stacked);
}

std::wstring TWinSkinForm::CaptionWindowText()
{
    std::wstring text;
    if (FUnicode) {
        const int length = GetWindowTextLengthW(FHandle);
        if (length > 0) {
            std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
            buffer.resize(static_cast<size_t>(GetWindowTextW(FHandle, buffer.data(), length + 1)));
            text = buffer;
        }
    } else {
        std::string buffer(MAX_CAPTION_CHARS + 1, '\0');
        const LRESULT got = SendMessageA(FHandle, WM_GETTEXT, MAX_CAPTION_CHARS + 1,
                                         reinterpret_cast<LPARAM>(buffer.data()));
        buffer.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, MAX_CAPTION_CHARS)));
        if (!buffer.empty()) {
            const int wide = MultiByteToWideChar(CP_ACP, 0, buffer.data(), static_cast<int>(buffer.size()), nullptr, 0);
            text.resize(static_cast<size_t>(wide));
            MultiByteToWideChar(CP_ACP, 0, buffer.data(), static_cast<int>(buffer.size()), text.data(), wide);
        }
    }
    return text;
}

void TWinSkinForm::DrawCaptionText(HDC dc, const std::wstring& text)
{
    FRightButtonsExtent = 0;
    for (const TWinSysButton* button : FButtons)
        if (button->Visible && button->SkinButton->Align == 1 && button->HasImage())
            FRightButtonsExtent = std::max(FRightButtonsExtent, static_cast<int>(button->SkinButton->Xcoord));

    const TDataSkinTitle* title = Skin().Title.get();
    const auto& colours = Skin().Colours;
    TSaveDC saved(dc);
    if (FCaptionFont)
        SelectObject(dc, FCaptionFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin::ResolveColour(colours[FActive ? scTitleTextActive : scTitleTextNoActive]));

    RECT measured{FCaptionArea.left, FCaptionArea.top, FCaptionArea.left, FCaptionArea.top};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);

    skin::TCaptionTextInput in;
    in.Area = FCaptionArea;
    in.Text = SIZE{measured.right - measured.left, measured.bottom - measured.top};
    if (title) {
        in.TextShift = title->LeftWidth;
        in.TextShiftVert = title->TopHeight;
        in.TextRightClip = title->RightWidth;
        in.TextAlignment = title->TextAlignment;
        in.BackLeft = title->TXTBackleft;
        in.BackRight = title->TXTBackRight;
    }
    in.RightButtonsExtent = FRightButtonsExtent;
    in.RightToLeft = FRightToLeft != 0;
    in.Popup = (GetWindowLongA(FHandle, GWL_STYLE) & WS_POPUP) != 0;
    in.DialogBorder = FBorderKind == bkDialog;
    const skin::TCaptionTextPlace place = skin::PlaceCaptionText(in);
    const RECT area = FCaptionArea;
    FCaptionArea = place.Back;

    if (title && !title->Bitmap.Empty()) {
        const RECT back{place.Back.left, area.top, place.Back.right, area.bottom};
        const RECT margins{title->TXTBackleft, 0, title->TXTBackRight, 0};
        skin::DrawFrameStrip(dc, back, title->Bitmap.Handle(), margins, FActive ? 1 : 2, 2, true, true);
    }
    RECT textRect = place.Text;
    if (textRect.right > textRect.left)
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  FRightToLeft ? CAPTION_TEXT_FLAGS_RTL : CAPTION_TEXT_FLAGS);
    FCaptionTextRect = place.Text;
}

void TWinSkinForm::DrawCaptionIcon(HDC dc, TWinSysButton* button)
{
    if (HICON icon = WindowIcon(FHandle)) {
        const int size = FIconSize > 0 ? FIconSize : SystemMetricForDpi(SM_CXSMICON, FDpi ? FDpi : SystemDpi());
        const int y = (FCaptionTextRect.top + FCaptionTextRect.bottom) / 2 - size / 2;
        // Choosing the image of the icon's resource for the size is costly:
        // done once per icon and size, not once per paint.
        if (icon != FCaptionIconSource || size != FCaptionIconCopySize) {
            ForgetCaptionIcon();
            FCaptionIconSource = icon;
            FCaptionIconCopySize = size;
            FCaptionIconCopy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE));
        }
        DrawIconEx(dc, 8, y, FCaptionIconCopy ? FCaptionIconCopy : icon, size, size, 0, nullptr, DI_NORMAL);
        return;
    }
    if (button && button->HasImage())
        skin::DrawTransparentBitmap(dc, button->Rect, button->Image(), skin::TRANSPARENT_COLOUR);
}

void TWinSkinForm::ForgetCaptionIcon()
{
    if (FCaptionIconCopy)
        DestroyIcon(FCaptionIconCopy);
    FCaptionIconCopy = nullptr;
    FCaptionIconSource = nullptr;
    FCaptionIconCopySize = 0;
}

void TWinSkinForm::LoadIconBitmap()
{
    ForgetCaptionIcon();
    FCaptionStrip.Forget();
    if (!FIconBitmap)
        return;
    const int width = SystemMetricForDpi(SM_CXSMICON, FDpi ? FDpi : SystemDpi());
    const int height = SystemMetricForDpi(SM_CYSMICON, FDpi ? FDpi : SystemDpi());
    FIconSize = width;
    // 24 bits rather than 16 keep the magenta key exact.
    FIconBitmap->SetPixelFormat(pf24bit);
    FIconBitmap->SetSize(width, height);
    HDC dc = FIconBitmap->Canvas()->Handle();
    const RECT all{0, 0, width, height};
    TGdiBrush magenta(CreateSolidBrush(skin::TRANSPARENT_COLOUR));
    FillRect(dc, &all, magenta);
    FIconHandle = WindowIcon(FHandle);
    if (FIconHandle)
        DrawIconAt(dc, FIconHandle, 0, 0, width);
}

// ---- the window region -----------------------------------------------------------------

void TWinSkinForm::UpdateRegion()
{
    SetRegion(true);
}

void TWinSkinForm::SetRegion(bool redraw)
{
    if (FSkinState == fssDestroyed || !FSkinFrame || !FSkinData || FSkinData->NoSkin() || !IsWindow(FHandle))
        return;
    RECT window{};
    if (!GetWindowRect(FHandle, &window))
        return;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    if (width <= 0 || height <= 0)
        return;
    if (FWindowKind == wkMdiChild && FWindowState != fwsNormal)
        return;
    if (FRegionValid && width == FRegionWidth && height == FRegionHeight && FWindowKind != wkMdiChild &&
        FSkinState != fssChangingSkin)
        return;

    const TDataSkinBorder* left = Skin().Border(sbLeft);
    const TDataSkinBorder* right = Skin().Border(sbRight);
    const TDataSkinBorder* top = Skin().Border(sbTop);
    const TDataSkinBorder* bottom = Skin().Border(sbBottom);
    auto transparent = [](const TDataSkinBorder* b) { return b && b->Trans != 0 && !b->Bitmap.Empty(); };

    HRGN region = nullptr;
    if (!transparent(left) && !transparent(right) && !transparent(top) && !transparent(bottom)) {
        // Nothing to cut: the window shows all of itself without a region
        // (setting one costs the system a frame change).
        if (FRegion) {
            FRegion = nullptr;
            SetWindowRgn(FHandle, nullptr, redraw ? TRUE : FALSE);
        }
        FRegionWidth = width;
        FRegionHeight = height;
        FRegionValid = 1;
        return;
    } else {
        FRegionWidth = width;
        FRegionHeight = height;
        region = CreateRectRgn(FBorderLeft, FBorderTop, width - FBorderRight, height - FBorderBottom);
        if (FBorderKind != bkNone) {
            const int middle = width - FBorderLeft - FBorderRight;
            AddRegion(region, transparent(left) && left->Trans == 1 && height > 1
                                  ? OpaqueBorderRegion(*left, false, 0, 0, FBorderLeft, height)
                                  : CreateRectRgn(0, 0, FBorderLeft, height));
            AddRegion(region, transparent(right) && right->Trans == 1 && height > 1
                                  ? OpaqueBorderRegion(*right, false, width - FBorderRight, 0, FBorderRight, height)
                                  : CreateRectRgn(width - FBorderRight, 0, width, height));
            AddRegion(region, transparent(bottom) && bottom->Trans == 1 && FBorderBottom >= 2 && middle > 0
                                  ? OpaqueBorderRegion(*bottom, true, FBorderLeft, height - FBorderBottom, middle,
                                                       FBorderBottom)
                                  : CreateRectRgn(FBorderLeft, height - FBorderBottom, width - FBorderRight, height));
            AddRegion(region, transparent(top) && top->Trans == 1 && FBorderTop > 1 && middle > 0
                                  ? OpaqueBorderRegion(*top, true, FBorderLeft, 0, middle, FBorderTop)
                                  : CreateRectRgn(FBorderLeft, 0, width - FBorderRight, FBorderTop));
        }
    }
    if (!region)
        return;
    // The window owns the region from here on (and frees the one before).
    if (SetWindowRgn(FHandle, region, redraw ? TRUE : FALSE)) {
        FRegion = region;
        FRegionValid = 1;
    } else {
        DeleteObject(region);
    }
}
