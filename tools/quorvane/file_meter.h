// What the report says about one file, gathered while it streams through:
// the input's peak and clipped samples, and the level and spectrum of the
// error between what was stored and what the requantiser received (the input
// limited to full scale, as it limits it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/measure/error_analysis.h"

class FileMeter {
 public:
  // With `inputSpectrum` the input's spectrum is gathered too (for the
  // plot), at twice the cost of the error's alone.
  FileMeter(int channels, bool inputSpectrum);

  // `frames` frames of the input as read and of the output as stored
  // (clipped, on the grid), planar: channel c's frames from c * stride.
  void Add(const double* input, const double* output, size_t stride, int frames);
  // Ends the stream: a file shorter than one analysis block is analysed as
  // one block padded with silence, so that short files get a spectrum too.
  void Finish();

  double InputPeak() const { return peak; }               // largest |x|, NaN left out
  uint64_t ClippedInput() const { return clippedInput; }  // |x| > 1 or NaN
  // Mean square of the error over every sample; 0 for an empty file.
  double ErrorPower() const;
  const ErrorSpectrum& Spectrum() const { return spectrum; }

 private:
  // Where channel c's samples of the block being gathered go: the real
  // (lane 0) or imaginary (lane 1) parts of one of the pairs.
  double* Lane(std::vector<double>& pairs, int c) const;
  // Measures n frames of one channel and gathers them windowed, from
  // position `staged` of the block.
  void AddStretch(const double* in, const double* out, int n, double* errorLane, double* inputLane);
  // Transforms the pairs a whole block has filled.
  void AnalyseBlock();

  int channels;
  bool inputSpectrum;
  double peak = 0.0;
  uint64_t clippedInput = 0;
  double errorSquares = 0.0;
  uint64_t samples = 0;
  // The blocks being gathered, windowed, two to a transform: channels 2i
  // and 2i + 1 share pair i. With an odd number of channels the last one
  // fills its pair alone, an even block in the real parts and the next one
  // in the imaginary parts.
  std::vector<double> errorPairs;
  std::vector<double> inputPairs;
  int staged = 0;     // frames gathered, 0 .. ErrorSpectrum::kSize
  int64_t whole = 0;  // blocks gathered whole, per channel
  ErrorSpectrum spectrum;
};
