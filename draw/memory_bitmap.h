// A top-down bitmap whose pixels live in a heap block it owns.
#pragma once

#include <cstddef>

#include "draw/bitmap.h"

class MemoryBitmap final : public Bitmap {
 public:
  // Allocates width x height pixels when that is positive; otherwise (and
  // when the allocation fails) the pixels are null. (0, 0) makes the usual
  // empty scratch bitmap.
  MemoryBitmap(int width, int height);
  ~MemoryBitmap() override;

  uint32_t* Bits() const override { return bits; }
  int Width() const override { return width; }
  int Height() const override { return height; }
  int RowSpan() const override { return width; }
  bool IsFlipped() const override { return false; }
  // False, changing nothing, when the size is already (width, height).
  // Otherwise records the new size and reallocates the block, keeping the
  // old bytes at its start (not re-laid out by rows); a size with no pixels,
  // or a failed allocation, leaves null pixels. Returns true.
  [[nodiscard]] bool Resize(int width, int height) override;

 private:
  uint32_t* bits = nullptr;  // owned heap block of width * height pixels, or null
  int width = 0;
  int height = 0;
};

// The number of bytes for a width x height 32-bit surface, or 0 when the
// size has no pixels or is too large to address (its byte count would not fit
// a signed machine word).
size_t SurfaceBytes(int width, int height);
