// The LV2 DSP binary as a host loads it: ports in the parameters' own units,
// the block size taken from the host's options, blocks of any length, and a
// clean open/close cycle (the sanitizer tier runs this with leak detection).
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <iterator>
#include <limits>
#include <random>

#include "dither/editor/dither_editor.h"
#include "dither/editor/level_bar.h"
#include "dither/editor/response_graph.h"
#include "plug/create_plugin.h"
#include "plug/plug_identity.h"
#include "lv2/lv2_instance.h"
#include "lv2_host.h"

namespace {

constexpr double kRate = 44100.0;
constexpr uint32_t kFrames = 4096;

// True when every sample is a whole number of steps of 2^-(bits - 1).
bool OnGrid(const std::vector<float>& samples, int bits) {
  const double steps = std::ldexp(1.0, bits - 1);
  for (float s : samples) {
    const double scaled = s * steps;
    if (scaled != std::floor(scaled)) return false;
  }
  return true;
}

std::vector<float> RenderWith(int32_t maxBlock, uint32_t callFrames, std::array<float, 4> controls,
                              int32_t nominalBlock = 0) {
  std::vector<float> left, right;
  TestSignal(kFrames, &left, &right);
  Lv2TestInstance plugin(kRate, maxBlock, static_cast<int32_t>(callFrames), nominalBlock);
  if (!plugin.Valid()) return {};
  plugin.controls = controls;
  plugin.Activate();
  return plugin.Render(left, right, callFrames);
}

constexpr std::array<float, 4> kDefaults = {0.0f, 9.0f, 16.0f, 1.0f};

}  // namespace

TEST(Lv2Plugin, LoadsAndInstantiates) {
  ASSERT_NE(Lv2Descriptor(), nullptr) << "cannot load " << QV_LV2_DSP_BINARY;
  EXPECT_STREQ(Lv2Descriptor()->URI, PluginIdentity().lv2Uri);
  Lv2TestInstance plugin(kRate, kNoMaximum, 64);
  EXPECT_TRUE(plugin.Valid());
}

TEST(Lv2Plugin, ATargetBitsPortValueIsTheWordLengthItself) {
  // 16 bits: every output on the grid of 1/32768, and not all of them on the
  // coarser grid of 15 bits.
  const std::vector<float> at16 = RenderWith(512, 512, kDefaults);
  ASSERT_FALSE(at16.empty());
  EXPECT_TRUE(OnGrid(at16, 16));
  EXPECT_FALSE(OnGrid(at16, 15));
  // A host that sends 15.6 to an integer port gets the nearest step, 16.
  EXPECT_EQ(RenderWith(512, 512, {0.0f, 9.0f, 15.6f, 1.0f}), at16);
  // 6 bits with shaping off is plain rounding to 1/32 steps, half up.
  std::vector<float> left, right;
  TestSignal(kFrames, &left, &right);
  const std::vector<float> at6 = RenderWith(512, 512, {0.0f, 0.0f, 6.0f, 1.0f});
  ASSERT_EQ(at6.size(), 2 * left.size());
  for (size_t i = 0; i < left.size(); ++i) {
    ASSERT_EQ(at6[i], std::floor(32.0 * left[i] + 0.5) / 32.0) << "frame " << i;
  }
}

TEST(Lv2Plugin, DesignsItsFilterForTheHostsMaximumBlockLength) {
  const std::vector<float> withoutOptions = RenderWith(kNoMaximum, 512, kDefaults);
  ASSERT_FALSE(withoutOptions.empty());
  // No options is the documented default of 512 frames.
  EXPECT_EQ(RenderWith(512, 512, kDefaults), withoutOptions);
  // Another maximum designs another filter.
  EXPECT_NE(RenderWith(4096, 512, kDefaults), withoutOptions);
}

TEST(Lv2Plugin, DesignsItsFilterForTheHostsNominalBlockLengthWhenItGivesOne) {
  // A host running 512-frame blocks under a maximum of 8192 (as Ardour
  // announces) sounds as one whose maximum is 512.
  const std::vector<float> at512 = RenderWith(512, 512, kDefaults);
  ASSERT_FALSE(at512.empty());
  EXPECT_EQ(RenderWith(8192, 512, kDefaults, 512), at512);
  // A nominal length past the maximum is not believed.
  EXPECT_EQ(RenderWith(512, 512, kDefaults, 8192), at512);
}

TEST(Lv2Plugin, BlocksOfAnyLengthGiveTheSameOutputWithDitherOff) {
  // Shorter calls than the maximum, single frames (as lv2apply runs), and
  // calls beyond the maximum all continue the same stream.
  const std::vector<float> reference = RenderWith(256, 256, kDefaults);
  ASSERT_FALSE(reference.empty());
  EXPECT_EQ(RenderWith(256, 100, kDefaults), reference);
  EXPECT_EQ(RenderWith(256, 1, kDefaults), reference);
  EXPECT_EQ(RenderWith(256, 1000, kDefaults), reference);
}

