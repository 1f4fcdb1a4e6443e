#include "dsp/fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;

// Deterministic input in [−0.5, 0.5), the same on every target.
class Lcg {
 public:
  explicit Lcg(uint64_t seed) : state(seed) {}
  double Next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0) - 0.5;
  }

 private:
  uint64_t state;
};

std::vector<double> RandomBuffer(int n, uint64_t seed) {
  Lcg lcg(seed);
  std::vector<double> b(2 * static_cast<size_t>(n));
  for (double& v : b) v = lcg.Next();
  return b;
}

class FftTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { FftInitTables(); }
};

TEST_F(FftTest, ForwardThenInverseGivesNTimesTheInputAtEverySize) {
  for (int n = 2; n <= 32768; n *= 2) {
    const std::vector<double> input = RandomBuffer(n, static_cast<uint64_t>(n));
    std::vector<double> b = input;
    FftTransform(b.data(), n, 0);
    FftTransform(b.data(), n, 1);
    double worst = 0.0;
    for (size_t i = 0; i < b.size(); ++i) worst = std::fmax(worst, std::fabs(b[i] / n - input[i]));
    EXPECT_LT(worst, 1e-14 * std::log2(n) + 1e-15) << "n = " << n;
  }
}

// Every bin of every size that has a position table, against a plain DFT
// X[k] = Σ_j x[j]·e^{−2πijk/n} in long double.
TEST_F(FftTest, EveryBinMatchesAPlainDftThroughTheBinPositions) {
  for (int n = 16; n <= 1024; n *= 2) {
    const std::vector<double> input = RandomBuffer(n, 1000 + static_cast<uint64_t>(n));
    std::vector<double> b = input;
    FftTransform(b.data(), n, 0);
    for (int k = 0; k < n; ++k) {
      long double re = 0, im = 0;
      for (int j = 0; j < n; ++j) {
        const long double a =
            -2.0L * 3.14159265358979323846264338327950288L * ((static_cast<long>(j) * k) % n) / n;
        re += input[2 * j] * std::cos(a) - input[2 * j + 1] * std::sin(a);
        im += input[2 * j] * std::sin(a) + input[2 * j + 1] * std::cos(a);
      }
      const int p = FftBinPosition(n, k);
      ASSERT_NEAR(b[2 * p], static_cast<double>(re), 1e-12 * n) << "n = " << n << ", k = " << k;
      ASSERT_NEAR(b[2 * p + 1], static_cast<double>(im), 1e-12 * n) << "n = " << n << ", k = " << k;
    }
  }
}

// Sizes 4 and 8 have no position table; their order is the documented one:
// positions hold Y[0, 2, 1, 3] and Y[0, 4, 2, 6, 1, 5, 7, 3], Y[m] = X[(n − m) mod n].
TEST_F(FftTest, SmallSizesLeaveTheDocumentedOrder) {
  const std::vector<std::vector<int>> orders = {{0, 2, 1, 3}, {0, 4, 2, 6, 1, 5, 7, 3}};
  for (const std::vector<int>& order : orders) {
    const int n = static_cast<int>(order.size());
    for (int m = 0; m < n; ++m) {
      // x[j] = e^{−2πijm/n} puts n into Y[m] alone.
      std::vector<double> b(2 * n);
      for (int j = 0; j < n; ++j) {
        b[2 * j] = std::cos(2 * kPi * j * m / n);
        b[2 * j + 1] = -std::sin(2 * kPi * j * m / n);
      }
      FftTransform(b.data(), n, 0);
      for (int p = 0; p < n; ++p) {
        EXPECT_NEAR(b[2 * p], order[p] == m ? n : 0.0, 1e-12)
            << "n = " << n << ", m = " << m << ", p = " << p;
        EXPECT_NEAR(b[2 * p + 1], 0.0, 1e-12);
      }
    }
  }
}

TEST_F(FftTest, PositionTablesArePermutationsWithBinZeroFirst) {
  const int expected16[16] = {0, 12, 6, 11, 3, 15, 5, 9, 1, 13, 7, 10, 2, 14, 4, 8};
  for (int k = 0; k < 16; ++k) EXPECT_EQ(FftBinPosition(16, k), expected16[k]) << "k = " << k;
  for (int n = 16; n <= 32768; n *= 2) {
    std::vector<bool> seen(n, false);
    for (int k = 0; k < n; ++k) {
      const int p = FftBinPosition(n, k);
      ASSERT_TRUE(p >= 0 && p < n && !seen[p]) << "n = " << n << ", k = " << k;
      seen[p] = true;
    }
    EXPECT_EQ(FftBinPosition(n, 0), 0);
  }
}

