#include "tools/measure/error_spectrum.h"

#include <cmath>

#include "dither/fft.h"
#include "dither/weighting.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

ErrorSpectrum::ErrorSpectrum()
    : window(kSize), buffer(2 * kSize), inputPower(kBins), errorPower(kBins) {
  FftInitTables();
  for (int j = 0; j < kSize; ++j) window[j] = 0.5 - 0.5 * std::cos(2.0 * kPi * j / kSize);
}

// Both real blocks go through one complex transform, z = e + i·x. With Z its
// spectrum and W = conj(Z[N - k]):
//   E[k] = (Z[k] + W) / 2,   X[k] = (Z[k] - W) / 2i,
// so |E[k]|² = ((zr + wr)² + (zi - wi)²) / 4 and |X[k]|² = ((zr - wr)² + (zi + wi)²) / 4,
// with W = wr - i·wi written out from Z[N - k] = wr + i·wi.
void ErrorSpectrum::AddBlock(const double* input, const double* error) {
  for (int j = 0; j < kSize; ++j) {
    buffer[2 * j] = error[j] * window[j];
    buffer[2 * j + 1] = input[j] * window[j];
  }
  FftTransform(buffer.data(), kSize, 0);
  const double* z0 = &buffer[2 * FftBinPosition(kSize, 0)];
  errorPower[0] += z0[0] * z0[0];
  inputPower[0] += z0[1] * z0[1];
  for (int k = 1; k < kBins; ++k) {
    const double* z = &buffer[2 * FftBinPosition(kSize, k)];
    const double* w = &buffer[2 * FftBinPosition(kSize, kSize - k)];
    const double er = z[0] + w[0], ei = z[1] - w[1];
    const double xr = z[0] - w[0], xi = z[1] + w[1];
    errorPower[k] += 0.25 * (er * er + ei * ei);
    inputPower[k] += 0.25 * (xr * xr + xi * xi);
  }
  ++blocks;
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
