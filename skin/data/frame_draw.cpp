// Frame drawing on GDI device contexts (see frame_draw.h).
#include "skin/data/frame_draw.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "skin/data/frame_geometry.h"

namespace skin {

namespace {

// A bitmap selected into its own memory DC for reading, with its size.
// Ok is false when the handle is null, not a bitmap, or selected elsewhere.
struct TSourceBitmap {
    explicit TSourceBitmap(HBITMAP bitmap) : Select(DC, bitmap)
    {
        BITMAP bm{};
        if (bitmap && !DC.IsNull() && Select.Previous() && GetObjectW(bitmap, sizeof(bm), &bm) == sizeof(bm)) {
            Width = bm.bmWidth;
            Height = std::abs(bm.bmHeight);
            Ok = Width > 0 && Height > 0;
        }
    }

    TMemoryDC DC;
    TSelectObject Select;
    int Width = 0;
    int Height = 0;
    bool Ok = false;
};

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

bool IsInverted(const RECT& r)
{
    return r.right < r.left || r.bottom < r.top;
}

bool IsNtPlatform()
{
    return (GetVersion() & 0x80000000u) == 0;
}

TGdiBitmap NewScreenBitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return TGdiBitmap();
    TWindowDC screen = TWindowDC::Client(nullptr);
    return TGdiBitmap(CreateCompatibleBitmap(screen, width, height));
}

// Copies `source` of `src` to `dest` of `dst`: a plain copy when the sizes
// agree, else stretched with the DC's stretch mode.
void CopyRect(HDC dst, const RECT& dest, HDC src, const RECT& source)
{
    if (Width(dest) == Width(source) && Height(dest) == Height(source))
        BitBlt(dst, dest.left, dest.top, Width(dest), Height(dest), src, source.left, source.top, SRCCOPY);
    else
        StretchBlt(dst, dest.left, dest.top, Width(dest), Height(dest), src, source.left, source.top,
                   Width(source), Height(source), SRCCOPY);
}

// Repeats `source` of `src` over `dest` of `dst`, tiles unclipped.
void TileFromDC(HDC dst, const RECT& dest, HDC src, const RECT& source)
{
    const int w = Width(source), h = Height(source);
    if (w <= 0 || h <= 0)
        return;
    for (int x = dest.left; x < dest.right; x += w)
        for (int y = dest.top; y < dest.bottom; y += h)
            BitBlt(dst, x, y, w, h, src, source.left, source.top, SRCCOPY);
}

// Draws pieces from `src` into a new width x height bitmap (COLORONCOLOR).
template <typename TPieces>
TGdiBitmap ComposePieces(int width, int height, HDC src, const TPieces& pieces)
{
    TGdiBitmap result = NewScreenBitmap(width, height);
    if (result.IsNull())
        return result;
    TMemoryDC dst;
    if (dst.IsNull())
        return TGdiBitmap();
    {
        TSelectObject select(dst, result);
        SetStretchBltMode(dst, COLORONCOLOR);
        for (const TFramePiece& piece : pieces) {
            if (piece.Tiled)
                TileFromDC(dst, piece.Dest, src, piece.Source);
            else
                CopyRect(dst, piece.Dest, src, piece.Source);
        }
    }
    return result;
}

// Draws a finished off-screen bitmap at `dest`, transparent or as a copy.
void Present(HDC dc, const RECT& dest, HBITMAP built, bool transparent)
{
    if (!built)
        return;
    if (transparent) {
        DrawTransparentBitmap(dc, dest, built, TRANSPARENT_COLOUR);
        return;
    }
    TMemoryDC src;
    if (src.IsNull())
        return;
    TSelectObject select(src, built);
    BitBlt(dc, dest.left, dest.top, Width(dest), Height(dest), src, 0, 0, SRCCOPY);
}

}  // namespace

TGdiBitmap BuildFrameBitmap(const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                            int frameCount, bool tile, bool vertical)
{
    const int W = Width(destRect), H = Height(destRect);
    if (W <= 0 || H <= 0)
        return TGdiBitmap();
    TSourceBitmap src(bitmap);
    if (!src.Ok)
        return TGdiBitmap();
    const TFrameCell cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, vertical);
    const auto pieces = NineSlicePieces(W, H, cell, margins, tile);
    if (pieces.empty())
        return TGdiBitmap();
    return ComposePieces(W, H, src.DC, pieces);
}

void DrawFrameBitmap(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                     int frameCount, bool transparent, bool tile, bool vertical)
{
    if (!dc || IsInverted(destRect))
        return;
    TGdiBitmap built = BuildFrameBitmap(destRect, bitmap, margins, frameIndex, frameCount, tile, vertical);
    Present(dc, destRect, built, transparent);
}