TEST_F(FftTest, ACosineOfOneCycleLandsInBinsOneAndFifteen) {
  std::vector<double> b(32, 0.0);
  for (int j = 0; j < 16; ++j) b[2 * j] = std::cos(2 * kPi * j / 16);
  FftTransform(b.data(), 16, 0);
  for (int p = 0; p < 16; ++p) {
    EXPECT_NEAR(b[2 * p], (p == 12 || p == 8) ? 8.0 : 0.0, 1e-14) << "p = " << p;
    EXPECT_NEAR(b[2 * p + 1], 0.0, 1e-14) << "p = " << p;
  }
  EXPECT_EQ(FftBinPosition(16, 1), 12);
  EXPECT_EQ(FftBinPosition(16, 15), 8);
}

// Above 1024 a plain DFT is slow. The tone x[j] = e^{+2πijk/n} is bin k alone:
// it must land at the position of bin k with height n, and nowhere else.
TEST_F(FftTest, ATonePutInBinKLandsAtItsPositionForEveryLargeSize) {
  for (int n = 2048; n <= 32768; n *= 2) {
    for (int k : {1, 3, n / 8, n / 8 + 1, n / 4 - 1, n / 2 - 1, n - 5}) {
      std::vector<double> b(2 * static_cast<size_t>(n));
      for (int j = 0; j < n; ++j) {
        const double a = 2 * kPi * ((static_cast<int64_t>(j) * k) % n) / n;
        b[2 * j] = std::cos(a);
        b[2 * j + 1] = std::sin(a);
      }
      FftTransform(b.data(), n, 0);
      const int peak = FftBinPosition(n, k);
      for (int p = 0; p < n; ++p) {
        ASSERT_NEAR(b[2 * p], p == peak ? n : 0.0, 1e-9 * n)
            << "n = " << n << ", k = " << k << ", p = " << p;
        ASSERT_NEAR(b[2 * p + 1], 0.0, 1e-9 * n) << "n = " << n << ", k = " << k << ", p = " << p;
      }
    }
  }
}

TEST_F(FftTest, UnsupportedSizesLeaveTheBufferUnchanged) {
  const std::vector<double> input = RandomBuffer(65536, 7);
  for (int n : {-4, 0, 1, 3, 1000, 65536}) {
    std::vector<double> b = input;
    FftTransform(b.data(), n, 0);
    FftTransform(b.data(), n, 1);
    EXPECT_TRUE(b == input) << "n = " << n;
  }
  EXPECT_FALSE(FftHasBinPositions(8));
  EXPECT_FALSE(FftHasBinPositions(1000));
  EXPECT_FALSE(FftHasBinPositions(65536));
  EXPECT_TRUE(FftHasBinPositions(16));
  EXPECT_TRUE(FftHasBinPositions(32768));
}

// The arithmetic of each size is fixed, so the bits are too. The checksum is
// what the Linux build and both Windows builds produce for this input; a
// change of operation order, of a twiddle or of compiler flags (a fused
// multiply-add) changes it. A second FftInitTables must not change it either.
TEST_F(FftTest, ResultsAreBitForBitTheSameAsEverywhereElse) {
  const auto checksum = [] {
    uint64_t h = 1469598103934665603ull, state = 7;
    for (int n = 2; n <= 32768; n *= 2) {
      for (int inverse = 0; inverse < 2; ++inverse) {
        std::vector<double> b(2 * static_cast<size_t>(n));
        for (double& v : b) {
          state = state * 6364136223846793005ull + 1442695040888963407ull;
          v = static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0) - 0.5;
        }
        FftTransform(b.data(), n, inverse);
        for (double v : b) {
          uint64_t bits;
          std::memcpy(&bits, &v, sizeof bits);
          h = (h ^ bits) * 1099511628211ull;
        }
      }
    }
    return h;
  };
  EXPECT_EQ(checksum(), 0xe57505fe946aaf4full);
  FftInitTables();
  EXPECT_EQ(checksum(), 0xe57505fe946aaf4full);
}

}  // namespace
