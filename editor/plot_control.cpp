#include "editor/plot_control.h"

#include <algorithm>

#include "editor/editor.h"
#include "core/plug_lock.h"

PlotControl::PlotControl(PlugParams* plug, const Rect& rect, const Colour& colour,
                         const Blend& plotBlend, bool antialias)
    : Control(plug, rect, -1, 0, 1.0f),
      lineColour(colour),
      fillColour(colour),
      plotBlend(plotBlend),
      antialias(antialias),
      xOffset(static_cast<float>(rect.left + 1)),
      yBase(static_cast<float>(rect.bottom - 2)),
      xScale(static_cast<float>(rect.right - rect.left - 2)),
      yScale(static_cast<float>(rect.bottom - rect.top - 2)) {
  Hide(true);
}

bool PlotControl::Draw(Editor* editor) {
  const int n = PointCount(y);
  for (int i = 0; i + 1 < n; ++i) DrawSegment(editor, y, i);
  return true;
}

int PlotControl::PointCount(const FloatArray& curve) const {
  return std::min(x.Length(), curve.Length());
}

void PlotControl::DrawSegment(Editor* editor, const FloatArray& curve, int i) {
  editor->DrawLine(lineColour, x[i], curve[i], x[i + 1], curve[i + 1], &plotBlend, antialias);
}

// ---- Data ---------------------------------------------------------------------

template <class T>
void PlotControl::StorePoints(const T* xs, const T* ys, int count, PlugLock* lock, bool map) {
  LockGuard guard(lock);
  x.Assign(xs, count);
  y.Assign(ys, count);
  if (map) {
    MapX(0, -1);
    MapY(0, -1);
  }
  ShowData();
}

template <class T>
void PlotControl::StoreValues(const T* ys, int count, PlugLock* lock, bool map) {
  LockGuard guard(lock);
  y.Assign(ys, count);
  if (map) MapY(0, -1);
  ValuesStored();
  ShowData();
}

void PlotControl::SetPoints(const double* xs, const double* ys, int count, PlugLock* lock,
                            bool map) {
  StorePoints(xs, ys, count, lock, map);
}

void PlotControl::SetPointsFloat(const float* xs, const float* ys, int count, PlugLock* lock,
                                 bool map) {
  StorePoints(xs, ys, count, lock, map);
}

void PlotControl::SetValues(const double* ys, int count, PlugLock* lock, bool map) {
  StoreValues(ys, count, lock, map);
}

void PlotControl::SetValuesFloat(const float* ys, int count, PlugLock* lock, bool map) {
  StoreValues(ys, count, lock, map);
}

void PlotControl::ShowData() {
  Hide(false);
  SetDirty();
}

void PlotControl::ClearPlot(PlugLock* lock) {
  LockGuard guard(lock);
  Hide(true);
}

void PlotControl::SpreadX() {
  const int n = y.Length();
  if (n == 0 || x.Length() == n) return;
  if (!x.Resize(n, false)) return;
  for (int i = 0; i < x.Length(); ++i) {
    x[i] = static_cast<float>(i) * xScale / static_cast<float>(n - 1) + xOffset;
  }
}

void PlotControl::ClampRange(const FloatArray& array, int* from, int* to) const {
  if (*to < 0) *to = y.Length();
  *to = std::min(*to, array.Length());
  *from = std::max(*from, 0);
}

void PlotControl::MapX(int from, int to) {
  ClampRange(x, &from, &to);
  for (int i = from; i < to; ++i) x[i] = xScale * x[i] + xOffset;
}

void PlotControl::MapY(int from, int to) {
  ClampRange(y, &from, &to);
  for (int i = from; i < to; ++i) y[i] = yBase - y[i] * yScale;
}

void PlotControl::SetColours(const Colour& line, const Colour& fill) {
  lineColour = line;
  fillColour = fill;
  SetDirty();
}
