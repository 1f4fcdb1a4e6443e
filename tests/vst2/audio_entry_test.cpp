#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/test_host.h"

namespace {

// The base plug-in, whose block copies inputs to outputs.
class PassThrough : public PlugBase {
 public:
  PassThrough(int inputs, int outputs) : PlugBase(TestDescription("pass", 1, inputs, outputs)) {}
  int blocks = 0;
  int lastFrames = -1;
  void ProcessBlock(double** in, double** out, int frames) override {
    ++blocks;
    lastFrames = frames;
    PlugBase::ProcessBlock(in, out, frames);
  }
};

struct Stereo {
  explicit Stereo(int frames, float fill = 0.0f) : left(frames, fill), right(frames, fill) {}
  std::vector<float> left, right;
  float* channels[2] = {nullptr, nullptr};
  float** Ptr() {
    channels[0] = left.data();
    channels[1] = right.data();
    return channels;
  }
};

}  // namespace

TEST(AudioEntry, FloatBlocksPassThroughUnchanged) {
  TestHost::Install();
  PluginHandle<PassThrough> plug(new PassThrough(2, 2));
  EffectRecord* r = plug.Record();
  Stereo in(300), out(300, 9.0f);
  for (int j = 0; j < 300; ++j) {
    in.left[j] = std::sin(j * 0.1f);
    in.right[j] = -0.25f + j * 1e-3f;
  }
  r->processReplacing(r, in.Ptr(), out.Ptr(), 300);
  EXPECT_EQ(out.left, in.left);
  EXPECT_EQ(out.right, in.right);

  Stereo acc(300, 1.0f);
  r->processAccumulating(r, in.Ptr(), acc.Ptr(), 300);
  for (int j = 0; j < 300; ++j) EXPECT_EQ(acc.left[j], 1.0f + in.left[j]) << j;

  std::vector<double> dl(300, 0.125), dr(300, -0.5), ol(300), orr(300);
  double* din[2] = {dl.data(), dr.data()};
  double* dout[2] = {ol.data(), orr.data()};
  r->processDoubleReplacing(r, din, dout, 300);
  EXPECT_EQ(ol, dl);
  EXPECT_EQ(orr, dr);
}

TEST(AudioEntry, ScratchBuffersGrowOnlyAndThenAllocateNothing) {
  TestHost::Install();
  PluginHandle<PassThrough> plug(new PassThrough(2, 2));
  EffectRecord* r = plug.Record();
  Stereo in(512, 0.5f), out(512);
  r->processReplacing(r, in.Ptr(), out.Ptr(), 512);
  const int afterFirst = plug->ScratchAllocations();
  r->processReplacing(r, in.Ptr(), out.Ptr(), 256);
  r->processReplacing(r, in.Ptr(), out.Ptr(), 256);
  r->processAccumulating(r, in.Ptr(), out.Ptr(), 512);
  EXPECT_EQ(plug->ScratchAllocations(), afterFirst);
  EXPECT_EQ(plug->lastFrames, 512);
}

TEST(AudioEntry, EmptyAndNegativeBlocksTouchNoOutput) {
  TestHost::Install();
  PluginHandle<PassThrough> plug(new PassThrough(2, 2));
  EffectRecord* r = plug.Record();
  Stereo in(4, 0.5f), out(4, 3.0f);
  r->processReplacing(r, in.Ptr(), out.Ptr(), 0);
  r->processReplacing(r, in.Ptr(), out.Ptr(), -7);
  EXPECT_EQ(out.left[0], 3.0f);
  EXPECT_EQ(plug->blocks, 2);
  EXPECT_EQ(plug->lastFrames, 0);
}

TEST(AudioEntry, MissingHostChannelsReadAsSilenceAndAreNotWritten) {
  TestHost::Install();
  PluginHandle<PassThrough> plug(new PassThrough(2, 2));
  EffectRecord* r = plug.Record();
  Stereo out(8, 3.0f);
  r->processReplacing(r, nullptr, out.Ptr(), 8);
  EXPECT_EQ(out.left[7], 0.0f);
  std::vector<double> left(8, 0.25), outLeft(8, 5.0);
  double* in[2] = {left.data(), nullptr};
  double* outs[2] = {outLeft.data(), nullptr};
  r->processDoubleReplacing(r, in, outs, 8);
  EXPECT_EQ(outLeft[3], 0.25);
  r->processDoubleReplacing(r, nullptr, nullptr, 8);
}

TEST(AudioEntry, FirstBlockLimitsChannelsUnlessArrangedOrReaper) {
  TestHost::Install();
  PluginHandle<PassThrough> wide(new PassThrough(6, 6));
  Stereo in(4), out(4);
  wide.Record()->processReplacing(wide.Record(), in.Ptr(), out.Ptr(), 4);
  EXPECT_EQ(wide->InputsInUse(), 2);
  EXPECT_EQ(wide->OutputsInUse(), 2);

  TestHost& reaper = TestHost::Install();
  reaper.product = "REAPER";
  PluginHandle<PassThrough> reaperWide(new PassThrough(6, 6));
  std::vector<float> data(6 * 4);
  float* six[6];
  for (int c = 0; c < 6; ++c) six[c] = &data[c * 4];
  reaperWide.Record()->processReplacing(reaperWide.Record(), six, six, 4);
  EXPECT_EQ(reaperWide->InputsInUse(), 6);

  TestHost::Install();
  PluginHandle<PassThrough> arranged(new PassThrough(2, 2));
  SpeakerArrangement arrangement = {0, 6};
  arranged.Record()->dispatcher(arranged.Record(), effSetSpeakerArrangement, 0,
                                reinterpret_cast<intptr_t>(&arrangement), &arrangement, 0);
  arranged.Record()->processReplacing(arranged.Record(), six, six, 4);
  EXPECT_EQ(arranged->InputsInUse(), 6);
  EXPECT_EQ(arranged->OutputsInUse(), 6);
}
