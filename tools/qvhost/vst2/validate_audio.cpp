// Audio through each of the three callbacks at every common sample rate and
// a range of block sizes, on hostile signals, with parameter changes between
// sub-blocks: every output sample must be finite, normal or zero, on the grid
// of the "target bits" the host reads back, and no sample may be written past
// the frames asked for.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <type_traits>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/guarded_channels.h"
#include "tools/qvhost/vst2/validate_host.h"

namespace {

constexpr float kRates[] = {22050.0f, 44100.0f, 48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f};
constexpr int32_t kBlocks[] = {1, 16, 31, 64, 100, 441, 512, 1024, 4096, 8192};
// Every other block is delivered in pieces of this many frames, with
// parameter changes between them, as hosts split blocks for automation.
constexpr int32_t kSubBlock = 32;
// A parameter changes before one call in this many.
constexpr uint32_t kChangeOdds = 16;
// Written into replacing outputs before each call: off every grid, so that
// a sample the plug-in leaves unwritten shows. Accumulating outputs start at
// 0.5, on every grid, as what the host already mixed there.
constexpr double kUnwritten = -0.123;
constexpr double kMixedBefore = 0.5;

enum class Path { kFloat, kDouble, kAccumulate };
enum class Signal { kNoise, kSilence, kSquare, kHostile };
constexpr Signal kSignals[] = {Signal::kNoise, Signal::kSilence, Signal::kSquare, Signal::kHostile};

const char* PathName(Path path) {
  switch (path) {
    case Path::kFloat: return "float replacing";
    case Path::kDouble: return "double replacing";
    default: return "float accumulating";
  }
}

const char* SignalName(Signal signal) {
  switch (signal) {
    case Signal::kNoise: return "noise";
    case Signal::kSilence: return "silence";
    case Signal::kSquare: return "full-scale square";
    default: return "NaN, infinities and huge values";
  }
}

// Frame j of a signal. The hostile one puts a special value every 7th frame
// (NaN, infinities, far beyond full scale, subnormal in float or double)
// into full-scale noise.
double SignalSample(Signal signal, int64_t j, std::mt19937& random) {
  static const double kHostile[] = {std::numeric_limits<double>::quiet_NaN(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    1e30,
                                    -1e30,
                                    3.5,
                                    -70000.0,
                                    1e-40,
                                    5e-324};
  const double noise = std::uniform_real_distribution<double>(-1.0, 1.0)(random);
  switch (signal) {
    case Signal::kNoise: return noise;
    case Signal::kSilence: return 0.0;
    case Signal::kSquare: return (j / 50) % 2 ? 1.0 : -1.0;
    default: return j % 7 == 3 ? kHostile[(j / 7) % 9] : noise;
  }
}

class AudioRun {
 public:
  AudioRun(LoadedPlugin& plugin, uint32_t seed, Findings& findings)
      : plugin(plugin), random(seed), findings(findings) {}

  // One signal of `frames` frames, delivered in blocks of `block`.
  void Play(Path path, int32_t block, Signal signal, int64_t frames);

 private:
  template <typename Sample>
  void Call(Path path, int32_t frames);
  void MaybeChangeParameter();

  LoadedPlugin& plugin;
  std::mt19937 random;
  Findings& findings;
  Signal signal = Signal::kNoise;
  int64_t position = 0;  // frames of the signal played so far
  std::string where;     // the combination, for the findings
  double scale = 0.0;
};

void AudioRun::Play(Path path, int32_t block, Signal played, int64_t frames) {
  signal = played;
  position = 0;
  where = Format("%s, block %d, %s", PathName(path), static_cast<int>(block), SignalName(signal));
  scale = GridScale(plugin, findings);
  for (int64_t k = 0; position < frames; ++k) {
    const auto length = static_cast<int32_t>(std::min<int64_t>(block, frames - position));
    const bool split = k % 2 == 1 && length > kSubBlock;
    for (int32_t done = 0; done < length;) {
      const int32_t piece = split ? std::min(kSubBlock, length - done) : length;
      MaybeChangeParameter();
      if (path == Path::kDouble) {
        Call<double>(path, piece);
      } else {
        Call<float>(path, piece);
      }
      done += piece;
    }
  }
}

void AudioRun::MaybeChangeParameter() {
  if (random() % kChangeOdds != 0) return;
  SetParam(plugin, static_cast<int32_t>(random() % kParamCount), RandomNormalised(random));
  scale = GridScale(plugin, findings);
}

template <typename Sample>
void AudioRun::Call(Path path, int32_t frames) {
  GuardedChannels<Sample> inputs(2, frames);
  GuardedChannels<Sample> outputs(2, frames);
  for (int32_t j = 0; j < frames; ++j) {
    for (int32_t c = 0; c < 2; ++c) {
      inputs.Channel(c)[j] = static_cast<Sample>(SignalSample(signal, position + j, random));
    }
  }
  outputs.Fill(static_cast<Sample>(path == Path::kAccumulate ? kMixedBefore : kUnwritten));
  EffectRecord& record = plugin.Record();
  if constexpr (std::is_same<Sample, double>::value) {
    record.processDoubleReplacing(&record, inputs.Pointers(), outputs.Pointers(), frames);
  } else if (path == Path::kFloat) {
    record.processReplacing(&record, inputs.Pointers(), outputs.Pointers(), frames);
  } else {
    record.processAccumulating(&record, inputs.Pointers(), outputs.Pointers(), frames);
  }
  int32_t channel = 0, frame = 0;
  if (!outputs.GuardsIntact(&channel, &frame)) {
    findings.Add(Format("%s: call of %d frames wrote guard sample %d of channel %d", where.c_str(),
                        static_cast<int>(frames), static_cast<int>(frame),
                        static_cast<int>(channel)));
  }
  for (int32_t c = 0; c < 2; ++c) {
    for (int32_t j = 0; j < frames; ++j) {
      const double y = outputs.Channel(c)[j];
      if (OnGrid(y, scale)) continue;
      findings.Add(Format("%s: frame %lld channel %d is %.17g, off the grid of 1/%.0f",
                          where.c_str(), static_cast<long long>(position + j), static_cast<int>(c),
                          y, scale));
    }
  }
  position += frames;
}

// The host's order for a new rate and block size: suspend, set, resume.
void Configure(LoadedPlugin& plugin, float rate, int32_t block) {
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  plugin.Dispatch(effSetBlockSize, 0, block);
  plugin.Dispatch(effMainsChanged, 0, 1);
}

}  // namespace

void ValidateAudio(const ValidateOptions& options, ValidationLog& log) {
  LoadedPlugin plugin;
  if (!log.Check(plugin.Load(options.library), "plug-in loads for the audio checks")) return;
  StartAudio(plugin, 44100.0f, 512);
  const int64_t leastFrames = options.quick ? 1024 : 8192;
  const int64_t blocksPerSignal = options.quick ? 2 : 4;
  uint32_t seed = options.seed;
  for (Path path : {Path::kFloat, Path::kDouble, Path::kAccumulate}) {
    for (float rate : kRates) {
      Findings findings;
      for (int32_t block : kBlocks) {
        Configure(plugin, rate, block);
        AudioRun run(plugin, seed++, findings);
        for (Signal signal : kSignals) {
          run.Play(path, block, signal, std::max<int64_t>(leastFrames, blocksPerSignal * block));
        }
      }
      log.Check(findings, Format("%s at %.0f Hz, %d block sizes x 4 signals: finite, on the grid, "
                                 "within the block",
                                 PathName(path), rate, static_cast<int>(std::size(kBlocks))));
    }
  }
}
