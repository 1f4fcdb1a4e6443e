// The spectra of a signal and of its requantisation error, averaged over
// Hann-windowed blocks, and the error's level to the ear: its power weighted
// per frequency by the plug-in's own psychoacoustic weighting curve (the
// curve the noise shaper follows, lowest near 3.4 kHz), as 10^(-dB/10).
#pragma once

#include <cstdint>
#include <vector>

class ErrorSpectrum {
 public:
  static constexpr int kSize = 4096;  // samples per block
  static constexpr int kBins = kSize / 2;

  ErrorSpectrum();

  // Adds one block of one channel: kSize samples of the input and of the
  // error (output minus input). Allocates nothing.
  void AddBlock(const double* input, const double* error);

  // Adds one block of the error alone; the input spectrum stays as it is.
  // Blocks are transformed two at a time, so a block may wait for the next
  // one; their power reaches ErrorPower at Flush. Allocates nothing.
  void AddErrorBlock(const double* error);
  // Transforms a block still waiting for its partner, and brings the power
  // of the error blocks added alone to ErrorPower.
  void Flush();

  // Power per bin k = 0 .. kBins - 1, summed over the blocks added: |X[k]|²
  // of the windowed block, so a full-scale sine's bin holds (kSize / 4)² per
  // block. Blocks counts the error blocks, transformed or waiting.
  const std::vector<double>& InputPower() const { return inputPower; }
  const std::vector<double>& ErrorPower() const { return errorPower; }
  int64_t Blocks() const { return blocks; }

  // The error's weighted power over its plain power, bins 1 .. kBins - 1,
  // with the curve for sample rate `rate`; 0 while there is no error power.
  double WeightingRatio(double rate) const;

 private:
  // Transforms the buffer's two blocks and adds the real part's power to
  // realPower, the imaginary part's to imagPower.
  void TransformPair(std::vector<double>& realPower, std::vector<double>& imagPower);

  std::vector<double> window;        // kSize Hann weights
  std::vector<double> buffer;        // kSize complex values
  std::vector<double> inputPower;    // kBins sums
  std::vector<double> errorPower;    // kBins sums
  std::vector<double> scratchPower;  // the silent partner of a lone block
  std::vector<double> waiting;       // kSize error samples, windowed, when hasWaiting
  std::vector<double> pairPower;     // kSize sums of |Z|² in buffer order, until Flush
  std::vector<int32_t> positions;    // the buffer position of each bin
  bool hasWaiting = false;
  int64_t blocks = 0;
};
