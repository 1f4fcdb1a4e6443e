// A FLAC file's metadata blocks: found by walking their headers whatever
// they claim, and carried from a FLAC input to a FLAC output byte for byte,
// with a seek table made for the new frames.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/quorvane/file_job.h"
#include "tools/quorvane/flac_blocks.h"
#include "tests/quorvane/scratch.h"

namespace {

std::string Block(bool last, int type, const std::string& body) {
  const auto n = static_cast<uint32_t>(body.size());
  return std::string{static_cast<char>((last ? 0x80 : 0) | type), static_cast<char>(n >> 16),
                     static_cast<char>(n >> 8 & 0xff), static_cast<char>(n & 0xff)} +
         body;
}

FlacLayout Walk(const std::string& path) {
  const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const FlacLayout layout = WalkFlacBlocks(descriptor, lseek(descriptor, 0, SEEK_END));
  close(descriptor);
  return layout;
}

TEST(WalkFlacBlocks, ABlockClaimingMoreThanTheFileHoldsIsDamageAndEndsTheWalk) {
  ScratchFolder folder;
  const std::string path = folder.path + "/hostile.flac";
  ASSERT_TRUE(WriteWhole(
      path, "fLaC" + Block(false, 0, std::string(34, '\0')) + "\x06\xff\xff\xf0" + "PNG"));
  const FlacLayout layout = Walk(path);
  EXPECT_TRUE(layout.isFlac);
  ASSERT_EQ(layout.blocks.size(), 1u);
  EXPECT_EQ(layout.framesAt, -1);
  ASSERT_EQ(layout.damaged.size(), 1u);
  EXPECT_EQ(layout.damaged[0], "PICTURE (damaged: claims 16777200 bytes, the file holds 3 more)");
}

// 25 s at 44.1 kHz, with three seek points ten seconds apart.
TEST(DitherFile, KeepsEveryBlockOfAFlacAndMakesItsSeekTableAnew) {
  ScratchFolder folder;
  const std::string plain = folder.path + "/plain.flac", input = folder.path + "/in.flac";
  constexpr int kRate = 44100, kFrames = 25 * kRate;
  SF_INFO info{};
  info.samplerate = kRate;
  info.channels = 2;
  info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  SNDFILE* file = sf_open(plain.c_str(), SFM_WRITE, &info);
  ASSERT_NE(file, nullptr);
  std::vector<double> frames(2 * kFrames);
  for (int j = 0; j < kFrames; ++j) frames[2 * j] = frames[2 * j + 1] = 0.3 * std::sin(0.01 * j);
  ASSERT_EQ(sf_writef_double(file, frames.data(), kFrames), kFrames);
  sf_close(file);

  // The input: its STREAMINFO and frames, with blocks a master carries.
  const std::string encoded = ReadWhole(plain);
  const FlacLayout plainLayout = Walk(plain);
  ASSERT_GE(plainLayout.framesAt, 0);
  const std::string application = "qvtstsome application data";
  // A seek table of three points ten seconds apart, their offsets those of
  // the old frames (zero will not do for the new ones).
  std::string seekTable;
  for (uint64_t k = 0; k < 3; ++k) {
    for (int b = 7; b >= 0; --b) seekTable += static_cast<char>(k * 10 * kRate >> (8 * b) & 0xff);
    seekTable += std::string(10, '\0');
  }
  // A picture: type, MIME type, no description, size and colours, data.
  const std::string picture = std::string("\0\0\0\3\0\0\0\x09image/png\0\0\0\0", 21) +
                              std::string(16, '\x01') + std::string("\0\0\0\x28", 4) +
                              std::string(40, 'p');
  // A cue sheet of no CD: catalogue, lead-in, flags, one track (the lead-out
  // at the end of the audio).
  std::string cueSheet = std::string(395, '\0') + '\x01';
  for (int b = 7; b >= 0; --b) cueSheet += static_cast<char>(uint64_t{kFrames} >> (8 * b) & 0xff);
  cueSheet += '\xff' + std::string(12 + 1 + 13 + 1, '\0');
  ASSERT_TRUE(WriteWhole(
      input,
      "fLaC" +
          Block(false, 0, encoded.substr(static_cast<size_t>(plainLayout.blocks[0].offset), 34)) +
          Block(false, 3, seekTable) + Block(false, 2, application) + Block(false, 6, picture) +
          Block(false, 5, cueSheet) + Block(true, 1, std::string(100, '\0')) +
          encoded.substr(static_cast<size_t>(plainLayout.framesAt))));

  FileJob job{input, folder.path + "/out.flac"};
  ToolOptions options;
  Progress progress;
  const FileOutcome outcome = DitherFile(job, options, 1, progress);
  ASSERT_TRUE(outcome.ok) << outcome.problem;
  EXPECT_EQ(outcome.report.find("not kept"), std::string::npos) << outcome.report;

  const std::string out = ReadWhole(job.output);
  const FlacLayout layout = Walk(job.output);
  std::vector<int> types;
  for (const FlacBlock& block : layout.blocks) types.push_back(block.type);
  EXPECT_EQ(types, (std::vector<int>{kStreamInfo, kSeekTable, kApplication, kPicture, kCueSheet,
                                     kPadding}));
  auto body = [&](size_t i) {
    return out.substr(static_cast<size_t>(layout.blocks[i].offset),
                      static_cast<size_t>(layout.blocks[i].size));
  };
  EXPECT_EQ(body(2), application);
  EXPECT_EQ(body(3), picture);
  EXPECT_EQ(body(4), cueSheet);
  EXPECT_NE(body(0).substr(18, 16), std::string(16, '\0')) << "no MD5 of the new audio";

  // Each point names the frame holding its sample, where a frame starts.
  const std::string table = body(1);
  ASSERT_EQ(table.size(), 3u * 18);
  for (size_t k = 0; k < 3; ++k) {
    uint64_t sample = 0, offset = 0;
    for (int b = 0; b < 8; ++b) {
      sample = sample << 8 | static_cast<unsigned char>(table[18 * k + b]);
      offset = offset << 8 | static_cast<unsigned char>(table[18 * k + 8 + b]);
    }
    EXPECT_LE(sample, k * 10 * kRate);
    EXPECT_GT(sample + 4096, k * 10 * kRate);
    const size_t at = static_cast<size_t>(layout.framesAt) + offset;
    ASSERT_LT(at + 1, out.size());
    EXPECT_EQ(static_cast<unsigned char>(out[at]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(out[at + 1]), 0xF8);
  }
}

}  // namespace
