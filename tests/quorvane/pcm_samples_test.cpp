#include "tools/quorvane/pcm_samples.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "tests/quorvane/scratch.h"
#include "tools/quorvane/input_file.h"

namespace {

constexpr int kChannels = 3;
constexpr int kFrames = 5000;

// Writes a file of the given format through libsndfile: full scale both ways,
// the smallest steps, and for floats values beyond full scale.
bool WriteTestFile(const std::string& path, int format) {
  SF_INFO info{};
  info.samplerate = 48000;
  info.channels = kChannels;
  info.format = format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  std::vector<double> frames(kChannels * kFrames);
  for (size_t i = 0; i < frames.size(); ++i) {
    frames[i] = std::sin(0.37 * static_cast<double>(i)) * (i % 7 == 0 ? 1.25 : 0.999);
  }
  frames[0] = -1.0;
  frames[1] = 1.0;
  frames[2] = 1.0 / 8388608.0;
  sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
  const bool written = sf_writef_double(file, frames.data(), kFrames) == kFrames;
  return sf_close(file) == 0 && written;
}

// Every channel of the file one after the other, as libsndfile's doubles.
std::vector<double> ThroughLibsndfile(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  std::vector<double> frames(kChannels * kFrames), planar(frames.size());
  EXPECT_EQ(sf_readf_double(file, frames.data(), kFrames), kFrames);
  sf_close(file);
  for (int c = 0; c < kChannels; ++c) {
    for (int j = 0; j < kFrames; ++j) planar[c * kFrames + j] = frames[j * kChannels + c];
  }
  return planar;
}

}  // namespace

// The tool's own reading of plain PCM and floats gives libsndfile's values to
// the bit, in either byte order; other encodings go through libsndfile.
TEST(InputFile, ReadsEveryEncodingAsLibsndfileDoes) {
  struct Case {
    const char* name;
    int format;
    int bytes;  // expected of PcmEncodingOf
    bool swapped;
  };
  const Case cases[] = {
      {"a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, false},
      {"b.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 3, false},
      {"c.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_32, 4, false},
      {"d.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4, false},
      {"e.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 3, true},
      {"f.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE, 2, false},
      {"g.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 4, true},
      {"h.w64", SF_FORMAT_W64 | SF_FORMAT_PCM_24, 3, false},
      {"i.rf64", SF_FORMAT_RF64 | SF_FORMAT_FLOAT, 4, false},
      {"j.caf", SF_FORMAT_CAF | SF_FORMAT_PCM_32, 4, true},
      {"k.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 0, false},
      {"l.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 0, false},
      {"m.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 0, false},
  };
  ScratchFolder folder;
  for (const Case& test : cases) {
    const std::string path = folder.path + "/" + test.name;
    ASSERT_TRUE(WriteTestFile(path, test.format)) << test.name;
    InputFile input;
    std::string error;
    ASSERT_TRUE(input.Open(path, error)) << error;
    const PcmEncoding encoding = PcmEncodingOf(input.File(), input.Info());
    EXPECT_EQ(encoding.bytes, test.bytes) << test.name;
    if (encoding.bytes > 0) {
      EXPECT_EQ(encoding.swapped, test.swapped) << test.name;
    }
    // Read in pieces that do not divide the file, into a planar buffer.
    constexpr int kPiece = 777;
    input.PrepareReading(kPiece);
    std::vector<double> piece(kChannels * kPiece), planar(kChannels * kFrames);
    int done = 0;
    for (int64_t got; (got = input.ReadPlanar(piece.data(), kPiece, kPiece)) > 0; done += got) {
      ASSERT_LE(done + got, kFrames) << test.name;
      for (int c = 0; c < kChannels; ++c) {
        std::memcpy(&planar[c * kFrames + done], &piece[c * kPiece], got * sizeof(double));
      }
    }
    EXPECT_EQ(done, kFrames) << test.name;
    EXPECT_EQ(sf_error(input.File()), SF_ERR_NO_ERROR) << test.name;
    const std::vector<double> expected = ThroughLibsndfile(path);
    EXPECT_EQ(std::memcmp(planar.data(), expected.data(), planar.size() * sizeof(double)), 0)
        << test.name;
  }
}
