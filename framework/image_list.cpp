// Image lists (see image_list.h).
#include "framework/image_list.h"

#include <algorithm>
#include <cstdint>

#include "framework/display_scale.h"
#include "framework/gdi_handles.h"

using PImageList = TPropBuilder<TCustomImageList>;
IMPLEMENT_CLASS(TCustomImageList,
    PImageList::Integer("Count", &TCustomImageList::Count, nullptr),
    PImageList::Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight),
    PImageList::Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth))

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1))
{
}

TCustomImageList::~TCustomImageList()
{
    FreeHandle();
    for (const TScaledList& scaled : FScaled) ImageList_Destroy(scaled.Handle);
}

void TCustomImageList::FreeHandle()
{
    if (FHandle && FOwns) ImageList_Destroy(FHandle);
    FHandle = nullptr;
    FOwns = true;
}

void TCustomImageList::SetWidth(int value)
{
    value = std::max(value, 1);
    if (value == FWidth) return;
    FWidth = value;
    FreeHandle();
    Changed();
}

void TCustomImageList::SetHeight(int value)
{
    value = std::max(value, 1);
    if (value == FHeight) return;
    FHeight = value;
    FreeHandle();
    Changed();
}

HIMAGELIST TCustomImageList::Handle()
{
    if (!FHandle) {
        InitCommonControls();
        FHandle = ImageList_Create(FWidth, FHeight, ILC_COLOR24 | ILC_MASK, 4, 4);
        FOwns = true;
    }
    return FHandle;
}

HIMAGELIST TCustomImageList::HandleForDpi(UINT dpi)
{
    if (dpi == 0 || dpi == 96) return Handle();
    for (const TScaledList& scaled : FScaled)
        if (scaled.Dpi == dpi) return scaled.Handle;
    InitCommonControls();
    HIMAGELIST list =
        ImageList_Create(ScaleToDpi(FWidth, dpi), ScaleToDpi(FHeight, dpi), ILC_COLOR24 | ILC_MASK, 4, 4);
    if (!list) return Handle();
    FScaled.push_back(TScaledList{dpi, list});
    FillScaled(list, dpi);
    return list;
}

void TCustomImageList::FillScaled(HIMAGELIST scaled, UINT dpi)
{
    const int w = ScaleToDpi(FWidth, dpi), h = ScaleToDpi(FHeight, dpi);
    int cx = 0, cy = 0;
    if (!ImageList_GetIconSize(scaled, &cx, &cy) || cx != w || cy != h)
        ImageList_SetIconSize(scaled, w, h);  // which also empties it
    else
        ImageList_RemoveAll(scaled);
    const int count = Count();
    if (count == 0) return;
    // Each picture is drawn at its own size over black and over white: a
    // pixel that differs between the two is transparent. The pixels are then
    // enlarged whole (each target pixel takes its nearest source pixel), so
    // the mask stays exact.
    BITMAPINFO small{};
    small.bmiHeader.biSize = sizeof small.bmiHeader;
    small.bmiHeader.biWidth = FWidth;
    small.bmiHeader.biHeight = -FHeight;
    small.bmiHeader.biPlanes = 1;
    small.bmiHeader.biBitCount = 32;
    BITMAPINFO large = small;
    large.bmiHeader.biWidth = w;
    large.bmiHeader.biHeight = -h;
    void* onBlackBits = nullptr;
    void* onWhiteBits = nullptr;
    void* colourBits = nullptr;
    TGdiBitmap onBlack(CreateDIBSection(nullptr, &small, DIB_RGB_COLORS, &onBlackBits, nullptr, 0));
    TGdiBitmap onWhite(CreateDIBSection(nullptr, &small, DIB_RGB_COLORS, &onWhiteBits, nullptr, 0));
    TGdiBitmap colour(CreateDIBSection(nullptr, &large, DIB_RGB_COLORS, &colourBits, nullptr, 0));
    if (onBlack.IsNull() || onWhite.IsNull() || colour.IsNull()) return;
    // A monochrome bitmap's rows are whole 16-bit words; 1 is transparent.
    const int maskStride = ((w + 15) / 16) * 2;
    std::vector<BYTE> maskBits(static_cast<size_t>(maskStride) * h);
    const auto* black = static_cast<const std::uint32_t*>(onBlackBits);
    const auto* white = static_cast<const std::uint32_t*>(onWhiteBits);
    auto* target = static_cast<std::uint32_t*>(colourBits);
    TMemoryDC dc(nullptr);
    for (int i = 0; i < count; ++i) {
        {
            TSelectObject select(dc, onBlack);
            PatBlt(dc, 0, 0, FWidth, FHeight, BLACKNESS);
            ImageList_Draw(FHandle, i, dc, 0, 0, ILD_TRANSPARENT);
        }
        {
            TSelectObject select(dc, onWhite);
            PatBlt(dc, 0, 0, FWidth, FHeight, WHITENESS);
            ImageList_Draw(FHandle, i, dc, 0, 0, ILD_TRANSPARENT);
        }
        GdiFlush();
        std::fill(maskBits.begin(), maskBits.end(), BYTE{0});
        for (int y = 0; y < h; ++y) {
            const int sy = y * FHeight / h;
            for (int x = 0; x < w; ++x) {
                const size_t from = static_cast<size_t>(sy) * FWidth + x * FWidth / w;
                const bool clear = (black[from] & 0xFFFFFF) != (white[from] & 0xFFFFFF);
                target[static_cast<size_t>(y) * w + x] = clear ? 0 : black[from] & 0xFFFFFF;
                if (clear) maskBits[static_cast<size_t>(y) * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
            }
        }
        TGdiBitmap mask(CreateBitmap(w, h, 1, 1, maskBits.data()));
        if (mask.IsNull()) break;
        ImageList_Add(scaled, colour, mask);
    }
}

int TCustomImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle) : 0; }

int TCustomImageList::AddMasked(TBitmap* bitmap, TColor transparent)
{
    if (!bitmap || bitmap->Empty()) return -1;
    // The system list takes a device bitmap that is selected nowhere.
    TBitmap copy;
    copy.Assign(*bitmap);
    int index = ImageList_AddMasked(Handle(), copy.Handle(), ColorToRGB(transparent));
    Changed();
    return index;
}

void TCustomImageList::SetHandle(HIMAGELIST list, bool owns)
{
    if (FHandle != list) FreeHandle();
    FHandle = list;
    FOwns = owns;
    int cx = FWidth, cy = FHeight;
    if (list && ImageList_GetIconSize(list, &cx, &cy)) {
        FWidth = cx;
        FHeight = cy;
    }
    Changed();
}

int TCustomImageList::AddMasked(HBITMAP bitmap, COLORREF mask)
{
    int index = ImageList_AddMasked(Handle(), bitmap, mask);
    Changed();
    return index;
}

void TCustomImageList::Delete(int index)
{
    if (FHandle && ImageList_Remove(FHandle, index)) Changed();
}

void TCustomImageList::Clear()
{
    if (FHandle && ImageList_RemoveAll(FHandle)) Changed();
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const
{
    if (!FHandle || index < 0 || index >= Count()) return;
    ImageList_DrawEx(FHandle, index, dc, x, y, 0, 0, CLR_NONE, enabled ? CLR_DEFAULT : GetSysColor(COLOR_BTNFACE),
                     enabled ? ILD_TRANSPARENT : ILD_BLEND50);
}

void TCustomImageList::Changed()
{
    for (const TScaledList& scaled : FScaled) FillScaled(scaled.Handle, scaled.Dpi);
    if (OnChange) OnChange(this);
}
