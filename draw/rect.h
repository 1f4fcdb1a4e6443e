// Rectangles of the editor and the drawing layer: four signed 32-bit
// coordinates, right and bottom exclusive. All functions are pure.
#pragma once

#include <cstdint>

struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// Empty exactly when all four coordinates are 0; a rectangle of zero width
// whose coordinates are not all 0 is not empty.
[[nodiscard]] bool IsEmpty(const Rect& r);

// An empty operand yields the other; otherwise the smallest rectangle that
// holds both.
Rect Union(const Rect& a, const Rect& b);

// Both non-empty, and a.right >= b.left, a.left < b.right, a.bottom >= b.top,
// a.top < b.bottom. The comparisons with a's right and bottom edges are
// inclusive, so rectangles that only touch there intersect.
[[nodiscard]] bool Intersects(const Rect& a, const Rect& b);

// The common part when the two intersect (the rule above), else empty.
Rect Intersection(const Rect& a, const Rect& b);

// r non-empty, left <= x < right and top <= y < bottom.
[[nodiscard]] bool Contains(const Rect& r, int32_t x, int32_t y);
