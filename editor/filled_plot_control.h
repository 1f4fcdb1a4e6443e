// A plot that fills every pixel column between its curve and the base line
// (one vertical line per column), then draws the curve over the fill.
#pragma once

#include "editor/plot_control.h"

class FilledPlotControl : public PlotControl {
 public:
  // Draws the polyline, and the column fill when `fill` is set.
  FilledPlotControl(PlugParams* plug, const Rect& rect, const Colour& colour, bool fill,
                    const Blend& plotBlend, bool antialias);

  // Spreads x when needed, fills the columns from the base line to the curve,
  // then draws the polyline.
  bool Draw(Editor* editor) override;

 protected:
  // Fills the integer columns from ceil(x[i]) to floor(x[i + 1]) of segment
  // i, each from the base line to y, or from y to `to` when given, both
  // taken on the straight segment at that column.
  void FillSegment(Editor* editor, int i, const FloatArray* to);

  bool lines = true;  // draw the polyline
  bool fill;          // fill the columns
};
