#include "tools/quorvane/file_meter.h"

#include <cmath>

FileMeter::FileMeter(int channels, bool inputSpectrum)
    : channels(channels),
      inputSpectrum(inputSpectrum),
      stagedInput(inputSpectrum ? static_cast<size_t>(channels) * ErrorSpectrum::kSize : 0),
      stagedError(static_cast<size_t>(channels) * ErrorSpectrum::kSize) {}

void FileMeter::Add(const double* input, const double* output, int frames) {
  for (int j = 0; j < frames; ++j) {
    for (int c = 0; c < channels; ++c) {
      const double raw = input[j * channels + c];
      // The requantiser limits its input to full scale (NaN to +1): the
      // error is measured from what it received, the clipping counted apart.
      double x = raw;
      if (!(std::fabs(raw) <= 1.0)) {
        ++clippedInput;
        x = raw < -1.0 ? -1.0 : 1.0;
      }
      if (std::fabs(raw) > peak) peak = std::fabs(raw);
      const double e = output[j * channels + c] - x;
      errorSquares += e * e;
      if (inputSpectrum) stagedInput[c * ErrorSpectrum::kSize + staged] = x;
      stagedError[c * ErrorSpectrum::kSize + staged] = e;
    }
    if (++staged == ErrorSpectrum::kSize) AnalyseStaged();
  }
  samples += static_cast<uint64_t>(frames) * static_cast<uint64_t>(channels);
}

void FileMeter::AnalyseStaged() {
  for (int c = 0; c < channels; ++c) {
    const double* error = &stagedError[c * ErrorSpectrum::kSize];
    if (inputSpectrum) {
      spectrum.AddBlock(&stagedInput[c * ErrorSpectrum::kSize], error);
    } else {
      spectrum.AddErrorBlock(error);
    }
  }
  staged = 0;
}

void FileMeter::Finish() {
  if (spectrum.Blocks() == 0 && staged > 0) {
    for (int j = staged; j < ErrorSpectrum::kSize; ++j) {
      for (int c = 0; c < channels; ++c) {
        if (inputSpectrum) stagedInput[c * ErrorSpectrum::kSize + j] = 0.0;
        stagedError[c * ErrorSpectrum::kSize + j] = 0.0;
      }
    }
    AnalyseStaged();
  }
  spectrum.Flush();
}

double FileMeter::ErrorPower() const {
  return samples > 0 ? errorSquares / static_cast<double>(samples) : 0.0;
}
