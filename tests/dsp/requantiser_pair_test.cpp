// ProcessBlock runs channels 0 and 1 in one loop; ProcessBlockPerChannel runs
// them one after the other, the plain schedule. Both must give the same
// output and leave the same state, bit for bit, whatever the settings.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "dsp/requantiser.h"
#include "dsp/shaping_filter.h"

namespace {

struct Settings {
  int order;
  bool dither;
  int bits;
  int blockSize;  // the block size the design is made for
  bool unstable;  // coefficients scaled up until the feedback overflows
};

// Two requantisers with the same settings, coefficients and seed.
struct Pair {
  Pair(const Settings& settings, uint32_t seed) {
    SpectrumAnalyser weighting;
    for (Requantiser* q : {&together, &apart}) {
      q->Reset(std::ldexp(1.0, settings.bits - 1), settings.dither, settings.order,
               settings.blockSize);
      DesignShapingFilter(weighting, 44100.0, settings.blockSize, settings.order,
                          q->Coefficients());
      SampleArray& a = q->Coefficients();
      for (int32_t k = 0; settings.unstable && k < a.Count(); ++k) a[k] *= 4.0;
      q->Random().SeedState(seed);
    }
  }
  Requantiser together;
  Requantiser apart;
};

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

// An empty range may come with null pointers, which memcmp must not see.
bool SameBits(const double* a, const double* b, int32_t n) {
  return n == 0 || std::memcmp(a, b, sizeof(double) * static_cast<size_t>(n)) == 0;
}

bool SameBits(const SampleArray& a, const SampleArray& b) {
  return a.Count() == b.Count() && SameBits(a.Data(), b.Data(), a.Count());
}

void ExpectSameState(Requantiser& a, Requantiser& b) {
  for (int c = 0; c < Requantiser::kChannels; ++c) {
    const ChannelState& s = a.Channel(c);
    const ChannelState& t = b.Channel(c);
    EXPECT_EQ(s.historyPos, t.historyPos) << c;
    EXPECT_TRUE(SameBits(&s.prevUniform, &t.prevUniform, 1)) << c;
    EXPECT_TRUE(SameBits(&s.ditherGain, &t.ditherGain, 1)) << c;
    EXPECT_TRUE(SameBits(s.errorHistory, t.errorHistory)) << c;
  }
  EXPECT_TRUE(SameBits(a.InputAverage(), b.InputAverage()));
  EXPECT_TRUE(SameBits(a.ErrorAverage(), b.ErrorAverage()));
  // The generator is at the same place.
  EXPECT_EQ(a.Random().NextWord(), b.Random().NextWord());
}

}  // namespace

TEST(RequantiserPair, MatchesOneChannelAfterTheOtherOnRandomInputs) {
  std::mt19937 random(12345);
  for (int round = 0; round < 80; ++round) {
    const Settings settings{static_cast<int>(random() % (Requantiser::kMaxPairedOrder + 1)),
                            random() % 4 != 0, static_cast<int>(1 + random() % 32),
                            static_cast<int>(1 + random() % 700), random() % 8 == 0};
    Pair pair(settings, random());
    ASSERT_EQ(pair.together.Coefficients().Count(), settings.order);
    for (int block = 0; block < 6; ++block) {
      // Blocks shorter and longer than prepared, one of a single frame and
      // one empty.
      const int frames = block == 3   ? 1
                         : block == 4 ? 0
                                      : static_cast<int>(1 + random() % (2 * settings.blockSize));
      std::vector<double> left = RandomInput(random, frames);
      std::vector<double> right = RandomInput(random, frames);
      std::vector<double> outs[4] = {std::vector<double>(frames), std::vector<double>(frames),
                                     std::vector<double>(frames), std::vector<double>(frames)};
      double* ins[2] = {left.data(), right.data()};
      double* outTogether[2] = {outs[0].data(), outs[1].data()};
      double* outApart[2] = {outs[2].data(), outs[3].data()};
      ASSERT_TRUE(pair.together.ProcessBlock(ins, outTogether, 2, frames));
      ASSERT_TRUE(pair.apart.ProcessBlockPerChannel(ins, outApart, 2, frames));
      ASSERT_TRUE(SameBits(outs[0].data(), outs[2].data(), frames)) << round << " " << block;
      ASSERT_TRUE(SameBits(outs[1].data(), outs[3].data(), frames)) << round << " " << block;
    }
    ExpectSameState(pair.together, pair.apart);
  }
}

// A host may hand one buffer as an output of one channel and the input of
// the other; the channel that comes second then reads what the first wrote.
TEST(RequantiserPair, SharedBuffersGiveTheSameResultAsOneChannelAfterTheOther) {
  const Settings settings{9, true, 16, 512, false};
  std::mt19937 random(7);
  for (int layout = 0; layout < 3; ++layout) {
    Pair pair(settings, 99);
    for (int block = 0; block < 3; ++block) {
      std::vector<double> buffers[2][3];
      for (auto& run : buffers) {
        run[0] = RandomInput(random, 512);
        run[1] = RandomInput(random, 512);
        run[2].assign(512, 0.0);
      }
      buffers[1][0] = buffers[0][0];
      buffers[1][1] = buffers[0][1];
      for (int p = 0; p < 2; ++p) {
        std::vector<double>* b = buffers[p];
        double* ins[2] = {b[0].data(), b[1].data()};
        // 0: output 0 is input 1; 1: output 1 is input 0; 2: both outputs
        // are one buffer.
        double* outs[2] = {layout == 0 ? b[1].data() : b[2].data(),
                           layout == 1 ? b[0].data() : b[2].data()};
        if (p == 0) {
          ASSERT_TRUE(pair.together.ProcessBlock(ins, outs, 2, 512));
        } else {
          ASSERT_TRUE(pair.apart.ProcessBlockPerChannel(ins, outs, 2, 512));
        }
      }
      for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(SameBits(buffers[0][i].data(), buffers[1][i].data(), 512))
            << layout << " " << block << " " << i;
      }
    }
    ExpectSameState(pair.together, pair.apart);
  }
}
