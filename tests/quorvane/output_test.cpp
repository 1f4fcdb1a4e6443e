#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/quorvane/channel_pairs.h"
#include "tools/quorvane/output_format.h"
#include "tools/quorvane/output_grid.h"

namespace {

OutputFormat Choose(const std::string& path, int bits, bool floats = false) {
  OutputFormat format;
  std::string error;
  EXPECT_TRUE(ChooseOutputFormat(path, bits, floats, format, error)) << error;
  return format;
}

std::string Refusal(const std::string& path, int bits, bool floats = false) {
  OutputFormat format;
  std::string error;
  EXPECT_FALSE(ChooseOutputFormat(path, bits, floats, format, error));
  return error;
}

}  // namespace

TEST(OutputFormat, TheSmallestIntegerContainerHoldsTheTargetBits) {
  const struct {
    int bits;
    int container;
    int subtype;
  } cases[] = {{6, 16, SF_FORMAT_PCM_16},  {16, 16, SF_FORMAT_PCM_16}, {17, 24, SF_FORMAT_PCM_24},
               {24, 24, SF_FORMAT_PCM_24}, {25, 32, SF_FORMAT_PCM_32}, {32, 32, SF_FORMAT_PCM_32}};
  for (const auto& c : cases) {
    const OutputFormat format = Choose("out.wav", c.bits);
    EXPECT_EQ(format.containerBits, c.container) << c.bits;
    EXPECT_EQ(format.sndfileFormat, SF_FORMAT_WAV | c.subtype) << c.bits;
    EXPECT_FALSE(format.isFloat);
  }
  EXPECT_EQ(Choose("out.wav", 16).description, "16-bit PCM WAV");
}

