#include "tools/quorvane/file_job.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "tools/quorvane/audio_sink.h"
#include "tools/quorvane/channel_pairs.h"
#include "tools/quorvane/chunk_queue.h"
#include "tools/quorvane/file_meter.h"
#include "tools/quorvane/flac_blocks.h"
#include "tools/quorvane/flac_output.h"
#include "tools/quorvane/input_file.h"
#include "tools/quorvane/metadata.h"
#include "tools/quorvane/output_format.h"
#include "tools/quorvane/output_grid.h"
#include "tools/quorvane/pair_engine.h"
#include "tools/quorvane/plot.h"
#include "tools/quorvane/rate_converter.h"
#include "tools/quorvane/report.h"
#include "tools/quorvane/riff_chunks.h"
#include "tools/quorvane/sample_counts.h"
#include "tools/quorvane/silence.h"
#include "tools/quorvane/temporary_file.h"
#include "tools/quorvane/wav_chunks.h"
#include "tools/quorvane/wav_writer.h"

namespace {

// Frames per chunk handed between the threads: a whole number of blocks, so
// that every engine call sees exactly the blocks a host would send. About
// 64 Ki samples whatever the channels: large enough that handing chunks on
// costs little beside the work on them, small enough that the chunks in
// flight take a few megabytes.
int32_t ChunkFrames(int32_t block, int channels) {
  const int32_t target = 65536 / (channels > 0 ? channels : 1);
  return block >= target ? block : block * (target / block);
}

// The output the disk is asked to store as it accumulates, so that it
// works while the file streams rather than all at the sync at its end.
constexpr int64_t kWritebackBytes = 8 << 20;

// Chunks in flight on each side of the processing thread. Input chunks stay
// in use until their output is written and measured.
constexpr int kOutputChunks = 4;
constexpr int kInputChunks = kOutputChunks + 3;

// Chunks hold their channels planar, channel c's frames from c * chunkFrames,
// the layout the engines and the meter read. The reader deinterleaves the
// file's frames as it reads them, and the writer clips, converts and
// interleaves the output for the file, so that the processing thread runs
// the engines and nothing else: they are serial per channel pair, the one
// part of the work that cannot spread over the machine's cores.
struct InputChunk {
  std::vector<double> planar;
  int64_t frames = 0;
  // With --auto-blank: per channel group, 1 for each frame in silence.
  std::vector<uint8_t> silent;
};

struct OutputChunk {
  std::vector<double> planar;       // clipped grid values
  std::vector<int32_t> words;       // the same interleaved, as left-justified integers
  std::vector<double> interleaved;  // the same interleaved, for float output
  int64_t frames = 0;
  InputChunk* input = nullptr;  // what it was made from, kept for the meter
};

// The per-file state of the processing thread: the engines.
class Processor {
 public:
  Processor(const SF_INFO& info, const ToolOptions& options, const DitherSettings& settings,
            uint32_t seed, int32_t chunkFrames)
      : block(options.block), groups(PairChannels(info.channels)), chunkFrames(chunkFrames) {
    for (size_t g = 0; g < groups.size(); ++g) {
      engines.push_back(std::make_unique<PairEngine>(
          groups[g].count, info.samplerate, block, settings, GroupSeed(seed, static_cast<int>(g))));
    }
  }

  // Requantises a chunk into `out.planar`, on the grid, not yet limited.
  void Process(InputChunk& in, OutputChunk& out);
  bool ShapingActive() const { return engines.empty() || engines[0]->ShapingActive(); }

 private:
  int32_t block;
  std::vector<ChannelGroup> groups;
  std::vector<std::unique_ptr<PairEngine>> engines;
  int32_t chunkFrames;
};

// The writer's first step: limits the requantised chunk to the output's
// range, counting what was limited, and interleaves it for the file.
class OutputConverter {
 public:
  OutputConverter(int channels, int bits, int32_t chunkFrames, bool integers)
      : channels(channels), grid(bits), chunkFrames(chunkFrames), integers(integers) {}

  // Frames start .. start + frames - 1 of the chunk.
  void Convert(OutputChunk& out, int64_t start, int frames);
  // Whether the file takes integers (words) rather than doubles (interleaved).
  bool Integers() const { return integers; }
  uint64_t Overs() const { return overs; }

