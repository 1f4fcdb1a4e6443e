#include "core/state_chunk.h"

#include <gtest/gtest.h>

TEST(StateChunk, CapacityStartsAtSixtyFourAndDoubles) {
  StateChunk chunk;
  EXPECT_TRUE(chunk.Resize(1, false));
  EXPECT_EQ(chunk.Capacity(), 64);
  EXPECT_TRUE(chunk.Resize(65, false));
  EXPECT_EQ(chunk.Capacity(), 128);
  EXPECT_TRUE(chunk.Resize(300, false));
  EXPECT_EQ(chunk.Capacity(), 512);
  EXPECT_TRUE(chunk.Resize(0, false));
  EXPECT_EQ(chunk.Size(), 0);
  EXPECT_EQ(chunk.Capacity(), 512);
}

TEST(StateChunk, ZeroFillClearsTheWholeCapacity) {
  StateChunk chunk;
  ASSERT_TRUE(chunk.Resize(100, false));
  for (int i = 0; i < 100; ++i) chunk.Data()[i] = 0xAB;
  ASSERT_TRUE(chunk.Resize(0, true));
  for (int i = 0; i < chunk.Capacity(); ++i) ASSERT_EQ(chunk.ByteAt(i), 0) << i;
  EXPECT_TRUE(chunk.Resize(-5, false));
  EXPECT_EQ(chunk.Size(), 0);
}

// Doubling past INT32_MAX must not wrap: the capacity holds the size asked
// for (or the resize fails and the chunk is empty).
TEST(StateChunk, CapacityNeverFallsBelowTheSize) {
  StateChunk chunk;
  ASSERT_TRUE(chunk.Resize(1 << 20, false));
  const bool grown = chunk.Resize((1 << 30) + 1, false);
  EXPECT_GE(chunk.Capacity(), chunk.Size());
  if (grown) {
    EXPECT_EQ(chunk.Size(), (1 << 30) + 1);
  }
  EXPECT_TRUE(chunk.Resize(16, false));
  EXPECT_GE(chunk.Capacity(), chunk.Size());
}
