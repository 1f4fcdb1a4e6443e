#include "tools/qvhost/vst2/vst2_render.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tools/qvhost/vst2/loaded_plugin.h"
#include "vst2/dispatcher.h"

namespace {

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

}  // namespace

bool StartRendering(LoadedPlugin& plugin, const RenderOptions& options, double rate) {
  plugin.Dispatch(effOpen);
  plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
  plugin.Dispatch(effSetBlockSize, 0, options.block);
  plugin.Dispatch(effMainsChanged, 0, 1);
  // Program first, then parameters, so that a parameter given on the command
  // line wins over the program's value.
  if (options.program >= 0 && plugin.Dispatch(effSetProgram, 0, options.program) != 1) {
    std::fprintf(stderr, "qvhost: the plug-in refused program %d\n", options.program);
    return false;
  }
  EffectRecord& record = plugin.Record();
  for (const ParamSetting& setting : options.params) {
    record.setParameter(&record, setting.index, setting.normalised);
  }
  return true;
}

bool RenderVst2(LoadedPlugin& plugin, const RenderOptions& options, const AudioData& in,
                AudioData& out) {
  if (!StartRendering(plugin, options, out.rate)) return false;
  const bool processed = Process(plugin.Record(), options.path, in, out, options.block);
  if (!processed) std::fprintf(stderr, "qvhost: the plug-in has no callback for that path\n");
  plugin.Dispatch(effMainsChanged, 0, 0);
  plugin.Close();
  return processed;
}
