// Single pixels. [editor window thread]
#pragma once

#include "draw/bitmap.h"
#include "draw/blend.h"
#include "draw/colour.h"

// Combines `colour` into pixel (x, y) by the code's operation with
// e = trunc(weight * 256) and the weight rule of Blit; with
// kBlendSourceAlpha the colour's alpha is the source alpha. Rows honour
// IsFlipped. Nothing outside the bitmap.
void PutPixel(Bitmap* bitmap, int x, int y, PackedColour colour, float weight, BlendMode code);

// Pixel (x, y), rows honouring IsFlipped; 0 when the bitmap or its pixels are
// missing or (x, y) lies outside.
PackedColour GetPixel(const Bitmap* bitmap, int x, int y);

// Stores `colour` into pixel (x, y) of memory row y as it is: no blending,
// no regard to IsFlipped. Nothing outside the bitmap.
void ForcePixel(Bitmap* bitmap, int x, int y, PackedColour colour);
