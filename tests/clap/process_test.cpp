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

TEST(ClapProcess, NoOutputChannelIsLeftMarkedConstant) {
  HostedClap hosted;
  hosted.Start(kMaxBlock);
  std::vector<float> left(64, 0.25f), right = left;
  float* channels[2] = {left.data(), right.data()};
  AudioBuffer port = StereoPort(channels);
  port.constantMask = 3;  // what the host said of its input
  InputEventList none;
  OutputEventList sink;
  const Process process = InPlaceProcess(port, 64, 0, none, sink);
  ASSERT_EQ(hosted.plugin->process(hosted.plugin, &process), kProcessContinue);
  EXPECT_EQ(port.constantMask, 0u);
}

TEST(ClapProcess, AnEmptyBlockWithoutPortsStillTakesItsEvents) {
  HostedClap hosted;
  hosted.Start(kMaxBlock);
  InputEventList events;
  events.AddValue(kParamTargetBits, 0, 9.0);
  OutputEventList sink;
  const Process process{0, 0, nullptr, nullptr, nullptr, 0, 0, events.Record(), sink.Record()};
  EXPECT_EQ(hosted.plugin->process(hosted.plugin, &process), kProcessContinue);
  EXPECT_EQ(hosted.Instance().Plug().ParamAt(kParamTargetBits).Value(), 9.0);
  // With frames to write, no port is an error.
  const Process frames{0, 16, nullptr, nullptr, nullptr, 0, 0, events.Record(), sink.Record()};
  EXPECT_EQ(hosted.plugin->process(hosted.plugin, &frames), kProcessError);
}

TEST(ClapPresets, AKeyLoadsOnlyTheProgramItNamesFromThePluginItself) {
  HostedClap hosted;
  const auto& presets = hosted.Ask<PluginPresetLoad>(kExtPresetLoad);
  PlugBase& plug = hosted.Instance().Plug();
  EXPECT_TRUE(presets.fromLocation(hosted.plugin, kPresetLocationPlugin, nullptr, "2"));
  EXPECT_EQ(plug.CurrentProgram(), 2);
  // Digits past int's range, and keys that are not a program's number.
  for (const char* key : {"4294967297", "8", "-1", "1x", "", " 1"}) {
    EXPECT_FALSE(presets.fromLocation(hosted.plugin, kPresetLocationPlugin, nullptr, key)) << key;
    EXPECT_EQ(plug.CurrentProgram(), 2) << key;
  }
  EXPECT_FALSE(presets.fromLocation(hosted.plugin, kPresetLocationPlugin, nullptr, nullptr));
  // A preset in a file is none of the plug-in's programs, whatever its key.
  EXPECT_FALSE(presets.fromLocation(hosted.plugin, kPresetLocationFile, "/tmp/some.preset", "1"));
  EXPECT_FALSE(presets.fromLocation(hosted.plugin, kPresetLocationFile, nullptr, "1"));
  EXPECT_EQ(plug.CurrentProgram(), 2);
}

}  // namespace
}  // namespace clap
