// The GDI owners: an owning wrapper frees its handle exactly once, a
// non-owning one never, and the guards put the DC back as they found it.
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "framework/gdi_handles.h"

namespace {

static_assert(!std::is_copy_constructible_v<TGdiBrush> && std::is_nothrow_move_constructible_v<TGdiBrush>);
static_assert(std::is_copy_constructible_v<TGdiBrushRef>);
static_assert(!std::is_copy_constructible_v<TMemoryDC> && !std::is_copy_constructible_v<TWindowDC>);

bool Alive(HGDIOBJ object)
{
    return GetObjectType(object) != 0;
}

TEST(GdiHandles, OwnersFreeExactlyTheirHandles)
{
    HBRUSH raw = nullptr;
    {
        TGdiBrush brush(CreateSolidBrush(RGB(1, 2, 3)));
        raw = brush;
        ASSERT_TRUE(Alive(raw));
        TGdiBrushRef view(brush);
        { TGdiBrushRef copy = view; }
        EXPECT_TRUE(Alive(raw)) << "a non-owning copy freed the brush";
        TGdiBrush moved = std::move(brush);
        EXPECT_TRUE(brush.IsNull());
        EXPECT_EQ(moved.Get(), raw);
        EXPECT_TRUE(Alive(raw));
    }
    EXPECT_FALSE(Alive(raw)) << "the owner did not free the brush";

    TGdiPen kept(CreatePen(PS_SOLID, 1, 0));
    HPEN released = nullptr;
    {
        TGdiPen pen(CreatePen(PS_SOLID, 1, 0));
        released = pen.Release();
    }
    EXPECT_TRUE(Alive(released));
    DeleteObject(released);

    // Reset and move assignment free the old handle.
    TGdiRegion region(CreateRectRgn(0, 0, 1, 1));
    HRGN first = region;
    region.Reset(CreateRectRgn(0, 0, 2, 2));
    EXPECT_FALSE(Alive(first));
    HRGN second = region;
    region = TGdiRegion(CreateRectRgn(0, 0, 3, 3));
    EXPECT_FALSE(Alive(second));
    region = std::move(region);
    EXPECT_TRUE(Alive(region));
    EXPECT_TRUE(Alive(kept));

    HDC dc = nullptr;
    {
        TMemoryDC memory;
        dc = memory;
        EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
    }
    EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST(GdiHandles, GuardsRestoreTheDeviceContext)
{
    TMemoryDC dc;
    const HGDIOBJ original = GetCurrentObject(dc, OBJ_BITMAP);
    TGdiBitmap bitmap(CreateCompatibleBitmap(dc, 4, 4));
    {
        TSelectObject select(dc, bitmap);
        EXPECT_EQ(select.Previous(), original);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), original);
    {
        // A bitmap cannot be in two DCs: the second selection fails and
        // its guard must not disturb the second DC.
        TSelectObject select(dc, bitmap);
        TMemoryDC other;
        const HGDIOBJ otherOriginal = GetCurrentObject(other, OBJ_BITMAP);
        {
            TSelectObject again(other, bitmap);
            EXPECT_EQ(again.Previous(), nullptr);
        }
        EXPECT_EQ(GetCurrentObject(other, OBJ_BITMAP), otherOriginal);
    }
    {
        TSaveDC save(dc);
        SetBkColor(dc, RGB(9, 9, 9));
        SetStretchBltMode(dc, HALFTONE);
    }
    EXPECT_NE(GetBkColor(dc), RGB(9, 9, 9));
    EXPECT_NE(GetStretchBltMode(dc), HALFTONE);

    TWindowDC screen = TWindowDC::Client(nullptr);
    EXPECT_FALSE(screen.IsNull());
    TWindowDC taken = std::move(screen);
    EXPECT_TRUE(screen.IsNull());
    EXPECT_EQ(GetDeviceCaps(taken, BITSPIXEL) > 0, true);
}

}  // namespace
