// A plot of two curves with the area between them filled column by column:
// the input graph's band mirrored about its middle line. Values map around
// the middle line: 0 on it, +1 at the base line, -1 at the top.
#pragma once

#include "editor/filled_plot_control.h"

class EnvelopePlotControl : public FilledPlotControl {
 public:
  EnvelopePlotControl(PlugParams* plug, const Rect& rect, const Colour& colour, bool fill,
                      const Blend& plotBlend, bool antialias);

  // Fills between y and y2 when `fill` is set, then draws both polylines.
  bool Draw(Editor* editor) override;

  // y[i] = y scale * y[i] * 0.5 + y middle.
  void MapY(int from, int to) override;
  // y2[i] = y middle - y2[i] * y scale * 0.5 (positive values upward).
  void MapY2(int from, int to);
  // Both curves at once, mapped when `map` is set, under `lock`. The "Float"
  // variant takes float arrays.
  void SetValuesPair(const double* ys, const double* y2s, int count, PlugLock* lock, bool map);
  void SetValuesPairFloat(const float* ys, const float* y2s, int count, PlugLock* lock, bool map);

  FloatArray& Y2() { return y2; }

 protected:
  // The mirror of y about the plot's middle: y2 = top + bottom - y.
  void ValuesStored() override;

 private:
  template <class T>
  void StorePair(const T* ys, const T* y2s, int count, PlugLock* lock, bool map);

  float yMiddle;  // y base - y scale * 0.5
  FloatArray y2;  // the second curve
};
