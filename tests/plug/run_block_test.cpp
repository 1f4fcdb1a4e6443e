// Preparing for a host's rate and maximum block, and blocks of any length in
// pieces, as every format but VST 2.x hands them to the plug-in.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/test_host.h"

namespace {

// One recorded piece: its length and where its channels start.
struct Piece {
  int frames;
  const double* in0;
  const double* out0;
  bool operator==(const Piece& other) const {
    return frames == other.frames && in0 == other.in0 && out0 == other.out0;
  }
};

// Records every block ProcessBlock receives; copies input to output.
class PieceRecorder : public PlugBase {
 public:
  PieceRecorder() : PlugBase(TestDescription("pieces", 1)) {}
  void ResetProcessing() override { ++resets; }
  void ProcessBlock(double** inputs, double** outputs, int frames) override {
    pieces.push_back(Piece{frames, inputs[0], outputs[0]});
    PlugBase::ProcessBlock(inputs, outputs, frames);
  }
  std::vector<Piece> pieces;
  int resets = 0;
};

}  // namespace

TEST(RunBlock, PrepareSetsRateAndBlockAndAnswersThePieceLength) {
  PieceRecorder plug;
  EXPECT_EQ(plug.Prepare(48000.0, 100), 100);
  EXPECT_EQ(plug.SampleRate(), 48000.0);
  EXPECT_EQ(plug.BlockSize(), 100);
  EXPECT_EQ(plug.PieceLength(), 100);
  // A huge maximum designs for it but cuts pieces of kLongestBlock, and one
  // past int32_t is taken as the largest block there is.
  EXPECT_EQ(plug.Prepare(44100.0, int64_t{1} << 20), kLongestBlock);
  EXPECT_EQ(plug.BlockSize(), 1 << 20);
  EXPECT_EQ(plug.Prepare(44100.0, int64_t{1} << 33), kLongestBlock);
  EXPECT_EQ(plug.BlockSize(), INT32_MAX);
  // The block a host usually runs is designed for when it is within the
  // maximum; the pieces are still cut for the maximum.
  EXPECT_EQ(plug.Prepare(48000.0, 8192, 1024), 8192);
  EXPECT_EQ(plug.BlockSize(), 1024);
  EXPECT_EQ(plug.Prepare(48000.0, 512, 1024), 512);
  EXPECT_EQ(plug.BlockSize(), 512);
  EXPECT_EQ(plug.Prepare(48000.0, 512, -3), 512);
  EXPECT_EQ(plug.BlockSize(), 512);
  EXPECT_EQ(plug.Prepare(44100.0, int64_t{1} << 33), kLongestBlock);
  // No block at all changes nothing.
  const int resets = plug.resets;
  EXPECT_EQ(plug.Prepare(96000.0, 0), 0);
  EXPECT_EQ(plug.Prepare(96000.0, -5), 0);
  EXPECT_EQ(plug.SampleRate(), 44100.0);
  EXPECT_EQ(plug.resets, resets);
  EXPECT_EQ(plug.PieceLength(), kLongestBlock);
}

TEST(RunBlock, ALongBlockRunsInPiecesFromEachPiecesFirstFrame) {
  PieceRecorder plug;
  ASSERT_EQ(plug.Prepare(44100.0, 100), 100);
  std::vector<double> left(250, 0.5), right(250, -0.5), outLeft(250), outRight(250);
  double* ins[2] = {left.data(), right.data()};
  double* outs[2] = {outLeft.data(), outRight.data()};
  plug.RunBlock(ins, outs, 250);
  EXPECT_EQ(plug.pieces, (std::vector<Piece>{{100, &left[0], &outLeft[0]},
                                             {100, &left[100], &outLeft[100]},
                                             {50, &left[200], &outLeft[200]}}));
  EXPECT_EQ(outLeft[249], 0.5);
  EXPECT_EQ(outRight[249], -0.5);

  // In place, the pieces read and write the same frames.
  plug.pieces.clear();
  plug.RunBlock(ins, ins, 201);
  EXPECT_EQ(plug.pieces, (std::vector<Piece>{{100, &left[0], &left[0]},
                                             {100, &left[100], &left[100]},
                                             {1, &left[200], &left[200]}}));
}

TEST(RunBlock, FloatPiecesAllocateNothingOnceAndMissingChannelsStayMissing) {
  PieceRecorder plug;
  ASSERT_EQ(plug.Prepare(44100.0, 64), 64);
  const int32_t allocations = plug.ScratchAllocations();
  std::vector<float> left(1000, 0.25f), outLeft(1000, 9.0f), outRight(1000, 9.0f);
  float* ins[2] = {left.data(), nullptr};
  float* outs[2] = {outLeft.data(), outRight.data()};
  plug.RunBlock(ins, outs, 1000);
  EXPECT_EQ(plug.ScratchAllocations(), allocations);
  EXPECT_EQ(plug.pieces.size(), 16u);
  EXPECT_EQ(outLeft[999], 0.25f);
  EXPECT_EQ(outRight[999], 0.0f);  // a missing input reads as silence
  // A missing output channel is not written in any piece.
  float* oneOut[2] = {outLeft.data(), nullptr};
  plug.RunBlock(ins, oneOut, 1000);
  EXPECT_EQ(outRight[999], 0.0f);
}

TEST(RunBlock, AnEmptyBlockIsOneEmptyPieceAndUnpreparedPiecesAreTheBlockSize) {
  PieceRecorder plug;
  std::vector<double> samples(300);
  double* channels[2] = {samples.data(), samples.data()};
  plug.RunBlock(channels, channels, 0);
  ASSERT_EQ(plug.pieces.size(), 1u);
  EXPECT_EQ(plug.pieces[0].frames, 0);

  plug.pieces.clear();
  plug.SetBlockSize(128);
  plug.RunBlock(channels, channels, 300);
  ASSERT_EQ(plug.pieces.size(), 3u);
  EXPECT_EQ(plug.pieces[2].frames, 44);
}