void DrawFrameStrip(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                    int frameCount, bool transparent, bool vertical)
{
    if (!dc || IsInverted(destRect))
        return;
    const int W = Width(destRect), H = Height(destRect);
    TGdiBitmap built;
    {
        TSourceBitmap src(bitmap);
        if (!src.Ok)
            return;
        const TFrameCell cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, vertical);
        const auto pieces = StripPieces(W, H, cell, margins.left, margins.right);
        if (pieces.empty())
            return;
        built = ComposePieces(W, H, src.DC, pieces);
    }
    Present(dc, destRect, built, transparent);
}

void DrawFrameThreePart(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                        int frameCount, bool vertical)
{
    if (!dc)
        return;
    TSourceBitmap src(bitmap);
    if (!src.Ok)
        return;
    const TFrameCell cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, vertical);
    for (const TFramePiece& piece : ThreePartPieces(destRect, cell, margins.left, margins.right))
        CopyRect(dc, piece.Dest, src.DC, piece.Source);
}

void DrawFrameStretched(HDC dc, const RECT& destRect, HBITMAP bitmap, int frameIndex, int frameCount,
                        bool transparent)
{
    if (!dc || IsInverted(destRect))
        return;
    const int W = Width(destRect), H = Height(destRect);
    if (W <= 0 || H <= 0)
        return;
    TGdiBitmap built;
    {
        TSourceBitmap src(bitmap);
        if (!src.Ok)
            return;
        const TFrameCell cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, false);
        if (cell.Width <= 0)
            return;
        const TFramePiece whole{RECT{0, 0, W, H}, RECT{cell.X, cell.Y, cell.X + cell.Width, cell.Y + cell.Height}};
        built = ComposePieces(W, H, src.DC, std::initializer_list<TFramePiece>{whole});
    }
    Present(dc, destRect, built, transparent);
}

void DrawFrameCentred(HDC dc, const RECT& rect, HBITMAP bitmap, int frameIndex, int frameCount, bool transparent)
{
    if (!dc || IsInverted(rect))
        return;
    TGdiBitmap built;
    TFrameCell cell;
    {
        TSourceBitmap src(bitmap);
        if (!src.Ok)
            return;
        cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, false);
        if (cell.Width <= 0)
            return;
        const TFramePiece frame{RECT{0, 0, cell.Width, cell.Height},
                                RECT{cell.X, cell.Y, cell.X + cell.Width, cell.Y + cell.Height}};
        built = ComposePieces(cell.Width, cell.Height, src.DC, std::initializer_list<TFramePiece>{frame});
    }
    const POINT at = CentredOrigin(rect, cell.Width, cell.Height);
    Present(dc, RECT{at.x, at.y, at.x + cell.Width, at.y + cell.Height}, built, transparent);
}

void DrawTransparentBitmap(HDC dc, const RECT& destRect, HBITMAP bitmap, COLORREF transparentColour,
                           TTransparentMethod method)
{
    if (!dc || IsInverted(destRect))
        return;
    TSourceBitmap src(bitmap);
    if (!src.Ok)
        return;
    const int w = std::min(Width(destRect), src.Width), h = std::min(Height(destRect), src.Height);
    if (w <= 0 || h <= 0)
        return;

    // Monochrome mask: white where the image has the transparent colour.
    TGdiBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryDC maskDC;
    if (mask.IsNull() || maskDC.IsNull())
        return;
    {
        TSelectObject select(maskDC, mask);
        const COLORREF oldBk = SetBkColor(src.DC, ResolveColour(transparentColour));
        BitBlt(maskDC, 0, 0, w, h, src.DC, 0, 0, SRCCOPY);
        SetBkColor(src.DC, oldBk);
    }

    if (method == TTransparentMethod::Auto)
        method = IsNtPlatform() ? TTransparentMethod::MaskBlt : TTransparentMethod::InvertAndMask;
    const int x = destRect.left, y = destRect.top;
    // Where the mask is set keep the destination (raster code $AA0029),
    // elsewhere copy the image.
    if (method == TTransparentMethod::MaskBlt &&
        MaskBlt(dc, x, y, w, h, src.DC, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY)))
        return;

    // Fallback also for devices without MaskBlt: with white background and
    // black text the mask expands to white (keep) and black (clear).
    TSelectObject select(maskDC, mask);
    const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, w, h, src.DC, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, w, h, maskDC, 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, src.DC, 0, 0, SRCINVERT);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

void TileBitmap(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& sourceRect)
{
    if (!dc || Width(sourceRect) <= 0 || Height(sourceRect) <= 0)
        return;
    TSourceBitmap src(bitmap);
    if (!src.Ok)
        return;
    TileFromDC(dc, destRect, src.DC, sourceRect);
}

}  // namespace skin
