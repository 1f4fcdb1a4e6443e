// Scaled, mirrored and rotated blits, sampled in 16.16 fixed point.
// [editor window thread] Missing bitmaps, null pixels, zero or wholly
// clipped rectangles, NaN or infinite geometry, weights that the weight rule
// rejects and unknown codes draw nothing.
#pragma once

#include "draw/bitmap.h"
#include "draw/blend.h"

// The source rectangle of a rotated blit, in source pixels (floats).
struct SourceArea {
  float x, y, width, height;
};

// Draws `area` of `src` into the destination rectangle (destX, destY,
// destWidth x destHeight) of `dest`, scaled to fit and rotated by `angle`
// radians (clockwise on screen) about the rectangle's centre, which samples
// the source at the area's centre plus (centreOffsetX, centreOffsetY).
//  - A negative destination width draws the image mirrored left to right in
//    the rectangle ending at destX; the same for the height.
//  - Source pixels are read only inside the source bitmap, and with
//    `clipToSource` only inside `area` too; destination pixels whose sample
//    falls outside are left alone.
//  - Bilinear sampling when (code & 0xFF00) == kBlendFilter, else nearest.
//    Edge samples fall back to two taps or one. The filtered alpha is the
//    source alpha of the source-alpha operations.
//  - Copy, add or dodge with e = trunc(weight * 256) and the weight rule of
//    Blit; the channel copy codes draw nothing here.
void RotatedBlit(Bitmap* dest, const Bitmap* src, int destX, int destY, int destWidth,
                 int destHeight, const SourceArea& area, float angle, bool clipToSource,
                 float weight, BlendMode code, float centreOffsetX, float centreOffsetY);
