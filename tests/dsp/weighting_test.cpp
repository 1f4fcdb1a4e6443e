#include "dsp/weighting.h"

#include <gtest/gtest.h>

#include "dsp/portable_math.h"

namespace {

struct Point {
  double fs;
  double f;
  double db;  // to four decimals
};

// Breakpoints are met exactly; between them the half-cosine blend.
TEST(WeightingCurve, FollowsTheBreakpointsAt44100And96000) {
  const Point points[] = {
      {44100, 0, 10.0},        {44100, -5, 10.0},      {44100, 100, 9.3255}, {44100, 540, 1.8},
      {44100, 1000, 2.2809},   {44100, 2000, -2.8903}, {44100, 3400, -10.0}, {44100, 6200, 2.5},
      {44100, 15500, 24.5},    {44100, 18500, 40.0},   {44100, 22050, 40.0}, {44100, 44100, 40.0},
      {96000, 30000, 24.7084}, {96000, 45600, 0.0},    {96000, 46800, 20.0}, {96000, 48000, 40.0},
      {96000, 90000, 40.0},    {96000, 1000, 2.2809},
  };
  for (const Point& p : points) {
    EXPECT_NEAR(WeightingCurveDb(p.f, p.fs), p.db, 5e-5) << "fs = " << p.fs << ", f = " << p.f;
  }
}

// The dip below 0.475·fs and the rise to 0.5·fs exist only above 48000 Hz.
TEST(WeightingCurve, HasTheHighBreakpointsOnlyAbove48000) {
  EXPECT_EQ(MakeWeightingBreakpoints(48000).count, 7);
  EXPECT_EQ(MakeWeightingBreakpoints(48000.5).count, 9);
  EXPECT_EQ(WeightingCurveDb(22800, 48000), 40.0);
  EXPECT_EQ(WeightingCurveDb(30000, 48000), 40.0);
  EXPECT_NEAR(WeightingCurveDb(45600, 96000), 0.0, 1e-12);
}

// 1024 points at 44100 Hz: every 43.07 Hz from 43.07 Hz up to 44100 Hz.
TEST(WeightingSampling, FillsTheRingWithThePowerAtEveryPointUpToTheSampleRate) {
  SpectrumAnalyser weighting;
  SampleWeighting(weighting, 44100, 1024);
  SampleArray& ring = weighting.Ring();
  ASSERT_EQ(ring.Count(), 1024);
  EXPECT_EQ(weighting.WritePosition(), 0);
  for (int i = 1; i <= 1024; ++i) {
    const double f = i * 44100.0 / 1024;
    ASSERT_EQ(ring[i - 1], PortableExp10(-0.1 * WeightingCurveDb(f, 44100))) << "i = " << i;
    if (f >= 18500) {
      ASSERT_EQ(ring[i - 1], 1e-4) << "i = " << i;
    }
  }
}

}  // namespace
