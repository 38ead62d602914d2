// Frame drawing on GDI device contexts (see frame_draw.h).
#include "skin/data/frame_draw.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <vector>

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

}  // namespace

// A scratch surface of the pool (see TScratchSurface), or one made for a
// single user.
struct TScratchEntry {
    HDC DC = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Old = nullptr;
    DWORD* Bits = nullptr;
    int Width = 0, Height = 0;
    int SavedState = 0;
    bool Lent = false;
};

namespace {

// The scratch surfaces of this thread. Never freed: a few bitmaps and DCs
// live as long as the thread that drew with them.
constexpr size_t SCRATCH_ENTRIES = 6;
constexpr int SCRATCH_LARGEST_AREA = 512 * 512;

std::vector<TScratchEntry>& ScratchPool()
{
    thread_local auto* pool = new std::vector<TScratchEntry>;
    return *pool;
}

void FreeScratchEntry(TScratchEntry& entry)
{
    if (entry.DC) {
        RestoreDC(entry.DC, entry.SavedState);
        SelectObject(entry.DC, entry.Old);
        DeleteDC(entry.DC);
    }
    if (entry.Bitmap) DeleteObject(entry.Bitmap);
    entry = TScratchEntry();
}

bool MakeScratchEntry(TScratchEntry& entry, int width, int height)
{
    void* bits = nullptr;
    TGdiBitmap bitmap = MakeDibSection(width, height, 32, &bits);
    TMemoryDC dc;
    if (bitmap.IsNull() || dc.IsNull()) return false;
    entry.Old = SelectObject(dc, bitmap);
    if (!entry.Old || entry.Old == HGDI_ERROR) return false;
    entry.SavedState = SaveDC(dc);
    entry.Bitmap = bitmap.Release();
    entry.DC = dc.Release();
    entry.Bits = static_cast<DWORD*>(bits);
    entry.Width = width;
    entry.Height = height;
    return true;
}

}  // namespace

TScratchSurface::TScratchSurface(int width, int height) : FWidth(width), FHeight(height)
{
    if (width <= 0 || height <= 0) return;
    auto& pool = ScratchPool();
    if (width * height <= SCRATCH_LARGEST_AREA) {
        // The smallest idle entry that fits; else a new one (sizes rounded up
        // so that a few entries serve many sizes), in a free slot or in place
        // of the smallest idle entry.
        int best = -1;
        for (size_t i = 0; i < pool.size(); ++i) {
            const TScratchEntry& e = pool[i];
            if (e.Lent || e.Width < width || e.Height < height) continue;
            if (best < 0 || e.Width * e.Height < pool[best].Width * pool[best].Height) best = static_cast<int>(i);
        }
        if (best < 0) {
            int slot = -1;
            if (pool.size() < SCRATCH_ENTRIES) {
                pool.emplace_back();
                slot = static_cast<int>(pool.size() - 1);
            } else {
                for (size_t i = 0; i < pool.size(); ++i)
                    if (!pool[i].Lent &&
                        (slot < 0 || pool[i].Width * pool[i].Height < pool[slot].Width * pool[slot].Height))
                        slot = static_cast<int>(i);
                if (slot >= 0) FreeScratchEntry(pool[slot]);
            }
            if (slot >= 0 && MakeScratchEntry(pool[slot], (width + 63) / 64 * 64, (height + 15) / 16 * 16))
                best = slot;
        }
        if (best >= 0) {
            TScratchEntry& e = pool[best];
            e.Lent = true;
            FSlot = best;
            FDC = e.DC;
            FBits = e.Bits;
            FPitch = e.Width;
            PatBlt(FDC, 0, 0, width, height, BLACKNESS);
            return;
        }
    }
    auto own = std::make_unique<TScratchEntry>();
    if (!MakeScratchEntry(*own, width, height)) return;
    FDC = own->DC;
    FBits = own->Bits;
    FPitch = width;
    FOwn = own.release();
}

TScratchSurface::~TScratchSurface()
{
    if (FOwn) {
        FreeScratchEntry(*FOwn);
        delete FOwn;
        return;
    }
    if (FSlot < 0) return;
    auto& pool = ScratchPool();
    if (static_cast<size_t>(FSlot) < pool.size()) {
        TScratchEntry& e = pool[FSlot];
        // What the user selected or set goes; the surface stays.
        RestoreDC(e.DC, e.SavedState);
        e.SavedState = SaveDC(e.DC);
        e.Lent = false;
    }
}

