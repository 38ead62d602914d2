// Painting a scroll bar from the skin (see scroll_painting.h).
#include "skin/controls/scroll_painting.h"

#include <cstdlib>

#include "skin/data/skin_component.h"
#include "skin/data/skin_draw.h"

namespace skin {

namespace {

constexpr int SCROLLBAR_FRAMES = 23;
constexpr int TRACK_FRAMES = 4;

RECT MarginsOf(const TDataSkinObject& object)
{
    return RECT{object.LeftWidth, object.TopHeight, object.RightWidth, object.BottomHeight};
}

// A span along the bar's axis as a rectangle of the picture.
RECT Span(const TScrollBarLook& look, int start, int end)
{
    const RECT& bar = look.Bar;
    return look.Vertical ? RECT{bar.left, bar.top + start, bar.right, bar.top + end}
                         : RECT{bar.left + start, bar.top, bar.left + end, bar.bottom};
}

void DrawTrack(HDC dc, const TSkinModel& skin, const TScrollBarLook& look, int length)
{
    const TDataSkinObject* track = skin.Object(look.Vertical ? ssVertScroll : ssHorzScroll);
    if (!track || track->Bitmap.Empty()) return;
    DrawFrameBitmap(dc, Span(look, look.ArrowSize, length - look.ArrowSize), track->Bitmap.Handle(), MarginsOf(*track),
                    look.Enabled ? 1 : 3, TRACK_FRAMES, track->Trans != 0, track->Tile != 0, false);
}

void DrawThumb(HDC dc, const TSkinModel& skin, const TScrollBarLook& look, HBITMAP strip)
{
    if (look.Thumb.Start < look.Limit && look.Thumb.End < look.Limit) {
        const TDataSkinObject* thumb = skin.Object(look.Vertical ? ssVertScrollThumb : ssHorzScrollThumb);
        if (thumb && !thumb->Bitmap.Empty())
            DrawFrameBitmap(dc, Span(look, look.Thumb.Start, look.Thumb.End), thumb->Bitmap.Handle(), MarginsOf(*thumb),
                            ThumbFrame(look.Hot, look.Pressed), thumb->Frame > 0 ? thumb->Frame : 1, thumb->Trans != 0,
                            false, false);
    }
    BITMAP info{};
    if (!GetObjectA(strip, sizeof info, &info)) return;
    TThumbExtent grip;
    if (GripExtent(look.Thumb, info.bmHeight, look.Limit, grip))
        DrawFrameStretched(dc, Span(look, grip.Start, grip.End), strip,
                           GripFrame(look.Vertical, look.Hot, look.Pressed && look.Hot == szThumb), SCROLLBAR_FRAMES,
                           true);
}

}  // namespace

bool TScrollBarLook::operator==(const TScrollBarLook& o) const
{
    return Vertical == o.Vertical && BitmapSize.cx == o.BitmapSize.cx && BitmapSize.cy == o.BitmapSize.cy &&
           EqualRect(&Bar, &o.Bar) && ArrowSize == o.ArrowSize && ArrowLength == o.ArrowLength &&
           Thumb.Start == o.Thumb.Start && Thumb.End == o.Thumb.End && Limit == o.Limit && Enabled == o.Enabled &&
           Hot == o.Hot && Pressed == o.Pressed;
}

bool SkinHasScrollBar(const TSkinModel* skin)
{
    const TDataSkinObject* bar = skin ? skin->Object(ssScrollbar) : nullptr;
    return bar && !bar->Bitmap.Empty() && bar->Bitmap.Handle();
}

TGdiBitmap ComposeScrollBar(const TSkinModel& skin, const TScrollBarLook& look)
{
    if (!SkinHasScrollBar(&skin) || look.BitmapSize.cx <= 0 || look.BitmapSize.cy <= 0) return TGdiBitmap();
    HBITMAP strip = skin.Object(ssScrollbar)->Bitmap.Handle();
    TGdiBitmap picture = MakeDibSection(look.BitmapSize.cx, look.BitmapSize.cy, 32);
    if (picture.IsNull()) return picture;
    TMemoryDC dc;
    {
        TSelectObject selected(dc, picture);
        SetStretchBltMode(dc, COLORONCOLOR);
        RECT all{0, 0, look.BitmapSize.cx, look.BitmapSize.cy};
        TGdiBrush face(CreateSolidBrush(ResolveColour(skin.FaceColour())));
        FillRect(dc, &all, face);

        const int length = look.Vertical ? look.Bar.bottom - look.Bar.top : look.Bar.right - look.Bar.left;
        DrawTrack(dc, skin, look, length);
        DrawFrameStretched(dc, Span(look, 0, look.ArrowLength), strip,
                           ArrowFrame(look.Vertical, false, look.Hot, look.Pressed), SCROLLBAR_FRAMES, true);
        DrawFrameStretched(dc, Span(look, length - look.ArrowLength, length), strip,
                           ArrowFrame(look.Vertical, true, look.Hot, look.Pressed), SCROLLBAR_FRAMES, true);
        if (look.Enabled) DrawThumb(dc, skin, look, strip);
    }
    return picture;
}

void CopyPicture(HDC dc, HBITMAP picture, int x, int y)
{
    BITMAP info{};
    if (!dc || !picture || !GetObjectA(picture, sizeof info, &info)) return;
    TMemoryDC source(dc);
    TSelectObject selected(source, picture);
    BitBlt(dc, x, y, info.bmWidth, std::abs(info.bmHeight), source, 0, 0, SRCCOPY);
}

bool SkinHasScrollBar(const TSkinData* skin) { return skin && SkinHasScrollBar(&skin->Model()); }
TGdiBitmap ComposeScrollBar(const TSkinData& skin, const TScrollBarLook& look)
{
    return ComposeScrollBar(skin.Model(), look);
}

}  // namespace skin
