#include "tools/quorvane/batch.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

// The first file keeps the batch's seed; no channel pair of any file of a
// batch draws the same dither as another's.
TEST(FileSeed, EveryChannelPairOfEveryFileDrawsItsOwnDither) {
  for (uint32_t seed : {0u, 1u, 7u, 0x9E3779B9u, 0xFFFFFFFFu}) {
    EXPECT_EQ(FileSeed(seed, 0), seed);
    std::set<uint32_t> pairs;
    constexpr int kFiles = 512, kPairs = 16;
    for (int file = 0; file < kFiles; ++file) {
      for (int group = 0; group < kPairs; ++group)
        pairs.insert(GroupSeed(FileSeed(seed, file), group));
    }
    EXPECT_EQ(pairs.size(), static_cast<size_t>(kFiles * kPairs)) << seed;
  }
}
