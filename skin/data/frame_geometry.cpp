// Frame location and nine-slice / strip piece geometry (see frame_geometry.h).
#include "skin/data/frame_geometry.h"

#include <algorithm>

namespace skin {

namespace {

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

void AddPiece(std::vector<TFramePiece>& pieces, const RECT& dest, const RECT& source, bool tiled = false)
{
    if (IsEmpty(dest) || IsEmpty(source))
        return;
    pieces.push_back(TFramePiece{dest, source, tiled});
}

}  // namespace

TFrameCell LocateFrame(int bitmapWidth, int bitmapHeight, int frameIndex, int frameCount, bool vertical)
{
    TFrameCell cell;
    if (bitmapWidth <= 0 || bitmapHeight <= 0)
        return cell;
    frameCount = std::max(frameCount, 1);
    frameIndex = std::clamp(frameIndex, 1, frameCount);
    if (vertical) {
        cell.Width = bitmapWidth;
        cell.Height = bitmapHeight / frameCount;
        cell.Y = (frameIndex - 1) * cell.Height;
    } else {
        cell.Width = bitmapWidth / frameCount;
        cell.Height = bitmapHeight;
        cell.X = (frameIndex - 1) * cell.Width;
    }
    return cell;
}

std::vector<TFramePiece> NineSlicePieces(int width, int height, const TFrameCell& cell, const RECT& margins,
                                         bool tileMiddle)
{
    std::vector<TFramePiece> pieces;
    if (width <= 0 || height <= 0 || cell.Width <= 0 || cell.Height <= 0)
        return pieces;

    const int W = width, H = height;
    int L = std::max<int>(margins.left, 0), T = std::max<int>(margins.top, 0);
    int R = std::max<int>(margins.right, 0), B = std::max<int>(margins.bottom, 0);
    if (W < L + R)
        L = R = 0;
    if (H < T + B)
        T = B = 0;

    const int x0 = cell.X, y0 = cell.Y, fw = cell.Width, fh = cell.Height;
    pieces.reserve(9);
    // Top-left corner.
    if (L * T > 0)
        AddPiece(pieces, {0, 0, L, T}, {x0, y0, x0 + L, y0 + T});
    // Bottom-left corner.
    if (L * B > 0)
        AddPiece(pieces, {0, H - B, L, H}, {x0, y0 + fh - B, x0 + L, y0 + fh});
    // Top-right corner.
    if (R * T > 0)
        AddPiece(pieces, {W - R, 0, W, T}, {x0 + fw - R, y0, x0 + fw, y0 + T});
    // Left edge, stretched along its height.
    if (L > 0)
        AddPiece(pieces, {0, T, L, H - B}, {x0, y0 + T, x0 + L, y0 + fh - B});
    // Top edge, stretched along its width.
    if (T > 0)
        AddPiece(pieces, {L, 0, W - R, T}, {x0 + L, y0, x0 + fw - R, y0 + T});
    // Middle, tiled or stretched; tiles running into the right and bottom
    // margins are painted over by the pieces that follow.
    AddPiece(pieces, {L, T, W - R, H - B}, {x0 + L, y0 + T, x0 + fw - R, y0 + fh - B}, tileMiddle);
    // Bottom-right corner.
    if (R * B > 0)
        AddPiece(pieces, {W - R, H - B, W, H}, {x0 + fw - R, y0 + fh - B, x0 + fw, y0 + fh});
    // Right edge.
    if (R > 0)
        AddPiece(pieces, {W - R, T, W, H - B}, {x0 + fw - R, y0 + T, x0 + fw, y0 + fh - B});
    // Bottom edge.
    if (B > 0)
        AddPiece(pieces, {L, H - B, W - R, H}, {x0 + L, y0 + fh - B, x0 + fw - R, y0 + fh});
    return pieces;
}

std::vector<TFramePiece> StripPieces(int width, int height, const TFrameCell& cell, int leftWidth, int rightWidth)
{
    std::vector<TFramePiece> pieces;
    if (width <= 0 || height <= 0 || cell.Width <= 0 || cell.Height <= 0)
        return pieces;
    const int W = width, H = height;
    const int L = std::max(leftWidth, 0), R = std::max(rightWidth, 0);
    const int x0 = cell.X, y0 = cell.Y, fw = cell.Width, fh = cell.Height;

    AddPiece(pieces, {0, 0, L, H}, {x0, y0, x0 + L, y0 + fh});
    const int m = fw - L - R;
    if (m > 0) {
        for (int x = L; x < W - R; x += m)
            AddPiece(pieces, {x, 0, x + m, H}, {x0 + L, y0, x0 + L + m, y0 + fh});
    }
    AddPiece(pieces, {W - R, 0, W, H}, {x0 + fw - R, y0, x0 + fw, y0 + fh});
    return pieces;
}

std::vector<TFramePiece> ThreePartPieces(const RECT& dest, const TFrameCell& cell, int leftWidth, int rightWidth)
{
    std::vector<TFramePiece> pieces;
    const int dw = dest.right - dest.left, H = dest.bottom - dest.top;
    if (dw <= 0 || H <= 0 || cell.Width <= 0 || cell.Height <= 0)
        return pieces;
    const int L = std::max(leftWidth, 0), R = std::max(rightWidth, 0);
    const int x0 = cell.X, y0 = cell.Y, fw = cell.Width, fh = cell.Height;
    if (dw < fw) {
        AddPiece(pieces, dest, {x0, y0, x0 + fw, y0 + fh});
        return pieces;
    }
    AddPiece(pieces, {dest.left, dest.top, dest.left + L, dest.bottom}, {x0, y0, x0 + L, y0 + fh});
    AddPiece(pieces, {dest.left + L, dest.top, dest.left + dw - R, dest.bottom},
             {x0 + L, y0, x0 + fw - R, y0 + fh});
    AddPiece(pieces, {dest.right - R, dest.top, dest.right, dest.bottom}, {x0 + fw - R, y0, x0 + fw, y0 + fh});
    return pieces;
}

POINT CentredOrigin(const RECT& rect, int width, int height)
{
    return POINT{rect.left + (rect.right - rect.left - width) / 2, rect.top + (rect.bottom - rect.top - height) / 2};
}

}  // namespace skin
