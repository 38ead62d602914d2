// Costs of the skin drawing routines, measured side by side in one run and
// printed as ratios: the gradient fill with and without its table cache, and
// nine-slice frame drawing against one plain block copy of the same area, and
// the two ways of leaving out the transparent colour.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "bench/bench_support.h"
#include "framework/gdi_handles.h"
#include "skin/data/skin_draw.h"

using bench::Now;

namespace {

// Best time per call of each of two alternatives, run in alternating rounds
// so that both see the same machine state.
void Compare(const char* name, const char* what1, const std::function<void(int)>& run1, const char* what2,
             const std::function<void(int)>& run2, int calls)
{
    double best1 = 1e9, best2 = 1e9;
    for (int round = 0; round < 7; ++round) {
        double t = Now();
        for (int i = 0; i < calls; ++i)
            run1(i);
        GdiFlush();
        best1 = std::min(best1, (Now() - t) / calls);
        t = Now();
        for (int i = 0; i < calls; ++i)
            run2(i);
        GdiFlush();
        best2 = std::min(best2, (Now() - t) / calls);
    }
    std::printf("%-34s %s %.1f us, %s %.1f us, ratio %.2f\n", name, what1, best1 * 1e6, what2, best2 * 1e6,
                best1 / best2);
}

}  // namespace

int main()
{
    TWindowDC screen = TWindowDC::Client(nullptr);
    TGdiBitmap target(CreateCompatibleBitmap(screen, 400, 300));
    TMemoryDC dc(screen);
    TSelectObject selectTarget(dc, target);

    // Gradient: the same 200-line fill each time (a cached table) against
    // fills whose end colour changes every call (a new table each time).
    const RECT band{0, 0, 40, 200};
    Compare("gradient fill 40x200", "cached", [&](int) {
        skin::GradientFill(dc, band, RGB(240, 240, 240), RGB(120, 130, 140), true);
    }, "uncached", [&](int i) {
        skin::GradientFill(dc, band, RGB(240, 240, 240), RGB(i % 256, (i / 256) % 256, 77), true);
    }, 400);

    // A 5-frame button image of 90 x 23 with 3-pixel margins, drawn at 120 x 30.
    skin::TPixels pixels;
    pixels.Width = 90;
    pixels.Height = 23;
    pixels.Data.assign(90 * 23, 0x00C0C0C0);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 90; ++x)
            if ((x % 18 < 3 || x % 18 >= 15 || y < 3 || y >= 20) && (x + y) % 5 == 0)
                pixels.At(x, y) = 0x00FF00FF;
    TGdiBitmap button = skin::MakeBitmap(pixels, 24);
    TGdiBitmap copySource(CreateCompatibleBitmap(screen, 120, 30));
    TMemoryDC copyDC(screen);
    TSelectObject selectCopy(copyDC, copySource);
    const RECT margins{3, 3, 3, 3};
    const RECT place{10, 10, 130, 40};

    Compare("nine-slice 120x30 vs one copy", "frame", [&](int i) {
        skin::DrawFrameBitmap(dc, place, button, margins, 1 + i % 5, 5, false, false, false);
    }, "BitBlt", [&](int) { BitBlt(dc, 10, 10, 120, 30, copyDC, 0, 0, SRCCOPY); }, 400);
    Compare("nine-slice tiled vs stretched", "tiled", [&](int i) {
        skin::DrawFrameBitmap(dc, place, button, margins, 1 + i % 5, 5, false, true, false);
    }, "stretched", [&](int i) {
        skin::DrawFrameBitmap(dc, place, button, margins, 1 + i % 5, 5, false, false, false);
    }, 400);
    Compare("nine-slice transparent vs opaque", "transparent", [&](int i) {
        skin::DrawFrameBitmap(dc, place, button, margins, 1 + i % 5, 5, true, false, false);
    }, "opaque", [&](int i) {
        skin::DrawFrameBitmap(dc, place, button, margins, 1 + i % 5, 5, false, false, false);
    }, 400);
    Compare("three-part direct vs nine-slice", "three-part", [&](int i) {
        skin::DrawFrameThreePart(dc, place, button, margins, 1 + i % 5, 5, false);
    }, "nine-slice", [&](int i) {
        skin::DrawFrameBitmap(dc, place, button, margins, 1 + i % 5, 5, false, false, false);
    }, 400);
    TGdiBitmap composed = skin::BuildFrameBitmap(place, button, margins, 1, 5, false, false);
    Compare("transparent copy 120x30", "MaskBlt", [&](int) {
        skin::DrawTransparentBitmap(dc, place, composed, skin::TRANSPARENT_COLOUR, skin::TTransparentMethod::MaskBlt);
    }, "invert+mask", [&](int) {
        skin::DrawTransparentBitmap(dc, place, composed, skin::TRANSPARENT_COLOUR,
                                    skin::TTransparentMethod::InvertAndMask);
    }, 400);
    return 0;
}
