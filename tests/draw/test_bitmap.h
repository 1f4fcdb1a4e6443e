// A bitmap for tests: its pixels sit inside a border of canary pixels, rows
// apart by more than the width, so any write outside the bitmap shows up in
// GuardsIntact(). It can present its rows bottom-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "draw/bitmap.h"

class TestBitmap final : public Bitmap {
 public:
  static constexpr uint32_t kCanary = 0xDEADBEEF;
  static constexpr int kGuard = 8;

  TestBitmap(int width, int height, uint32_t fill = 0, bool flipped = false)
      : width(width),
        height(height),
        span(width + 2 * kGuard),
        flipped(flipped),
        storage(static_cast<size_t>(span) * (height + 2 * kGuard), kCanary) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) MemoryRow(y)[x] = fill;
  }

  uint32_t* Bits() const override { return MemoryRow(0); }
  int Width() const override { return width; }
  int Height() const override { return height; }
  int RowSpan() const override { return span; }
  bool IsFlipped() const override { return flipped; }
  bool Resize(int, int) override { return false; }

  // Pixel (x, y) as the drawing layer addresses it through IsFlipped.
  uint32_t& At(int x, int y) { return MemoryRow(flipped ? height - 1 - y : y)[x]; }
  uint32_t* MemoryRow(int y) const {
    return const_cast<uint32_t*>(storage.data()) + static_cast<size_t>(y + kGuard) * span + kGuard;
  }

  [[nodiscard]] bool GuardsIntact() const {
    for (int y = -kGuard; y < height + kGuard; ++y)
      for (int x = -kGuard; x < width + kGuard; ++x) {
        const bool inside = x >= 0 && x < width && y >= 0 && y < height;
        if (!inside && MemoryRow(0)[y * span + x] != kCanary) return false;
      }
    return true;
  }

  // The number of pixels that differ from `value`.
  int CountNot(uint32_t value) const {
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) n += MemoryRow(y)[x] != value;
    return n;
  }

 private:
  int width, height, span;
  bool flipped;
  std::vector<uint32_t> storage;
};

// Small deterministic generator for seeded random runs (xorshift32).
class TestRandom {
 public:
  explicit TestRandom(uint32_t seed) : state(seed ? seed : 1) {}
  uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
  int Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint32_t>(hi - lo + 1));
  }
  float Float(float lo, float hi) {
    return lo + (hi - lo) * static_cast<float>(Next() >> 8) / 16777216.0f;
  }

 private:
  uint32_t state;
};
