// The WAV family's chunks: found by walking their headers whatever the
// headers claim, and carried from input to output byte for byte, in order,
// by the tool's own WAV writer.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/quorvane/file_job.h"
#include "tools/quorvane/riff_chunks.h"
#include "tools/quorvane/wav_writer.h"
#include "tests/quorvane/scratch.h"

namespace {

std::string Le32(uint32_t value) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(value >> (8 * i));
  return out;
}

std::string Le64(uint64_t value) {
  return Le32(static_cast<uint32_t>(value)) + Le32(static_cast<uint32_t>(value >> 32));
}

std::string Chunk(const std::string& id, const std::string& body) {
  return id + Le32(static_cast<uint32_t>(body.size())) + body +
         (body.size() & 1 ? std::string(1, '\0') : "");
}

// 16-bit stereo at 44.1 kHz.
std::string Format() {
  return Chunk("fmt ", std::string("\x01\x00\x02\x00", 4) + Le32(44100) + Le32(44100 * 4) +
                           std::string("\x04\x00\x10\x00", 4));
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

// A bext body: empty fields, then the coding history.
std::string Bext(const std::string& history) { return std::string(602, '\0') + history; }

// A file of `bytes` in a folder of its own, open for reading.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& bytes) : path(folder.path + "/in.wav") {
    EXPECT_TRUE(WriteWhole(path, bytes));
    descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    size = static_cast<int64_t>(bytes.size());
  }
  ~ScratchFile() { close(descriptor); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  ScratchFolder folder;
  std::string path;
  int descriptor = -1;
  int64_t size = 0;
};

std::vector<std::string> Ids(const RiffLayout& layout) {
  std::vector<std::string> ids;
  for (const RiffChunk& chunk : layout.chunks)
    ids.push_back(chunk.id + (chunk.afterData ? "+" : ""));
  return ids;
}

TEST(WalkRiffChunks, ListsEveryChunkAroundTheAudioWithItsPadding) {
  const std::string audio(8, '\x11');
  ScratchFile file(Riff(Format() + Chunk("iXML", "<x/>") + Chunk("odd_", "abc") +
                        Chunk("data", audio) + Chunk("id3 ", "ID3tag")));
  const RiffLayout layout = WalkRiffChunks(file.descriptor, file.size);
  EXPECT_EQ(layout.container, RiffContainer::kRiff);
  EXPECT_EQ(Ids(layout), (std::vector<std::string>{"fmt ", "iXML", "odd_", "id3 +"}));
  EXPECT_EQ(layout.chunks[2].size, 3);
  EXPECT_TRUE(layout.damaged.empty());
}

