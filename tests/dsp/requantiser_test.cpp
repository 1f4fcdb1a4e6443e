// The requantiser alone, with coefficients of the test's choosing: the grid,
// the clip, the shaping recurrence, the averages a display reads, and what an
// empty block or a block without channels leaves.
#include "dsp/requantiser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr double k16Bits = 32768.0;

// Runs one block of two channels through the requantiser.
struct Block {
  Block(std::vector<double> left, std::vector<double> right)
      : in{std::move(left), std::move(right)},
        out{std::vector<double>(in[0].size()), std::vector<double>(in[0].size())} {}
  bool Run(Requantiser& q, int channels) {
    double* ins[2] = {in[0].data(), in[1].data()};
    double* outs[2] = {out[0].data(), out[1].data()};
    return q.ProcessBlock(ins, outs, channels, static_cast<int>(in[0].size()));
  }
  std::vector<double> in[2];
  std::vector<double> out[2];
};

}  // namespace

TEST(Requantiser, WithoutDitherOrShapingItRoundsHalfUpToTheGridAndClips) {
  Requantiser q;
  q.Reset(k16Bits, false, 0, 8);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  Block b({0.5 / k16Bits, -0.5 / k16Bits, 1.49 / k16Bits, 3.0, -3.0, nan},
          {0.0, 0.0, 0.0, 0.0, 0.0, 0.0});
  ASSERT_TRUE(b.Run(q, 2));
  EXPECT_EQ(b.out[0], (std::vector<double>{1.0 / k16Bits, 0.0, 1.0 / k16Bits, 1.0, -1.0, 1.0}));
  // Averages over both channels of the clipped input and of the error; the
  // two prepared frames past the block hold 0.
  const SampleArray& input = q.InputAverage();
  const SampleArray& error = q.ErrorAverage();
  ASSERT_EQ(input.Count(), 8);
  EXPECT_EQ(input[3], 0.5);
  EXPECT_EQ(input[5], 0.5);  // NaN clipped to +1
  EXPECT_EQ(error[0], 0.25 / k16Bits);
  EXPECT_EQ(input[6], 0.0);
  EXPECT_EQ(error[7], 0.0);
}

// The requantisation error of each sample is its rounding error minus the
// coefficients times the errors before it, on every channel independently.
TEST(Requantiser, ShapingFollowsTheErrorFeedbackRecurrence) {
  Requantiser q;
  q.Reset(k16Bits, false, 3, 512);
  SampleArray& a = q.Coefficients();
  ASSERT_EQ(a.Count(), 3);
  a[0] = 1.2;
  a[1] = -0.5;
  a[2] = 0.125;
  std::vector<double> left(512), right(512);
  for (size_t j = 0; j < left.size(); ++j) {
    left[j] = 0.4 * std::sin(0.05 * j) + 1e-6 * (j % 7);
    right[j] = -0.3 * std::cos(0.07 * j);
  }
  Block b(left, right);
  ASSERT_TRUE(b.Run(q, 2));
  for (int c = 0; c < 2; ++c) {
    double e[3] = {0.0, 0.0, 0.0};  // e[k]: error k + 1 frames back
    for (size_t j = 0; j < left.size(); ++j) {
      double v = b.in[c][j];
      for (int k = 0; k < 3; ++k) v = v - a[k] * e[k];
      const double y = std::floor(k16Bits * v + 0.5) / k16Bits;
      ASSERT_EQ(b.out[c][j], y) << c << " " << j;
      e[2] = e[1];
      e[1] = e[0];
      e[0] = y - v;
    }
  }
}

TEST(Requantiser, AnEmptyBlockKeepsTheGainsAndNoChannelsClearTheAverages) {
  Requantiser q;
  q.Reset(k16Bits, true, 0, 4);
  Block loud({0.5, 0.5, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5});
  ASSERT_TRUE(loud.Run(q, 1));
  EXPECT_DOUBLE_EQ(q.Channel(0).ditherGain, 0.7);  // 1 - 0.6 * rms 0.5
  EXPECT_EQ(q.Channel(1).ditherGain, 1.0);         // not processed
  EXPECT_EQ(q.InputAverage()[0], 0.5);

  double* none[2] = {nullptr, nullptr};
  EXPECT_TRUE(q.ProcessBlock(none, none, 2, 0));
  EXPECT_EQ(q.InputAverage()[0], 0.0);
  EXPECT_DOUBLE_EQ(q.Channel(0).ditherGain, 0.7);

  ASSERT_TRUE(loud.Run(q, 1));
  EXPECT_FALSE(loud.Run(q, 0));
  EXPECT_EQ(q.InputAverage()[0], 0.0);
}

// A design that could not have its coefficients leaves fewer than the order:
// blocks then come out silent and change nothing until the next reset.
TEST(Requantiser, WithoutItsCoefficientsABlockIsSilent) {
  Requantiser q;
  q.Reset(k16Bits, false, 2, 4);
  q.Coefficients().Clear();
  Block b({0.25, 0.5, 0.75, 1.0}, {0.25, 0.5, 0.75, 1.0});
  b.out[0].assign(4, 9.0);
  EXPECT_FALSE(b.Run(q, 2));
  EXPECT_EQ(b.out[0], std::vector<double>(4, 0.0));
  EXPECT_EQ(q.Channel(0).historyPos, 0);
  q.Reset(k16Bits, false, 2, 4);
  EXPECT_TRUE(b.Run(q, 2));
  EXPECT_EQ(b.out[0][1], 0.5);
}

// Without a display the averages get no storage, on both schedules, and the
// output is the same bit for bit.
TEST(Requantiser, KeepingNoAveragesChangesNoOutputAndLeavesThemAlone) {
  for (const bool paired : {true, false}) {
    Requantiser with, without;
    without.KeepAverages(false);
    for (Requantiser* q : {&with, &without}) {
      q->Reset(k16Bits, true, 2, 64);
      q->Coefficients()[0] = 0.9;
      q->Coefficients()[1] = -0.2;
      q->Random().SeedState(7);
      q->Random().Regenerate();
    }
    std::vector<double> left(64), right(64);
    for (size_t j = 0; j < left.size(); ++j) {
      left[j] = 0.3 * std::sin(0.1 * j);
      right[j] = 0.2 * std::cos(0.13 * j);
    }
    Block a(left, right), b(left, right);
    double* insA[2] = {a.in[0].data(), a.in[1].data()};
    double* outsA[2] = {a.out[0].data(), a.out[1].data()};
    double* insB[2] = {b.in[0].data(), b.in[1].data()};
    double* outsB[2] = {b.out[0].data(), b.out[1].data()};
    for (int block = 0; block < 3; ++block) {
      ASSERT_TRUE(paired ? with.ProcessBlock(insA, outsA, 2, 64)
                         : with.ProcessBlockPerChannel(insA, outsA, 2, 64));
      ASSERT_TRUE(paired ? without.ProcessBlock(insB, outsB, 2, 64)
                         : without.ProcessBlockPerChannel(insB, outsB, 2, 64));
      EXPECT_EQ(a.out[0], b.out[0]);
      EXPECT_EQ(a.out[1], b.out[1]);
    }
    EXPECT_NE(with.InputAverage()[5], 0.0);
    EXPECT_EQ(without.InputAverage().Count(), 0);
    EXPECT_EQ(without.ErrorAverage().Count(), 0);
  }
}
