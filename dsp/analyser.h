// A sample ring with the work areas to analyse it by FFT. The plug-in owns one
// holding the sampled weighting curve for the filter design; each spectrum
// graph owns one holding the recent samples of its stream.
#pragma once

#include <atomic>
#include <cstdint>

#include "dsp/sample_array.h"

class SpectrumAnalyser {
 public:
  // Every array empty, positions 0. Fills the FFT tables if no analyser has yet.
  SpectrumAnalyser();

  // Resizes the ring to n zero-filled samples and sets the write position to 0.
  // False, with an empty ring, when storage could not be had.
  // Not concurrently with AppendSamples or an analysis.
  [[nodiscard]] bool ResetRing(int32_t n);

  // The sample history; write into it, but resize it only through ResetRing.
  SampleArray& Ring() { return ring; }
  int32_t WritePosition() const { return writePosition.load(std::memory_order_relaxed); }

  // Appends n samples at the write position, wrapping at the end of the ring.
  // Of more than ring-size samples only the first ring-size are stored. The
  // write position may end equal to the ring size, which reads like 0.
  // Audio thread, under the plug-in's lock; allocates nothing.
  void AppendSamples(const double* samples, int n);

  // The unwindowed spectrum of the ring, oldest sample first, scaled by 1/N²
  // (N = ring size): for the weighting ring, element k < N/2 is the
  // autocorrelation at lag k of the process with that power spectrum.
  // Elements k and N − 1 − k hold the same value (the second half mirrors the
  // first). A ring whose size has no FFT bin positions (see fft.h), or whose
  // work area cannot be had, gives N zeros; the result has fewer than N
  // values when its own storage cannot be had.
  // The filter design calls it under the plug-in's lock.
  const SampleArray& RealSpectrum();

  // The Blackman-windowed magnitude spectrum of the ring, N/2 values
  // √(|X[k]|² / N) for k = 0 … N/2 − 1; zeros when the size has no FFT, and
  // fewer than N/2 values when storage cannot be had.
  // The window is rebuilt only when N changes. User-interface thread; reads
  // the ring without a lock: a block appended meanwhile may tear the frame
  // but never faults, since the ring's size does not change.
  SampleArray& MagnitudeSpectrum();

  // Stretches the low bins of v (M values) across the whole array on a
  // logarithmic scale, in place, weighting each point by the square root of
  // its width. The top element is kept. The tables are rebuilt when M changes;
  // v is left as it is when they cannot be had.
  // User-interface thread, after MagnitudeSpectrum.
  void WarpSpectrum(SampleArray& v);

 private:
  // Copies the ring, oldest sample first, into the real parts of the zeroed
  // complex buffer, times window[i] when a window is given, and runs a forward
  // FFT of the ring size. Returns false (buffer untouched) for a size with no FFT.
  [[nodiscard]] bool TransformRing(const SampleArray* window);

  int32_t analysisEnd = 0;                // ring position after the last analysed sample
  int32_t analysisLength = 0;             // N, the ring size at the last analysis
  SampleArray ring;                       // the sample history, read through its ring view
  std::atomic<int32_t> writePosition{0};  // where the next sample goes, 0 … N
  SampleArray complexBuffer;              // N complex values as interleaved (re, im) doubles
  SampleArray realSpectrum;               // N values, see RealSpectrum
  SampleArray imagSpectrum;   // N values, antisymmetric: imag[N − 1 − k] = −imag[k]
  SampleArray magnitude;      // N/2 values, see MagnitudeSpectrum
  SampleArray warpPositions;  // M fractional source bins, see WarpSpectrum
  SampleArray warpWeights;    // M weights, √ of each point's width in bins
  SampleArray window;         // N Blackman weights
};