TEST(WalkRiffChunks, AClaimBeyondTheFileOrBytesThatAreNoChunkAreDamageAndStopTheWalk) {
  ScratchFile claim(Riff(Format() + Chunk("data", "abcd")) + "LIST" + Le32(0xFFFFFF00) + "IN");
  RiffLayout layout = WalkRiffChunks(claim.descriptor, claim.size);
  EXPECT_EQ(Ids(layout), (std::vector<std::string>{"fmt "}));
  ASSERT_EQ(layout.damaged.size(), 1u);
  EXPECT_EQ(layout.damaged[0], "LIST (damaged: claims 4294967040 bytes, the file holds 2 more)");

  ScratchFile garbage(Riff(Format() + Chunk("data", "abcd")) +
                      std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  layout = WalkRiffChunks(garbage.descriptor, garbage.size);
  ASSERT_EQ(layout.damaged.size(), 1u);
  EXPECT_NE(layout.damaged[0].find("damaged: no chunk"), std::string::npos);
}

TEST(WalkRiffChunks, ListsAtMostSoManyChunksAndCountsTheRest) {
  std::string many;
  for (size_t i = 0; i < kMaxRiffChunks + 10; ++i) many += Chunk("tiny", "");
  ScratchFile file(Riff(Format() + many + Chunk("data", "abcd")));
  const RiffLayout layout = WalkRiffChunks(file.descriptor, file.size);
  EXPECT_EQ(layout.chunks.size(), kMaxRiffChunks);
  ASSERT_EQ(layout.damaged.size(), 1u);
  EXPECT_EQ(layout.damaged[0], "11 chunks past the first 4096");
}

TEST(WalkRiffChunks, Rf64SizesComeFromItsTable) {
  const std::string ds64 = Le64(0) + Le64(4) + Le64(1) + Le32(1) + "big " + Le64(6);
  const std::string body = "WAVE" + Chunk("ds64", ds64) + Format() + "big " + Le32(0xFFFFFFFF) +
                           "123456" + "data" + Le32(0xFFFFFFFF) + "abcd" + Chunk("tail", "t");
  ScratchFile file("RF64" + Le32(0xFFFFFFFF) + body);
  const RiffLayout layout = WalkRiffChunks(file.descriptor, file.size);
  EXPECT_EQ(layout.container, RiffContainer::kRf64);
  EXPECT_EQ(Ids(layout), (std::vector<std::string>{"fmt ", "big ", "tail+"}));
  EXPECT_EQ(layout.chunks[1].size, 6);
}

TEST(WalkRiffChunks, W64ChunksAreNamedByTheirFourCharactersWhenTheirGuidHasThem) {
  const std::string tail("\xF3\xAC\xD3\x11\x8C\xD1\x00\xC0\x4F\x8E\xDB\x8A", 12);
  auto w64Chunk = [](const std::string& guid, const std::string& body) {
    std::string padded = body;
    padded.resize((body.size() + 7) & ~size_t{7}, '\0');
    return guid + Le64(24 + body.size()) + padded;
  };
  const std::string other("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10", 16);
  const std::string chunks =
      w64Chunk("iXML" + tail, "<x/>") + w64Chunk(other, "?") + w64Chunk("data" + tail, "abcd");
  const std::string riff("riff\x2E\x91\xCF\x11\xA5\xD6\x28\xDB\x04\xC1\x00\x00", 16);
  ScratchFile file(riff + Le64(40 + chunks.size()) + "wave" + tail + chunks);
  const RiffLayout layout = WalkRiffChunks(file.descriptor, file.size);
  EXPECT_EQ(layout.container, RiffContainer::kW64);
  EXPECT_EQ(Ids(layout),
            (std::vector<std::string>{"iXML", "{04030201-0605-0807-090A-0B0C0D0E0F10}"}));
}

// A WAV with what delivery masters carry, through the tool: every chunk it
// does not rewrite comes out with the same bytes, in the same order, on the
// same side of the audio; the broadcast history gains the tool's line; the
// peak envelope of the old audio is named as not kept.
TEST(DitherFile, KeepsEveryChunkOfAWavByteForByteInItsOrder) {
  std::string audio;
  for (int i = 0; i < 4000; ++i) audio += std::string(i % 2 ? "\x00\x10" : "\x00\xF0", 2);
  const std::string cue = Le32(2) + Le32(1) + Le32(100) + "data" + Le32(0) + Le32(0) + Le32(100) +
                          Le32(2) + Le32(900) + "data" + Le32(0) + Le32(0) + Le32(900);
  const std::string labels = "adtl" + Chunk("labl", Le32(1) + std::string("Verse", 6)) +
                             Chunk("labl", Le32(2) + std::string("Chorus", 7));
  const std::vector<std::pair<std::string, std::string>> kept = {
      {"bext", ""},
      {"iXML", "<BWFXML><PROJECT>p</PROJECT></BWFXML>"},
      {"cue ", cue},
      {"LIST", labels},
      {"LIST", "INFOISRC" + Le32(13) + std::string("GBAYE0601498", 13)},
      {"_PMX", "<xmp/>"},
      {"zork", "odd"}};
  std::string before = Format() + Chunk("levl", "peaks");
  for (const auto& chunk : kept)
    before += Chunk(chunk.first, chunk.first == "bext" ? Bext("A=PCM,F=44100\r\n") : chunk.second);
  ScratchFile input(Riff(before + Chunk("data", audio) + Chunk("id3 ", "ID3\x03")));

  FileJob job{input.path, input.folder.path + "/out.wav"};
  ToolOptions options;
  Progress progress;
  const FileOutcome outcome = DitherFile(job, options, 1, progress);
  ASSERT_TRUE(outcome.ok) << outcome.problem;
  EXPECT_NE(outcome.report.find("not kept: levl (the old audio's peak envelope)"),
            std::string::npos)
      << outcome.report;

  ScratchFile output(ReadWhole(job.output));
  const RiffLayout layout = WalkRiffChunks(output.descriptor, output.size);
  EXPECT_EQ(Ids(layout), (std::vector<std::string>{"fmt ", "bext", "iXML", "cue ", "LIST", "LIST",
                                                   "_PMX", "zork", "id3 +"}));
  const std::string bytes = ReadWhole(job.output);
  for (size_t i = 1; i < layout.chunks.size(); ++i) {
    const RiffChunk& chunk = layout.chunks[i];
    const std::string body =
        bytes.substr(static_cast<size_t>(chunk.offset), static_cast<size_t>(chunk.size));
    if (chunk.id == "bext") {
      EXPECT_EQ(body.substr(0, 617), Bext("A=PCM,F=44100\r\n"));
      EXPECT_NE(body.find("T=quorvane"), std::string::npos);
    } else if (chunk.id == "id3 ") {
      EXPECT_EQ(body, "ID3\x03");
    } else {
      EXPECT_EQ(body, kept[i - 1].second) << chunk.id;
    }
  }
}

// Audio of a length not known at the start: a WAV with room for a ds64,
// which libsndfile reads back whole; a float WAV's PEAK holds the new peaks.
TEST(WavWriter, AFileOfUnknownLengthStaysAWavWithItsPeaks) {
  char pattern[] = "/tmp/quorvane_wav_XXXXXX";
  const int descriptor = mkstemp(pattern);
  WavShape shape;
  shape.channels = 2;
  shape.rate = 48000;
  shape.containerBits = 32;
  shape.isFloat = true;
  std::string error;
  WavWriter writer;
  ASSERT_TRUE(writer.Begin(descriptor, shape, {}, {ChunkSource::Held("tail", "abc")}, error))
      << error;
  const double frames[] = {0.25, -0.5, -0.75, 0.125, 0.0, 0.0};
  ASSERT_TRUE(writer.WriteDoubles(frames, 3));
  ASSERT_TRUE(writer.Finish(error)) << error;
  EXPECT_FALSE(writer.Rf64());

  const std::string bytes = ReadWhole(pattern);
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(bytes.substr(12, 4), "JUNK");
  EXPECT_EQ(bytes.substr(4, 4), Le32(static_cast<uint32_t>(bytes.size() - 8)));
  SF_INFO info{};
  SNDFILE* file = sf_open(pattern, SFM_READ, &info);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(info.frames, 3);
  double read[6] = {};
  EXPECT_EQ(sf_readf_double(file, read, 3), 3);
  sf_close(file);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(read[i], frames[i]);
  const size_t peak = bytes.find("PEAK");
  ASSERT_NE(peak, std::string::npos);
  float left, right;
  std::memcpy(&left, bytes.data() + peak + 16, 4);
  std::memcpy(&right, bytes.data() + peak + 24, 4);
  EXPECT_EQ(left, 0.75f);
  EXPECT_EQ(bytes.substr(peak + 20, 4), Le32(1));
  EXPECT_EQ(right, 0.5f);
  close(descriptor);
  unlink(pattern);
}

}  // namespace
