// A curve drawn as a polyline from arrays of pixel positions. The plot is
// bound to no parameter and starts hidden; a data setter shows it.
//
// Threads: Draw runs on the user-interface thread during the paint and takes
// no lock. The data setters take the lock their caller passes (normally the
// plug-in's); an owner that fills the arrays on another thread must also keep
// Draw from reading a half-written array.
//
// Index ranges (from, to) are half-open; a `to` below 0 means up to the length
// of y.
#pragma once

#include "editor/control.h"
#include "editor/float_array.h"

class PlotControl : public Control {
 public:
  // `plotBlend` is the blend of every line the plot draws (the control's own
  // blend plays no part); the fill colour starts as the line colour.
  PlotControl(PlugParams* plug, const Rect& rect, const Colour& colour, const Blend& plotBlend,
              bool antialias);

  // The polyline through (x[i], y[i]).
  bool Draw(Editor* editor) override;

  // ---- Data ----------------------------------------------------------------
  // Copy `count` points, map them to pixels when `map` is set, show the plot
  // and mark it dirty, all under `lock` (when given). The "Float" variants
  // take float arrays, the others double arrays.
  void SetPoints(const double* xs, const double* ys, int count, PlugLock* lock, bool map);
  void SetPointsFloat(const float* xs, const float* ys, int count, PlugLock* lock, bool map);
  // The same for y alone; x keeps its points.
  void SetValues(const double* ys, int count, PlugLock* lock, bool map);
  void SetValuesFloat(const float* ys, int count, PlugLock* lock, bool map);
  // Hides the plot, under `lock`.
  void ClearPlot(PlugLock* lock);
  // When x does not have as many points as y: x becomes as long as y, spread
  // evenly across the plot area (a single point gets NaN).
  void SpreadX();
  // x from 0 ... 1 to pixels: x scale * x + x offset.
  void MapX(int from, int to);
  // y from 0 ... 1 to pixels: 0 at the base line (bottom - 2), 1 at the top.
  virtual void MapY(int from, int to);

  // Stores both colours and marks the plot dirty.
  void SetColours(const Colour& line, const Colour& fill);

  FloatArray& X() { return x; }
  FloatArray& Y() { return y; }

 protected:
  // [lock held] Called by SetValues and SetValuesFloat once y holds the new
  // (mapped) values.
  virtual void ValuesStored() {}
  // Shows the plot and marks it dirty.
  void ShowData();
  // Points that both x and `curve` hold (x[i], curve[i]).
  int PointCount(const FloatArray& curve) const;
  // The half-open range of `array` that (from, to) asks for.
  void ClampRange(const FloatArray& array, int* from, int* to) const;
  // The segment from point i to point i + 1 of `curve`.
  void DrawSegment(Editor* editor, const FloatArray& curve, int i);

  Colour lineColour;
  Colour fillColour;
  Blend plotBlend;
  bool antialias;
  FloatArray x;   // pixel x of each point
  FloatArray y;   // pixel y of each point, once mapped
  float xOffset;  // left + 1
  float yBase;    // bottom - 2: base line of the fill, y of value 0
  float xScale;   // right - left - 2
  float yScale;   // bottom - top - 2

 private:
  template <class T>
  void StorePoints(const T* xs, const T* ys, int count, PlugLock* lock, bool map);
  template <class T>
  void StoreValues(const T* ys, int count, PlugLock* lock, bool map);
};