 private:
  int channels;
  OutputGrid grid;
  int32_t chunkFrames;
  bool integers;
  uint64_t overs = 0;
};

void Processor::Process(InputChunk& in, OutputChunk& out) {
  const auto frames = static_cast<int32_t>(in.frames);
  for (size_t g = 0; g < groups.size(); ++g) {
    const ChannelGroup& group = groups[g];
    for (int32_t start = 0; start < frames; start += block) {
      double* ins[2];
      double* outs[2];
      for (int c = 0; c < group.count; ++c) {
        const size_t at = static_cast<size_t>(group.first + c) * chunkFrames + start;
        ins[c] = in.planar.data() + at;
        outs[c] = out.planar.data() + at;
      }
      engines[g]->Process(ins, outs, frames - start < block ? frames - start : block);
    }
  }
  out.frames = frames;
}

void OutputConverter::Convert(OutputChunk& out, int64_t start, int frames) {
  double* planar = out.planar.data() + start;
  const size_t at = static_cast<size_t>(start) * channels;
  overs += integers
               ? grid.Store(planar, chunkFrames, channels, frames, out.words.data() + at)
               : grid.Store(planar, chunkFrames, channels, frames, out.interleaved.data() + at);
}

// Every format but WAV is written through libsndfile.
class SndfileSink : public AudioSink {
 public:
  explicit SndfileSink(SNDFILE* file) : file(file) {}
  bool WriteInts(const int32_t* words, int64_t frames) override {
    return sf_writef_int(file, words, frames) == frames;
  }
  bool WriteDoubles(const double* samples, int64_t frames) override {
    return sf_writef_double(file, samples, frames) == frames;
  }
  std::string WriteError() const override { return sf_strerror(file); }

 private:
  SNDFILE* file;
};

// What the threads found.
struct StreamState {
  std::atomic<bool> stop{false};  // a write failed: read and process no further
  int64_t framesRead = 0;         // reader thread
  std::string readError;          // reader thread
  std::string writeError;         // writer thread
  int64_t blankedSamples = 0;     // reader thread
};

// Lowers the calling thread's priority a little below the processing
// thread's: where threads outnumber free cores, the engines, serial per
// channel pair and the one part of the work that cannot spread, are then not
// the ones left waiting for a core.
void RunBehindTheEngines() {
  const auto self = static_cast<id_t>(gettid());
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, self);
  if (errno == 0) (void)setpriority(PRIO_PROCESS, self, nice + 4);
}

// The reader thread: fills free chunks from the file. With a silence
// finder each chunk is held until the next is read, which the finder needs
// to mark it.
void ReadChunks(FrameSource& source, int32_t chunkFrames, SilenceFinder* silence,
                ChunkQueue<InputChunk>& free, ChunkQueue<InputChunk>& filled, StreamState& state) {
  RunBehindTheEngines();
  InputChunk* held = nullptr;
  const auto handOn = [&](InputChunk* chunk, const InputChunk* next) {
    if (silence) {
      state.blankedSamples +=
          silence->Mark(chunk->planar.data(), chunk->frames, next ? next->planar.data() : nullptr,
                        next ? next->frames : 0, chunkFrames, chunk->silent.data());
    }
    filled.Push(chunk);
  };
  while (!state.stop.load()) {
    InputChunk* chunk = free.Pop();
    if (chunk == nullptr) break;
    // A pipe may give fewer frames than asked before its end: the chunk is
    // filled whole, so that the engine's blocks fall where a file's would.
    chunk->frames = 0;
    for (int64_t got = 1; got > 0 && chunk->frames < chunkFrames; chunk->frames += got) {
      got = source.ReadPlanar(chunk->planar.data() + chunk->frames, chunkFrames,
                              chunkFrames - chunk->frames);
    }
    if (chunk->frames <= 0) {
      free.Push(chunk);
      break;
    }
    state.framesRead += chunk->frames;
    if (silence) {
      if (held) handOn(held, chunk);
      held = chunk;
    } else {
      handOn(chunk, nullptr);
    }
    if (chunk->frames < chunkFrames) break;
  }
  if (held) handOn(held, nullptr);
  state.readError = source.ReadError();
  filled.Close();
}

// Frames converted and measured at a time by the writer.
constexpr int64_t kMeterStretch = 2048;

