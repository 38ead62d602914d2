// Glyph pictures for the gallery's buttons, drawn in code: 16 x 16 images
// side by side on an olive background (the transparent colour, taken from
// the bottom-left pixel).
#pragma once

#include "framework/graphics.h"

// `images` images: the first a green disc, the second (the disabled image)
// a grey one, further ones a darker green.
void MakeGalleryGlyph(TBitmap& glyph, int images);
