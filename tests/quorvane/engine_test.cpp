#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/quorvane/file_job.h"
#include "tools/quorvane/pair_engine.h"

namespace {

constexpr int32_t kBlock = 256;

// A few blocks of two different signals through one engine, planar.
struct Rendered {
  std::vector<double> left, right;
};

Rendered Process(PairEngine& engine, int channels, int blocks = 4) {
  Rendered out;
  std::vector<double> a(kBlock), b(kBlock), ya(kBlock), yb(kBlock);
  for (int n = 0; n < blocks; ++n) {
    for (int j = 0; j < kBlock; ++j) {
      const double t = n * kBlock + j;
      a[j] = 0.5 * std::sin(0.01 * t);
      b[j] = 0.3 * std::sin(0.037 * t + 1.0);
    }
    double* ins[2] = {a.data(), b.data()};
    double* outs[2] = {ya.data(), yb.data()};
    engine.Process(ins, outs, kBlock);
    out.left.insert(out.left.end(), ya.begin(), ya.end());
    if (channels == 2) out.right.insert(out.right.end(), yb.begin(), yb.end());
  }
  return out;
}

}  // namespace

TEST(PairEngine, ListsThePluginsPrograms) {
  const std::vector<ProgramEntry> programs = PairEngine::Programs();
  ASSERT_EQ(programs.size(), 8u);
  EXPECT_EQ(programs[2].number, 2);
  EXPECT_EQ(programs[2].name, "CD render (soft)");
  EXPECT_TRUE(programs[2].settings.dither);
  EXPECT_EQ(programs[2].settings.power, 9);
  EXPECT_EQ(programs[2].settings.bits, 16);
  EXPECT_EQ(programs[1].name, "CD render (hard)");
  EXPECT_FALSE(programs[1].settings.dither);
  EXPECT_EQ(programs[7].name, "-");
}

TEST(PairEngine, WithoutDitherAMonoEngineMatchesAPairsFirstChannel) {
  const DitherSettings settings{false, 9, 16};
  PairEngine mono(1, 44100.0, kBlock, settings, 1);
  PairEngine stereo(2, 44100.0, kBlock, settings, 2);
  const Rendered one = Process(mono, 1);
  const Rendered two = Process(stereo, 2);
  EXPECT_EQ(one.left, two.left);
  EXPECT_NE(two.left, two.right);
  for (double y : two.right) EXPECT_EQ(y * 32768.0, std::floor(y * 32768.0));
}

TEST(PairEngine, TheSeedDecidesTheDither) {
  const DitherSettings settings{true, 9, 16};
  PairEngine a(2, 48000.0, kBlock, settings, 7);
  PairEngine b(2, 48000.0, kBlock, settings, 7);
  PairEngine c(2, 48000.0, kBlock, settings, 8);
  const Rendered ra = Process(a, 2);
  const Rendered rb = Process(b, 2);
  const Rendered rc = Process(c, 2);
  EXPECT_EQ(ra.left, rb.left);
  EXPECT_EQ(ra.right, rb.right);
  EXPECT_NE(ra.left, rc.left);
  EXPECT_NE(GroupSeed(7, 0), GroupSeed(7, 1));
  EXPECT_EQ(GroupSeed(7, 0), 7u);
}

TEST(PairEngine, TheTargetBitsSetTheGrid) {
  PairEngine engine(2, 44100.0, kBlock, DitherSettings{true, 4, 8}, 3);
  const Rendered run = Process(engine, 2);
  bool coarse = false;
  for (double y : run.left) {
    EXPECT_EQ(y * 128.0, std::floor(y * 128.0));
    coarse = coarse || y * 32768.0 != std::floor(y * 128.0) * 256.0;
  }
  EXPECT_FALSE(coarse);
}

TEST(PairEngine, ShapingIsOffAboveNinetySixKilohertz) {
  EXPECT_TRUE(PairEngine(2, 96000.0, kBlock, DitherSettings{true, 9, 16}, 1).ShapingActive());
  EXPECT_FALSE(PairEngine(2, 96001.0, kBlock, DitherSettings{true, 9, 16}, 1).ShapingActive());
  // With the power at off, there is nothing for the rate to switch off.
  EXPECT_TRUE(PairEngine(2, 192000.0, kBlock, DitherSettings{true, 0, 16}, 1).ShapingActive());
}