// An empty run() is an empty block, as a VST 2.x host's zero-frame call is:
// the level bar of the editor that a UI built falls to zero and the spectra
// take their step.
TEST(Lv2Plugin, AnEmptyRunIsAnEmptyBlock) {
  Lv2TestInstance plugin(kRate, 64, 64);
  ASSERT_TRUE(plugin.Valid());
  PlugBase* dither = static_cast<Lv2Instance*>(plugin.Handle())->Plugin();
  ASSERT_TRUE(CreatePluginEditor(*dither));
  auto* editor = static_cast<DitherEditor*>(dither->GetEditor());
  plugin.Activate();
  plugin.in[0].assign(64, 0.8f);
  plugin.in[1].assign(64, 0.8f);
  plugin.Run(64);
  ASSERT_GT(editor->GetLevelBar()->Value(), 0.0);
  editor->InputGraph()->SetClean();
  plugin.Run(0);
  EXPECT_EQ(editor->GetLevelBar()->Value(), 0.0);
  EXPECT_TRUE(editor->InputGraph()->IsDirty());
  dither->DetachEditor();
}

TEST(Lv2Plugin, DoesNothingWhileAnAudioPortIsUnconnected) {
  Lv2TestInstance plugin(kRate, 64, 64);
  ASSERT_TRUE(plugin.Valid());
  Lv2Descriptor()->connect_port(plugin.Handle(), kPortOutRight, nullptr);
  plugin.Activate();
  plugin.in[0].assign(64, 0.25f);
  plugin.out[0].assign(64, -1.0f);
  plugin.Run(64);
  EXPECT_EQ(plugin.out[0][0], -1.0f);
}

// Whatever a host sends (odd rates and maximum block lengths or none, port
// values out of range, infinite or NaN, audio that is not finite, runs of
// any length up to its buffers, empty ones, and activation at any time),
// every output sample is finite and near full scale at most.
TEST(Lv2Plugin, WhateverTheHostSendsTheOutputStaysFinite) {
  std::mt19937 random(7);
  const double rates[] = {44100.0, 8000.0, 192000.0, 0.0, -48000.0, 1e12};
  const int32_t maxBlocks[] = {kNoMaximum, 0, 1, 16, 100, 4096};
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float oddValues[] = {nan,  inf,   -inf,  -1e30f, 1e30f, -1.0f, 0.0f,  0.5f,  5.0f,
                             6.0f, 12.0f, 13.0f, 16.0f,  31.7f, 32.0f, 33.0f, 1e-40f};
  const float oddSamples[] = {nan, inf, -inf, 1e-40f, 1e30f, -2.0f, 1.0f, -1.0f};
  constexpr uint32_t kBuffer = 5000;
  for (double rate : rates) {
    for (int32_t maxBlock : maxBlocks) {
      Lv2TestInstance plugin(rate, maxBlock, kBuffer);
      ASSERT_TRUE(plugin.Valid()) << rate << " Hz, maximum " << maxBlock;
      plugin.Activate();
      for (int step = 0; step < 40; ++step) {
        switch (random() % 4) {
          case 0: plugin.controls[random() % 4] = oddValues[random() % std::size(oddValues)]; break;
          case 1:
            plugin.controls[random() % 4] = std::uniform_real_distribution<float>(-40, 40)(random);
            break;
          case 2:
            plugin.Deactivate();
            plugin.Activate();
            break;
          default: break;
        }
        const uint32_t frames = random() % 3 == 0 ? random() % 3 : random() % kBuffer;
        for (auto& channel : plugin.in) {
          for (uint32_t j = 0; j < frames; ++j) {
            channel[j] = random() % 16 == 0
                             ? oddSamples[random() % std::size(oddSamples)]
                             : std::uniform_real_distribution<float>(-1.5f, 1.5f)(random);
          }
        }
        plugin.Run(frames);
        for (const auto& channel : plugin.out) {
          for (uint32_t j = 0; j < frames; ++j) {
            ASSERT_TRUE(std::isfinite(channel[j]) && std::fabs(channel[j]) < 4.0f)
                << rate << " Hz, maximum " << maxBlock << ", step " << step << ", frame " << j
                << ": " << channel[j];
          }
        }
      }
    }
  }
}

TEST(Lv2Plugin, AHundredOpenRunCloseCyclesEachProduceRequantisedAudio) {
  std::vector<float> left, right;
  TestSignal(300, &left, &right);
  for (int cycle = 0; cycle < 100; ++cycle) {
    Lv2TestInstance plugin(48000.0, 128, 128);
    ASSERT_TRUE(plugin.Valid()) << "cycle " << cycle;
    plugin.controls[kPortDither] = static_cast<float>(cycle % 2);
    plugin.Activate();
    const std::vector<float> out = plugin.Render(left, right, 128);
    plugin.Deactivate();
    ASSERT_TRUE(OnGrid(out, 16)) << "cycle " << cycle;
  }
}

// Hosts announce odd maxima: 0 (which, taken as a block length, would never
// end a run) and INT32_MAX (which, taken as storage, would ask for
// gigabytes). Either gives an instance whose run() returns with its output
// written.
TEST(Lv2Plugin, AnAnnouncedMaximumOfZeroOrInt32MaxStillRuns) {
  for (int32_t maxBlock : {0, -7, INT32_MAX}) {
    Lv2TestInstance plugin(kRate, maxBlock, 64);
    ASSERT_TRUE(plugin.Valid()) << maxBlock;
    plugin.Activate();
    plugin.in[0].assign(64, 0.25f);
    plugin.in[1].assign(64, -0.25f);
    plugin.out[0].assign(64, 7.0f);
    plugin.out[1].assign(64, 7.0f);
    plugin.Run(64);
    for (int c = 0; c < 2; ++c) {
      for (float y : plugin.out[c]) ASSERT_LT(std::fabs(y), 0.3f) << maxBlock;
    }
  }
}
