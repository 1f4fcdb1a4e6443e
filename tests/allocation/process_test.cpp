// Blocks whose storage cannot be had, on every audio path: the block comes
// out silent (the accumulating path adds nothing), and neither the engine,
// the generator nor the display moves. Where the cap can be lifted, the same
// block is then processed.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "allocation/allocation_limit.h"
#include "dither/editor/level_bar.h"
#include "dither/editor/response_graph.h"
#include "support/test_host.h"

namespace {

// A host channel of doubles for this block (8 MiB and a sample) fits under
// the cap; the accumulators for it (grown to 2^21 doubles each) and the
// scratch channels (two channels in one block) do not.
constexpr int32_t kLongBlock = (1 << 20) + 1;
static_assert(8.0 * kLongBlock < (kLargestRequestMb << 20) &&
                  8.0 * (1 << 21) > (kLargestRequestMb << 20),
              "the block must straddle the cap");

class AllocationFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Install();
    plug = OpenPlugin();
    Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(plug, effSetBlockSize, 0, 512);
    RecordOf(plug)->setParameter(RecordOf(plug), kParamDither, 1.0f);
    // A first block moves the gains and the display away from their resets.
    std::vector<double> in(512, 0.5), out(512);
    double* ins[2] = {in.data(), in.data()};
    double* outs[2] = {out.data(), out.data()};
    RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs, 512);
    Remember();
  }
  void TearDown() override { ClosePlugin(plug); }

  void Remember() {
    gain = plug->Channel(0).ditherGain;
    written = EditorOf(plug)->InputGraph()->Analyser().WritePosition();
    level = EditorOf(plug)->GetLevelBar()->Value();
    generator = plug->Random();
  }
  // Nothing of the engine or the display moved since Remember.
  void ExpectUntouched() {
    EXPECT_EQ(plug->Channel(0).ditherGain, gain);
    EXPECT_EQ(EditorOf(plug)->InputGraph()->Analyser().WritePosition(), written);
    EXPECT_EQ(EditorOf(plug)->GetLevelBar()->Value(), level);
    EXPECT_EQ(plug->Random().NextWord(), generator.NextWord());
  }

  template <typename Sample>
  static bool AllEqual(const std::vector<Sample>& v, Sample value) {
    for (Sample s : v) {
      if (s != value) return false;
    }
    return true;
  }

  DitherPlugin* plug = nullptr;
  double gain = 0.0;
  int32_t written = 0;
  double level = 0.0;
  MtRandom generator;
};

}  // namespace

TEST_F(AllocationFailure, TheCapHolds) {
  AllocationLimit cap;
  void* volatile large = std::malloc(static_cast<size_t>(2 * kLargestRequestMb) << 20);
  EXPECT_EQ(large, nullptr);
  std::free(large);
}

TEST_F(AllocationFailure, ADoubleBlockLongerThanPreparedComesOutSilent) {
  std::vector<double> in(kLongBlock, 0.25), left(kLongBlock, 7.0), right(kLongBlock, 7.0);
  double* ins[2] = {in.data(), in.data()};
  double* outs[2] = {left.data(), right.data()};
  {
    AllocationLimit cap;
    RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs, kLongBlock);
  }
  EXPECT_TRUE(AllEqual(left, 0.0));
  EXPECT_TRUE(AllEqual(right, 0.0));
  ExpectUntouched();
  if (!AllocationLimit::Lifts()) return;
  RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs, kLongBlock);
  EXPECT_NE(left[kLongBlock - 1], 0.0);
  EXPECT_NE(plug->Channel(0).ditherGain, gain);
}

TEST_F(AllocationFailure, AFloatBlockWithoutScratchComesOutSilent) {
  std::vector<float> in(kLongBlock, 0.25f), left(kLongBlock, 7.0f), right(kLongBlock, 7.0f);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {left.data(), right.data()};
  {
    AllocationLimit cap;
    RecordOf(plug)->processReplacing(RecordOf(plug), ins, outs, kLongBlock);
  }
  EXPECT_TRUE(AllEqual(left, 0.0f));
  EXPECT_TRUE(AllEqual(right, 0.0f));
  ExpectUntouched();
  if (!AllocationLimit::Lifts()) return;
  RecordOf(plug)->processReplacing(RecordOf(plug), ins, outs, kLongBlock);
  EXPECT_NE(left[kLongBlock - 1], 0.0f);
}

TEST_F(AllocationFailure, AnAccumulatingBlockWithoutScratchAddsNothing) {
  std::vector<float> in(kLongBlock, 0.25f), left(kLongBlock, 0.5f), right(kLongBlock, 0.5f);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {left.data(), right.data()};
  {
    AllocationLimit cap;
    RecordOf(plug)->processAccumulating(RecordOf(plug), ins, outs, kLongBlock);
  }
  EXPECT_TRUE(AllEqual(left, 0.5f));
  EXPECT_TRUE(AllEqual(right, 0.5f));
  ExpectUntouched();
}

// A host may announce any channel count; scratch for 2^31 - 1 channels cannot
// be had, and the block must neither throw nor read channel pointers beyond
// the outputs the plug-in declared.
TEST_F(AllocationFailure, AHugeSpeakerArrangementGivesSilenceNotACrash) {
  SpeakerArrangement huge = {0, INT32_MAX};
  Dispatch(plug, effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&huge), &huge);
  ASSERT_EQ(plug->OutputsInUse(), INT32_MAX);
  std::vector<float> in(16, 0.25f), left(16, 7.0f), right(16, 7.0f);
  float* ins[2] = {in.data(), in.data()};
  float* outs[2] = {left.data(), right.data()};
  AllocationLimit cap;
  RecordOf(plug)->processReplacing(RecordOf(plug), ins, outs, 16);
  EXPECT_TRUE(AllEqual(left, 0.0f));
  EXPECT_TRUE(AllEqual(right, 0.0f));
  left.assign(16, 0.5f);
  RecordOf(plug)->processAccumulating(RecordOf(plug), ins, outs, 16);
  EXPECT_TRUE(AllEqual(left, 0.5f));
  ExpectUntouched();
}
