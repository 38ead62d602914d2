// Image lists: rows of equally sized small pictures that list views and
// header controls show beside their texts.
//
// TCustomImageList owns one system image list (HIMAGELIST) of Width by
// Height pixels, made on first use with a mask so that each picture can
// have transparent parts. Controls that show images hold the list by
// reference and hand its handle to their windows; the list tells them when
// its pictures change (OnChange).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "framework/classes.h"
#include "framework/graphics.h"

class TCustomImageList : public TComponent {
    DECLARE_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner, int width = 16, int height = 16);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size empties the list.
    void SetWidth(int value);
    void SetHeight(int value);
    int Count() const;

    // The system image list, made on first use; owned by this object.
    HIMAGELIST Handle();
    // Takes `list` as the pictures (its size becomes this list's size); it is
    // destroyed with this object only when `owns`.
    void SetHandle(HIMAGELIST list, bool owns);
    // Adds the pictures of `bitmap` (one per Width pixels across) with
    // `transparent` pixels left out. Returns the index of the first one, -1
    // when the system refuses them.
    int AddMasked(TBitmap* bitmap, TColor transparent);
    // The same for a device bitmap selected nowhere, `mask` being a colour.
    int AddMasked(HBITMAP bitmap, COLORREF mask);
    void Delete(int index);
    void Clear();
    // The pictures for a control shown at `dpi`: the list itself at 96 (its
    // pictures are 96-DPI pictures), else a copy at the scale, each picture
    // and its mask enlarged by whole source pixels (no colour bleeds into
    // what is transparent). A copy is made once per scale, kept with the
    // same handle while this object lives, and redrawn when the list
    // changes.
    HIMAGELIST HandleForDpi(UINT dpi);
    // Draws picture `index` with its top-left corner at (x, y).
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

    TNotifyEvent OnChange;

private:
    void Changed();
    void FreeHandle();
    void FillScaled(HIMAGELIST scaled, UINT dpi);

    int FWidth = 16;
    int FHeight = 16;
    HIMAGELIST FHandle = nullptr;
    bool FOwns = true;
    struct TScaledList {
        UINT Dpi;
        HIMAGELIST Handle;
    };
    std::vector<TScaledList> FScaled;
};

class TImageList : public TCustomImageList {
    DECLARE_CLASS_INLINE(TImageList, TCustomImageList)
public:
    using TCustomImageList::TCustomImageList;
};
