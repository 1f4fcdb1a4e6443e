#include "dsp/shaping_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <vector>

#include "dsp/weighting.h"

namespace {

constexpr double kPi = 3.141592653589793;

std::vector<double> Design(double fs, int32_t blockSize, int order) {
  SpectrumAnalyser weighting;
  SampleArray c;
  DesignShapingFilter(weighting, fs, blockSize, order, c);
  EXPECT_EQ(c.Count(), order);
  return std::vector<double>(c.Data(), c.Data() + c.Count());
}

Matrix MakeMatrix(const std::vector<std::vector<double>>& rows) {
  Matrix m(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(m[i].Resize(static_cast<int32_t>(rows[i].size()), false),
              static_cast<int32_t>(rows[i].size()));
    for (size_t j = 0; j < rows[i].size(); ++j) m[i][static_cast<int32_t>(j)] = rows[i][j];
  }
  return m;
}

// Reference values of the design at 44100 Hz with 1024 points.
TEST(ShapingFilterDesign, GivesTheKnownCoefficientsAt44100) {
  const std::vector<double> one = Design(44100, 1024, 1);
  EXPECT_NEAR(one[0], 0.844447, 5e-7);
  const std::vector<double> two = Design(44100, 1024, 2);
  EXPECT_NEAR(two[0], 1.548881, 5e-7);
  EXPECT_NEAR(two[1], -0.834195, 5e-7);
}

// The prediction-error filter 1 − Σ a[k] z^−(k+1) is what the shaper applies
// to its rounding error: it must be low near 3400 Hz and high near the top.
TEST(ShapingFilterDesign, PushesTheNoiseAwayFrom3400HzTowardsTheTop) {
  const std::vector<double> a = Design(44100, 1024, 9);
  const auto responseDb = [&a](double f) {
    std::complex<double> h = 1.0;
    for (size_t k = 0; k < a.size(); ++k)
      h -= a[k] * std::polar(1.0, -2 * kPi * f / 44100 * (k + 1));
    return 20 * std::log10(std::abs(h));
  };
  EXPECT_LT(responseDb(3400), -20.0);
  EXPECT_GT(responseDb(19000), 15.0);
}

// The design leaves its weighting points in the analyser's ring.
TEST(ShapingFilterDesign, KeepsTheSampledWeightingInTheRing) {
  SpectrumAnalyser weighting;
  SampleArray c;
  DesignShapingFilter(weighting, 44100, 441, 3, c);
  SpectrumAnalyser expected;
  SampleWeighting(expected, 44100, 512);
  ASSERT_EQ(weighting.Ring().Count(), 512);
  for (int i = 0; i < 512; ++i) ASSERT_EQ(weighting.Ring()[i], expected.Ring()[i]) << "i = " << i;
}

// The checksum of every design at three rates, three sizes and orders 1 … 12
// is what the Linux build and both Windows builds produce: the weighting, the
// FFT and the solve use no library function that differs between targets.
TEST(ShapingFilterDesign, CoefficientsAreBitForBitTheSameAsEverywhereElse) {
  uint64_t h = 1469598103934665603ull;
  SpectrumAnalyser weighting;
  SampleArray c;
  for (double fs : {44100.0, 48000.0, 96000.0}) {
    for (int32_t blockSize : {256, 1024, 4096}) {
      for (int order = 1; order <= 12; ++order) {
        DesignShapingFilter(weighting, fs, blockSize, order, c);
        for (int i = 0; i < c.Count(); ++i) {
          const double v = c[i];
          uint64_t bits;
          std::memcpy(&bits, &v, sizeof bits);
          h = (h ^ bits) * 1099511628211ull;
        }
      }
    }
  }
  EXPECT_EQ(h, 0x958dadeecd09142full);
}

// A kept scratch reuses the last autocorrelation only for the same rate and
// size: every step of a walk that changes the order, the size and the rate
// in turn designs what a fresh design gives, and leaves that rate's and
// size's weighting in the ring.
TEST(ShapingFilterDesign, AKeptScratchDesignsAsAFreshDesignWhateverChanges) {
  struct Step {
    double fs;
    int32_t blockSize;
    int order;
  };
  const Step walk[] = {{44100, 512, 9},  {44100, 512, 3},  {44100, 300, 12}, {48000, 512, 12},
                       {48000, 16, 2},   {48000, 16, 9},   {96000, 16, 9},   {44100, 4096, 1},
                       {44100, 4096, 5}, {44100, 4097, 5}, {44100, 512, 12}};
  SpectrumAnalyser weighting;
  ShapingDesignScratch scratch;
  SampleArray c;
  for (const Step& step : walk) {
    DesignShapingFilter(weighting, step.fs, step.blockSize, step.order, c, &scratch);
    EXPECT_EQ(std::vector<double>(c.Data(), c.Data() + c.Count()),
              Design(step.fs, step.blockSize, step.order))
        << step.fs << " Hz, block " << step.blockSize << ", order " << step.order;
    SpectrumAnalyser expected;
    const int32_t n = ShapingDesignSize(step.blockSize, step.order);
    SampleWeighting(expected, step.fs, n);
    ASSERT_EQ(weighting.Ring().Count(), n);
    EXPECT_EQ(std::memcmp(weighting.Ring().Data(), expected.Ring().Data(), sizeof(double) * n), 0);
  }
}

TEST(ShapingFilterDesign, OrderZeroOrNoBlockSizeGivesZerosAndNoSampling) {
  SpectrumAnalyser weighting;
  SampleArray c;
  ASSERT_EQ(c.Resize(5, false), 5);
  c[0] = 3.0;
  DesignShapingFilter(weighting, 44100, 0, 5, c);
  ASSERT_EQ(c.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(c[i], 0.0);
  DesignShapingFilter(weighting, 44100, -1, 5, c);
  EXPECT_EQ(c.Count(), 5);
  DesignShapingFilter(weighting, 44100, 1024, 0, c);
  EXPECT_EQ(c.Count(), 0);
  EXPECT_EQ(weighting.Ring().Count(), 0);
}

TEST(ShapingFilterDesign, UsesPowersOfTwoFrom16To32768AndAtLeast32FromOrder9) {
  const int32_t cases[][3] = {{1, 16, 32},        {16, 16, 32},          {17, 32, 32},
                              {32, 32, 32},       {441, 512, 512},       {1000, 1024, 1024},
                              {4100, 8192, 8192}, {32768, 32768, 32768}, {65536, 32768, 32768}};
  for (const auto& c : cases) {
    EXPECT_EQ(ShapingDesignSize(c[0], 1), c[1]) << "block size " << c[0];
    EXPECT_EQ(ShapingDesignSize(c[0], 8), c[1]) << "block size " << c[0];
    EXPECT_EQ(ShapingDesignSize(c[0], 9), c[2]) << "block size " << c[0];
    EXPECT_EQ(ShapingDesignSize(c[0], 12), c[2]) << "block size " << c[0];
  }
}

// At 16 points orders 1 to 8 read only the first half of the autocorrelation
// and have a design of their own (figures at 44.1 kHz, to four decimals).
// From order 9 the mirrored half would make the matrix indefinite, so those
// orders design at 32.
TEST(ShapingFilterDesign, BlockSize16DesignsAt16UpToOrder8And32Above) {
  const std::vector<double> one = Design(44100, 16, 1);
  EXPECT_NEAR(one[0], 0.9709, 5e-5);
  const std::vector<double> two = Design(44100, 16, 2);
  EXPECT_NEAR(two[0], 1.5562, 5e-5);
  EXPECT_NEAR(two[1], -0.6029, 5e-5);
  for (int order = 1; order <= 12; ++order) {
    const std::vector<double> at16 = Design(44100, 16, order), at32 = Design(44100, 32, order);
    double sum = 0.0;
    for (double v : at16) sum += std::fabs(v);
    EXPECT_TRUE(std::isfinite(sum) && sum > 0.0) << "order " << order;
    if (order <= 8) {
      EXPECT_NE(at16, at32) << "order " << order;
    } else {
      EXPECT_EQ(at16, at32) << "order " << order;
    }
  }
}

// Block sizes the FFT has no size for design at the next power of two.
TEST(ShapingFilterDesign, OddBlockSizesGiveTheDesignOfTheNextPowerOfTwo) {
  const int32_t cases[][2] = {{5, 16},      {441, 512},   {480, 512},
                              {1000, 1024}, {4100, 8192}, {65536, 32768}};
  for (const auto& c : cases) {
    for (int order = 1; order <= 12; ++order) {
      const std::vector<double> odd = Design(48000, c[0], order), even = Design(48000, c[1], order);
      EXPECT_EQ(odd, even) << "block size " << c[0] << ", order " << order;
      double sum = 0.0;
      for (double v : odd) sum += std::fabs(v);
      EXPECT_TRUE(std::isfinite(sum) && sum > 0.0) << "block size " << c[0] << ", order " << order;
    }
  }
}

// At 32 points the mirrored half of the spectrum enters from order 17 and the
// normal matrix stops being positive definite: the design must then leave
// the coefficients zero rather than use a half-factored matrix.
TEST(ShapingFilterDesign, AMatrixThatIsNotPositiveDefiniteLeavesZeros) {
  SpectrumAnalyser weighting;
  SampleArray c;
  DesignShapingFilter(weighting, 44100, 32, 20, c);
  ASSERT_EQ(c.Count(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(c[i], 0.0) << "i = " << i;

  const SampleArray& r = weighting.RealSpectrum();
  std::vector<std::vector<double>> rows(20, std::vector<double>(20));
  for (int i = 0; i < 20; ++i) {
    for (int j = 0; j < 20; ++j) rows[i][j] = r[std::abs(i - j)];
  }
  Matrix m = MakeMatrix(rows);
  EXPECT_FALSE(InvertSpdMatrix(m));
}

TEST(InvertSpdMatrix, InvertsAPositiveDefiniteMatrix) {
  const std::vector<std::vector<double>> a = {{4, 12, -16}, {12, 37, -43}, {-16, -43, 98}};
  Matrix m = MakeMatrix(a);
  ASSERT_TRUE(InvertSpdMatrix(m));
  // Known inverse of this matrix (its Cholesky factor has integer entries).
  const double expected[3][3] = {{49.361111111111111, -13.555555555555556, 2.1111111111111111},
                                 {-13.555555555555556, 3.7777777777777778, -0.55555555555555556},
                                 {2.1111111111111111, -0.55555555555555556, 0.11111111111111111}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(m[i][j], expected[i][j], 1e-12) << i << ", " << j;
  }
}

TEST(InvertSpdMatrix, RejectsMatricesThatAreNotPositiveDefiniteOrNotSquare) {
  Matrix indefinite = MakeMatrix({{1, 2}, {2, 1}});
  EXPECT_FALSE(InvertSpdMatrix(indefinite));
  Matrix singular = MakeMatrix({{1, 1}, {1, 1}});
  EXPECT_FALSE(InvertSpdMatrix(singular));
  Matrix ragged = MakeMatrix({{1, 0}, {0}});
  EXPECT_FALSE(InvertSpdMatrix(ragged));
}

TEST(MultiplyMatrixVector, MultipliesAndStopsAtARowOfTheWrongLength) {
  const Matrix m = MakeMatrix({{1, 2}, {3, 4}, {5}});
  SampleArray v, out;
  ASSERT_EQ(v.Resize(2, false), 2);
  v[0] = 10;
  v[1] = 1;
  EXPECT_FALSE(MultiplyMatrixVector(m, v, out));
  ASSERT_EQ(out.Count(), 3);
  EXPECT_EQ(out[0], 12.0);
  EXPECT_EQ(out[1], 34.0);
  EXPECT_EQ(out[2], 0.0);
  const Matrix square = MakeMatrix({{1, 2}, {3, 4}});
  EXPECT_TRUE(MultiplyMatrixVector(square, v, out));
  EXPECT_EQ(out.Count(), 2);
}

}  // namespace
