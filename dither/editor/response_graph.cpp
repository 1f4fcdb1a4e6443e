#include "dither/editor/response_graph.h"

#include <cmath>

#include "core/text_copy.h"

SpectrumGraph::SpectrumGraph(PlugParams* plug, const Rect& rect, const Colour& colour, bool fill,
                             int pointSpacing, float smoothing, int ringSize, int analysisSize,
                             const Blend& plotBlend, bool antialias)
    : EnvelopePlotControl(plug, rect, colour, fill, plotBlend, antialias),
      analysisSize(analysisSize),
      smoothing(smoothing) {
  points = pointSpacing > 0 ? (rect.right - rect.left - 2) / pointSpacing : 0;
  if (points < 0) points = 0;
  // A graph without its storage has no points and draws nothing.
  if (!analyser.ResetRing(ringSize) || !Y().Resize(points, false) ||
      !previousFrame.Resize(points, true))
    points = 0;
  Hide(false);
}

void SpectrumGraph::AppendSamples(const double* samples, int n) {
  analyser.AppendSamples(samples, n);
  SetDirty();
}

void SpectrumGraph::ClearRing() {
  if (!analyser.ResetRing(analyser.Ring().Count())) points = 0;
}

void SpectrumGraph::SetRange(double rate, double lowest, double highest) {
  sampleRate.store(rate);
  lowestFrequency.store(lowest);
  highestFrequency.store(highest);
}

// A bin b lands at M - M^(1 - b / (M - 1)) among the warped magnitudes. A
// rate of 0, or a range beyond the spectrum, must still give positions
// inside it.
WarpedRange FindWarpedRange(double rate, double lowest, double highest, int analysisSize, int m) {
  WarpedRange range;
  range.lowBin = lowest > 0.0 ? TruncToInt(lowest * analysisSize / rate + 0.5) : 0;
  range.highBin = highest > 0.0 ? TruncToInt(highest * analysisSize / rate + 0.5) : m;
  range.first = TruncToInt(m - std::pow(m, 1.0 - static_cast<double>(range.lowBin) / (m - 1)));
  range.end = TruncToInt(m - std::pow(m, 1.0 - static_cast<double>(range.highBin) / (m - 1)));
  if (range.first < 0) range.first = 0;
  if (range.first > m - 1) range.first = m - 1;
  if (range.end < range.first || range.end > m) range.end = m;
  return range;
}

// Point i is the mean of the warped magnitudes from e + trunc(i c) up to
// e + trunc((i + 1) c) - 1 (or of the first alone when that is empty), with
// c = (f - e) / P. The sums are single precision.
void SpectrumGraph::AveragePoints(const SampleArray& warped) {
  const WarpedRange range = FindWarpedRange(sampleRate.load(), lowestFrequency.load(),
                                            highestFrequency.load(), analysisSize, warped.Count());
  const double c = static_cast<double>(range.end - range.first) / points;
  FloatArray& y = Y();
  for (int i = 0; i < points; ++i) {
    const int first = range.first + static_cast<int>(i * c);
    int last = range.first + static_cast<int>((i + 1) * c);
    if (last <= first) last = first + 1;
    float sum = 0.0f;
    for (int k = first; k < last; ++k) sum += static_cast<float>(warped[k]);
    y[i] = sum / static_cast<float>(last - first);
  }
}

bool SpectrumGraph::Draw(Editor* editor) {
  SampleArray& magnitude = analyser.MagnitudeSpectrum();
  if (magnitude.Count() < 2 || points < 2 || Y().Length() != points) return false;
  analyser.WarpSpectrum(magnitude);
  AveragePoints(magnitude);

  FloatArray& y = Y();
  for (int i = 0; i < points; ++i) {
    float v = y[i];
    if (gain != 1.0f) v *= gain;
    v = std::sqrt(v);
    v = smoothing * v + (1.0f - smoothing) * previousFrame[i];
    y[i] = v;
    previousFrame[i] = v;
  }

  const Rect& r = DrawRect();
  const auto top = static_cast<float>(r.top);
  const auto bottom = static_cast<float>(r.bottom);
  if (mirror) {
    MapY(0, -1);
    ValuesStored();  // the mirror: y2 = top + bottom - y
    FloatArray& y2 = Y2();
    y.Limit(top, bottom);
    y2.Limit(top, bottom);
    return EnvelopePlotControl::Draw(editor);
  }
  PlotControl::MapY(0, -1);
  y.Limit(top, bottom);
  return FilledPlotControl::Draw(editor);
}
