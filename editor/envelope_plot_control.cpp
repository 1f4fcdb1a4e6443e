#include "editor/envelope_plot_control.h"

#include <algorithm>

#include "core/plug_lock.h"

EnvelopePlotControl::EnvelopePlotControl(PlugParams* plug, const Rect& rect, const Colour& colour,
                                         bool fill, const Blend& plotBlend, bool antialias)
    : FilledPlotControl(plug, rect, colour, fill, plotBlend, antialias),
      yMiddle(yBase - yScale * 0.5f) {}

bool EnvelopePlotControl::Draw(Editor* editor) {
  SpreadX();
  const int n = std::min(PointCount(y), y2.Length());
  if (fill) {
    for (int i = 0; i + 1 < n; ++i) FillSegment(editor, i, &y2);
  }
  if (lines) {
    for (int i = 0; i + 1 < n; ++i) {
      DrawSegment(editor, y, i);
      DrawSegment(editor, y2, i);
    }
  }
  return true;
}

void EnvelopePlotControl::MapY(int from, int to) {
  ClampRange(y, &from, &to);
  for (int i = from; i < to; ++i) y[i] = yScale * y[i] * 0.5f + yMiddle;
}

void EnvelopePlotControl::MapY2(int from, int to) {
  ClampRange(y2, &from, &to);
  for (int i = from; i < to; ++i) y2[i] = yMiddle - y2[i] * yScale * 0.5f;
}

void EnvelopePlotControl::ValuesStored() {
  const float mirror = static_cast<float>(DrawRect().top + DrawRect().bottom);
  if (!y2.Resize(y.Length(), false)) return;
  for (int i = 0; i < y2.Length(); ++i) y2[i] = mirror - y[i];
}

template <class T>
void EnvelopePlotControl::StorePair(const T* ys, const T* y2s, int count, PlugLock* lock,
                                    bool map) {
  LockGuard guard(lock);
  y.Assign(ys, count);
  y2.Assign(y2s, count);
  if (map) {
    MapY(0, -1);
    MapY2(0, -1);
  }
  ShowData();
}

void EnvelopePlotControl::SetValuesPair(const double* ys, const double* y2s, int count,
                                        PlugLock* lock, bool map) {
  StorePair(ys, y2s, count, lock, map);
}

void EnvelopePlotControl::SetValuesPairFloat(const float* ys, const float* y2s, int count,
                                             PlugLock* lock, bool map) {
  StorePair(ys, y2s, count, lock, map);
}