namespace {

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

// Repeats `source` of `src` over `dest` of `dst`, tiles unclipped (the last
// column and row run past `dest` to a whole tile). On a memory DC one tile is
// copied and then what is already there is doubled, along the first row and
// then down: a few copies where a small tile over a large area would take
// thousands.
void TileFromDC(HDC dst, const RECT& dest, HDC src, const RECT& source)
{
    const int w = Width(source), h = Height(source);
    if (w <= 0 || h <= 0 || dest.right <= dest.left || dest.bottom <= dest.top)
        return;
    if (GetObjectType(dst) != OBJ_MEMDC) {
        for (int x = dest.left; x < dest.right; x += w)
            for (int y = dest.top; y < dest.bottom; y += h)
                BitBlt(dst, x, y, w, h, src, source.left, source.top, SRCCOPY);
        return;
    }
    const int across = (Width(dest) + w - 1) / w * w, down = (Height(dest) + h - 1) / h * h;
    BitBlt(dst, dest.left, dest.top, w, h, src, source.left, source.top, SRCCOPY);
    for (int done = w; done < across;) {
        const int more = std::min(done, across - done);
        BitBlt(dst, dest.left + done, dest.top, more, h, dst, dest.left, dest.top, SRCCOPY);
        done += more;
    }
    for (int done = h; done < down;) {
        const int more = std::min(done, down - done);
        BitBlt(dst, dest.left, dest.top + done, across, more, dst, dest.left, dest.top, SRCCOPY);
        done += more;
    }
}

// Draws pieces from `src` onto `surface` (COLORONCOLOR). False when the
// surface could not be made.
template <typename TPieces>
bool ComposePieces(TScratchSurface& surface, HDC src, const TPieces& pieces)
{
    if (!surface.Ok())
        return false;
    SetStretchBltMode(surface.DC(), COLORONCOLOR);
    for (const TFramePiece& piece : pieces) {
        if (piece.Tiled)
            TileFromDC(surface.DC(), piece.Dest, src, piece.Source);
        else
            CopyRect(surface.DC(), piece.Dest, src, piece.Source);
    }
    return true;
}

// Copies the top-left w x h of `src` to (x, y) of `dc`, leaving out the
// pixels of `key` (see DrawTransparentBitmap).
void DrawTransparentFromDC(HDC dc, int x, int y, int w, int h, HDC src, COLORREF key, TTransparentMethod method)
{
    if (w <= 0 || h <= 0)
        return;
    // Monochrome mask: white where the image has the transparent colour.
    TGdiBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryDC maskDC;
    if (mask.IsNull() || maskDC.IsNull())
        return;
    {
        TSelectObject select(maskDC, mask);
        const COLORREF oldBk = SetBkColor(src, ResolveColour(key));
        BitBlt(maskDC, 0, 0, w, h, src, 0, 0, SRCCOPY);
        SetBkColor(src, oldBk);
    }

    if (method == TTransparentMethod::Auto)
        method = IsNtPlatform() ? TTransparentMethod::MaskBlt : TTransparentMethod::InvertAndMask;
    // Where the mask is set keep the destination (raster code $AA0029),
    // elsewhere copy the image.
    if (method == TTransparentMethod::MaskBlt &&
        MaskBlt(dc, x, y, w, h, src, 0, 0, mask, 0, 0, MAKEROP4(0x00AA0029, SRCCOPY)))
        return;

    // Also the fallback for devices without MaskBlt: with a white background
    // and black text colour the mask expands to white (keep) and black (clear).
    TSelectObject select(maskDC, mask);
    const COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, w, h, maskDC, 0, 0, SRCAND);
    BitBlt(dc, x, y, w, h, src, 0, 0, SRCINVERT);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBk);
}

// Copies the top-left w x h of `surface` to (x, y) of `dc` leaving out the
// pixels of `key`, by merging in memory: what `dc` shows there is read into a
// second surface, the image's other pixels are written over it and the result
// copied back. Masked blits onto a window or a device bitmap make the system
// ask the display for its format on every call (a round trip to the window
// server under Wine); this stays in the process. False when `dc` cannot be
// read (a printer, a metafile): the caller masks instead.
bool MergeTransparent(HDC dc, int x, int y, int w, int h, const TScratchSurface& surface, COLORREF key)
{
    if (!surface.Pixels() || GetObjectType(dc) == OBJ_METADC || GetObjectType(dc) == OBJ_ENHMETADC)
        return false;
    TScratchSurface merged(w, h);
    if (!merged.Ok() || !merged.Pixels() || !BitBlt(merged.DC(), 0, 0, w, h, dc, x, y, SRCCOPY))
        return false;
    GdiFlush();
    const COLORREF rgb = ResolveColour(key);
    const DWORD transparent = (DWORD(GetRValue(rgb)) << 16) | (DWORD(GetGValue(rgb)) << 8) | GetBValue(rgb);
    for (int row = 0; row < h; ++row) {
        const DWORD* from = surface.Pixels() + static_cast<size_t>(row) * surface.Pitch();
        DWORD* to = merged.Pixels() + static_cast<size_t>(row) * merged.Pitch();
        for (int col = 0; col < w; ++col)
            if ((from[col] & 0x00FFFFFFu) != transparent) to[col] = from[col];
    }
    return BitBlt(dc, x, y, w, h, merged.DC(), 0, 0, SRCCOPY) != FALSE;
}

// Draws a composed surface at `dest` (its size), transparent or as a copy.
void Present(HDC dc, const RECT& dest, const TScratchSurface& surface, bool transparent)
{
    const int w = std::min(Width(dest), surface.Width()), h = std::min(Height(dest), surface.Height());
    if (!transparent)
        BitBlt(dc, dest.left, dest.top, w, h, surface.DC(), 0, 0, SRCCOPY);
    else if (w > 0 && h > 0 && !MergeTransparent(dc, dest.left, dest.top, w, h, surface, TRANSPARENT_COLOUR))
        DrawTransparentFromDC(dc, dest.left, dest.top, w, h, surface.DC(), TRANSPARENT_COLOUR,
                              TTransparentMethod::Auto);
}