// The writer thread: converts and stores each chunk, then measures it against
// its input when there is a meter (a report or a plot to make) and frees both
// chunks. A format whose sizes cannot describe more than `maxFrames` frames
// gets no more: the write fails.
void WriteChunks(AudioSink& sink, TemporaryFile& target, OutputConverter& converter,
                 int32_t chunkFrames, int64_t maxFrames, ChunkQueue<OutputChunk>& freeOutputs,
                 ChunkQueue<OutputChunk>& filled, ChunkQueue<InputChunk>& freeInputs,
                 FileMeter* meter, const SilenceFinder* silence, StreamState& state) {
  RunBehindTheEngines();
  int64_t written = 0;
  while (OutputChunk* chunk = filled.Pop()) {
    if (state.writeError.empty() && chunk->frames > maxFrames - written) {
      state.writeError = "the format's sizes cannot describe more than 4 GiB of audio";
      state.stop.store(true);
    }
    written += chunk->frames;
    if (state.writeError.empty()) {
      // Measured a stretch at a time, right after it is converted, while
      // the stretch is still in the processor's cache.
      for (int64_t start = 0; start < chunk->frames; start += kMeterStretch) {
        const auto frames = static_cast<int>(std::min(kMeterStretch, chunk->frames - start));
        if (silence) {
          silence->Blank(chunk->input->silent.data(), chunk->planar.data(), chunkFrames, start,
                         frames);
        }
        converter.Convert(*chunk, start, frames);
        if (meter) {
          meter->Add(chunk->input->planar.data() + start, chunk->planar.data() + start, chunkFrames,
                     frames);
        }
      }
      const bool stored = converter.Integers()
                              ? sink.WriteInts(chunk->words.data(), chunk->frames)
                              : sink.WriteDoubles(chunk->interleaved.data(), chunk->frames);
      if (!stored) {
        state.writeError = sink.WriteError();
        state.stop.store(true);
      }
      target.StartWriteback(kWritebackBytes);
    }
    freeInputs.Push(chunk->input);
    freeOutputs.Push(chunk);
  }
}

// Refuses an output that is the input itself, or that exists without -y.
bool CheckTarget(const std::string& input, const std::string& output, bool overwrite,
                 std::string& problem) {
  struct stat in, out;
  if (stat(output.c_str(), &out) != 0) return true;
  if (stat(input.c_str(), &in) == 0 && in.st_dev == out.st_dev && in.st_ino == out.st_ino) {
    problem = "refusing to write " + output + " over its own input";
    return false;
  }
  if (S_ISDIR(out.st_mode)) {
    problem = output + " is a folder";
    return false;
  }
  if (!overwrite) {
    problem = output + " exists (use -y to overwrite it)";
    return false;
  }
  return true;
}

// Runs the three threads over the whole file: reading, processing (here),
// and converting, writing and measuring. Everything is allocated before the threads
// start; a failure to start one (or to allocate) throws, with no thread left
// running.
void Stream(FrameSource& source, int channels, AudioSink& output, TemporaryFile& target,
            bool integers, int32_t chunkFrames, int64_t maxFrames, Processor& processor,
            OutputConverter& converter, FileMeter* meter, SilenceFinder* silence,
            Progress& progress, StreamState& state) {
  const size_t samples = static_cast<size_t>(chunkFrames) * channels;
  const size_t groups = PairChannels(channels).size();
  InputChunk inputs[kInputChunks];
  OutputChunk outputs[kOutputChunks];
  ChunkQueue<InputChunk> freeInputs(kInputChunks), filledInputs(kInputChunks);
  ChunkQueue<OutputChunk> freeOutputs(kOutputChunks), filledOutputs(kOutputChunks);
  source.PrepareReading(chunkFrames);
  for (InputChunk& chunk : inputs) {
    chunk.planar.resize(samples);
    if (silence) chunk.silent.resize(groups * static_cast<size_t>(chunkFrames));
    freeInputs.Push(&chunk);
  }
  for (OutputChunk& chunk : outputs) {
    chunk.planar.resize(samples);
    if (integers) {
      chunk.words.resize(samples);
    } else {
      chunk.interleaved.resize(samples);
    }
    freeOutputs.Push(&chunk);
  }
  std::thread reader(ReadChunks, std::ref(source), chunkFrames, silence, std::ref(freeInputs),
                     std::ref(filledInputs), std::ref(state));
  std::thread writer;
  try {
    writer = std::thread(WriteChunks, std::ref(output), std::ref(target), std::ref(converter),
                         chunkFrames, maxFrames, std::ref(freeOutputs), std::ref(filledOutputs),
                         std::ref(freeInputs), meter, silence, std::ref(state));
  } catch (...) {
    state.stop.store(true);
    freeInputs.Close();
    reader.join();
    throw;
  }
  while (InputChunk* in = filledInputs.Pop()) {
    if (state.stop.load()) {
      freeInputs.Push(in);
      continue;
    }
    OutputChunk* out = freeOutputs.Pop();
    processor.Process(*in, *out);
    out->input = in;
    progress.done += in->frames;
    filledOutputs.Push(out);
  }
  filledOutputs.Close();
  reader.join();
  writer.join();
  if (meter) meter->Finish();
}

}  // namespace

