// Image lists (see image_list.h).
#include "framework/image_list.h"

#include <algorithm>

using PImageList = TPropBuilder<TCustomImageList>;
IMPLEMENT_CLASS(TCustomImageList,
    PImageList::Integer("Count", &TCustomImageList::Count, nullptr),
    PImageList::Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight),
    PImageList::Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth))

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height)
    : TComponent(owner), FWidth(std::max(width, 1)), FHeight(std::max(height, 1))
{
}

TCustomImageList::~TCustomImageList() { FreeHandle(); }

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
    if (OnChange) OnChange(this);
}
