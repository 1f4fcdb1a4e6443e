#include "draw/line.h"

#include <cmath>
#include <utility>

#include "draw/line_walk.h"

namespace {

// The walk of a plain line: one pixel per step along the major axis, the
// minor coordinate moving by one whenever the accumulated slope reaches a
// half. plot(x, y, single) is told when the ends share one pixel, which is
// then drawn alone.
template <class Plot>
void WalkPlain(float x1, float y1, float x2, float y2, Plot&& plot) {
  if (static_cast<int>(x1) == static_cast<int>(x2) && static_cast<int>(y1) == static_cast<int>(y2))
    return plot(static_cast<int>(x1 + 0.5f), static_cast<int>(y1 + 0.5f), true);
  const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
  if (steep) std::swap(x1, y1), std::swap(x2, y2);
  if (x1 > x2) std::swap(x1, x2), std::swap(y1, y2);
  const float slope = std::fabs(y2 - y1) / (x2 - x1);
  const int step = y1 < y2 ? 1 : -1;
  int minor = static_cast<int>(y1 + 0.5f);
  float error = 0.0f;
  const int last = static_cast<int>(x2 + 0.5f);
  for (int major = static_cast<int>(x1 + 0.5f); major <= last; ++major) {
    if (steep)
      plot(minor, major, false);
    else
      plot(major, minor, false);
    error += slope;
    if (error >= 0.5f) {
      error -= 1.0f;
      minor += step;
    }
  }
}

}  // namespace

void WalkPlainLine(float x1, float y1, float x2, float y2, const ColourPlotter& plotter, int e) {
  WalkPlain(x1, y1, x2, y2,
            [&](int x, int y, bool single) { plotter.Plot(x, y, single ? 256 : e); });
}

void WalkOpaqueLine(float x1, float y1, float x2, float y2, const PixelView& view,
                    uint32_t colour) {
  WalkPlain(x1, y1, x2, y2, [&](int x, int y, bool) {
    if (view.Contains(x, y)) view.Row(y)[x] = colour;
  });
}

void DrawLine(Bitmap* bitmap, float x1, float y1, float x2, float y2, PackedColour colour,
              float weight, BlendMode code, bool antialiased) {
  const PixelView view = ViewOf(bitmap, RowOrder::kMemoryRows);
  if (!view || !ClipLine(&x1, &y1, &x2, &y2, view.width, view.height)) return;
  const ColourPlotter plotter = {view, OpOfCode(code, weight), colour};
  if (antialiased) return WalkAntialiasedLine(x1, y1, x2, y2, plotter, weight);
  if ((colour >> 24) == 255 && weight == 1.0f && (code & 0xFF) == kBlendCopy)
    return WalkOpaqueLine(x1, y1, x2, y2, view, colour);
  if (plotter.op != PixelOp::kNone) WalkPlainLine(x1, y1, x2, y2, plotter, WeightToInt(weight));
}
