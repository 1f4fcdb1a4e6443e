#include "draw/arc.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "draw/pixel_ops.h"

namespace {

constexpr float kTurn = 6.2831855f;
constexpr float kQuarterTurn = 1.5707964f;
constexpr float kQuartersPerRadian = 0.63661975f;

// Turns a quarter's local coordinates (a, b) onto the screen:
// (cx + m0*a + m1*b, cy + m2*a + m3*b). In quarter 0 (12 to 3 o'clock) a runs
// right and b up from the centre; each later quarter is turned a further
// quarter clockwise.
struct Orientation {
  float m0, m1, m2, m3;
};
constexpr Orientation kOrientations[4] = {
    {1, 0, 0, -1}, {0, 1, 1, 0}, {-1, 0, 0, 1}, {0, -1, -1, 0}};

// Longer stretches of an octant than this that lie before the bitmap are
// skipped rather than walked (only huge radii have them).
constexpr double kMaxWalkBeforeEdge = 65536.0;

struct Circle {
  ColourPlotter plotter;
  float cx, cy, radius, weight;
  bool antialiased;
};

struct LocalPoint {
  float a, b;
};

void PlotLocal(const Circle& c, const Orientation& m, const LocalPoint& p, float coverage) {
  const float x = c.cx + m.m0 * p.a + m.m1 * p.b;
  const float y = c.cy + m.m2 * p.a + m.m3 * p.b;
  // trunc(x) lies inside exactly when -1 < x < width.
  if (!(x > -1.0f && y > -1.0f && x < c.plotter.view.width && y < c.plotter.view.height)) return;
  c.plotter.Plot(static_cast<int>(x), static_cast<int>(y), WeightToInt(coverage * c.weight));
}

// Wu's circle, one octant. The walk variable t (a in the first octant, b in
// the second, `swapped`) steps by 1 from its start while t <= tEnd. With
// K = sqrt(r^2 - t^2), the true circle's distance along the other axis, and
// D = ceil(K) - K, the running other coordinate drops by 1 whenever D is
// smaller than the previous step's D (which starts at 0); the pixel
// (t, other) gets coverage 1 - D and, antialiased, (t, other - 1) gets D.
void WalkOctant(const Circle& c, const Orientation& m, bool swapped, float t, float other,
                float tEnd) {
  const double r2 = double{c.radius} * c.radius;
  auto distance = [r2](float v) { return std::sqrt(std::max(0.0, r2 - double{v} * v)); };
  auto local = [swapped](float t, float other) {
    return swapped ? LocalPoint{other, t} : LocalPoint{t, other};
  };

  // On screen t moves one axis by +-1 per step; only t within (lo, hi) can
  // land on the bitmap.
  const float along = swapped ? m.m1 + m.m3 : m.m0 + m.m2;
  const bool alongX = (swapped ? m.m1 : m.m0) != 0.0f;
  const double centre = alongX ? c.cx : c.cy;
  const double limit = alongX ? c.plotter.view.width : c.plotter.view.height;
  const double lo = along > 0 ? -1.0 - centre : centre - limit;
  const double hi = along > 0 ? limit - centre : centre + 1.0;

  double previousD = 0.0;
  if (lo - t > kMaxWalkBeforeEdge) {
    // Restart just before the edge, the running coordinate recomputed from
    // the whole steps the circle has fallen since the start.
    const float restart = t + static_cast<float>(std::floor(lo - t) - 2.0);
    other = static_cast<float>(other - (std::ceil(distance(t)) - std::ceil(distance(restart))));
    t = restart;
    previousD = std::ceil(distance(t)) - distance(t);
  }
  const double stop = std::min<double>(tEnd, hi + 1.0);
  // Counted too: a float t this large may no longer grow by 1.
  const int64_t steps = static_cast<int64_t>(std::max(0.0, stop - t)) + 2;
  for (int64_t n = 0; n < steps && t <= stop; ++n, t += 1.0f) {
    const double k = distance(t);
    const double d = std::ceil(k) - k;
    if (d < previousD) other -= 1.0f;
    previousD = d;
    if (!c.antialiased) {
      PlotLocal(c, m, local(t, other), 1.0f);
      continue;
    }
    PlotLocal(c, m, local(t, other), static_cast<float>(1.0 - d));
    PlotLocal(c, m, local(t, other - 1.0f), static_cast<float>(d));
  }
}

// One quarter from local angle alpha to beta (0 ... pi/2 within the quarter):
// the first octant walks a from the start point toward the diagonal, the
// second walks b from the end point toward it; they meet near a = b = r/sqrt2,
// where a pixel may be drawn by both.
void DrawQuarter(const Circle& c, int quarter, float alpha, float beta) {
  const float r = c.radius;
  auto point = [r](float angle) {
    return LocalPoint{static_cast<float>(r * std::sin(double{angle})),
                      static_cast<float>(r * std::cos(double{angle}))};
  };
  const LocalPoint start = alpha <= 0.0f ? LocalPoint{0.0f, r} : point(alpha);
  const LocalPoint end = beta >= kQuarterTurn ? LocalPoint{r, 0.0f} : point(beta);
  const float q = r / 1.4142135f;
  const Orientation& m = kOrientations[quarter & 3];
  WalkOctant(c, m, false, start.a, start.b, std::min(q, end.a - 1.0f));
  WalkOctant(c, m, true, end.b, end.a, std::min(q, start.b - 1.0f));
}

// Brings a finite angle into 0 ... 2 pi by whole turns, added or taken off
// one at a time in floats, each step rounded. Beyond 2^27 a step rounds back
// to the same float and the stepping would never end; such angles lose their
// whole turns exactly, at once.
float NormaliseAngle(float angle) {
  if ((angle < 0.0f ? angle + kTurn : angle - kTurn) == angle) angle = std::fmod(angle, kTurn);
  while (angle < 0.0f) angle += kTurn;
  while (angle > kTurn) angle -= kTurn;
  return angle;
}

}  // namespace

