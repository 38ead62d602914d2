// Glyph pictures for the gallery's buttons (see gallery_glyphs.h).
#include "gallery/gallery_glyphs.h"

#include "framework/gdi_handles.h"

void MakeGalleryGlyph(TBitmap& glyph, int images)
{
    constexpr int SIZE = 16;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(SIZE * images, SIZE);
    HDC dc = glyph.Canvas()->Handle();
    RECT all{0, 0, SIZE * images, SIZE};
    TGdiBrush background(CreateSolidBrush(RGB(128, 128, 0)));
    FillRect(dc, &all, background);
    for (int i = 0; i < images; ++i) {
        const COLORREF colour = i == 0 ? RGB(0, 160, 0) : i == 1 ? RGB(128, 128, 128) : RGB(0, 96, 0);
        TGdiBrush brush(CreateSolidBrush(colour));
        TGdiPen pen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        TSelectObject b(dc, brush);
        TSelectObject p(dc, pen);
        Ellipse(dc, i * SIZE + 2, 2, i * SIZE + SIZE - 2, SIZE - 2);
    }
}
