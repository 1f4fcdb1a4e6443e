// ProcessBlock runs channels 0 and 1 in one loop; ProcessBlockPerChannel runs
// them one after the other, the plain schedule. Both must give the same
// output and leave the same state, bit for bit, whatever the settings.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "support/test_host.h"

namespace {

struct Settings {
  int order;
  bool dither;
  float bits;  // normalised
  int blockSize;
};

DitherPlugin* Open(const Settings& settings, uint32_t seed) {
  DitherPlugin* plug = OpenPlugin();
  EffectRecord* r = plug->Record();
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(plug, effSetBlockSize, 0, settings.blockSize);
  r->setParameter(r, kParamShaping, settings.order / 12.0f);
  r->setParameter(r, kParamDither, settings.dither ? 1.0f : 0.0f);
  r->setParameter(r, kParamTargetBits, settings.bits);
  plug->Random().SeedState(seed);
  return plug;
}

// Loud and quiet stretches, clipping, and now and then a value that is no
// number at all.
std::vector<double> RandomInput(std::mt19937& random, int frames) {
  std::uniform_real_distribution<double> sample(-1.2, 1.2);
  std::uniform_real_distribution<double> level(0.0, 1.0);
  std::vector<double> x(frames);
  const double gain = level(random) < 0.3 ? 1e-4 : 1.0;
  for (double& v : x) v = gain * sample(random);
  if (frames > 3 && level(random) < 0.2) x[frames / 2] = std::numeric_limits<double>::quiet_NaN();
  return x;
}

void ExpectSameState(DitherPlugin* a, DitherPlugin* b) {
  for (int c = 0; c < 2; ++c) {
    const ChannelState& s = a->Channel(c);
    const ChannelState& t = b->Channel(c);
    EXPECT_EQ(s.historyPos, t.historyPos) << c;
    EXPECT_EQ(s.prevUniform, t.prevUniform) << c;
    EXPECT_EQ(s.ditherGain, t.ditherGain) << c;
    ASSERT_EQ(s.errorHistory.Count(), t.errorHistory.Count());
    for (int32_t i = 0; i < s.errorHistory.Count(); ++i) {
      EXPECT_EQ(s.errorHistory[i], t.errorHistory[i]) << c << " " << i;
    }
  }
  // The generator is at the same place.
  EXPECT_EQ(a->Random().NextWord(), b->Random().NextWord());
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), sizeof(double) * a.size()) == 0;
}

}  // namespace

TEST(ChannelPair, MatchesOneChannelAfterTheOtherOnRandomInputs) {
  TestHost::Install();
  std::mt19937 random(12345);
  for (int round = 0; round < 60; ++round) {
    const Settings settings{static_cast<int>(random() % 13), random() % 4 != 0,
                            static_cast<float>(random() % 27) / 26.0f,
                            static_cast<int>(1 + random() % 700)};
    const uint32_t seed = random();
    DitherPlugin* together = Open(settings, seed);
    DitherPlugin* apart = Open(settings, seed);
    ASSERT_EQ(together->ShapingOrder(), settings.order);
    for (int block = 0; block < 5; ++block) {
      // Blocks shorter and longer than announced, some of a single frame.
      const int frames = block == 3 ? 1 : static_cast<int>(1 + random() % (2 * settings.blockSize));
      std::vector<double> left = RandomInput(random, frames);
      std::vector<double> right = RandomInput(random, frames);
      std::vector<double> outs[4] = {std::vector<double>(frames), std::vector<double>(frames),
                                     std::vector<double>(frames), std::vector<double>(frames)};
      double* ins[2] = {left.data(), right.data()};
      double* outTogether[2] = {outs[0].data(), outs[1].data()};
      double* outApart[2] = {outs[2].data(), outs[3].data()};
      together->ProcessBlock(ins, outTogether, frames);
      apart->ProcessBlockPerChannel(ins, outApart, frames);
      ASSERT_TRUE(SameBits(outs[0], outs[2])) << "round " << round << " block " << block;
      ASSERT_TRUE(SameBits(outs[1], outs[3])) << "round " << round << " block " << block;
    }
    ExpectSameState(together, apart);
    ClosePlugin(together);
    ClosePlugin(apart);
  }
}

// A host may hand one buffer as an output of one channel and the input of
// the other; the channel that comes second then reads what the first wrote.
TEST(ChannelPair, SharedBuffersGiveTheSameResultAsOneChannelAfterTheOther) {
  TestHost::Install();
  const Settings settings{9, true, 10.0f / 26.0f, 512};
  std::mt19937 random(7);
  for (int layout = 0; layout < 3; ++layout) {
    DitherPlugin* together = Open(settings, 99);
    DitherPlugin* apart = Open(settings, 99);
    for (int block = 0; block < 3; ++block) {
      std::vector<double> buffers[2][3];
      for (auto& run : buffers) {
        run[0] = RandomInput(random, 512);
        run[1] = RandomInput(random, 512);
        run[2].assign(512, 0.0);
      }
      buffers[1][0] = buffers[0][0];
      buffers[1][1] = buffers[0][1];
      DitherPlugin* plugs[2] = {together, apart};
      for (int p = 0; p < 2; ++p) {
        std::vector<double>* b = buffers[p];
        double* ins[2] = {b[0].data(), b[1].data()};
        // 0: output 0 is input 1; 1: output 1 is input 0; 2: both outputs
        // are one buffer.
        double* outs[2] = {layout == 0 ? b[1].data() : b[2].data(),
                           layout == 1 ? b[0].data() : b[2].data()};
        if (p == 0) {
          plugs[p]->ProcessBlock(ins, outs, 512);
        } else {
          plugs[p]->ProcessBlockPerChannel(ins, outs, 512);
        }
      }
      for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(SameBits(buffers[0][i], buffers[1][i])) << layout << " " << block << " " << i;
      }
    }
    ExpectSameState(together, apart);
    ClosePlugin(together);
    ClosePlugin(apart);
  }
}
