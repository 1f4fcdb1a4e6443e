// The spectra of a signal and of its requantisation error, averaged over
// Hann-windowed blocks, and the error's level to the ear: its power weighted
// per frequency by the plug-in's own psychoacoustic weighting curve (the
// curve the noise shaper follows, lowest near 3.4 kHz), as 10^(-dB/10).
//
// Real blocks go through the complex transform two at a time, one in the
// real parts and one in the imaginary parts. With Z the spectrum of the
// pair, the two blocks' power in bin k together is (|Z[k]|² + |Z[N - k]|²) / 2,
// so the transform's power is summed where it lies in the buffer and moved
// to the bins at Flush.
#pragma once

#include <cstdint>
#include <vector>

class ErrorSpectrum {
 public:
  static constexpr int kSize = 4096;  // samples per block
  static constexpr int kBins = kSize / 2;

  ErrorSpectrum();

  // The kSize Hann weights, for a caller that windows its blocks as it
  // gathers them.
  const double* Window() const { return window.data(); }

  // Adds `count` (1 or 2) windowed blocks of the error, or two of the input:
  // `pair` holds kSize complex values, one block in the real parts and the
  // other in the imaginary parts (zeros where a block has no partner). The
  // transform overwrites `pair`. Allocates nothing.
  void AddWindowedErrors(double* pair, int count);
  void AddWindowedInputs(double* pair);

  // Adds one block of the error, not yet windowed; it waits for the next one
  // to share its transform. Allocates nothing.
  void AddErrorBlock(const double* error);

  // Transforms a block still waiting for its partner, and brings the power
  // gathered so far to InputPower and ErrorPower.
  void Flush();

  // Power per bin k = 0 .. kBins - 1, summed over the blocks added, as of the
  // last Flush: |X[k]|² of the windowed block, so a full-scale sine's bin
  // holds (kSize / 4)² per block. Blocks counts the error blocks added.
  const std::vector<double>& InputPower() const { return inputPower; }
  const std::vector<double>& ErrorPower() const { return errorPower; }
  int64_t Blocks() const { return blocks; }

  // The error's weighted power over its plain power, bins 1 .. kBins - 1,
  // with the curve for sample rate `rate`; 0 while there is no error power.
  double WeightingRatio(double rate) const;

 private:
  // Transforms `pair` and adds |Z|² at each buffer position to `sums`.
  static void TransformInto(double* pair, std::vector<double>& sums);
  // Moves the sums of buffer positions to bins, and clears them.
  void Fold(std::vector<double>& sums, std::vector<double>& power) const;

  std::vector<double> window;      // kSize Hann weights
  std::vector<double> waiting;     // kSize complex values: lone error blocks, windowed
  bool hasWaiting = false;         // the real parts hold a block
  std::vector<double> inputPower;  // kBins sums
  std::vector<double> errorPower;  // kBins sums
  std::vector<double> inputSums;   // kSize sums of |Z|² in buffer order, until Flush
  std::vector<double> errorSums;
  std::vector<int32_t> positions;  // the buffer position of each bin
  int64_t blocks = 0;
};
