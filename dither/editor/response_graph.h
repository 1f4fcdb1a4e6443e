// The editor's view of a stream's spectrum: a ring of the stream's recent
// samples, analysed with a Blackman-windowed FFT whenever the graph is drawn,
// stretched onto a logarithmic axis between two frequencies and drawn either
// as a band mirrored about the middle line (the input) or as an area rising
// from the bottom (the requantisation error).
//
// Threads: AppendSamples runs on the audio thread under the plug-in's lock;
// Draw runs on the user-interface thread during the paint without a lock.
// The ring is read sample by sample with relaxed atomics (see
// SpectrumAnalyser), the frequency settings are atomics, and every other
// array here belongs to Draw alone.
#pragma once

#include <atomic>

#include "dsp/analyser.h"
#include "editor/envelope_plot_control.h"

// The frequency range of a graph in bins of an analysis of `analysisSize`
// samples, and where those bins land among the m warped magnitudes: the
// points average warped magnitudes first .. end - 1.
struct WarpedRange {
  int lowBin;
  int highBin;
  int first;  // e, the warped position of the lowest frequency
  int end;    // f, that of the highest; m when the range is reversed
};
WarpedRange FindWarpedRange(double rate, double lowest, double highest, int analysisSize, int m);

class SpectrumGraph : public EnvelopePlotControl {
 public:
  // A visible graph of trunc((right - left - 2) / pointSpacing) points over a
  // ring of `ringSize` samples; `analysisSize` turns frequencies into bins.
  SpectrumGraph(PlugParams* plug, const Rect& rect, const Colour& colour, bool fill,
                int pointSpacing, float smoothing, int ringSize, int analysisSize,
                const Blend& plotBlend, bool antialias);

  // [audio thread, lock held] Appends a block of the stream and marks the
  // graph for redraw.
  void AppendSamples(const double* samples, int n);
  // [constructor] Clears the ring: all zero, write position 0.
  void ClearRing();

  // [lock held] The sample rate and the frequency range shown.
  void SetRange(double rate, double lowest, double highest);
  void SetGain(float newGain) { gain = newGain; }
  void SetMirror(bool newMirror) { mirror = newMirror; }

  // [UI thread] Analyses the ring and draws the curve.
  bool Draw(Editor* editor) override;

  SpectrumAnalyser& Analyser() { return analyser; }
  int PointCount() const { return points; }

 private:
  // Averages the warped magnitudes between the positions of the lowest and
  // the highest frequency into the curve's points.
  void AveragePoints(const SampleArray& warped);

  SpectrumAnalyser analyser;  // the recent samples of the stream shown
  FloatArray previousFrame;   // the points drawn last time, for smoothing
  bool mirror = false;        // band about the middle line instead of an area
  int analysisSize;           // S, turns frequencies into bin numbers
  float smoothing;            // weight of the new frame against the previous one
  float gain = 1.0f;          // applied to the averaged spectrum before the root
  std::atomic<double> sampleRate{0.0};
  std::atomic<double> lowestFrequency{0.0};   // left end of the graph, Hz
  std::atomic<double> highestFrequency{0.0};  // right end of the graph, Hz
  int points;                                 // P, the curve's point count
};