uint32_t GroupSeed(uint32_t seed, int group) {
  return seed + static_cast<uint32_t>(group) * 0x9E3779B9u;
}

namespace {

// The chunks of a WAV-family input or the blocks of a FLAC one, walked on a
// descriptor of their own (a stream cannot be read twice: only a regular
// file's are). The descriptor stays open while they are copied.
struct InputLayout {
  int descriptor = -1;
  RiffLayout riff;
  FlacLayout flac;

  InputLayout() = default;
  InputLayout(const InputLayout&) = delete;
  InputLayout& operator=(const InputLayout&) = delete;
  ~InputLayout() {
    if (descriptor >= 0) close(descriptor);
  }
  void Walk(const std::string& path) {
    descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status;
    if (descriptor >= 0 && fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
      riff = WalkRiffChunks(descriptor, static_cast<int64_t>(status.st_size));
      flac = WalkFlacBlocks(descriptor, static_cast<int64_t>(status.st_size));
    }
  }
};

// What a FLAC output holds besides its audio: the comments of `metadata`;
// of a FLAC input every block but those made for the new audio (STREAMINFO,
// SEEKTABLE, PADDING) and the comments; of another input its cue points,
// as a cue sheet.
FlacExtras FlacExtrasFor(const InputLayout& input, const FileMetadata& metadata,
                         const std::string& historyLine, double ratio,
                         std::vector<std::string>& madeAnew) {
  FlacExtras extras;
  extras.comments = FlacCommentsBody(metadata, historyLine);
  extras.source = input.descriptor;
  if (!input.flac.isFlac && metadata.hasCues) {
    for (uint32_t i = 0; i < metadata.cues.cue_count && i < 1000; ++i)
      extras.cuePositions.push_back(metadata.cues.cue_points[i].sample_offset);
    std::sort(extras.cuePositions.begin(), extras.cuePositions.end());
  }
  for (const FlacBlock& block : input.flac.blocks) {
    if (block.type == kSeekTable) {
      extras.seekSamples = SeekTargets(input.descriptor, block);
      for (uint64_t& sample : extras.seekSamples)
        sample = static_cast<uint64_t>(ScaledPosition(static_cast<int64_t>(sample), ratio));
    }
    if (block.type == kCueSheet && ratio != 1.0) {
      // At a new rate the cue sheet is made again from its index points.
      bool saysMore = false;
      for (uint64_t position : CueSheetPositions(input.descriptor, block, saysMore)) {
        extras.cuePositions.push_back(
            static_cast<uint64_t>(ScaledPosition(static_cast<int64_t>(position), ratio)));
      }
      madeAnew.push_back("CUESHEET at the new rate (a track per index point" +
                         std::string(saysMore ? ", without its catalogue number and ISRCs)" : ")"));
      continue;
    }
    if (block.type != kStreamInfo && block.type != kPadding && block.type != kSeekTable &&
        block.type != kVorbisComment) {
      extras.kept.push_back(block);
    }
  }
  return extras;
}

// A FLAC input's cue sheet as the cue points of `metadata`, which a file of
// another family holds as such; false when there are none.
bool CuesFromCueSheet(const InputLayout& input, FileMetadata& metadata) {
  for (const FlacBlock& block : input.flac.blocks) {
    bool saysMore = false;
    if (block.type != kCueSheet || metadata.hasCues) continue;
    const std::vector<uint64_t> positions = CueSheetPositions(input.descriptor, block, saysMore);
    for (size_t i = 0; i < positions.size() && i < 1000 && positions[i] <= UINT32_MAX; ++i) {
      SF_CUE_POINT& cue = metadata.cues.cue_points[metadata.cues.cue_count++];
      cue = SF_CUE_POINT{};
      cue.indx = static_cast<int32_t>(i + 1);
      cue.position = cue.sample_offset = static_cast<uint32_t>(positions[i]);
      std::memcpy(&cue.fcc_chunk, "data", 4);
    }
    metadata.hasCues = metadata.cues.cue_count > 0;
    return metadata.hasCues;
  }
  return false;
}

// The metadata of the file just written and closed on `descriptor`, read
// back from its start.
FileMetadata WrittenMetadata(int descriptor) {
  if (lseek(descriptor, 0, SEEK_SET) != 0) return FileMetadata();
  SF_INFO info{};
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(
      sf_open_fd(descriptor, SFM_READ, &info, SF_FALSE), sf_close);
  return file ? ReadMetadata(file.get(), "/proc/self/fd/" + std::to_string(descriptor))
              : FileMetadata();
}

// DitherFile, which may run out of memory (or threads): the temporary files
// and the open files then go as the stack unwinds.
FileOutcome DitherFileOrThrow(const FileJob& job, const ToolOptions& options, uint32_t seed,
                              Progress& progress) {
  FileOutcome outcome;
  OutputFormat format;
  InputFile input;
  if (!ChooseOutputFormat(job.output, options.settings.bits, options.floatOutput, format,
                          outcome.problem) ||
      !CheckTarget(job.input, job.output, options.overwrite, outcome.problem) ||
      !input.Open(job.input, outcome.problem)) {
    return outcome;
  }
  const SF_INFO& in = input.Info();
  // The stream the engines see: the input's, at the output's rate.
  SF_INFO stream = in;
  std::unique_ptr<RateConverter> rateConverter;
  if (options.rate > 0 && options.rate != in.samplerate) {
    rateConverter = std::make_unique<RateConverter>(input, options.rate, options.rateQuality);
    if (!rateConverter->Error().empty()) {
      outcome.problem = job.input + ": " + rateConverter->Error();
      return outcome;
    }
    stream.samplerate = options.rate;
  }
  FrameSource& source = rateConverter ? static_cast<FrameSource&>(*rateConverter) : input;
  FileMetadata metadata;
  InputLayout inputLayout;
  if (!options.stripMetadata) {
    metadata = ReadMetadata(input.File(), job.input);
    inputLayout.Walk(job.input);
  }
  const bool fromRiff = inputLayout.riff.container != RiffContainer::kNone;
  const bool fromFlac = inputLayout.flac.isFlac;
  const bool wav = (format.sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV;
  const bool flac = (format.sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC;
  // What goes into the output in another form than the input's.
  std::vector<std::string> madeAnew;
  if (fromFlac && !flac && CuesFromCueSheet(inputLayout, metadata))
    madeAnew.push_back("cue points from the CUESHEET");
  // Positions in the metadata move with the audio to the new rate.
  const double ratio = static_cast<double>(stream.samplerate) / in.samplerate;
  if (ratio != 1.0) ScaleSampleCounts(metadata, ratio);
  const int64_t expected = rateConverter && input.ExpectedFrames() >= 0
                               ? rateConverter->OutputFrames(input.ExpectedFrames())
                               : input.ExpectedFrames();
  const int64_t frameBytes = static_cast<int64_t>(in.channels) * format.containerBits / 8;
  SF_INFO out{};
  out.samplerate = stream.samplerate;
  out.channels = in.channels;
  out.format = FormatForSize(format.sndfileFormat, expected, frameBytes,
                             MapNeedsSaying(metadata.channelMap));
  if (!sf_format_check(&out)) {
    outcome.problem = job.output + ": " + format.description + " cannot hold " +
                      std::to_string(in.channels) + " channels at " +
                      std::to_string(stream.samplerate) + " Hz";
    return outcome;
  }
  // A WAV becomes RF64 when its sizes need it. Another format with 32-bit
  // sizes that cannot hold the file is refused before anything is written;
  // one whose length is not known stops at its limit.
  const int64_t byteLimit = wav ? -1 : AudioByteLimit(out.format);
  const int64_t maxFrames = byteLimit < 0 ? INT64_MAX : byteLimit / frameBytes;
  if (expected > maxFrames) {
    outcome.problem = job.output + ": " + format.description + " cannot hold " +
                      std::to_string(expected) +
                      " frames (over 4 GiB of audio); write .wav (RF64), .w64 or .caf";
    return outcome;
  }
  TemporaryFile audio;
  if (!audio.Create(job.output, outcome.problem)) return outcome;
  const std::string historyLine =
      CodingHistoryLine(stream.samplerate, options.settings.bits, in.channels,
                        DescribeSettings(options.settings, true));
  // A WAV is written by the tool itself, which keeps a WAV-family input's
  // chunks; every other format by libsndfile.
  WavChunks chunks;
  WavWriter wavWriter;
  std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(nullptr, sf_close);
  std::unique_ptr<SndfileSink> sndfileSink;
  AudioSink* sink = &wavWriter;
  if (wav) {
    if (!options.stripMetadata) {
      chunks = fromRiff ? ChunksOfInput(inputLayout.riff, inputLayout.descriptor, metadata,
                                        historyLine, ratio, stream.samplerate)
                        : ChunksFromMetadata(metadata, historyLine, stream.samplerate);
      if (fromFlac) {
        for (std::string& name : FlacBlocksLeftBehind(inputLayout.flac, inputLayout.descriptor))
          chunks.notKept.push_back(std::move(name));
      }
    }
    WavShape shape;
    shape.channels = in.channels;
    shape.rate = stream.samplerate;
    shape.containerBits = format.containerBits;
    shape.isFloat = format.isFloat;
    shape.channelMask = chunks.channelMask;
    shape.expectedFrames = expected;
    shape.frameCount = chunks.frameCount;
    shape.channelPeaks = chunks.channelPeaks;
    std::string error;
    if (!wavWriter.Begin(audio.Descriptor(), shape, chunks.before, chunks.after, error)) {
      outcome.problem = "cannot write " + job.output + ": " + error;
      return outcome;
    }
  } else {
    file.reset(sf_open_fd(audio.Descriptor(), SFM_WRITE, &out, SF_FALSE));
    if (file == nullptr) {
      outcome.problem = "cannot write " + job.output + ": " + sf_strerror(nullptr);
      return outcome;
    }
    WriteMetadata(file.get(), metadata, historyLine);
    if (fromRiff) {
      chunks.notKept =
          ChunksLeftBehind(inputLayout.riff, inputLayout.descriptor, flac, chunks.madeAnew);
    }
    if (fromFlac && !flac) {
      chunks.notKept = CommentsLeftBehind(metadata);
      for (std::string& name : FlacBlocksLeftBehind(inputLayout.flac, inputLayout.descriptor))
        chunks.notKept.push_back(std::move(name));
    }
    sndfileSink = std::make_unique<SndfileSink>(file.get());
    sink = sndfileSink.get();
  }

  if (expected > 0) progress.total += expected;
  int32_t chunkFrames = ChunkFrames(options.block, in.channels);
  std::unique_ptr<SilenceFinder> silence;
  if (options.autoBlank) {
    // The finder looks one chunk ahead for the end of a run: a chunk holds
    // at least the shortest run of silence.
    const int64_t minFrames = SilenceFrames(stream.samplerate);
    const int64_t blocks = (minFrames + options.block - 1) / options.block;
    chunkFrames = std::max<int64_t>(chunkFrames, blocks * options.block);
    silence = std::make_unique<SilenceFinder>(PairChannels(in.channels), minFrames);
  }
  const bool integers = !format.isFloat;
  Processor processor(stream, options, options.settings, seed, chunkFrames);
  OutputConverter converter(in.channels, options.settings.bits, chunkFrames, integers);
  // Quiet, without a plot, nothing reads the measurements: none are made.
  const bool measured = !options.quiet || !options.plot.empty();
  FileMeter meter(in.channels, !options.plot.empty());
  StreamState state;
  Stream(source, in.channels, *sink, audio, integers, chunkFrames, maxFrames, processor, converter,
         measured ? &meter : nullptr, silence.get(), progress, state);
  std::string finishError;
  if (wav) {
    if (state.writeError.empty()) (void)wavWriter.Finish(finishError);
  } else {
    if (sf_close(file.release()) != 0) finishError = "libsndfile could not finish the file";
  }
  if (!state.writeError.empty() || !finishError.empty()) {
    outcome.problem = "cannot write " + job.output + ": " +
                      (state.writeError.empty() ? finishError : state.writeError);
    return outcome;
  }
  if (!state.readError.empty()) {
    outcome.problem = "cannot read " + job.input + " to its end: " + state.readError;
    return outcome;
  }
  if (input.PromisedFrames() >= 0 && input.FramesRead() < input.PromisedFrames()) {
    char text[160];
    std::snprintf(text, sizeof text,
                  " is truncated: read %" PRId64 " frames of the %" PRId64
                  " its header promises; nothing written",
                  input.FramesRead(), input.PromisedFrames());
    outcome.problem = job.input + text;
    return outcome;
  }
  // A FLAC file is made again with its metadata blocks around the frames
  // libsndfile wrote.
  TemporaryFile assembled;
  TemporaryFile* result = &audio;
  if (flac) {
    if (fromRiff) {
      metadata.infoComments =
          InfoComments(inputLayout.riff, inputLayout.descriptor, chunks.notKept);
      if (!metadata.infoComments.empty()) madeAnew.push_back("LIST INFO as Vorbis comments");
    }
    const FlacExtras extras =
        options.stripMetadata ? FlacExtras()
                              : FlacExtrasFor(inputLayout, metadata, historyLine, ratio, madeAnew);
    // The cue points are in the cue sheet, which libsndfile does not read
    // back.
    if (!extras.cuePositions.empty()) {
      metadata.hasCues = false;
      if (!fromFlac) madeAnew.push_back("cue points as a CUESHEET");
    }
    if (fromFlac) {
      for (const std::string& damage : inputLayout.flac.damaged) chunks.notKept.push_back(damage);
    }
    if (!assembled.Create(job.output, outcome.problem)) return outcome;
    if (!AssembleFlac(audio.Descriptor(), assembled.Descriptor(), extras, finishError)) {
      outcome.problem = "cannot write " + job.output + ": " + finishError;
      return outcome;
    }
    audio.Discard();
    result = &assembled;
  }

  FileFigures figures;
  figures.settings = options.settings;
  figures.shapingActive = processor.ShapingActive();
  figures.block = options.block;
  figures.seed = seed;
  figures.format = format.description;
  if (wav && wavWriter.Rf64()) figures.format += " (RF64)";
  figures.notKept = chunks.notKept;
  for (std::string& item :
       NotKept(metadata, WrittenMetadata(result->Descriptor()), out.format & SF_FORMAT_TYPEMASK)) {
    figures.notKept.push_back(std::move(item));
  }
  figures.madeAnew = chunks.madeAnew;
  figures.madeAnew.insert(figures.madeAnew.end(), madeAnew.begin(), madeAnew.end());
  figures.channels = in.channels;
  figures.rate = stream.samplerate;
  if (rateConverter) figures.inputRate = in.samplerate;
  figures.frames = state.framesRead;
  figures.inputPeak = meter.InputPeak();
  figures.clippedInput = meter.ClippedInput();
  figures.overs = converter.Overs();
  figures.errorPower = meter.ErrorPower();
  figures.weightedPower = figures.errorPower * meter.Spectrum().WeightingRatio(stream.samplerate);
  if (silence) {
    figures.blankedSeconds =
        static_cast<double>(state.blankedSamples) / in.channels / stream.samplerate;
  }

  TemporaryFile picture;
  if (!options.plot.empty()) {
    const std::string title =
        job.input + ": " + DescribeSettings(options.settings, figures.shapingActive);
    if (!CheckTarget(job.input, options.plot, options.overwrite, outcome.problem) ||
        !picture.Create(options.plot, outcome.problem) ||
        !WriteSpectrumPlot(picture.Descriptor(), meter.Spectrum(), stream.samplerate, title,
                           outcome.problem)) {
      return outcome;
    }
  }
  if (!result->Commit(options.overwrite, outcome.problem)) return outcome;
  if (!options.plot.empty() && !picture.Commit(options.overwrite, outcome.problem)) return outcome;
  outcome.ok = true;
  outcome.overs = figures.overs;
  outcome.notKept = figures.notKept;
  outcome.report = FileReportLine(job.input, job.output, figures);
  return outcome;
}

}  // namespace

FileOutcome DitherFile(const FileJob& job, const ToolOptions& options, uint32_t seed,
                       Progress& progress) {
  try {
    return DitherFileOrThrow(job, options, seed, progress);
  } catch (const std::bad_alloc&) {
    FileOutcome outcome;
    outcome.problem = "not enough memory to dither " + job.input + " (" +
                      std::to_string(options.block) + "-frame blocks); nothing written";
    return outcome;
  } catch (const std::exception& failure) {
    FileOutcome outcome;
    outcome.problem = "cannot dither " + job.input + ": " + failure.what() + "; nothing written";
    return outcome;
  }
}
