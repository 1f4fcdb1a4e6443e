#include "dsp/exact_floor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

// The requantiser picks one of the two by processor; both must agree with
// floor everywhere, or the 32-bit build on an older processor would round
// differently from the others.
TEST(ExactFloor, BothFormsAgreeWithFloor) {
  const double edges[] = {0.0,
                          -0.0,
                          0.5,
                          -0.5,
                          1.0,
                          -1.0,
                          0.49999999999999994,
                          -0.49999999999999994,
                          1.5,
                          -1.5,
                          2.5,
                          -2.5,
                          32767.5,
                          -32768.5,
                          4503599627370495.5,
                          -4503599627370495.5,
                          4503599627370496.0,
                          -4503599627370497.0,
                          1e300,
                          -1e300,
                          std::numeric_limits<double>::denorm_min(),
                          -std::numeric_limits<double>::denorm_min()};
  for (double t : edges) {
    EXPECT_EQ(FloorSse2::Of(t), std::floor(t)) << t;
    if (CpuHasSse41()) {
      EXPECT_EQ(FloorSse41::Of(t), std::floor(t)) << t;
    }
  }
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> steps(-2147483648.0 * 4, 2147483648.0 * 4);
  for (int i = 0; i < 200000; ++i) {
    const double t = i % 2 ? steps(random) : std::ldexp(steps(random), -(i % 60));
    ASSERT_EQ(FloorSse2::Of(t), std::floor(t)) << t;
    if (CpuHasSse41()) {
      ASSERT_EQ(FloorSse41::Of(t), std::floor(t)) << t;
    }
  }
}

// The requantiser rounds two channels at once with the two-lane forms; each
// lane must give the very bits of the one-lane form, for the value in it
// whatever the other lane holds.
TEST(ExactFloor, TwoLaneFormsMatchTheOneLaneForms) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> steps(-2147483648.0 * 4, 2147483648.0 * 4);
  const double specials[] = {0.0,
                             -0.0,
                             0.5,
                             -0.5,
                             -1.5,
                             4503599627370495.5,
                             -4503599627370495.5,
                             4503599627370496.0,
                             -4503599627370497.0,
                             1e300,
                             -1e300,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::denorm_min()};
  auto bits = [](double x) {
    uint64_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
  };
  for (int i = 0; i < 100000; ++i) {
    const double lane0 = i < 13 ? specials[i] : std::ldexp(steps(random), -(i % 60));
    const double lane1 = i % 13 == 5 ? specials[i / 13 % 13] : steps(random) / (1 + i % 7);
    double two[2];
    _mm_storeu_pd(two, FloorSse2::Of(_mm_set_pd(lane1, lane0)));
    ASSERT_EQ(bits(two[0]), bits(FloorSse2::Of(lane0))) << lane0;
    ASSERT_EQ(bits(two[1]), bits(FloorSse2::Of(lane1))) << lane1;
    if (CpuHasSse41()) {
      _mm_storeu_pd(two, FloorSse41::Of(_mm_set_pd(lane1, lane0)));
      ASSERT_EQ(bits(two[0]), bits(FloorSse41::Of(lane0))) << lane0;
      ASSERT_EQ(bits(two[1]), bits(FloorSse41::Of(lane1))) << lane1;
    }
  }
}
