// The plug-in's audio as a CLAP host drives it, against the VST 2.x build.
#include <cmath>
#include <vector>

#include "clap_fixture.h"
#include "dither/dither_programs.h"
#include "support/vst2_reference.h"

namespace clap {
namespace {

constexpr uint32_t kMaxBlock = 512;

// The VST 2.x build's output for the same input in blocks of kMaxBlock, with
// dither off and "target bits" at `bits`.
template <typename Sample>
std::vector<Sample> Vst2Reference(const std::vector<Sample>& in, float bits) {
  const std::vector<int> blocks(in.size() / kMaxBlock, kMaxBlock);
  return Vst2Render(in, kMaxBlock, blocks, [bits](EffectRecord* r, size_t b) {
    if (b > 0) return;
    r->setParameter(r, kParamDither, 0.0f);
    r->setParameter(r, kParamTargetBits, (bits - 6.0f) / 26.0f);
  });
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
  const std::vector<double> in = HalfScaleNoise(4 * kMaxBlock, 3);
  EXPECT_EQ(ClapRender(in, 14.0f, kMaxBlock), Vst2Reference(in, 14.0f));
  const std::vector<float> narrow(in.begin(), in.end());
  EXPECT_EQ(ClapRender(narrow, 20.0f, kMaxBlock), Vst2Reference(narrow, 20.0f));
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
  const std::vector<double> in = HalfScaleNoise(kMaxBlock, 9);
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
