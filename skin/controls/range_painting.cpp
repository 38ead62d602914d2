// Painting progress bars, up-downs and track bars (see range_painting.h).
#include "skin/controls/range_painting.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/scroll_geometry.h"
#include "skin/data/skin_component.h"
#include "skin/data/skin_draw.h"

namespace skin {

namespace {

constexpr int UPDOWN_FRAMES = 8;
constexpr int THUMB_FRAMES = 5;

RECT MarginsOf(const TDataSkinObject& object)
{
    return RECT{object.LeftWidth, object.TopHeight, object.RightWidth, object.BottomHeight};
}

bool HasImage(const TDataSkinObject* object) { return object && !object->Bitmap.Empty() && object->Bitmap.Handle(); }

COLORREF SkinColour(const TSkinModel& skin, TSkinColourIndex index) { return ResolveColour(skin.Colours[index]); }

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    TGdiBrush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush);
}

// The chunk style: the bar's image as one frame, then chunk images over the
// filled width (side by side when the chunk tiles, else one stretched chunk).
void PaintChunks(HDC dc, int width, int height, const TSkinModel& skin, const TProgressLook& look)
{
    const TDataSkinObject* bar = skin.Object(ssProgress);
    const RECT whole{0, 0, width, height};
    DrawFrameBitmap(dc, whole, bar->Bitmap.Handle(), MarginsOf(*bar), 1, 1, true, bar->Tile != 0, false);
    const TDataSkinObject* chunk = skin.Object(ssProgressChunk);
    if (!HasImage(chunk)) return;
    const int filled = ChunkFillWidth(width, look.Position, look.High);
    if (filled <= 0) return;
    const int frames = std::max(chunk->Frame, 1);
    const int w = chunk->Bitmap.Width() / frames, h = chunk->Bitmap.Height();
    if (w <= 0 || h <= 0) return;
    if (chunk->Tile == 1) {
        TGdiBitmap strip = MakeDibSection(filled, h, 24);
        if (strip.IsNull()) return;
        {
            TMemoryDC stripDC(dc);
            TSelectObject selected(stripDC, strip);
            const RECT source{0, 0, w, h};
            TileBitmap(stripDC, RECT{0, 0, filled, h}, chunk->Bitmap.Handle(), source);
        }
        const int x = chunk->LeftWidth + 2, y = (height - h) / 2;
        DrawTransparentBitmap(dc, RECT{x, y, x + filled, y + h}, strip, TRANSPARENT_COLOUR);
    } else {
        DrawFrameThreePart(dc, RECT{2, 2, 2 + filled, height - 2}, chunk->Bitmap.Handle(), MarginsOf(*chunk), 1, frames,
                           false);
    }
}

// A small arrow of lines at the centre of `half`, pointing along `arrow`.
void DrawPlainArrow(HDC dc, const RECT& half, TUpDownArrow arrow)
{
    const int cx = (half.left + half.right) / 2;
    int cy = (half.top + half.bottom) / 2;
    if (arrow == udaUp || arrow == udaDown) cy -= 2;
    constexpr int size = 3;
    for (int i = 0; i < size; ++i) {
        switch (arrow) {
        case udaUp:
            MoveToEx(dc, cx - i, cy + i, nullptr);
            LineTo(dc, cx + i + 1, cy + i);
            break;
        case udaDown:
            MoveToEx(dc, cx - (size - 1 - i), cy + i, nullptr);
            LineTo(dc, cx + (size - 1 - i) + 1, cy + i);
            break;
        case udaLeft:
            MoveToEx(dc, cx - 1 + i, cy - i, nullptr);
            LineTo(dc, cx - 1 + i, cy + i + 1);
            break;
        case udaRight:
            MoveToEx(dc, cx + 1 - i, cy - i, nullptr);
            LineTo(dc, cx + 1 - i, cy + i + 1);
            break;
        }
    }
}

void PaintUpDownHalf(HDC dc, const RECT& half, const TSkinModel& skin, const TDataSkinObject* object,
                     TUpDownArrow arrow, TUpDownState state)
{
    if (HasImage(object)) {
        const int frame = UpDownFrame(arrow, state);
        DrawFrameStretched(dc, half, object->Bitmap.Handle(), frame, UPDOWN_FRAMES, true);
        const auto* border = dynamic_cast<const TDataSkinBorder*>(object);
        if (border && !border->Bitmap2.Empty() && border->Bitmap2.Handle())
            DrawFrameCentred(dc, half, border->Bitmap2.Handle(), frame, std::max(object->Frame, 1), true);
        return;
    }
    const bool sunk = state == udsPressed || state == udsHot;
    TGdiBrush brush(CreateSolidBrush(SkinColour(skin, sunk ? scButtonShadow : scButtonFace)));
    TGdiPen pen(CreatePen(PS_SOLID, 1, SkinColour(skin, scButtonDkShadow)));
    TSelectObject selectedBrush(dc, brush);
    TSelectObject selectedPen(dc, pen);
    Rectangle(dc, half.left, half.top, half.right, half.bottom);
    DrawPlainArrow(dc, half, arrow);
}

