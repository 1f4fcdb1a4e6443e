// The scratch channels between the host's float audio and the double path:
// channels never overlap, whatever the order of shapes, and storage kept for
// a larger shape serves smaller ones.
#include "plug/channel_buffers.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Writes a distinct value to every cell, then reads every cell back.
void ExpectCellsApart(ChannelBuffers& buffers, int32_t channels, int32_t frames) {
  ASSERT_TRUE(buffers.Resize(channels, frames, false)) << channels << " x " << frames;
  ASSERT_EQ(buffers.ChannelCount(), channels);
  ASSERT_EQ(buffers.FrameCount(), frames);
  for (int32_t c = 0; c < channels; ++c) {
    for (int32_t j = 0; j < frames; ++j) buffers.Channels()[c][j] = c * 100000.0 + j;
  }
  for (int32_t c = 0; c < channels; ++c) {
    for (int32_t j = 0; j < frames; ++j) {
      ASSERT_EQ(buffers.Channels()[c][j], c * 100000.0 + j) << channels << " x " << frames;
    }
  }
}

}  // namespace

TEST(ChannelBuffers, ChannelsNeverOverlapWhateverTheOrderOfShapes) {
  const std::vector<std::pair<int32_t, int32_t>> shapes = {
      {2, 512}, {4, 64}, {4, 512}, {1, 16}, {2, 16}, {2, 64}, {3, 1000}, {2, 7}, {4, 1024}};
  ChannelBuffers buffers;
  for (const auto& shape : shapes) ExpectCellsApart(buffers, shape.first, shape.second);
}

TEST(ChannelBuffers, FramesGrowForALongerBlockAfterAShortOne) {
  ChannelBuffers buffers;
  ExpectCellsApart(buffers, 2, 16);
  ExpectCellsApart(buffers, 2, 64);
  ExpectCellsApart(buffers, 2, 16);
  const int32_t allocations = buffers.Allocations();
  ExpectCellsApart(buffers, 2, 64);
  EXPECT_EQ(buffers.Allocations(), allocations);
}

TEST(ChannelBuffers, WideningReadsMissingHostChannelsAsSilence) {
  std::vector<float> left(48, 0.5f);
  float* host[2] = {left.data(), nullptr};
  ChannelBuffers buffers;
  ASSERT_TRUE(buffers.FillFrom(host, 2, 48));
  for (int32_t j = 0; j < 48; ++j) {
    EXPECT_EQ(buffers.Channels()[0][j], 0.5);
    EXPECT_EQ(buffers.Channels()[1][j], 0.0);
  }
}
