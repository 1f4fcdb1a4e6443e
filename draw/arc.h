// Arcs and circles, plain or antialiased. [editor window thread]
// Angles are radians from 12 o'clock, clockwise on screen. Arcs address
// memory rows directly (like lines), without regard to IsFlipped. Missing
// bitmaps, null pixels, a radius of 0 or below, NaN or infinite arguments,
// weights that the weight rule rejects and unknown codes draw nothing; no
// pixel outside the bitmap is ever written.
#pragma once

#include "draw/bitmap.h"
#include "draw/blend.h"
#include "draw/colour.h"

// Draws the arc of the circle about (cx, cy) from `startAngle` to `endAngle`
// (both brought into 0 ... 2 pi first; an end below the start's quarter wraps
// past 12 o'clock). The arc is cut into quarter turns, each walked by
// Xiaolin Wu's circle method; each pixel gets trunc(coverage * weight * 256)
// and is combined with `colour` by the code's operation under the weight
// rule of Blit (the colour's alpha as source alpha with kBlendSourceAlpha).
// A plain arc draws only the outer pixel of each pair, at full coverage.
void DrawArc(Bitmap* bitmap, float cx, float cy, float radius, float startAngle, float endAngle,
             PackedColour colour, float weight, BlendMode code, bool antialiased);

// DrawArc from 0 to 2 pi.
void DrawCircle(Bitmap* bitmap, float cx, float cy, float radius, PackedColour colour, float weight,
                BlendMode code, bool antialiased);