// Stretches `source` of `image` to `dest` of `dc`, opaque.
void StretchPiece(HDC dc, HDC image, const RECT& dest, const RECT& source)
{
    if (dest.right <= dest.left || dest.bottom <= dest.top || source.right <= source.left ||
        source.bottom <= source.top)
        return;
    StretchBlt(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, image, source.left, source.top,
               source.right - source.left, source.bottom - source.top, SRCCOPY);
}

}  // namespace

// ---- progress bars ------------------------------------------------------------

bool SkinHasProgress(const TSkinModel* skin) { return skin && HasImage(skin->Object(ssProgress)); }

bool PaintProgress(HDC dc, const RECT& rect, const TSkinModel& skin, const TProgressLook& look)
{
    if (!SkinHasProgress(&skin)) return false;
    const TDataSkinObject* bar = skin.Object(ssProgress);
    const int outerWidth = rect.right - rect.left, outerHeight = rect.bottom - rect.top;
    if (outerWidth <= 0 || outerHeight <= 0) return true;
    // A vertical bar is drawn lying down and turned at the end.
    const int width = look.Vertical ? outerHeight : outerWidth;
    const int height = look.Vertical ? outerWidth : outerHeight;
    TGdiBitmap buffer = MakeDibSection(width, height, 24);
    if (buffer.IsNull()) return true;
    {
        TMemoryDC bufferDC(dc);
        TSelectObject selected(bufferDC, buffer);
        SetStretchBltMode(bufferDC, COLORONCOLOR);
        Fill(bufferDC, RECT{0, 0, width, height}, ResolveColour(skin.FaceColour()));
        if (bar->Style == 1) {
            PaintChunks(bufferDC, width, height, skin, look);
        } else {
            DrawFrameBitmap(bufferDC, RECT{0, 0, width, height}, bar->Bitmap.Handle(), MarginsOf(*bar), 1, 2, true,
                            bar->Tile != 0, false);
            const int filled = ProgressFillWidth(width, look.Position, look.Low, look.High);
            if (filled > 0)
                DrawFrameBitmap(bufferDC, RECT{0, 0, std::min(filled, width), height}, bar->Bitmap.Handle(),
                                MarginsOf(*bar), 2, 2, true, bar->Tile != 0, false);
        }
    }
    if (look.Vertical && !RotateLeft(buffer)) return true;
    TMemoryDC source(dc);
    TSelectObject selected(source, buffer);
    BitBlt(dc, rect.left, rect.top, outerWidth, outerHeight, source, 0, 0, SRCCOPY);
    return true;
}

// ---- up-down buttons ------------------------------------------------------------

void PaintUpDown(HDC dc, const RECT& rect, const TSkinModel& skin, const TUpDownLook& look)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    TGdiBitmap buffer = MakeDibSection(width, height, 24);
    if (buffer.IsNull()) return;
    TMemoryDC bufferDC(dc);
    {
        TSelectObject selected(bufferDC, buffer);
        SetStretchBltMode(bufferDC, COLORONCOLOR);
        Fill(bufferDC, RECT{0, 0, width, height}, ResolveColour(skin.FaceColour()));
        const TDataSkinObject* object = skin.Object(look.Horizontal ? ssUpDownHorz : ssUpDownVert);
        RECT first, second;
        TUpDownArrow firstArrow, secondArrow;
        if (look.Horizontal) {
            first = RECT{0, 0, width / 2, height};
            second = RECT{width / 2, 0, width, height};
            firstArrow = udaLeft;
            secondArrow = udaRight;
        } else {
            first = RECT{0, 0, width, height / 2};
            second = RECT{0, height / 2, width, height};
            firstArrow = udaUp;
            secondArrow = udaDown;
        }
        const POINT cursor{look.Cursor.x - rect.left, look.Cursor.y - rect.top};
        PaintUpDownHalf(bufferDC, first, skin, object, firstArrow,
                        UpDownHalfState(look.Enabled, PtInRect(&first, cursor) != 0, look.Pressed, look.Hot));
        PaintUpDownHalf(bufferDC, second, skin, object, secondArrow,
                        UpDownHalfState(look.Enabled, PtInRect(&second, cursor) != 0, look.Pressed, look.Hot));
        BitBlt(dc, rect.left, rect.top, width, height, bufferDC, 0, 0, SRCCOPY);
    }
}

