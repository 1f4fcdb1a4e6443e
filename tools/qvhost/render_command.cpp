// `qvhost render LIB IN OUT [options]`: an audio file through the plug-in,
// block by block, in the order a host drives it. LIB is a VST 2.x plug-in, a
// VST 3 module or a CLAP module.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "vst2/dispatcher.h"
#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/clap_render.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/loaded_clap.h"
#include "tools/qvhost/loaded_plugin.h"
#include "tools/qvhost/loaded_vst3.h"
#include "tools/qvhost/render_options.h"
#include "tools/qvhost/vst3_render.h"

namespace {

constexpr double kDefaultRate = 44100.0;

// The host's channel arrays for one block: two channels of `frames` samples.
template <typename Sample>
class Channels {
 public:
  explicit Channels(int32_t frames)
      : left(static_cast<size_t>(frames)),
        right(static_cast<size_t>(frames)),
        pointers{left.data(), right.data()} {}
  Channels(const Channels&) = delete;
  Channels& operator=(const Channels&) = delete;

  Sample** Pointers() { return pointers; }

  void Load(const AudioData& audio, size_t start, int32_t frames) {
    for (int32_t i = 0; i < frames; ++i) {
      left[i] = static_cast<Sample>(audio.samples[2 * (start + i)]);
      right[i] = static_cast<Sample>(audio.samples[2 * (start + i) + 1]);
    }
  }

  void Clear() {
    std::fill(left.begin(), left.end(), Sample(0));
    std::fill(right.begin(), right.end(), Sample(0));
  }

  void Store(AudioData& audio, size_t start, int32_t frames) const {
    for (int32_t i = 0; i < frames; ++i) {
      audio.samples[2 * (start + i)] = left[i];
      audio.samples[2 * (start + i) + 1] = right[i];
    }
  }

 private:
  std::vector<Sample> left;
  std::vector<Sample> right;
  Sample* pointers[2];
};

// Runs `process(inputs, outputs, frames)` over the whole input; outputs are
// cleared before every block, which is what the accumulating callback adds to.
template <typename Sample, typename Process>
void RunBlocks(const AudioData& in, AudioData& out, int32_t block, Process process) {
  Channels<Sample> inputs(block);
  Channels<Sample> outputs(block);
  for (size_t start = 0; start < in.Frames(); start += static_cast<size_t>(block)) {
    const size_t left = in.Frames() - start;
    const auto frames = static_cast<int32_t>(left < static_cast<size_t>(block) ? left : block);
    inputs.Load(in, start, frames);
    outputs.Clear();
    process(inputs.Pointers(), outputs.Pointers(), frames);
    outputs.Store(out, start, frames);
  }
}

bool Process(EffectRecord& r, RenderPath path, const AudioData& in, AudioData& out, int32_t block) {
  switch (path) {
    case RenderPath::kFloat:
      if (r.processReplacing == nullptr) return false;
      RunBlocks<float>(in, out, block,
                       [&r](float** i, float** o, int32_t n) { r.processReplacing(&r, i, o, n); });
      return true;
    case RenderPath::kDouble:
      if (r.processDoubleReplacing == nullptr) return false;
      RunBlocks<double>(in, out, block, [&r](double** i, double** o, int32_t n) {
        r.processDoubleReplacing(&r, i, o, n);
      });
      return true;
    case RenderPath::kAccumulate:
      if (r.processAccumulating == nullptr) return false;
      RunBlocks<float>(in, out, block, [&r](float** i, float** o, int32_t n) {
        r.processAccumulating(&r, i, o, n);
      });
      return true;
  }
  return false;
}

bool Render(LoadedPlugin& plugin, const RenderOptions& options, const AudioData& in,
            AudioData& out) {
  if (!StartRendering(plugin, options, out.rate)) return false;
  const bool processed = Process(plugin.Record(), options.path, in, out, options.block);
  if (!processed) std::fprintf(stderr, "qvhost: the plug-in has no callback for that path\n");
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Close();
  return processed;
}

}  // namespace

int RenderCommand(int argc, char** argv) {
  RenderOptions options;
  if (argc < 5 || !ParseRenderOptions(argc, argv, 5, options)) return kExitUsage;
  AudioData in;
  if (!ReadAudio(argv[3], in)) return kExitFailure;
  AudioData out;
  out.rate = options.rate > 0.0 ? options.rate : in.rate > 0.0 ? in.rate : kDefaultRate;
  out.sampleType =
      options.path == RenderPath::kDouble ? SampleType::kFloat64 : SampleType::kFloat32;
  out.samples.assign(in.samples.size(), 0.0);
  // A block longer than the file would only size buffers for frames that
  // never come; a host announces at most what it will send.
  if (static_cast<size_t>(options.block) > in.Frames()) {
    options.block = in.Frames() > 0 ? static_cast<int32_t>(in.Frames()) : 1;
  }
  if (IsVst3Path(argv[2])) {
    if (!RenderVst3(argv[2], options, in, out)) return kExitFailure;
  } else if (IsClapPath(argv[2])) {
    if (!RenderClap(argv[2], options, in, out)) return kExitFailure;
  } else {
    LoadedPlugin plugin;
    if (!plugin.Load(argv[2]) || !Render(plugin, options, in, out)) return kExitFailure;
  }
  if (!WriteAudio(argv[4], out)) return kExitFailure;
  std::printf("rendered %zu frames at %g Hz, block %d\n", out.Frames(), out.rate,
              static_cast<int>(options.block));
  return kExitSuccess;
}
