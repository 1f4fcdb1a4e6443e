#include "tools/qvhost/clap/clap_render.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "tools/qvhost/clap/clap_host_objects.h"
#include "tools/qvhost/in_place_blocks.h"
#include "tools/qvhost/clap/loaded_clap.h"
#include "tools/qvhost/worker_thread.h"

using namespace clap;

namespace {

// The command line's program, as a preset kept in the plug-in.
bool LoadProgram(LoadedClap& plugin, int32_t program) {
  if (program < 0) return true;
  const auto* presets = plugin.Ask<PluginPresetLoad>(kExtPresetLoad);
  const std::string key = std::to_string(program);
  if (presets == nullptr ||
      !presets->fromLocation(&plugin.Plugin(), kPresetLocationPlugin, nullptr, key.c_str())) {
    std::fprintf(stderr, "qvhost: the plug-in has no program %d\n", program);
    return false;
  }
  return true;
}

bool StartingEvents(LoadedClap& plugin, const RenderOptions& options, InputEventList& events) {
  const auto* params = plugin.Ask<PluginParams>(kExtParams);
  for (const ParamSetting& setting : options.params) {
    ParamInfo info;
    if (params == nullptr || setting.index < 0 ||
        !params->getInfo(&plugin.Plugin(), static_cast<uint32_t>(setting.index), &info)) {
      std::fprintf(stderr, "qvhost: the plug-in has no parameter %d\n", setting.index);
      return false;
    }
    events.AddValue(info.id, 0, PlainValue(info, setting.normalised));
  }
  return true;
}

template <typename Sample>
bool RunBlocks(const Plugin& plugin, const InputEventList& first, const AudioData& in,
               AudioData& out, int32_t block) {
  InputEventList none;
  OutputEventList sink;
  return RunInPlaceBlocks<Sample>(
      in, out, block, [&](Sample** channels, int32_t frames, size_t start) {
        AudioBuffer port = StereoPort(channels);
        const Process process =
            InPlaceProcess(port, static_cast<uint32_t>(frames), static_cast<int64_t>(start),
                           start == 0 ? first : none, sink);
        return plugin.process(&plugin, &process) != kProcessError;
      });
}

}  // namespace

double PlainValue(const ParamInfo& info, float normalised) {
  const double plain =
      info.minValue + static_cast<double>(normalised) * (info.maxValue - info.minValue);
  return info.flags & kParamIsStepped ? std::floor(plain + 0.5) : plain;
}

bool RenderClap(LoadedClap& plugin, const RenderOptions& options, const AudioData& in,
                AudioData& out) {
  if (options.path == RenderPath::kAccumulate) {
    std::fprintf(stderr, "qvhost: CLAP has no accumulating path\n");
    return false;
  }
  InputEventList first;
  if (!LoadProgram(plugin, options.program) || !StartingEvents(plugin, options, first)) {
    return false;
  }
  const Plugin& p = plugin.Plugin();
  if (!p.activate(&p, out.rate, 1, static_cast<uint32_t>(options.block))) {
    std::fprintf(stderr, "qvhost: the plug-in refused activation\n");
    return false;
  }
  bool processed = false;
  WorkerThread audio([&] {
    ClapHost::BecomeAudioThread();
    if (p.startProcessing(&p)) {
      processed = options.path == RenderPath::kDouble
                      ? RunBlocks<double>(p, first, in, out, options.block)
                      : RunBlocks<float>(p, first, in, out, options.block);
      p.stopProcessing(&p);
    }
    ClapHost::LeaveAudioThread();
  });
  audio.Join();
  p.deactivate(&p);
  return plugin.Host().KeptThreadRules() && processed;
}
