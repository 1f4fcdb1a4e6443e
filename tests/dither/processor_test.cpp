#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "support/test_host.h"

namespace {

class ProcessorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Install();
    plug = OpenPlugin();
    Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(plug, effSetBlockSize, 0, 1024);
  }
  void TearDown() override { ClosePlugin(plug); }

  void Set(int index, float normalised) {
    RecordOf(plug)->setParameter(RecordOf(plug), index, normalised);
  }
  // Runs one block through the double callback; both channels get `in`.
  std::vector<double> Run(const std::vector<double>& in, std::vector<double>* right = nullptr) {
    std::vector<double> left = in, r = in, outLeft(in.size()), outRight(in.size());
    double* ins[2] = {left.data(), r.data()};
    double* outs[2] = {outLeft.data(), outRight.data()};
    RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs,
                                           static_cast<int32_t>(in.size()));
    if (right) *right = outRight;
    return outLeft;
  }

  DitherPlugin* plug = nullptr;
};

bool OnGrid(double y, double scale) {
  const double steps = y * scale;
  return std::isfinite(y) && steps == std::floor(steps);
}

}  // namespace

TEST_F(ProcessorTest, PlainRequantisationRoundsHalfUp) {
  Set(kParamShaping, 0.0f);
  const double step = 1.0 / 32768.0;
  const auto out = Run({0.5 * step, -0.5 * step, 0.49 * step, 1.0, 1.5, -3.0,
                        std::numeric_limits<double>::quiet_NaN(),
                        -std::numeric_limits<double>::infinity(), 1e300, 0.3});
  EXPECT_EQ(out[0], step);
  EXPECT_EQ(out[1], 0.0);
  EXPECT_EQ(out[2], 0.0);
  EXPECT_EQ(out[3], 1.0);  // one step above the largest code: not limited
  EXPECT_EQ(out[4], 1.0);
  EXPECT_EQ(out[5], -1.0);
  EXPECT_EQ(out[6], 1.0);  // NaN counts as full scale
  EXPECT_EQ(out[7], -1.0);
  EXPECT_EQ(out[8], 1.0);
  EXPECT_EQ(out[9], std::floor(0.3 * 32768.0 + 0.5) / 32768.0);
}

TEST_F(ProcessorTest, TargetBitsSetTheGrid) {
  Set(kParamTargetBits, 0.0f);
  EXPECT_EQ(plug->QuantScale(), 32.0);
  Set(kParamTargetBits, 1.0f);
  EXPECT_EQ(plug->QuantScale(), 2147483648.0);
  // Far below the range the grid stops at one bit instead of vanishing.
  Set(kParamTargetBits, -1e6f);
  EXPECT_EQ(plug->QuantScale(), 1.0);
  for (double y : Run(std::vector<double>(64, 0.3))) EXPECT_TRUE(OnGrid(y, 1.0));
}

TEST_F(ProcessorTest, TriangularDitherOnSilenceStaysWithinOneStep) {
  Set(kParamShaping, 0.0f);
  Set(kParamDither, 1.0f);
  const auto out = Run(std::vector<double>(8192, 0.0));
  int zeros = 0;
  for (double y : out) {
    const double steps = y * 32768.0;
    ASSERT_TRUE(steps == -1.0 || steps == 0.0 || steps == 1.0) << steps;
    zeros += steps == 0.0;
  }
  // Triangular dither in [-1, 1] plus one half rounds to 0 three times in four;
  // a sum of the two words that wrapped at 32 bits would give 0 only half the time.
  EXPECT_NEAR(zeros / 8192.0, 0.75, 0.03);
}

TEST_F(ProcessorTest, DitherGainFollowsThePreviousBlockLevel) {
  Set(kParamDither, 1.0f);
  std::vector<double> square(512);
  for (size_t j = 0; j < square.size(); ++j) square[j] = j % 2 ? 1.0 : -1.0;
  Run(square);
  EXPECT_DOUBLE_EQ(plug->Channel(0).ditherGain, 0.4);
  EXPECT_DOUBLE_EQ(plug->Channel(1).ditherGain, 0.4);
  Run({});  // an empty block changes nothing
  EXPECT_DOUBLE_EQ(plug->Channel(0).ditherGain, 0.4);
  Run(std::vector<double>(512, 0.0));
  EXPECT_DOUBLE_EQ(plug->Channel(0).ditherGain, 1.0);
}

TEST_F(ProcessorTest, ShapingRateLimit) {
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_EQ(plug->ShapingOrder(), 9);
  for (float rate :
       {96000.5f, 176400.0f, 192000.0f, 0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN()}) {
    Dispatch(plug, effSetSampleRate, 0, 0, nullptr, rate);
    EXPECT_EQ(plug->ShapingOrder(), 0) << rate;
    EXPECT_FALSE(plug->ShapingOn());
  }
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Set(kParamShaping, 0.0f);
  EXPECT_EQ(plug->ShapingOrder(), 0);
}

