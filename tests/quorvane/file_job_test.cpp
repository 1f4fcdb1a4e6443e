// A whole file through DitherFile: its engine is fed the blocks --block
// asks for, so that a seeded, dithered file equals the engine's own output
// for those blocks, sample for sample.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/quorvane/file_job.h"
#include "tools/quorvane/pair_engine.h"
#include "tests/quorvane/scratch.h"

namespace {

constexpr int kFrames = 20000;  // longer than any chunk the threads pass on

// Frames interleaved: a tone on the left, another on the right.
std::vector<double> Signal() {
  std::vector<double> frames(2 * kFrames);
  for (int j = 0; j < kFrames; ++j) {
    frames[2 * j] = 0.4 * std::sin(0.013 * j);
    frames[2 * j + 1] = 0.3 * std::sin(0.031 * j + 0.5);
  }
  return frames;
}

bool WriteFloatWav(const std::string& path, const std::vector<double>& frames) {
  SF_INFO info = {};
  info.samplerate = 44100;
  info.channels = 2;
  info.format = SF_FORMAT_WAV | SF_FORMAT_DOUBLE;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  const bool ok = sf_writef_double(file, frames.data(), kFrames) == kFrames;
  sf_close(file);
  return ok;
}

std::vector<double> ReadFrames(const std::string& path) {
  SF_INFO info = {};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return {};
  std::vector<double> frames(static_cast<size_t>(info.frames * info.channels));
  sf_command(file, SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_FALSE);
  (void)sf_readf_double(file, frames.data(), info.frames);
  sf_close(file);
  return frames;
}

}  // namespace

TEST(DitherFile, TheEngineGetsTheBlocksOfTheBlockOption) {
  ScratchFolder folder;
  ASSERT_FALSE(folder.path.empty());
  const std::string input = folder.path + "/in.wav";
  const std::string output = folder.path + "/out.wav";
  const std::vector<double> signal = Signal();
  ASSERT_TRUE(WriteFloatWav(input, signal));

  ToolOptions options;
  options.block = 1000;
  options.seedGiven = true;
  options.seed = 77;
  options.floatOutput = true;
  options.quiet = true;
  Progress progress;
  const FileOutcome outcome = DitherFile(FileJob{input, output}, options, options.seed, progress);
  ASSERT_TRUE(outcome.ok) << outcome.problem;
  const std::vector<double> written = ReadFrames(output);
  ASSERT_EQ(written.size(), signal.size());

  // The same signal through the engine in blocks of 1000 frames (the last
  // one shorter), seeded as the file's first channel pair.
  PairEngine engine(2, 44100.0, 1000, options.settings, GroupSeed(options.seed, 0));
  std::vector<double> in[2], out[2];
  for (int start = 0; start < kFrames; start += 1000) {
    const int n = std::min(1000, kFrames - start);
    for (int c = 0; c < 2; ++c) {
      in[c].resize(n);
      out[c].resize(n);
      for (int j = 0; j < n; ++j) in[c][j] = signal[2 * (start + j) + c];
    }
    double* ins[2] = {in[0].data(), in[1].data()};
    double* outs[2] = {out[0].data(), out[1].data()};
    engine.Process(ins, outs, n);
    for (int c = 0; c < 2; ++c) {
      for (int j = 0; j < n; ++j) {
        ASSERT_EQ(static_cast<float>(written[2 * (start + j) + c]), static_cast<float>(out[c][j]))
            << "frame " << start + j << ", channel " << c;
      }
    }
  }
}

// Every thread of a run at once: the reader converting the rate with its
// helper and marking silence, the engines, and the writer blanking and
// measuring. Under the thread sanitizer this is the check that they share
// nothing unguarded.
TEST(StreamThreads, ARunThatConvertsBlanksAndMeasures) {
  ScratchFolder folder;
  ASSERT_FALSE(folder.path.empty());
  const std::string input = folder.path + "/in.wav";
  const std::string output = folder.path + "/out.wav";
  std::vector<double> signal = Signal();
  for (int j = 5000; j < 15000; ++j) signal[2 * j] = signal[2 * j + 1] = 0.0;
  ASSERT_TRUE(WriteFloatWav(input, signal));

  ToolOptions options;
  options.rate = 48000;
  options.autoBlank = true;
  options.floatOutput = true;
  Progress progress;
  const FileOutcome outcome = DitherFile(FileJob{input, output}, options, 5, progress);
  ASSERT_TRUE(outcome.ok) << outcome.problem;
  const std::vector<double> written = ReadFrames(output);
  ASSERT_EQ(written.size(), 2u * std::llround(kFrames * 48000.0 / 44100.0));
  // The middle of the silence, well clear of the converter's filter, is
  // exactly zero; the music around it is not.
  for (int j = 7000; j < 14000; ++j) ASSERT_EQ(written[2 * j], 0.0) << j;
  EXPECT_NE(written[2 * 2000], 0.0);
  EXPECT_NE(outcome.report.find("48000 Hz (converted from 44100 Hz)"), std::string::npos)
      << outcome.report;
}
