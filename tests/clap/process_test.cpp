// The plug-in's audio as a CLAP host drives it, against the VST 2.x build.
#include <cmath>
#include <vector>

#include "clap_fixture.h"
#include "dither/dither_programs.h"
#include "support/test_host.h"
#include "tools/measure/test_noise.h"

namespace clap {
namespace {

constexpr uint32_t kMaxBlock = 512;

std::vector<double> Noise(size_t frames, uint32_t seed) {
  TestNoise noise(seed);
  std::vector<double> x(frames);
  for (double& v : x) v = 0.5 * noise.Next();
  return x;
}

// The VST 2.x build's output for the same input in blocks of kMaxBlock, with
// dither off and "target bits" at `bits`.
template <typename Sample>
std::vector<Sample> Vst2Render(const std::vector<Sample>& in, float bits) {
  TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  EffectRecord* r = RecordOf(plug);
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(plug, effSetBlockSize, 0, kMaxBlock);
  Dispatch(plug, effMainsChanged, 0, 1);
  r->setParameter(r, kParamDither, 0.0f);
  r->setParameter(r, kParamTargetBits, (bits - 6.0f) / 26.0f);
  std::vector<Sample> left = in, right = in;
  for (size_t start = 0; start < in.size(); start += kMaxBlock) {
    Sample* channels[2] = {left.data() + start, right.data() + start};
    if constexpr (sizeof(Sample) == 8) {
      r->processDoubleReplacing(r, channels, channels, kMaxBlock);
    } else {
      r->processReplacing(r, channels, channels, kMaxBlock);
    }
  }
  ClosePlugin(plug);
  return left;
}

template <typename Sample>
std::vector<Sample> ClapRender(const std::vector<Sample>& in, float bits, uint32_t maxFrames) {
  HostedClap hosted;
  hosted.Start(maxFrames);
  InputEventList settings;
  settings.AddValue(kParamDither, 0, 0.0);
  settings.AddValue(kParamTargetBits, 0, bits);
  std::vector<Sample> out;
  for (size_t start = 0; start < in.size(); start += kMaxBlock) {
    std::vector<Sample> left(in.begin() + start, in.begin() + start + kMaxBlock), right = left;
    EXPECT_EQ(hosted.Process(left, right, start == 0 ? settings : InputEventList()),
              kProcessContinue);
    out.insert(out.end(), left.begin(), left.end());
  }
  return out;
}

TEST(ClapProcess, WithDitherOffEqualsTheVst2BuildInBothSampleSizes) {
  const std::vector<double> in = Noise(4 * kMaxBlock, 3);
  EXPECT_EQ(ClapRender(in, 14.0f, kMaxBlock), Vst2Render(in, 14.0f));
  const std::vector<float> narrow(in.begin(), in.end());
  EXPECT_EQ(ClapRender(narrow, 20.0f, kMaxBlock), Vst2Render(narrow, 20.0f));
}

TEST(ClapProcess, AHugeMaximumStillRunsAndEveryOutputIsWritten) {
  HostedClap hosted;
  hosted.Start(UINT32_MAX);
  std::vector<float> left(3000, 0.25f), right(3000, NAN);
  EXPECT_EQ(hosted.Process(left, right), kProcessContinue);
  for (size_t i = 0; i < left.size(); ++i) {
    ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << i;
  }
}

TEST(ClapProcess, ResetStartsAgainFromSilenceAsAFreshInstanceDoes) {
  const std::vector<double> in = Noise(kMaxBlock, 9);
  HostedClap used;
  used.Start(kMaxBlock);
  InputEventList settings;
  settings.AddValue(kParamDither, 0, 0.0);
  std::vector<double> left = in, right = in;
  used.Process(left, right, settings);
  used.plugin->reset(used.plugin);
  left = in;
  right = in;
  used.Process(left, right);
  HostedClap fresh;
  fresh.Start(kMaxBlock);
  std::vector<double> freshLeft = in, freshRight = in;
  fresh.Process(freshLeft, freshRight, settings);
  EXPECT_EQ(left, freshLeft);
}

}  // namespace
}  // namespace clap
