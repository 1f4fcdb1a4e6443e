#include "tools/measure/error_analysis.h"

#include <algorithm>
#include <cmath>

#include "dsp/fft.h"
#include "dsp/weighting.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

ErrorSpectrum::ErrorSpectrum()
    : window(kSize),
      buffer(2 * kSize),
      inputPower(kBins),
      errorPower(kBins),
      scratchPower(kBins),
      waiting(kSize),
      pairPower(kSize),
      positions(kSize) {
  FftInitTables();
  for (int k = 0; k < kSize; ++k) positions[k] = FftBinPosition(kSize, k);
  for (int j = 0; j < kSize; ++j) window[j] = 0.5 - 0.5 * std::cos(2.0 * kPi * j / kSize);
}

// Two real blocks go through one complex transform, z = a + i·b. With Z its
// spectrum and W = conj(Z[N - k]):
//   A[k] = (Z[k] + W) / 2,   B[k] = (Z[k] - W) / 2i,
// so |A[k]|² = ((zr + wr)² + (zi - wi)²) / 4 and |B[k]|² = ((zr - wr)² + (zi + wi)²) / 4,
// with W = wr - i·wi written out from Z[N - k] = wr + i·wi. The buffer holds
// the windowed a and b as real and imaginary parts.
void ErrorSpectrum::TransformPair(std::vector<double>& realPower, std::vector<double>& imagPower) {
  FftTransform(buffer.data(), kSize, 0);
  const double* z0 = &buffer[2 * positions[0]];
  realPower[0] += z0[0] * z0[0];
  imagPower[0] += z0[1] * z0[1];
  for (int k = 1; k < kBins; ++k) {
    const double* z = &buffer[2 * positions[k]];
    const double* w = &buffer[2 * positions[kSize - k]];
    const double ar = z[0] + w[0], ai = z[1] - w[1];
    const double br = z[0] - w[0], bi = z[1] + w[1];
    realPower[k] += 0.25 * (ar * ar + ai * ai);
    imagPower[k] += 0.25 * (br * br + bi * bi);
  }
}

void ErrorSpectrum::AddBlock(const double* input, const double* error) {
  for (int j = 0; j < kSize; ++j) {
    buffer[2 * j] = error[j] * window[j];
    buffer[2 * j + 1] = input[j] * window[j];
  }
  TransformPair(errorPower, inputPower);
  ++blocks;
}

void ErrorSpectrum::AddErrorBlock(const double* error) {
  ++blocks;
  if (!hasWaiting) {
    for (int j = 0; j < kSize; ++j) waiting[j] = error[j] * window[j];
    hasWaiting = true;
    return;
  }
  for (int j = 0; j < kSize; ++j) {
    buffer[2 * j] = waiting[j];
    buffer[2 * j + 1] = error[j] * window[j];
  }
  hasWaiting = false;
  // Both blocks go to the error's power: |A[k]|² + |B[k]|² is
  // (|Z[k]|² + |Z[N - k]|²) / 2, so the transform's power is summed where
  // it lies in the buffer, and moved to the bins at Flush.
  FftTransform(buffer.data(), kSize, 0);
  for (int p = 0; p < kSize; ++p)
    pairPower[p] += buffer[2 * p] * buffer[2 * p] + buffer[2 * p + 1] * buffer[2 * p + 1];
}

void ErrorSpectrum::Flush() {
  if (hasWaiting) {
    for (int j = 0; j < kSize; ++j) {
      buffer[2 * j] = waiting[j];
      buffer[2 * j + 1] = 0.0;
    }
    hasWaiting = false;
    TransformPair(errorPower, scratchPower);
  }
  for (int k = 0; k < kBins; ++k) {
    errorPower[k] += 0.5 * (pairPower[positions[k]] + pairPower[positions[(kSize - k) % kSize]]);
  }
  std::fill(pairPower.begin(), pairPower.end(), 0.0);
}

double ErrorSpectrum::WeightingRatio(double rate) const {
  const WeightingBreakpoints curve = MakeWeightingBreakpoints(rate);
  double plain = 0.0;
  double weighted = 0.0;
  for (int k = 1; k < kBins; ++k) {
    const double weight = std::pow(10.0, -0.1 * WeightingLevelDb(curve, k * rate / kSize));
    plain += errorPower[k];
    weighted += errorPower[k] * weight;
  }
  return plain > 0.0 ? weighted / plain : 0.0;
}
