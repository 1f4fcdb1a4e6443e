// Filled rectangles. [editor window thread] Missing bitmaps, null pixels and
// rectangles that clip to nothing draw nothing.
//
// Clipping: a negative x shortens the width by -x and moves the rectangle to
// x = 0 (the same for y and the height); the rectangle is then cut at the
// bitmap's right and bottom edges. Rows honour IsFlipped.
#pragma once

#include "draw/bitmap.h"
#include "draw/blend.h"
#include "draw/colour.h"

// Combines every pixel of the rectangle with `colour` by the code's
// operation (copy, add or dodge; other codes draw nothing), the plain
// variant always: the source is the colour's blue, green and red with alpha
// e = trunc(weight * 256) itself, so a copy at weight 1.0 leaves alpha 255
// and one at 0.5 turns alpha d into d/2 + 64. With kBlendSourceAlpha the
// weight is first scaled by the colour's alpha / 255. There is no weight
// rule: weights of 0 or below apply as they are.
void FillRect(Bitmap* bitmap, int x, int y, int width, int height, PackedColour colour,
              float weight, BlendMode code);

// Replaces every pixel of the rectangle by (pixel & andMask) | orMask.
void MaskRect(Bitmap* bitmap, int x, int y, int width, int height, PackedColour andMask,
              PackedColour orMask);
