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
      waiting(2 * kSize),
      inputPower(kBins),
      errorPower(kBins),
      inputSums(kSize),
      errorSums(kSize),
      positions(kSize) {
  FftInitTables();
  for (int k = 0; k < kSize; ++k) positions[k] = FftBinPosition(kSize, k);
  for (int j = 0; j < kSize; ++j) window[j] = 0.5 - 0.5 * std::cos(2.0 * kPi * j / kSize);
}

void ErrorSpectrum::TransformInto(double* pair, std::vector<double>& sums) {
  FftTransform(pair, kSize, 0);
  for (int p = 0; p < kSize; ++p)
    sums[p] += pair[2 * p] * pair[2 * p] + pair[2 * p + 1] * pair[2 * p + 1];
}

void ErrorSpectrum::AddWindowedErrors(double* pair, int count) {
  TransformInto(pair, errorSums);
  blocks += count;
}

void ErrorSpectrum::AddWindowedInputs(double* pair) { TransformInto(pair, inputSums); }

void ErrorSpectrum::AddErrorBlock(const double* error) {
  const int lane = hasWaiting ? 1 : 0;
  for (int j = 0; j < kSize; ++j) waiting[2 * j + lane] = error[j] * window[j];
  hasWaiting = !hasWaiting;
  ++blocks;
  if (!hasWaiting) TransformInto(waiting.data(), errorSums);
}

void ErrorSpectrum::Fold(std::vector<double>& sums, std::vector<double>& power) const {
  for (int k = 0; k < kBins; ++k) {
    power[k] += 0.5 * (sums[positions[k]] + sums[positions[(kSize - k) % kSize]]);
  }
  std::fill(sums.begin(), sums.end(), 0.0);
}

void ErrorSpectrum::Flush() {
  if (hasWaiting) {
    for (int j = 0; j < kSize; ++j) waiting[2 * j + 1] = 0.0;
    hasWaiting = false;
    TransformInto(waiting.data(), errorSums);
  }
  Fold(errorSums, errorPower);
  Fold(inputSums, inputPower);
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