// Composes off screen, at the size of `destRect`, the pieces that
// makePieces(width, height, cell) lays out from frame `frameIndex` of
// `bitmap`, and presents the result on `dc`. Draws nothing when the
// rectangle is empty or inverted, the bitmap unreadable, the layout empty or
// the surface not made.
template <typename TMakePieces>
void DrawComposed(HDC dc, const RECT& destRect, HBITMAP bitmap, int frameIndex, int frameCount, bool transparent,
                  bool vertical, const TMakePieces& makePieces)
{
    if (!dc || IsInverted(destRect))
        return;
    const int W = Width(destRect), H = Height(destRect);
    if (W <= 0 || H <= 0)
        return;
    TSourceBitmap src(bitmap);
    if (!src.Ok)
        return;
    const TFrameCell cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, vertical);
    const auto pieces = makePieces(W, H, cell);
    if (pieces.empty())
        return;
    // An opaque frame whose pieces stay inside it is drawn straight on `dc`.
    const auto inside = [&](const TFramePiece& p) {
        return !p.Tiled && p.Dest.left >= 0 && p.Dest.top >= 0 && p.Dest.right <= W && p.Dest.bottom <= H;
    };
    if (!transparent && std::all_of(pieces.begin(), pieces.end(), inside)) {
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        for (const TFramePiece& piece : pieces) {
            RECT dest = piece.Dest;
            OffsetRect(&dest, destRect.left, destRect.top);
            CopyRect(dc, dest, src.DC, piece.Source);
        }
        if (oldMode) SetStretchBltMode(dc, oldMode);
        return;
    }
    TScratchSurface surface(W, H);
    if (!ComposePieces(surface, src.DC, pieces))
        return;
    Present(dc, destRect, surface, transparent);
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
    TScratchSurface surface(W, H);
    if (pieces.empty() || !ComposePieces(surface, src.DC, pieces))
        return TGdiBitmap();
    // The caller keeps the picture: copied off the scratch surface.
    TGdiBitmap picture = MakeDibSection(W, H, 32);
    TMemoryDC dc;
    if (picture.IsNull() || dc.IsNull())
        return TGdiBitmap();
    TSelectObject selected(dc, picture);
    BitBlt(dc, 0, 0, W, H, surface.DC(), 0, 0, SRCCOPY);
    return picture;
}

void DrawFrameBitmap(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                     int frameCount, bool transparent, bool tile, bool vertical)
{
    // BuildFrameBitmap, presented straight from the surface it was composed on.
    DrawComposed(dc, destRect, bitmap, frameIndex, frameCount, transparent, vertical,
                 [&](int W, int H, const TFrameCell& cell) { return NineSlicePieces(W, H, cell, margins, tile); });
}

void DrawFrameStrip(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                    int frameCount, bool transparent, bool vertical)
{
    DrawComposed(dc, destRect, bitmap, frameIndex, frameCount, transparent, vertical,
                 [&](int W, int H, const TFrameCell& cell) {
                     return StripPieces(W, H, cell, margins.left, margins.right);
                 });
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
    TScratchSurface surface(W, H);
    {
        TSourceBitmap src(bitmap);
        if (!src.Ok)
            return;
        const TFrameCell cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, false);
        if (cell.Width <= 0)
            return;
        const TFramePiece whole{RECT{0, 0, W, H}, RECT{cell.X, cell.Y, cell.X + cell.Width, cell.Y + cell.Height}};
        if (!ComposePieces(surface, src.DC, std::initializer_list<TFramePiece>{whole}))
            return;
    }
    Present(dc, destRect, surface, transparent);
}

void DrawFrameCentred(HDC dc, const RECT& rect, HBITMAP bitmap, int frameIndex, int frameCount, bool transparent)
{
    if (!dc || IsInverted(rect))
        return;
    TSourceBitmap src(bitmap);
    if (!src.Ok)
        return;
    const TFrameCell cell = LocateFrame(src.Width, src.Height, frameIndex, frameCount, false);
    if (cell.Width <= 0)
        return;
    const POINT at = CentredOrigin(rect, cell.Width, cell.Height);
    if (!transparent) {
        BitBlt(dc, at.x, at.y, cell.Width, cell.Height, src.DC, cell.X, cell.Y, SRCCOPY);
        return;
    }
    // The mask is built from the image's top-left corner: cut the frame out first.
    TScratchSurface surface(cell.Width, cell.Height);
    if (!surface.Ok())
        return;
    BitBlt(surface.DC(), 0, 0, cell.Width, cell.Height, src.DC, cell.X, cell.Y, SRCCOPY);
    Present(dc, RECT{at.x, at.y, at.x + cell.Width, at.y + cell.Height}, surface, true);
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
    DrawTransparentFromDC(dc, destRect.left, destRect.top, w, h, src.DC, transparentColour, method);
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
