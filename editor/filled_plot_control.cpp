#include "editor/filled_plot_control.h"

#include <algorithm>
#include <cmath>

#include "editor/editor.h"

namespace {

// The height of segment i of `curve` at column c, on the straight line between
// its ends; the mean of both ends when they share an x.
float HeightAt(const FloatArray& x, const FloatArray& curve, int i, float c) {
  const float x0 = x[i];
  const float x1 = x[i + 1];
  if (x0 == x1) return (curve[i] + curve[i + 1]) * 0.5f;
  return curve[i] + (curve[i + 1] - curve[i]) * (c - x0) / (x1 - x0);
}

}  // namespace

FilledPlotControl::FilledPlotControl(PlugParams* plug, const Rect& rect, const Colour& colour,
                                     bool fill, const Blend& plotBlend, bool antialias)
    : PlotControl(plug, rect, colour, plotBlend, antialias), fill(fill) {}

bool FilledPlotControl::Draw(Editor* editor) {
  SpreadX();
  const int n = PointCount(y);
  if (fill) {
    for (int i = 0; i + 1 < n; ++i) FillSegment(editor, i, nullptr);
  }
  if (lines) {
    for (int i = 0; i + 1 < n; ++i) DrawSegment(editor, y, i);
  }
  return true;
}

void FilledPlotControl::FillSegment(Editor* editor, int i, const FloatArray* to) {
  // Columns outside the surface would be clipped away whole, so the walk is
  // limited to the surface (which also bounds it for wild x values).
  const float first = std::max(std::ceil(x[i]), 0.0f);
  const float last = std::min(std::floor(x[i + 1]), static_cast<float>(editor->Width() - 1));
  if (!(first <= last)) return;
  for (int column = static_cast<int>(first); column <= static_cast<int>(last); ++column) {
    const float c = static_cast<float>(column);
    // The start matters: a column whose ends share a pixel row is drawn as
    // one pixel at the start's rounded height.
    const float curve = HeightAt(x, y, i, c);
    if (to) {
      editor->DrawLine(fillColour, c, curve, c, HeightAt(x, *to, i, c), &plotBlend, false);
    } else {
      editor->DrawLine(fillColour, c, yBase, c, curve, &plotBlend, false);
    }
  }
}
