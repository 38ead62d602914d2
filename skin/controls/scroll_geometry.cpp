// Geometry of the skinned bars (see scroll_geometry.h).
#include "skin/controls/scroll_geometry.h"

#include <algorithm>
#include <cstdint>

namespace skin {

namespace {

// MulDiv's rounding: a * b / c rounded half away from zero; -1 when c is 0.
int MulDivRound(int a, int b, int c)
{
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    const bool negative = (product < 0) != (c < 0);
    if (2 * (remainder < 0 ? -remainder : remainder) >= (c < 0 ? -static_cast<std::int64_t>(c) : c))
        quotient += negative ? -1 : 1;
    return static_cast<int>(quotient);
}

}  // namespace

TScrollZone ScrollHitTest(const TBarAxis& bar, int p)
{
    if (p < bar.ArrowSize) return szFirstArrow;
    if (p < bar.Thumb.Start) return szTrackBefore;
    if (p < bar.Thumb.End) return szThumb;
    if (p < bar.Length - bar.ArrowSize) return szTrackAfter;
    return szSecondArrow;
}

TThumbExtent ControlBarThumb(int length, int arrowSize, int min, int max, int page, int position)
{
    const int denominator = max == min ? 9999999 : max - min;
    const int track = length - 2 * arrowSize;
    TThumbExtent thumb;
    int thumbLength;
    if (page > 0) {
        thumbLength = MulDivRound(track, page - 1, denominator);
        if (thumbLength > 7) {
            thumb.Start = position == min ? arrowSize : MulDivRound(track, position - min, denominator) + arrowSize;
        } else {
            thumbLength = 8;
            thumb.Start = position == min ? arrowSize : MulDivRound(track - 8, position - min, denominator) + arrowSize;
        }
    } else {
        thumbLength = arrowSize;
        thumb.Start = position == min ? arrowSize
                                      : MulDivRound(length - 3 * arrowSize, position - min, denominator) + arrowSize;
    }
    thumb.End = thumb.Start + thumbLength;
    return thumb;
}

TThumbExtent ControlPropertiesThumb(int length, int arrowSize, int min, int max, int pageSize, int position)
{
    const int denominator = max - min;
    TThumbExtent thumb;
    int thumbLength;
    if (pageSize > 0) {
        thumbLength = MulDivRound(length - 2 * arrowSize, pageSize - 1, denominator);
        thumb.Start = MulDivRound(length - 2 * arrowSize, position - min, denominator) + arrowSize;
    } else {
        thumbLength = arrowSize;
        thumb.Start = MulDivRound(length - 3 * arrowSize, position - min, denominator) + arrowSize;
    }
    if (position == min) thumb.Start = arrowSize;
    thumb.End = thumb.Start + thumbLength;
    return thumb;
}

TThumbExtent DraggedThumb(const TThumbExtent& thumb, int pressThumbStart, int delta, int length, int arrowSize)
{
    const int thumbLength = thumb.Length();
    TThumbExtent dragged;
    // The upper bound first, then the lower: a thumb longer than the track
    // stays at the first arrow.
    dragged.Start = std::max(std::min(pressThumbStart + delta, length - arrowSize - thumbLength), arrowSize);
    dragged.End = dragged.Start + thumbLength;
    return dragged;
}

int ArrowButtonLength(int length, int arrowSize) { return length < 2 * arrowSize ? length / 2 : arrowSize; }

int BarThickness(int imageHeight, int arrowSize)
{
    return imageHeight - arrowSize > 2 || arrowSize - imageHeight > 2 ? arrowSize : imageHeight;
}

int ArrowFrame(bool vertical, bool second, TScrollZone hot, bool pressed)
{
    int frame = vertical ? (second ? 13 : 9) : (second ? 5 : 1);
    if (hot == (second ? szSecondArrow : szFirstArrow)) frame += pressed ? 1 : 3;
    return frame;
}

int GripFrame(bool vertical, TScrollZone hot, bool pressed)
{
    int frame = vertical ? 20 : 17;
    if (hot == szThumb) frame += pressed ? 1 : 2;
    return frame;
}

int ThumbFrame(TScrollZone hot, bool pressed)
{
    if (hot != szThumb) return 1;
    return pressed ? 2 : 3;
}

bool GripExtent(const TThumbExtent& thumb, int gripSize, int limit, TThumbExtent& grip)
{
    if (gripSize >= thumb.Length() + 2) return false;
    const int offset = (thumb.Length() - gripSize) / 2;
    grip.Start = thumb.Start + offset;
    grip.End = grip.Start + gripSize;
    return grip.Start >= 0 && grip.End <= limit;
}

int ListDragPosition(int& n, int track, int thumbLength, int min, int max, int page)
{
    n = std::max(n, 0);
    int position;
    if (page <= 0) {
        n = std::min(n, track - thumbLength);
        position = std::min(MulDivRound(n, max - min, track) + min, max);
    } else {
        if (n > track - thumbLength) n = track - thumbLength + 1;
        position = MulDivRound(n, max - min - page, track - thumbLength) + min;
        if (static_cast<std::int64_t>(position) >= static_cast<std::int64_t>(max) - page) position = max - page + 1;
    }
    return std::max(position, min);
}

int ProgressFillWidth(int width, int position, int low, int high)
{
    if (high <= 0 || position <= 0) return 0;
    return std::max(MulDivRound(width, position - low, high - low), 0);
}

int ChunkFillWidth(int width, int position, int high)
{
    if (high <= 0 || position <= 0) return 0;
    return std::max(MulDivRound(width, position, high), 0);
}

int UpDownFrame(TUpDownArrow arrow, TUpDownState state)
{
    const int pair = arrow >= udaLeft ? arrow - udaLeft : arrow;
    return state + 4 * pair;
}

TUpDownState UpDownHalfState(bool enabled, bool underCursor, bool pressed, bool hot)
{
    if (!enabled) return udsDisabled;
    if (!underCursor) return udsNormal;
    if (pressed) return udsPressed;
    return hot ? udsHot : udsNormal;
}

TChannelPieces ChannelPieces(int channelStart, int channelLength, int firstMargin, int lastMargin)
{
    TChannelPieces pieces{};
    pieces.FirstStart = channelStart;
    pieces.FirstLength = firstMargin;
    pieces.MiddleStart = channelStart + firstMargin;
    pieces.MiddleLength = channelLength - firstMargin - lastMargin;
    pieces.LastStart = channelStart + channelLength - lastMargin;
    pieces.LastLength = lastMargin;
    return pieces;
}

}  // namespace skin
