#include "draw/rect.h"

#include <algorithm>

bool IsEmpty(const Rect& r) { return r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0; }

Rect Union(const Rect& a, const Rect& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

bool Intersects(const Rect& a, const Rect& b) {
  return !IsEmpty(a) && !IsEmpty(b) && a.right >= b.left && a.left < b.right && a.bottom >= b.top &&
         a.top < b.bottom;
}

Rect Intersection(const Rect& a, const Rect& b) {
  if (!Intersects(a, b)) return {0, 0, 0, 0};
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool Contains(const Rect& r, int32_t x, int32_t y) {
  return !IsEmpty(r) && r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}