void DrawArc(Bitmap* bitmap, float cx, float cy, float radius, float startAngle, float endAngle,
             PackedColour colour, float weight, BlendMode code, bool antialiased) {
  const PixelView view = ViewOf(bitmap, RowOrder::kMemoryRows);
  const PixelOp op = OpOfCode(code, weight);
  if (!view || op == PixelOp::kNone || !(radius > 0.0f)) return;
  for (float v : {cx, cy, radius, startAngle, endAngle})
    if (!std::isfinite(v)) return;
  const Circle circle = {{view, op, colour}, cx, cy, radius, weight, antialiased};

  const float start = NormaliseAngle(startAngle), end = NormaliseAngle(endAngle);
  // Quarters run upward from the start's; an end quarter below it wraps on by
  // whole turns. The end's angle within its quarter is taken before wrapping.
  const int first = static_cast<int>(start * kQuartersPerRadian);
  const int endQuarter = static_cast<int>(std::ceil(end * kQuartersPerRadian)) - 1;
  int last = endQuarter;
  while (last < first) last += 4;
  const float alpha = start - static_cast<float>(first) * kQuarterTurn;
  const float beta = end - static_cast<float>(endQuarter) * kQuarterTurn;
  if (first == last) return DrawQuarter(circle, first, alpha, beta);
  DrawQuarter(circle, first, alpha, kQuarterTurn);
  for (int quarter = first + 1; quarter < last; ++quarter)
    DrawQuarter(circle, quarter, 0.0f, kQuarterTurn);
  DrawQuarter(circle, last, 0.0f, beta);
}

void DrawCircle(Bitmap* bitmap, float cx, float cy, float radius, PackedColour colour, float weight,
                BlendMode code, bool antialiased) {
  DrawArc(bitmap, cx, cy, radius, 0.0f, kTurn, colour, weight, code, antialiased);
}
