#include "tools/quorvane/silence.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int kChannels = 3;  // a pair and a channel alone
constexpr int64_t kMin = 50;

// A stream of `frames` frames, planar, with runs of silence of many lengths
// (some across the chunk boundaries the test cuts), in both groups and in
// one channel of the pair only.
std::vector<double> Stream(int64_t frames) {
  std::vector<double> planar(kChannels * frames, 0.25);
  uint32_t random = 12345;
  for (int64_t j = 0; j < frames;) {
    random = random * 1664525u + 1013904223u;
    const int64_t length = (random >> 8) % 130;
    const int which = (random >> 4) % 4;  // 0: the pair, 1: the lone channel, 2: left only, 3: none
    for (int64_t k = j; k < j + length && k < frames; ++k) {
      if (which == 0 || which == 2) planar[k] = 0.0;
      if (which == 0) planar[frames + k] = 0.0;
      if (which == 1) planar[2 * frames + k] = 0.0;
    }
    j += length + (random >> 20) % 3;
  }
  return planar;
}

// Whether frame j lies in silence of the group, from the whole stream.
bool SilentAt(const std::vector<double>& planar, int64_t frames, const ChannelGroup& group,
              int64_t j) {
  auto silent = [&](int64_t k) {
    for (int c = 0; c < group.count; ++c) {
      if (planar[(group.first + c) * frames + k] != 0.0) return false;
    }
    return true;
  };
  if (!silent(j)) return false;
  int64_t first = j, last = j;
  while (first > 0 && silent(first - 1)) --first;
  while (last + 1 < frames && silent(last + 1)) ++last;
  return last - first + 1 >= kMin;
}

}  // namespace

// However the stream is cut into chunks (each at least the shortest run
// long), the runs marked are exactly the whole stream's runs of silence of
// at least that length, in each group alone.
TEST(SilenceFinder, MarksTheStreamsRunsWhereverTheChunksEnd) {
  constexpr int64_t kFrames = 20000;
  const std::vector<double> whole = Stream(kFrames);
  const std::vector<ChannelGroup> groups = PairChannels(kChannels);
  for (int64_t chunk : {kMin, kMin + 7, int64_t{333}, int64_t{4096}, kFrames}) {
    SilenceFinder finder(groups, kMin);
    int64_t marked = 0;
    int64_t expectedMarked = 0;
    for (int64_t start = 0; start < kFrames; start += chunk) {
      auto cut = [&](int64_t from, std::vector<double>& planar) {
        const int64_t n = std::min(chunk, kFrames - from);
        planar.assign(kChannels * chunk, 0.5);
        for (int c = 0; c < kChannels; ++c) {
          for (int64_t j = 0; j < n; ++j) planar[c * chunk + j] = whole[c * kFrames + from + j];
        }
        return n;
      };
      std::vector<double> now, next;
      const int64_t frames = cut(start, now);
      const bool last = start + chunk >= kFrames;
      const int64_t nextFrames = last ? 0 : cut(start + chunk, next);
      std::vector<uint8_t> mask(groups.size() * chunk, 9);
      marked += finder.Mark(now.data(), frames, last ? nullptr : next.data(), nextFrames, chunk,
                            mask.data());
      for (size_t g = 0; g < groups.size(); ++g) {
        for (int64_t j = 0; j < frames; ++j) {
          const bool expected = SilentAt(whole, kFrames, groups[g], start + j);
          ASSERT_EQ(mask[g * chunk + j], expected ? 1 : 0)
              << "chunk " << chunk << " group " << g << " frame " << start + j;
          expectedMarked += expected ? groups[g].count : 0;
        }
      }
    }
    EXPECT_EQ(marked, expectedMarked) << chunk;
    EXPECT_GT(marked, 0);
  }
}

TEST(SilenceFinder, BlanksTheMarkedFramesOfEachGroupOnly) {
  const std::vector<ChannelGroup> groups = PairChannels(kChannels);
  SilenceFinder finder(groups, kMin);
  constexpr int64_t kStride = 8;
  std::vector<uint8_t> mask(groups.size() * kStride, 0);
  mask[2] = mask[3] = 1;  // the pair, frames 2 and 3
  mask[kStride + 5] = 1;  // the lone channel, frame 5
  std::vector<double> planar(kChannels * kStride, 0.125);
  finder.Blank(mask.data(), planar.data(), kStride, 3, 5);  // frames 3 .. 7
  for (int c = 0; c < kChannels; ++c) {
    for (int64_t j = 0; j < kStride; ++j) {
      const bool blank = (c < 2 && j == 3) || (c == 2 && j == 5);
      EXPECT_EQ(planar[c * kStride + j], blank ? 0.0 : 0.125) << c << " " << j;
    }
  }
  EXPECT_EQ(SilenceFrames(44100), 441);
  EXPECT_EQ(SilenceFrames(22050), 221);
}
