#include "dsp/portable_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Distance in units in the last place between two finite doubles of one sign.
int64_t UlpDistance(double a, double b) {
  int64_t ia, ib;
  std::memcpy(&ia, &a, sizeof a);
  std::memcpy(&ib, &b, sizeof b);
  return ia > ib ? ia - ib : ib - ia;
}

// The C library is accurate to about one unit in the last place; ours must
// never be further than that from it over the ranges the engine uses.
TEST(PortableMath, AgreesWithTheCLibraryToOneUlp) {
  for (int i = -20000; i <= 20000; ++i) {
    const double x = i * 0.001;  // ±20 rad
    const double c = std::cos(x), s = std::sin(x);
    // Near a zero of the function compare absolutely instead.
    if (std::fabs(c) > 1e-3) {
      ASSERT_LE(UlpDistance(PortableCos(x), c), 1) << "cos " << x;
    } else {
      ASSERT_NEAR(PortableCos(x), c, 1e-18) << "cos " << x;
    }
    if (std::fabs(s) > 1e-3) {
      ASSERT_LE(UlpDistance(PortableSin(x), s), 1) << "sin " << x;
    } else {
      ASSERT_NEAR(PortableSin(x), s, 1e-18) << "sin " << x;
    }
  }
  for (int i = -30000; i <= 30800; ++i) {
    const double x = i * 0.01;
    ASSERT_LE(UlpDistance(PortableExp10(x), std::pow(10.0, x)), 1) << "exp10 " << x;
  }
  for (double x = 1e-300; x < 1e300; x *= 1.0137) {
    ASSERT_LE(UlpDistance(PortableLog(x), std::log(x)), 1) << "log " << x;
  }
}

// Arguments from the FFT twiddle tables where a C library rounds the wrong way
// (checked against a 200-bit evaluation): ours gives the nearest double.
TEST(PortableMath, RoundsToTheNearestDoubleWhereALibraryDoesNot) {
  EXPECT_EQ(PortableSin(27 * (6.283185307179586 / 1024)), 0x1.51bdf8597c5f1p-3);
  EXPECT_EQ(PortableCos(0x1.687f6d00b1e6dp+0), 0x1.4b8b17f79fa8bp-3);
  EXPECT_EQ(PortableCos(0.0), 1.0);
  EXPECT_EQ(PortableSin(0.0), 0.0);
  EXPECT_EQ(PortableExp10(0.0), 1.0);
  EXPECT_EQ(PortableExp10(1.0), 10.0);
  EXPECT_EQ(PortableExp10(-1.0), 0.1);
  EXPECT_EQ(PortableExp10(-4.0), 1e-4);
  EXPECT_EQ(PortableExp10(22.0), 1e22);
  EXPECT_EQ(PortableLog(1.0), 0.0);
  EXPECT_EQ(PortableLog(2.0), 0x1.62e42fefa39efp-1);
}

TEST(PortableMath, HandlesSpecialArguments) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(std::isnan(PortableCos(inf)));
  EXPECT_TRUE(std::isnan(PortableSin(nan)));
  EXPECT_EQ(PortableExp10(400.0), inf);
  EXPECT_EQ(PortableExp10(-400.0), 0.0);
  EXPECT_TRUE(std::isfinite(PortableExp10(308.25)));
  EXPECT_TRUE(std::isnan(PortableExp10(nan)));
  EXPECT_EQ(PortableLog(0.0), -inf);
  EXPECT_TRUE(std::isnan(PortableLog(-1.0)));
  EXPECT_EQ(PortableLog(inf), inf);
  EXPECT_NEAR(PortableLog(0x1p-1060), -1060 * 0.6931471805599453, 1e-12);
}

}  // namespace