// Replays the shaper with its own state and the plug-in's coefficients: the
// requantisation error of each sample is its rounding error minus the
// coefficients times the errors before it.
TEST_F(ProcessorTest, ShapedOutputMatchesTheErrorFeedbackRecurrence) {
  Set(kParamShaping, 3.0f / 12.0f);
  ASSERT_EQ(plug->ShapingOrder(), 3);
  const SampleArray& a = plug->Coefficients();
  ASSERT_EQ(a.Count(), 3);
  ASSERT_NE(a[0], 0.0);
  std::vector<double> in(1024);
  for (size_t j = 0; j < in.size(); ++j) in[j] = 0.4 * std::sin(0.05 * j) + 1e-6 * (j % 7);
  const auto out = Run(in);
  double e[3] = {0.0, 0.0, 0.0};  // e[k]: error k + 1 frames back
  for (size_t j = 0; j < in.size(); ++j) {
    double v = in[j];
    for (int k = 0; k < 3; ++k) v = v - a[k] * e[k];
    const double y = std::floor(32768.0 * v + 0.0 + 0.5) / 32768.0;
    ASSERT_EQ(out[j], y) << j;
    e[2] = e[1];
    e[1] = e[0];
    e[0] = y - v;
  }
}

TEST_F(ProcessorTest, TheEngineDesignsItsFilterForRateAndBlockSize) {
  Set(kParamShaping, 1.0f / 12.0f);
  ASSERT_EQ(plug->Coefficients().Count(), 1);
  EXPECT_NEAR(plug->Coefficients()[0], 0.844447, 5e-7);
  Set(kParamShaping, 2.0f / 12.0f);
  EXPECT_NEAR(plug->Coefficients()[0], 1.548881, 5e-7);
  EXPECT_NEAR(plug->Coefficients()[1], -0.834195, 5e-7);
  // A host's odd block size designs on the next power of two.
  Dispatch(plug, effSetBlockSize, 0, 1000);
  EXPECT_NEAR(plug->Coefficients()[0], 1.548881, 5e-7);
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 192000.0f);
  EXPECT_EQ(plug->Coefficients().Count(), 0);
}

TEST_F(ProcessorTest, OnlyTheFirstTwoChannelsAreProcessed) {
  SpeakerArrangement three = {0, 3};
  Dispatch(plug, effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&three), &three);
  std::vector<double> in(16, 0.25), out0(16), out1(16), out2(16, 7.0);
  double* ins[3] = {in.data(), in.data(), in.data()};
  double* outs[3] = {out0.data(), out1.data(), out2.data()};
  RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs, 16);
  EXPECT_EQ(out0[5], 0.25);
  EXPECT_EQ(out1[5], 0.25);
  EXPECT_EQ(out2[5], 7.0);
}

TEST_F(ProcessorTest, BlocksLongerThanAnnouncedAreProcessedWhole) {
  Set(kParamDither, 1.0f);
  std::vector<double> in(5000);
  for (size_t j = 0; j < in.size(); ++j) in[j] = 0.7 * std::sin(0.001 * j);
  std::vector<double> right;
  const auto out = Run(in, &right);
  for (size_t j = 0; j < in.size(); ++j) {
    ASSERT_TRUE(OnGrid(out[j], 32768.0)) << j;
    ASSERT_LE(std::fabs(out[j] - in[j]), 64.0 / 32768.0) << j;
  }
}

TEST(Processor, WorksBeforeTheHostSetsAnything) {
  TestHost::Install();
  auto* plug = NewPlugin();
  std::vector<double> in(300, 0.123456), out(300);
  double* ins[2] = {in.data(), in.data()};
  double* outs[2] = {out.data(), out.data()};
  RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs, 300);
  for (double y : out) EXPECT_EQ(y, std::floor(0.123456 * 32768.0 + 0.5) / 32768.0);
  ClosePlugin(plug);
}

// Some hosts announce absurd block sizes; preparing for one must not ask for
// gigabytes. The accumulators stop at the limit, and a real block still runs.
TEST_F(ProcessorTest, HugeAnnouncedBlockSizesPrepareAtMostTheLimit) {
  Dispatch(plug, effSetBlockSize, 0, 441);
  EXPECT_EQ(plug->PreparedFrames(), 441);
  for (intptr_t announced : {intptr_t{kMaxPreparedFrames} + 1, intptr_t{INT32_MAX}}) {
    Dispatch(plug, effSetBlockSize, 0, announced);
    EXPECT_EQ(plug->PreparedFrames(), kMaxPreparedFrames) << announced;
  }
  Set(kParamShaping, 0.0f);
  const auto out = Run(std::vector<double>(512, 0.5 / 32768.0));
  EXPECT_EQ(out[511], 1.0 / 32768.0);
}

// A host that passes two inputs but only one output: the second output is
// never written, and the first is requantised as usual.
TEST_F(ProcessorTest, TwoInputsAndOneOutputWriteOnlyTheOutputGiven) {
  Set(kParamShaping, 0.0f);
  plug->SetChannelsInUse(2, 1);
  std::vector<double> left(64, 0.3), right(64, -0.3), out(64, 7.0);
  double* ins[2] = {left.data(), right.data()};
  double* outs[2] = {out.data(), nullptr};
  {
    LockGuard guard(&plug->Lock());
    plug->ProcessBlock(ins, outs, 64);
  }
  for (double y : out) EXPECT_EQ(y, std::floor(0.3 * 32768.0 + 0.5) / 32768.0);
}
