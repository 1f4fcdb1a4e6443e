#include "tools/quorvane/file_meter.h"

#include <algorithm>
#include <cmath>

FileMeter::FileMeter(int channels, bool inputSpectrum)
    : channels(channels),
      inputSpectrum(inputSpectrum),
      stagedInput(inputSpectrum ? static_cast<size_t>(channels) * ErrorSpectrum::kSize : 0),
      stagedError(static_cast<size_t>(channels) * ErrorSpectrum::kSize) {}

void FileMeter::Add(const double* input, const double* output, size_t stride, int frames) {
  // The stream is staged in analysis blocks; a call may end one and start
  // the next.
  for (int done = 0; done < frames;) {
    const int n = frames - done < ErrorSpectrum::kSize - staged ? frames - done
                                                                : ErrorSpectrum::kSize - staged;
    for (int c = 0; c < channels; ++c) {
      const double* in = input + c * stride + done;
      const double* out = output + c * stride + done;
      double* error = &stagedError[c * ErrorSpectrum::kSize + staged];
      double* clipped = inputSpectrum ? &stagedInput[c * ErrorSpectrum::kSize + staged] : nullptr;
      // Most stretches hold no sample beyond full scale (nor NaN): their
      // error is a plain difference, found in one pass, four samples at a
      // time on four sums so that no sum waits for the one before.
      double sums[4] = {}, largests[4] = {};
      bool beyond = false;
      int j = 0;
      for (; j + 4 <= n; j += 4) {
        for (int k = 0; k < 4; ++k) {
          const double magnitude = std::fabs(in[j + k]);
          beyond = beyond || !(magnitude <= 1.0);
          largests[k] = magnitude > largests[k] ? magnitude : largests[k];
          const double e = out[j + k] - in[j + k];
          sums[k] += e * e;
          error[j + k] = e;
        }
      }
      for (; j < n; ++j) {
        const double magnitude = std::fabs(in[j]);
        beyond = beyond || !(magnitude <= 1.0);
        largests[0] = magnitude > largests[0] ? magnitude : largests[0];
        const double e = out[j] - in[j];
        sums[0] += e * e;
        error[j] = e;
      }
      double squares = (sums[0] + sums[1]) + (sums[2] + sums[3]);
      double largest =
          std::max(std::max(largests[0], largests[1]), std::max(largests[2], largests[3]));
      if (clipped) std::copy(in, in + n, clipped);
      if (beyond) {
        largest = 0.0;
        squares = 0.0;
        for (int j = 0; j < n; ++j) {
          // The requantiser limits its input to full scale (NaN to +1): the
          // error is measured from what it received, the clipping counted
          // apart.
          const double raw = in[j];
          double x = raw;
          if (!(std::fabs(raw) <= 1.0)) {
            ++clippedInput;
            x = raw < -1.0 ? -1.0 : 1.0;
          }
          if (std::fabs(raw) > largest) largest = std::fabs(raw);
          const double e = out[j] - x;
          squares += e * e;
          error[j] = e;
          if (clipped) clipped[j] = x;
        }
      }
      if (largest > peak) peak = largest;
      errorSquares += squares;
    }
    done += n;
    staged += n;
    if (staged == ErrorSpectrum::kSize) AnalyseStaged();
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