TEST(OutputFormat, FloatsHoldEveryStepOfTheGrid) {
  EXPECT_EQ(Choose("a.wav", 24, true).sndfileFormat, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(Choose("a.wav", 25, true).sndfileFormat, SF_FORMAT_WAV | SF_FORMAT_DOUBLE);
  EXPECT_EQ(Choose("a.caf", 32, true).description, "64-bit float CAF");
}

TEST(OutputFormat, TheExtensionNamesTheFormatInAnyCase) {
  EXPECT_EQ(Choose("x/y.FLAC", 16).sndfileFormat & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
  EXPECT_EQ(Choose("y.aif", 16).sndfileFormat & SF_FORMAT_TYPEMASK, SF_FORMAT_AIFF);
  EXPECT_EQ(Choose("y.aiff", 16).sndfileFormat & SF_FORMAT_TYPEMASK, SF_FORMAT_AIFF);
  EXPECT_EQ(Choose("y.W64", 16).sndfileFormat & SF_FORMAT_TYPEMASK, SF_FORMAT_W64);
  EXPECT_EQ(Choose("y.caf", 16).sndfileFormat & SF_FORMAT_TYPEMASK, SF_FORMAT_CAF);
  EXPECT_NE(Refusal("song.mp3", 16).find("cannot tell the format"), std::string::npos);
  EXPECT_NE(Refusal("folder.wav/song", 16).find("cannot tell the format"), std::string::npos);
  EXPECT_NE(Refusal("wav", 16).find("cannot tell the format"), std::string::npos);
}

TEST(OutputFormat, FlacAboveTwentyFourBitsOrAsFloatsIsRefused) {
  EXPECT_EQ(Choose("a.flac", 24).containerBits, 24);
  EXPECT_NE(Refusal("a.flac", 25).find("FLAC holds at most 24 bits"), std::string::npos);
  EXPECT_NE(Refusal("a.flac", 16, true).find("FLAC stores no floats"), std::string::npos);
}

TEST(OutputGrid, OversAreClippedToTheLargestGridValuesAndCounted) {
  const OutputGrid grid(16);
  uint64_t overs = 0;
  EXPECT_EQ(grid.Clip(1.0, overs), 32767.0 / 32768.0);
  EXPECT_EQ(grid.Clip(1.0 + 3.0 / 32768.0, overs), 32767.0 / 32768.0);
  EXPECT_EQ(grid.Clip(-1.0 - 1.0 / 32768.0, overs), -1.0);
  EXPECT_EQ(overs, 3u);
  EXPECT_EQ(grid.Clip(-1.0, overs), -1.0);
  EXPECT_EQ(grid.Clip(32767.0 / 32768.0, overs), 32767.0 / 32768.0);
  EXPECT_EQ(grid.Clip(0.0, overs), 0.0);
  EXPECT_EQ(overs, 3u);
  // A 12-bit word in its 16-bit container stays on its own grid.
  EXPECT_EQ(OutputGrid(12).Clip(1.0, overs), 2047.0 / 2048.0);
}

TEST(OutputGrid, IntegersAreTheGridValuesExactly) {
  for (int bits = 6; bits <= 32; ++bits) {
    const OutputGrid grid(bits);
    const int shift = 32 - bits;
    uint64_t overs = 0;
    EXPECT_EQ(OutputGrid::ToInt32(grid.Clip(2.0, overs)),
              static_cast<int32_t>((INT64_C(1) << 31) - (INT64_C(1) << shift)))
        << bits;
    EXPECT_EQ(OutputGrid::ToInt32(-1.0), INT32_MIN) << bits;
    const double step = std::ldexp(1.0, 1 - bits);
    EXPECT_EQ(OutputGrid::ToInt32(step), static_cast<int32_t>(INT64_C(1) << shift)) << bits;
    EXPECT_EQ(OutputGrid::ToInt32(-3 * step), static_cast<int32_t>(-3 * (INT64_C(1) << shift)))
        << bits;
  }
}

// Storing a chunk gives, for every channel count and length, what Clip and
// ToInt32 give value by value, interleaved, with the planar values limited
// in place.
TEST(OutputGrid, StoringAChunkInterleavesWhatClipGives) {
  const OutputGrid grid(16);
  const double top = grid.Top();
  const double values[] = {0.5, top, 1.0, -1.0, -1.0 - 1.0 / 32768.0, 0.25, 1.5, -0.125, 0.0};
  for (int channels = 1; channels <= 5; ++channels) {
    for (int frames : {0, 1, 2, 7, 8}) {
      const size_t stride = 9;
      std::vector<double> planar(channels * stride), ints(planar), doubles(planar);
      for (size_t i = 0; i < planar.size(); ++i) planar[i] = values[(i * 5 + channels) % 9];
      ints = doubles = planar;
      std::vector<int32_t> words(channels * frames, 7);
      std::vector<double> interleaved(channels * frames, 7.0);
      uint64_t expectedOvers = 0;
      std::vector<double> limited(planar);
      for (int c = 0; c < channels; ++c) {
        for (int j = 0; j < frames; ++j) {
          double& y = limited[c * stride + j];
          y = grid.Clip(y, expectedOvers);
        }
      }
      EXPECT_EQ(grid.Store(ints.data(), stride, channels, frames, words.data()), expectedOvers);
      EXPECT_EQ(grid.Store(doubles.data(), stride, channels, frames, interleaved.data()),
                expectedOvers);
      EXPECT_EQ(ints, limited);
      EXPECT_EQ(doubles, limited);
      for (int c = 0; c < channels; ++c) {
        for (int j = 0; j < frames; ++j) {
          EXPECT_EQ(words[j * channels + c], OutputGrid::ToInt32(limited[c * stride + j]));
          EXPECT_EQ(interleaved[j * channels + c], limited[c * stride + j]);
        }
      }
    }
  }
}

TEST(ChannelPairs, ChannelsGoInPairsWithALastOddOneAlone) {
  EXPECT_TRUE(PairChannels(0).empty());
  const std::vector<ChannelGroup> mono = PairChannels(1);
  ASSERT_EQ(mono.size(), 1u);
  EXPECT_EQ(mono[0].first, 0);
  EXPECT_EQ(mono[0].count, 1);
  for (int channels = 2; channels <= 9; ++channels) {
    const std::vector<ChannelGroup> groups = PairChannels(channels);
    ASSERT_EQ(static_cast<int>(groups.size()), (channels + 1) / 2) << channels;
    for (size_t g = 0; g < groups.size(); ++g) {
      EXPECT_EQ(groups[g].first, static_cast<int>(2 * g));
      const bool lastOdd = g + 1 == groups.size() && channels % 2 == 1;
      EXPECT_EQ(groups[g].count, lastOdd ? 1 : 2) << channels << " " << g;
    }
  }
}
