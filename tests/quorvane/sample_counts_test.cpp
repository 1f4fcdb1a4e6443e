#include "tools/quorvane/sample_counts.h"

#include <gtest/gtest.h>

#include <string>

// Every position a file's metadata holds moves to the new rate, a 64-bit
// time reference and FFmpeg's comment for it included.
TEST(SampleCounts, MetadataPositionsMoveToTheNewRate) {
  FileMetadata metadata;
  const uint64_t reference = 96000ull * 3600 * 20;  // 20 hours: above 2^32
  metadata.broadcast.time_reference_low = static_cast<uint32_t>(reference);
  metadata.broadcast.time_reference_high = static_cast<uint32_t>(reference >> 32);
  metadata.cues.cue_count = 1;
  metadata.cues.cue_points[0].position = 96001;
  metadata.cues.cue_points[0].sample_offset = 96001;
  metadata.instrument.loop_count = 1;
  metadata.instrument.loops[0].start = 4800;
  metadata.instrument.loops[0].end = 0xFFFFFFF0u;  // beyond 32 bits at a higher rate
  metadata.flacComments = {"TIME_REFERENCE=192000", "TITLE=192000", "time_reference=12x"};
  ScaleSampleCounts(metadata, 44100.0 / 96000.0);
  const uint64_t scaled = static_cast<uint64_t>(metadata.broadcast.time_reference_high) << 32 |
                          metadata.broadcast.time_reference_low;
  EXPECT_EQ(scaled, 44100ull * 3600 * 20);
  EXPECT_EQ(metadata.cues.cue_points[0].position, 44100u);  // 44100.46 rounded
  EXPECT_EQ(metadata.cues.cue_points[0].sample_offset, 44100u);
  EXPECT_EQ(metadata.instrument.loops[0].start, 2205u);
  ScaleSampleCounts(metadata, 4.0);
  EXPECT_EQ(metadata.instrument.loops[0].end, 0xFFFFFFFFu);  // held at the largest it can say
  EXPECT_EQ(metadata.flacComments[0], "TIME_REFERENCE=352800");
  EXPECT_EQ(metadata.flacComments[1], "TITLE=192000");
  EXPECT_EQ(metadata.flacComments[2], "time_reference=12x");  // not a number: left as it is
}

TEST(SampleCounts, ChunksThatCountNoSamplesGoThroughUntouched) {
  std::string body = "whatever";
  EXPECT_EQ(ChunkAtNewRate("qvzz", "", body, 0.5, 48000), ChunkAtRate::kUntouched);
  EXPECT_EQ(ChunkAtNewRate("LIST", "INFO", body, 0.5, 48000), ChunkAtRate::kUntouched);
  EXPECT_EQ(ChunkAtNewRate("iXML", "", body, 0.5, 48000), ChunkAtRate::kCannot);
  EXPECT_EQ(body, "whatever");
  EXPECT_FALSE(CountsSamples("LIST", "INFO"));
  EXPECT_TRUE(CountsSamples("LIST", "adtl"));
  // A damaged cue chunk (a point cut short) is converted as far as it goes.
  std::string cue(4 + 24 + 10, '\0');
  cue[4 + 4] = 100;
  EXPECT_EQ(ChunkAtNewRate("cue ", "", cue, 0.5, 48000), ChunkAtRate::kConverted);
  EXPECT_EQ(cue[4 + 4], 50);
  EXPECT_EQ(cue.size(), 38u);
}
