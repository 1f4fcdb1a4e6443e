#include <cmath>
#include <utility>

#include "draw/line_walk.h"

namespace {

float Frac(float v) { return v - std::floor(v); }

// Plots one pixel at coverage `c` of the user weight; `steep` exchanges the
// coordinates back.
struct WuPlot {
  const ColourPlotter& plotter;
  float weight;
  bool steep;

  void operator()(int x, int y, float c) const {
    const int e = WeightToInt(c * weight);
    if (steep)
      plotter.Plot(y, x, e);
    else
      plotter.Plot(x, y, e);
  }
};

}  // namespace

// With the line made x-major and ordered by x, and gradient g = dy/dx:
//  - each end is rounded to its column xe = floor(x + 0.5); the line's y there
//    is ye = y + g*(xe - x), and the two pixels straddling ye share the end's
//    horizontal coverage (gap) in proportion 1 - frac(ye) : frac(ye);
//  - every column strictly between gets the pair (trunc(y), trunc(y) + 1) at
//    1 - frac(y) and frac(y), y growing by g per column. The first inner
//    column is drawn even when the ends round to the same or adjacent columns.
// Ends that truncate to the same pixel light its 2 x 2 block instead, at full
// weight, each pixel at (frac(x) + frac(y)) / 4.
void WalkAntialiasedLine(float x1, float y1, float x2, float y2, const ColourPlotter& plotter,
                         float weight) {
  if (plotter.op == PixelOp::kNone) return;
  if (static_cast<int>(x1) == static_cast<int>(x2) &&
      static_cast<int>(y1) == static_cast<int>(y2)) {
    const WuPlot plot = {plotter, 1.0f, false};
    const int tx = static_cast<int>(x1), ty = static_cast<int>(y1);
    const float c = (Frac(x1) + Frac(y1)) / 4.0f;
    plot(tx, ty, c), plot(tx + 1, ty, c), plot(tx, ty + 1, c), plot(tx + 1, ty + 1, c);
    return;
  }
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  if (steep) std::swap(x1, y1), std::swap(x2, y2);
  if (x1 > x2) std::swap(x1, x2), std::swap(y1, y2);
  const WuPlot plot = {plotter, weight, steep};
  const float g = (y2 - y1) / (x2 - x1);

  const float xe = std::floor(x1 + 0.5f);
  const float ye = y1 + g * (xe - x1);
  const float gap = 1.0f - Frac(x1 + 0.5f);
  plot(static_cast<int>(xe), static_cast<int>(ye), (1.0f - Frac(ye)) * gap);
  plot(static_cast<int>(xe), static_cast<int>(ye) + 1, Frac(ye) * gap);

  const float xe2 = std::floor(x2 + 0.5f);
  const float ye2 = y2 + g * (xe2 - x2);
  const float gap2 = Frac(x2 + 0.5f);
  plot(static_cast<int>(xe2), static_cast<int>(ye2), (1.0f - Frac(ye2)) * gap2);
  plot(static_cast<int>(xe2), static_cast<int>(ye2) + 1, Frac(ye2) * gap2);

  const int first = static_cast<int>(xe) + 1, last = static_cast<int>(xe2) - 1;
  const int limit = steep ? plotter.view.height : plotter.view.width;
  if (first >= limit) return;
  float y = ye + g;
  int x = first;
  do {
    plot(x, static_cast<int>(y), 1.0f - Frac(y));
    plot(x, static_cast<int>(y) + 1, Frac(y));
    y += g;
  } while (++x <= last);
}
