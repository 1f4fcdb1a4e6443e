#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "dither/dither_programs.h"
#include "support/vst2_reference.h"
#include "vst3/vst3_fixture.h"

namespace vst3 {
namespace {

constexpr int32_t kMaxBlock = 512;

using Vst3Process = Vst3Fixture;

TEST_F(Vst3Process, WithDitherOffEqualsTheVst2BuildInBothSampleSizes) {
  const std::vector<double> in = HalfScaleNoise(3 * kMaxBlock, 11);
  Start(kMaxBlock);
  std::vector<double> out;
  for (int b = 0; b < 3; ++b) {
    std::vector<double> l(in.begin() + b * kMaxBlock, in.begin() + (b + 1) * kMaxBlock), r = l;
    ASSERT_EQ(Process(l, r), kResultOk);
    out.insert(out.end(), l.begin(), l.end());
  }
  EXPECT_EQ(out, Vst2Render(in, kMaxBlock, {kMaxBlock, kMaxBlock, kMaxBlock}));

  // The float path against the VST 2.x float path.
  HostedEffect single;
  single.Start(kMaxBlock, kSample32);
  std::vector<float> fl(in.begin(), in.begin() + kMaxBlock), fr = fl;
  ASSERT_EQ(single.Process(fl, fr), kResultOk);
  const std::vector<float> narrow(in.begin(), in.begin() + kMaxBlock);
  const std::vector<float> vl = Vst2Render(narrow, kMaxBlock, {kMaxBlock});
  EXPECT_EQ(fl, vl);
}

TEST_F(Vst3Process, AChangeTakesEffectAtItsOffsetWithinTheBlock) {
  const std::vector<double> in = HalfScaleNoise(kMaxBlock, 12);
  Start(kMaxBlock);
  std::vector<double> left = in, right = in;
  ParameterChanges changes;
  changes.Add(kParamTargetBits, 100, 2.0 / 26.0);  // 8 bits from frame 100
  ASSERT_EQ(Process(left, right, &changes), kResultOk);
  EXPECT_EQ(left, Vst2Render(in, kMaxBlock, {100, kMaxBlock - 100}, [](EffectRecord* r, size_t b) {
              if (b == 1) r->setParameter(r, kParamTargetBits, 2.0f / 26.0f);
            }));
  EXPECT_EQ(Effect().Plug().ParamAt(kParamTargetBits).Value(), 8.0);
}

TEST_F(Vst3Process, OddChangesAreSoundAndUnknownOnesAreIgnored) {
  Start(kMaxBlock);
  std::vector<double> left(64, 0.25), right(64, 0.25);
  ParameterChanges changes;
  changes.Add(99, 0, 1.0);                                                     // no such id
  changes.Add(kParamShaping, 0, 7.0);                                          // above 1: the top
  changes.Add(kParamDither, 5000, 1.0);                                        // past the block
  changes.Add(kParamTargetBits, 3, std::numeric_limits<double>::quiet_NaN());  // ignored
  changes.Add(kProgramParamId, -4, 1.0);  // before it: the start
  ASSERT_EQ(Process(left, right, &changes), kResultOk);
  PlugBase& plug = Effect().Plug();
  EXPECT_EQ(plug.ParamAt(kParamShaping).Value(), 12.0);
  EXPECT_EQ(plug.ParamAt(kParamDither).Value(), 1.0);
  EXPECT_EQ(plug.ParamAt(kParamTargetBits).Value(), 16.0);
  EXPECT_EQ(plug.CurrentProgram(), 7);
  for (double v : left) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(Vst3Process, SilenceFlagsSayExactlyWhichOutputsAreAllZero) {
  Start(kMaxBlock, kSample32);
  // Digital silence in, dither off: silent out, whatever the host preset.
  std::vector<float> left(kMaxBlock, 0.0f), right = left;
  SilenceFlags() = 0;
  ASSERT_EQ(Process(left, right), kResultOk);
  EXPECT_EQ(SilenceFlags(), 3u);
  // Dithered silence is not silence: a host that marked the input silent
  // gets the flags cleared; a third channel's flag is the host's own.
  Effect().Plug().SetParamPlain(kParamDither, 1.0);
  SilenceFlags() = 7;
  ASSERT_EQ(Process(left, right), kResultOk);
  EXPECT_EQ(SilenceFlags(), 4u);
  // One sample on the right alone, in 64-bit samples.
  Effect().Plug().SetParamPlain(kParamDither, 0.0);
  Start(kMaxBlock, kSample64);
  std::vector<double> dl(kMaxBlock, 0.0), dr = dl;
  dr[kMaxBlock - 1] = 0.5;
  SilenceFlags() = 3;
  ASSERT_EQ(Process(dl, dr), kResultOk);
  EXPECT_EQ(SilenceFlags(), 1u);
}

TEST_F(Vst3Process, AsksForNoneOfTheProcessContext) {
  IProcessContextRequirements* requirements = nullptr;
  ASSERT_EQ(component->queryInterface(kIProcessContextRequirementsIid.bytes,
                                      reinterpret_cast<void**>(&requirements)),
            kResultOk);
  ASSERT_NE(requirements, nullptr);
  EXPECT_EQ(requirements->getProcessContextRequirements(), 0u);
  requirements->release();
}

TEST_F(Vst3Process, BadSetUpAndOddBlocksGetSoundAnswers) {
  // Before any set-up, and with nothing at all.
  std::vector<double> left(32, 0.1), right(32, 0.1);
  EXPECT_EQ(Process(left, right), kResultOk);
  EXPECT_EQ(processor->process(nullptr), kInvalidArgument);
  ProcessSetup bad[] = {{kRealtime, kSample64, 0, 44100.0},
                        {kRealtime, kSample64, -5, 44100.0},
                        {kRealtime, kSample64, 512, 0.0},
                        {kRealtime, kSample64, 512, std::numeric_limits<double>::quiet_NaN()},
                        {kRealtime, 7, 512, 44100.0}};
  for (ProcessSetup& setup : bad) EXPECT_EQ(processor->setupProcessing(&setup), kInvalidArgument);
  EXPECT_EQ(processor->setupProcessing(nullptr), kInvalidArgument);
  ProcessSetup odd{kOffline, kSample64, 333, 7919.0};
  EXPECT_EQ(processor->setupProcessing(&odd), kResultOk);
  // A huge maximum: the plug-in works in bounded pieces, and a block runs.
  ProcessSetup huge{kRealtime, kSample32, INT32_MAX, 44100.0};
  EXPECT_EQ(processor->setupProcessing(&huge), kResultOk);
  std::vector<float> fl(300, 0.2f), fr = fl;
  ASSERT_EQ(Process(fl, fr), kResultOk);
  for (float v : fl) ASSERT_TRUE(std::isfinite(v));

  // Mono and 5.1 are refused and stereo stays.
  SpeakerArrangement mono = 1, surround = 0x3F, stereo = kStereo;
  EXPECT_EQ(processor->setBusArrangements(&mono, 1, &mono, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(&surround, 1, &surround, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(&stereo, 1, &stereo, 1), kResultOk);
  SpeakerArrangement now = 0;
  ASSERT_EQ(processor->getBusArrangement(kOutput, 0, &now), kResultOk);
  EXPECT_EQ(now, kStereo);

  // Switched off without having been on; a block longer than announced; an
  // empty one without buffers; NaN audio.
  EXPECT_EQ(component->setActive(0), kResultOk);
  EXPECT_EQ(processor->setProcessing(0), kResultOk);
  Start(64);
  std::vector<double> longer(1000, std::numeric_limits<double>::quiet_NaN()), other = longer;
  ASSERT_EQ(Process(longer, other), kResultOk);
  for (double v : longer) ASSERT_TRUE(std::isfinite(v));
  ProcessData empty{};
  empty.symbolicSampleSize = kSample32;
  EXPECT_EQ(processor->process(&empty), kResultOk);
  empty.numSamples = -1;
  EXPECT_EQ(processor->process(&empty), kInvalidArgument);
}

TEST(Vst3Lifetime, HundredCyclesAndTerminatingWhileActive) {
  for (int i = 0; i < 100; ++i) {
    auto cycle = std::make_unique<HostedEffect>();
    cycle->Start(128, i % 2 ? kSample32 : kSample64);
    std::vector<float> left(128, 0.3f), right = left;
    std::vector<double> dl(128, 0.3), dr = dl;
    if (i % 2) {
      ASSERT_EQ(cycle->Process(left, right), kResultOk);
    } else {
      ASSERT_EQ(cycle->Process(dl, dr), kResultOk);
    }
    // Terminated while active and processing.
    cycle.reset();
  }
}

}  // namespace
}  // namespace vst3
