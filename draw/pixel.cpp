#include "draw/pixel.h"

#include "draw/pixel_ops.h"
#include "draw/pixel_view.h"

void PutPixel(Bitmap* bitmap, int x, int y, PackedColour colour, float weight, BlendMode code) {
  const PixelView v = ViewOf(bitmap);
  if (!v || !v.Contains(x, y)) return;
  BlendPixel(OpOfCode(code, weight), v.Row(y) + x, colour, WeightToInt(weight));
}

PackedColour GetPixel(const Bitmap* bitmap, int x, int y) {
  const PixelView v = ViewOf(bitmap);
  return v && v.Contains(x, y) ? v.Row(y)[x] : 0;
}

void ForcePixel(Bitmap* bitmap, int x, int y, PackedColour colour) {
  const PixelView v = ViewOf(bitmap, RowOrder::kMemoryRows);
  if (v && v.Contains(x, y)) v.Row(y)[x] = colour;
}
