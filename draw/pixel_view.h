// Internal to the drawing layer: a bitmap's pixels as a plain view, checked
// once per operation so that the loops can trust it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/bitmap.h"

struct PixelView {
  uint32_t* bits;  // null when the bitmap cannot be drawn
  int width;
  int height;
  ptrdiff_t rowSpan;  // pixels between rows
  bool flipped;       // bottom-up storage

  explicit operator bool() const { return bits != nullptr; }

  // Row y (0 = top) in the bitmap's own storage order.
  uint32_t* Row(int y) const { return bits + (flipped ? height - 1 - y : y) * rowSpan; }

  [[nodiscard]] bool Contains(int x, int y) const {
    return x >= 0 && x < width && y >= 0 && y < height;
  }
};

// How a view addresses rows: most operations honour IsFlipped; lines, arcs
// and ForcePixel address memory rows directly.
enum class RowOrder { kHonourFlip, kMemoryRows };

// The view of `bitmap`; its bits are null when the bitmap is missing, has no
// pixels, has no positive size, or rows shorter than its width.
inline PixelView ViewOf(const Bitmap* bitmap, RowOrder order = RowOrder::kHonourFlip) {
  if (!bitmap) return {nullptr, 0, 0, 0, false};
  PixelView v = {bitmap->Bits(), bitmap->Width(), bitmap->Height(), bitmap->RowSpan(),
                 order == RowOrder::kHonourFlip && bitmap->IsFlipped()};
  if (v.width <= 0 || v.height <= 0 || v.rowSpan < v.width) v.bits = nullptr;
  return v;
}
