#include "tools/quorvane/rate_converter.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/quorvane/scratch.h"

namespace {

constexpr int kChannels = 3;
constexpr int kFrames = 20000;

// Noise in every channel; with `only` >= 0, a one-channel file of that
// channel alone.
bool WriteNoise(const std::string& path, int only = -1) {
  SF_INFO info{};
  info.samplerate = 96000;
  info.channels = only >= 0 ? 1 : kChannels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  std::vector<double> frames(kChannels * kFrames);
  uint32_t random = 1;
  for (double& sample : frames) {
    random = random * 1664525u + 1013904223u;
    sample = static_cast<double>(random >> 8) / 16777216.0 - 0.5;
  }
  if (only >= 0) {
    for (int j = 0; j < kFrames; ++j) frames[j] = frames[j * kChannels + only];
  }
  const bool written = sf_writef_double(file, frames.data(), kFrames) == kFrames;
  return sf_close(file) == 0 && written;
}

// Every output frame of the file at 44.1 kHz, read `piece` frames at a time.
std::vector<double> Convert(const std::string& path, int64_t piece, int64_t& frames) {
  InputFile input;
  std::string error;
  EXPECT_TRUE(input.Open(path, error)) << error;
  const int channels = input.Info().channels;
  RateConverter converter(input, 44100, RateQuality::kVeryHigh);
  EXPECT_EQ(converter.Error(), "");
  converter.PrepareReading(piece);
  std::vector<double> all, planar(channels * piece);
  frames = 0;
  for (int64_t got; (got = converter.ReadPlanar(planar.data(), piece, piece)) > 0; frames += got) {
    for (int64_t j = 0; j < got; ++j) {
      for (int c = 0; c < channels; ++c) all.push_back(planar[c * piece + j]);
    }
  }
  EXPECT_EQ(converter.ReadError(), "");
  EXPECT_EQ(frames, converter.OutputFrames(kFrames));
  return all;
}

}  // namespace

// The output does not depend on how the stream is read, and its length is
// the input's at the new rate: the converters are drained at the end.
TEST(RateConverter, HowTheStreamIsReadChangesNothing) {
  ScratchFolder folder;
  const std::string path = folder.path + "/noise.wav";
  ASSERT_TRUE(WriteNoise(path));
  int64_t wholeFrames = 0, pieceFrames = 0, smallFrames = 0;
  const std::vector<double> whole = Convert(path, 100000, wholeFrames);
  const std::vector<double> pieces = Convert(path, 4096, pieceFrames);
  const std::vector<double> small = Convert(path, 77, smallFrames);
  EXPECT_EQ(wholeFrames, std::llround(kFrames * 44100.0 / 96000.0));
  EXPECT_EQ(pieces, whole);
  EXPECT_EQ(small, whole);
  // Not silence: the noise came through.
  double power = 0.0;
  for (double sample : whole) power += sample * sample;
  EXPECT_GT(power / static_cast<double>(whole.size()), 0.01);
}

// The channels are converted in two halves by converters of their own: each
// channel comes out as it would converted alone.
TEST(RateConverter, EachChannelAsItWouldBeAlone) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteNoise(folder.path + "/all.wav"));
  ASSERT_TRUE(WriteNoise(folder.path + "/last.wav", kChannels - 1));
  int64_t allFrames = 0, lastFrames = 0;
  const std::vector<double> all = Convert(folder.path + "/all.wav", 4096, allFrames);
  const std::vector<double> last = Convert(folder.path + "/last.wav", 4096, lastFrames);
  ASSERT_EQ(allFrames, lastFrames);
  for (int64_t j = 0; j < allFrames; ++j) {
    ASSERT_EQ(all[j * kChannels + kChannels - 1], last[j]) << j;
  }
}

// However far the rate falls, the converter reads a bounded piece ahead: to
// 1 Hz the file gives a frame or none, in little memory and time.
TEST(RateConverter, AnExtremeRatioReadsBoundedPieces) {
  ScratchFolder folder;
  ASSERT_TRUE(WriteNoise(folder.path + "/noise.wav"));
  InputFile input;
  std::string error;
  ASSERT_TRUE(input.Open(folder.path + "/noise.wav", error)) << error;
  RateConverter converter(input, 1, RateQuality::kMedium);
  ASSERT_EQ(converter.Error(), "");
  converter.PrepareReading(32768);  // would ask for 96000 times as much input
  std::vector<double> planar(kChannels * 32768);
  int64_t frames = 0;
  for (int64_t got; (got = converter.ReadPlanar(planar.data(), 32768, 32768)) > 0;) frames += got;
  EXPECT_EQ(frames, converter.OutputFrames(kFrames));
}
