// Drawing skin frames: one frame of a skin bitmap fitted to a target
// rectangle, corners and edges kept at their pixel size by the margins, the
// middle stretched or tiled, magenta optionally left out as transparent.
//
// Every routine takes a source bitmap that is not selected into any device
// context (it is selected into a private memory DC while drawing), leaves the
// target DC's objects, colours and modes as it found them, and draws nothing
// when an argument is unusable (null handles, an inverted rectangle, a bitmap
// too small for its frames). Frame numbers count from 1; see
// frame_geometry.h for how frames and margins are laid out.
//
// Apart from DrawFrameThreePart, each routine composes the frame off screen
// and copies it to the target in one operation.
#pragma once

#include <windows.h>

#include "framework/gdi_handles.h"
#include "skin/data/image_utils.h"

namespace skin {

// A new bitmap (a 32-bit DIB section) the size of `destRect` holding frame
// `frameIndex` of `frameCount` fitted with `margins` (a RECT of sizes): the
// nine-slice result of NineSlicePieces, stretched with COLORONCOLOR, the
// middle tiled when `tile`. Null when the rectangle or the frame is empty or
// the bitmap cannot be used.
TGdiBitmap BuildFrameBitmap(const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                            int frameCount, bool tile, bool vertical);

// Draws BuildFrameBitmap's result at `destRect`, with magenta transparent when
// `transparent`, else as a plain copy.
void DrawFrameBitmap(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                     int frameCount, bool transparent, bool tile, bool vertical);

// A horizontal three-part strip at `destRect`: the frame's left margin
// columns, its middle columns repeated, its right margin columns, each
// stretched to the full height (margins.top and .bottom are not used).
void DrawFrameStrip(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                    int frameCount, bool transparent, bool vertical);

// A horizontal three-part strip stretched straight onto `dc` with its current
// stretch mode: left margin, stretched middle, right margin; a target
// narrower than the frame gets the whole frame stretched across it.
void DrawFrameThreePart(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& margins, int frameIndex,
                        int frameCount, bool vertical);

// One whole frame (frames side by side) stretched to `destRect`.
void DrawFrameStretched(HDC dc, const RECT& destRect, HBITMAP bitmap, int frameIndex, int frameCount,
                        bool transparent);

// One frame (frames side by side) at its own size, centred in `rect`; a frame
// larger than the rectangle overhangs it on both sides (CentredOrigin).
void DrawFrameCentred(HDC dc, const RECT& rect, HBITMAP bitmap, int frameIndex, int frameCount, bool transparent);

// How DrawTransparentBitmap combines image and mask.
enum class TTransparentMethod {
    Auto,           // MaskBlt on the Windows NT family, else InvertAndMask
    MaskBlt,        // one MaskBlt: keep the destination where the mask is set
    InvertAndMask,  // image XOR, mask AND, image XOR
};

// Copies the top-left part of `bitmap` (as much of `destRect`'s size as the
// bitmap covers) to `destRect`, leaving out the pixels of
// `transparentColour`. The mask is built at the bitmap's colour depth, so the
// colour must match exactly. Areas of `destRect` beyond the bitmap are left
// untouched.
void DrawTransparentBitmap(HDC dc, const RECT& destRect, HBITMAP bitmap, COLORREF transparentColour,
                           TTransparentMethod method = TTransparentMethod::Auto);

// Repeats `sourceRect` of `bitmap` unscaled over `destRect`, starting at its
// top-left corner; the last row and column of tiles are not clipped to
// `destRect` (clip the DC to stop them). Nothing when the source is empty.
void TileBitmap(HDC dc, const RECT& destRect, HBITMAP bitmap, const RECT& sourceRect);

// A scratch surface: a 32-bit DIB section of at least the asked size selected
// into a memory DC, lent by a small pool of this thread and given back when
// the object goes; its asked area starts black and the DC's state is put back
// between users. Drawing repeated many times a second (menu items, scroll
// bars, composed frames) would otherwise make and free a bitmap and a DC each
// time, and fresh bitmap memory is costly to fault in. Large surfaces, and
// any asked for while the pool is lent out, are made for the one user.
class TScratchSurface {
public:
    TScratchSurface(int width, int height);
    ~TScratchSurface();
    TScratchSurface(const TScratchSurface&) = delete;
    TScratchSurface& operator=(const TScratchSurface&) = delete;

    bool Ok() const { return FDC != nullptr; }
    HDC DC() const { return FDC; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Pixels per row of Pixels(), at least Width().
    int Pitch() const { return FPitch; }
    // The pixels, top row first, one DWORD each (0x00RRGGBB), once GDI is
    // done with them (GdiFlush).
    DWORD* Pixels() const { return FBits; }

private:
    int FWidth = 0, FHeight = 0, FPitch = 0;
    HDC FDC = nullptr;
    DWORD* FBits = nullptr;
    int FSlot = -1;                        // the pool's entry, or -1
    struct TScratchEntry* FOwn = nullptr;  // a surface made for this user alone
};

}  // namespace skin
