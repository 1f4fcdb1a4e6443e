// Straight lines with float end points, plain or antialiased.
// [editor window thread] Lines address memory rows directly (pixel (x, y) is
// element x + y * RowSpan), without regard to IsFlipped. Missing bitmaps,
// null pixels, lines wholly outside, NaN or infinite end points, weights that
// the weight rule rejects and unknown codes draw nothing; no pixel outside the
// bitmap is ever written.
#pragma once

#include "draw/bitmap.h"
#include "draw/blend.h"
#include "draw/colour.h"

// Cohen-Sutherland clipping on truncated coordinates against a width x height
// area: an end outside is moved onto the edge it crosses (the bottom and
// right edges interpolate at height and width but place the point on
// height - 1 and width - 1). Afterwards both ends truncate to pixels inside.
// False when nothing of the line is left, or the input is NaN, infinite in
// a way that leaves no defined crossing, or the area is empty.
[[nodiscard]] bool ClipLine(float* x1, float* y1, float* x2, float* y2, int width, int height);

// Draws the clipped line from (x1, y1) to (x2, y2) with `colour`, combined by
// the code's operation (the colour's alpha as source alpha with
// kBlendSourceAlpha) under the weight rule of Blit.
//  - Plain: a Bresenham-style walk between the rounded ends; an opaque colour
//    at weight exactly 1.0 with a copy code is stored as it is. A line whose
//    ends truncate to the same pixel draws that one pixel, at full weight.
//  - Antialiased: Xiaolin Wu's walk; each pixel gets trunc(coverage * weight
//    * 256).
void DrawLine(Bitmap* bitmap, float x1, float y1, float x2, float y2, PackedColour colour,
              float weight, BlendMode code, bool antialiased);
