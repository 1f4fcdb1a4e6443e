#include "dsp/analyser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;

std::vector<double> Ramp(int n, double start) {
  std::vector<double> v(n);
  for (int i = 0; i < n; ++i) v[i] = start + i;
  return v;
}

std::vector<double> RingContents(SpectrumAnalyser& a) {
  SampleArray& ring = a.Ring();
  return std::vector<double>(ring.Data(), ring.Data() + ring.Count());
}

TEST(SpectrumAnalyserAppend, StoresOnlyTheFirstRingSizeSamplesOfALongBlock) {
  SpectrumAnalyser a;
  ASSERT_TRUE(a.ResetRing(4));
  const std::vector<double> block = Ramp(10, 1.0);
  a.AppendSamples(block.data(), 10);
  EXPECT_EQ(RingContents(a), (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(a.WritePosition(), 4);
}

TEST(SpectrumAnalyserAppend, WrapsAtTheEndOfTheRing) {
  SpectrumAnalyser a;
  ASSERT_TRUE(a.ResetRing(8));
  const std::vector<double> first = Ramp(6, 1.0), second = Ramp(4, 11.0);
  a.AppendSamples(first.data(), 6);
  a.AppendSamples(second.data(), 4);
  EXPECT_EQ(RingContents(a), (std::vector<double>{13, 14, 3, 4, 5, 6, 11, 12}));
  EXPECT_EQ(a.WritePosition(), 2);
}

// Filling the free space exactly leaves the write position at the ring size;
// the next append starts at 0, and an analysis reads from position 0 on.
TEST(SpectrumAnalyserAppend, AWritePositionEqualToTheSizeReadsLikeZero) {
  SpectrumAnalyser a;
  ASSERT_TRUE(a.ResetRing(16));
  std::vector<double> impulse(16, 0.0);
  impulse[0] = 1.0;
  a.AppendSamples(impulse.data(), 16);
  EXPECT_EQ(a.WritePosition(), 16);
  // The oldest sample is the impulse, so the spectrum is flat and real.
  const SampleArray& re = a.RealSpectrum();
  for (int k = 0; k < 16; ++k) EXPECT_DOUBLE_EQ(re[k], 1.0 / 256) << "k = " << k;

  const double one = 7.0;
  a.AppendSamples(&one, 1);
  EXPECT_EQ(a.Ring()[0], 7.0);
  EXPECT_EQ(a.WritePosition(), 1);
}

// After a wrap the oldest sample sits at the write position. An impulse d
// samples after the oldest gives X[k] = e^{−2πidk/N}: real cos, imaginary
// −sin, with the second half mirroring the first (index N − 1 − k).
TEST(SpectrumAnalyserSpectrum, ReadsTheRingOldestFirstAndMirrorsTheSecondHalf) {
  SpectrumAnalyser a;
  ASSERT_TRUE(a.ResetRing(16));
  std::vector<double> block(10, 0.0);
  a.AppendSamples(block.data(), 10);
  block[6] = 1.0;  // lands at position 0; oldest is position 4, so d = 12
  a.AppendSamples(block.data(), 10);
  const SampleArray& re = a.RealSpectrum();
  ASSERT_EQ(re.Count(), 16);
  for (int k = 0; k < 8; ++k) {
    const double angle = 2 * kPi * 12 * k / 16;
    EXPECT_NEAR(re[k], std::cos(angle) / 256, 1e-15) << "k = " << k;
    EXPECT_EQ(re[15 - k], re[k]);
  }
}

TEST(SpectrumAnalyserSpectrum, SizesWithoutAnFftGiveZeros) {
  SpectrumAnalyser a;
  EXPECT_EQ(a.RealSpectrum().Count(), 0);
  EXPECT_EQ(a.MagnitudeSpectrum().Count(), 0);
  ASSERT_TRUE(a.ResetRing(10));
  const std::vector<double> block = Ramp(10, 1.0);
  a.AppendSamples(block.data(), 10);
  const SampleArray& re = a.RealSpectrum();
  ASSERT_EQ(re.Count(), 10);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(re[k], 0.0);
  SampleArray& mag = a.MagnitudeSpectrum();
  ASSERT_EQ(mag.Count(), 5);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(mag[k], 0.0);
}

// A constant 1 gives |X[0]| = Σ window = 0.42·N − 0.42 for the Blackman window
// over N points (its cosines sum to 1 each), so magnitude[0] = that / √N.
TEST(SpectrumAnalyserMagnitude, AppliesTheBlackmanWindowAndScalesByRootN) {
  SpectrumAnalyser a;
  const int n = 4096;
  ASSERT_TRUE(a.ResetRing(n));
  const std::vector<double> ones(n, 1.0);
  a.AppendSamples(ones.data(), n);
  SampleArray& mag = a.MagnitudeSpectrum();
  ASSERT_EQ(mag.Count(), n / 2);
  EXPECT_NEAR(mag[0], (0.42 * n - 0.42) / std::sqrt(n), 1e-9);
}

TEST(SpectrumAnalyserMagnitude, ATonePeaksAtItsBin) {
  SpectrumAnalyser a;
  const int n = 4096;
  ASSERT_TRUE(a.ResetRing(n));
  std::vector<double> tone(n);
  for (int i = 0; i < n; ++i) tone[i] = std::sin(2 * kPi * 300 * i / n);
  a.AppendSamples(tone.data(), n);
  const SampleArray& mag = a.MagnitudeSpectrum();
  int peak = 0;
  for (int k = 1; k < n / 2; ++k) {
    if (mag[k] > mag[peak]) peak = k;
  }
  EXPECT_EQ(peak, 300);
  // At the centre half the window's sum, over √N; far bins negligible.
  EXPECT_NEAR(mag[300], (0.42 * n - 0.42) / 2 / std::sqrt(n), 1e-4);
  EXPECT_LT(mag[320], 1e-6 * mag[300]);
}

// The warp, computed in place downwards, must equal the same formula applied
// from an untouched copy: that holds only if no changed value is read.
TEST(SpectrumAnalyserWarp, ReadsOnlyValuesNotYetChanged) {
  for (int m : {2, 8, 100, 2048}) {
    SpectrumAnalyser a;
    SampleArray v;
    ASSERT_EQ(v.Resize(m, false), m);
    for (int i = 0; i < m; ++i) v[i] = 1.0 + std::fmod(i * 0.618, 1.0);
    std::vector<double> original(v.Data(), v.Data() + m), expected(m);
    double previous = 0.0;
    for (int j = 0; j < m; ++j) {
      const double position = (1.0 - std::log(m - j) / std::log(m)) * m;
      const int k = static_cast<int>(position);
      const double t = position - k;
      const double value = j == m - 1 ? original[j] : (1.0 - t) * original[k] + t * original[k + 1];
      expected[j] = j == m - 1 ? value : value * std::sqrt(position - previous);
      previous = position;
    }
    a.WarpSpectrum(v);
    for (int j = 0; j < m; ++j)
      ASSERT_NEAR(v[j], expected[j], 1e-9 * expected[j] + 1e-12) << "m = " << m << ", j = " << j;
    EXPECT_EQ(v[m - 1], original[m - 1]);
  }
}

}  // namespace
