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
  void AnalyseStaged();

  int channels;
  bool inputSpectrum;
  double peak = 0.0;
  uint64_t clippedInput = 0;
  double errorSquares = 0.0;
  uint64_t samples = 0;
  // Per channel, the samples of the block being gathered, planar.
  std::vector<double> stagedInput;
  std::vector<double> stagedError;
  int staged = 0;  // frames gathered, 0 .. ErrorSpectrum::kSize
  ErrorSpectrum spectrum;
};
