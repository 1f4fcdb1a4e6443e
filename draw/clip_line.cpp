#include <cmath>

#include "draw/line.h"

namespace {

enum OutCode { kLeft = 1, kRight = 2, kAbove = 4, kBelow = 8 };

// Out-codes of truncated coordinates, compared in floats so that huge values
// need no conversion: trunc(v) < 0 exactly when v <= -1, and trunc(v) >= n
// exactly when v >= n.
int CodeOf(float x, float y, float width, float height) {
  return (x <= -1.0f ? kLeft : 0) | (x >= width ? kRight : 0) | (y <= -1.0f ? kAbove : 0) |
         (y >= height ? kBelow : 0);
}

// A line crosses each edge at most once, so a clip that converges moves each
// end at most twice. More passes mean a cycle, and finite lines can cycle: a
// line through an outside corner, such as (1, -2) -> (-0.5, -0.5) on a 4 x 4
// bitmap, which passes (-1, 0) and (0, -1), has its end moved from the top
// edge to the left and back, landing outside by the truncated coordinates
// each time. Such lines draw nothing.
constexpr int kMaxMoves = 4;

}  // namespace

bool ClipLine(float* x1, float* y1, float* x2, float* y2, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  int code1 = CodeOf(*x1, *y1, w, h), code2 = CodeOf(*x2, *y2, w, h);
  for (int moves = 0; code1 | code2; ++moves) {
    if ((code1 & code2) || moves == kMaxMoves) return false;
    const bool first = code1 != 0;
    const int code = first ? code1 : code2;
    float x, y;
    if (code & kBelow) {
      y = h - 1.0f;
      x = *x1 + (*x2 - *x1) * (h - *y1) / (*y2 - *y1);
    } else if (code & kAbove) {
      y = 0.0f;
      x = *x1 - (*x2 - *x1) * *y1 / (*y2 - *y1);
    } else if (code & kRight) {
      x = w - 1.0f;
      y = *y1 + (*y2 - *y1) * (w - *x1) / (*x2 - *x1);
    } else {
      x = 0.0f;
      y = *y1 - (*y2 - *y1) * *x1 / (*x2 - *x1);
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    if (first) {
      *x1 = x, *y1 = y;
      code1 = CodeOf(x, y, w, h);
    } else {
      *x2 = x, *y2 = y;
      code2 = CodeOf(x, y, w, h);
    }
  }
  // NaN compares as inside; it has no place on the bitmap.
  return std::isfinite(*x1) && std::isfinite(*y1) && std::isfinite(*x2) && std::isfinite(*y2);
}
