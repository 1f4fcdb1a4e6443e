// Rectangular copies of one bitmap onto another, with clipping and blending.
// [editor window thread] Missing bitmaps, null pixels, empty or wholly
// clipped rectangles, weights that the weight rule rejects and unknown codes
// draw nothing. Source and destination must be distinct bitmaps.
#pragma once

#include "draw/bitmap.h"
#include "draw/blend.h"
#include "draw/rect.h"

// Draws the part `sourceRect` (right and bottom exclusive; null for the whole
// source) of `src` with its top-left corner at (x, y) of `dest`.
//  - The rectangle is first cut to the source, then moved and cut so that
//    it lands inside the destination (a negative x skips the first -x source
//    columns).
//  - Code 0xF0-0xFF (ChannelCopyCode): byte (code >> 2) & 3 of every
//    destination pixel receives byte code & 3 of the source pixel.
//  - Code 0 (copy, no source alpha) at weight exactly 1.0 copies raw rows.
//  - Otherwise copy, add or dodge per pixel (draw/pixel_ops.h) with
//    e = trunc(weight * 256); copy draws only for a weight above 0, add and
//    dodge for any weight but 0 (negative weights subtract or darken).
void Blit(Bitmap* dest, const Bitmap* src, int x, int y, const Rect* sourceRect, float weight,
          BlendMode code);

// Blit with the source rectangle (sourceX, sourceY, sourceX + width,
// sourceY + height).
void BlitRect(Bitmap* dest, const Bitmap* src, int x, int y, int sourceX, int sourceY, int width,
              int height, float weight, BlendMode code);

// Resizes `dest` to the size of `src` and raw-copies the whole source to
// (0, 0). Nothing when either is missing.
void CopyBitmap(Bitmap* dest, const Bitmap* src);