// ---- track bars -------------------------------------------------------------------

bool PaintTrackChannel(HDC dc, const RECT& reported, const TSkinModel& skin, bool vertical)
{
    const TDataSkinObject* upright = skin.Object(ssTrackVert);
    const TDataSkinObject* track = vertical && HasImage(upright) ? upright : skin.Object(ssTrack);
    if (!HasImage(track)) return false;
    const int frames = std::max(track->Frame, 1);
    const int w = track->Bitmap.Width() / frames, h = track->Bitmap.Height();
    if (w <= 0 || h <= 0) return true;
    TMemoryDC image(dc);
    TSelectObject selected(image, track->Bitmap.Handle());
    if (track == upright) {
        // Some systems report a vertical channel with x and y exchanged (a
        // rectangle lying down), others as it stands on the screen.
        const bool exchanged = reported.right - reported.left > reported.bottom - reported.top;
        const RECT channel = exchanged ? RECT{reported.top, reported.left, reported.bottom, reported.right} : reported;
        const int channelWidth = channel.right - channel.left;
        const int left = channel.left + (w < channelWidth ? (channelWidth - w) / 2 : 0);
        const TChannelPieces p =
            ChannelPieces(channel.top, channel.bottom - channel.top, track->TopHeight, track->BottomHeight);
        StretchPiece(dc, image, RECT{left, p.FirstStart, left + w, p.FirstStart + p.FirstLength},
                     RECT{0, 0, w, track->TopHeight});
        StretchPiece(dc, image, RECT{left, p.MiddleStart, left + w, p.MiddleStart + p.MiddleLength},
                     RECT{0, track->TopHeight, w, h - track->BottomHeight});
        StretchPiece(dc, image, RECT{left, p.LastStart, left + w, p.LastStart + p.LastLength},
                     RECT{0, h - track->BottomHeight, w, h});
    } else {
        const RECT& channel = reported;
        const int channelHeight = channel.bottom - channel.top;
        // Centred across the channel, as the vertical image is.
        const int top = channel.top + (h < channelHeight ? (channelHeight - h) / 2 : 0);
        const TChannelPieces p =
            ChannelPieces(channel.left, channel.right - channel.left, track->LeftWidth, track->RightWidth);
        StretchPiece(dc, image, RECT{p.FirstStart, top, p.FirstStart + p.FirstLength, top + h},
                     RECT{0, 0, track->LeftWidth, h});
        StretchPiece(dc, image, RECT{p.MiddleStart, top, p.MiddleStart + p.MiddleLength, top + h},
                     RECT{track->LeftWidth, 0, w - track->RightWidth, h});
        StretchPiece(dc, image, RECT{p.LastStart, top, p.LastStart + p.LastLength, top + h},
                     RECT{w - track->RightWidth, 0, w, h});
    }
    return true;
}

void PaintTrackThumb(HDC dc, const RECT& thumb, const TSkinModel& skin, bool vertical)
{
    const TDataSkinObject* image = vertical ? skin.Object(ssTrackbarThumbVert) : nullptr;
    if (!HasImage(image)) image = skin.Object(ssTrackbarThumbHorz);
    if (HasImage(image)) {
        DrawFrameStretched(dc, thumb, image->Bitmap.Handle(), 2, THUMB_FRAMES, true);
        return;
    }
    TGdiBrush brush(CreateSolidBrush(SkinColour(skin, scButtonShadow)));
    FrameRect(dc, &thumb, brush);
}

bool SkinHasProgress(const TSkinData* skin) { return skin && SkinHasProgress(&skin->Model()); }
bool PaintProgress(HDC dc, const RECT& rect, const TSkinData& skin, const TProgressLook& look)
{
    return PaintProgress(dc, rect, skin.Model(), look);
}
void PaintUpDown(HDC dc, const RECT& rect, const TSkinData& skin, const TUpDownLook& look)
{
    PaintUpDown(dc, rect, skin.Model(), look);
}
bool PaintTrackChannel(HDC dc, const RECT& channel, const TSkinData& skin, bool vertical)
{
    return PaintTrackChannel(dc, channel, skin.Model(), vertical);
}
void PaintTrackThumb(HDC dc, const RECT& thumb, const TSkinData& skin, bool vertical)
{
    PaintTrackThumb(dc, thumb, skin.Model(), vertical);
}

}  // namespace skin
