#include "tools/qvhost/vst3/vst3_render.h"

#include <cstdio>

#include "tools/qvhost/in_place_blocks.h"
#include "tools/qvhost/vst3/loaded_vst3.h"
#include "tools/qvhost/vst3/vst3_host_objects.h"

using namespace vst3;

namespace {

// The changes the command line asks for: the program first, then each
// parameter by its index in the controller's list. False for an index the
// controller does not list, or a program without a program-change parameter.
bool StartingChanges(IEditController& controller, const RenderOptions& options,
                     ParameterChanges& changes) {
  const int32_t count = controller.getParameterCount();
  if (options.program >= 0) {
    bool found = false;
    for (int32_t i = 0; i < count && !found; ++i) {
      ParameterInfo info;
      if (controller.getParameterInfo(i, &info) != kResultOk || !(info.flags & kIsProgramChange)) {
        continue;
      }
      if (options.program > info.stepCount) break;
      changes.Add(info.id, 0, info.stepCount > 0 ? options.program / double(info.stepCount) : 0.0);
      found = true;
    }
    if (!found) {
      std::fprintf(stderr, "qvhost: the plug-in has no program %d\n", options.program);
      return false;
    }
  }
  for (const ParamSetting& setting : options.params) {
    ParameterInfo info;
    if (controller.getParameterInfo(setting.index, &info) != kResultOk) {
      std::fprintf(stderr, "qvhost: the plug-in has no parameter %d\n", setting.index);
      return false;
    }
    changes.Add(info.id, 0, setting.normalised);
  }
  return true;
}

template <typename Sample>
bool RunBlocks(IAudioProcessor& processor, ParameterChanges& first, const AudioData& in,
               AudioData& out, int32_t block) {
  ParameterChanges none;
  return RunInPlaceBlocks<Sample>(
      in, out, block, [&](Sample** channels, int32_t frames, size_t start) {
        AudioBusBuffers bus{2, 0, reinterpret_cast<void**>(channels)};
        ProcessData data{};
        data.processMode = kRealtime;
        data.symbolicSampleSize = sizeof(Sample) == 8 ? kSample64 : kSample32;
        data.numSamples = frames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &bus;
        data.outputs = &bus;
        data.inputParameterChanges = start == 0 ? &first : &none;
        return processor.process(&data) == kResultOk;
      });
}

}  // namespace

bool RenderVst3(LoadedVst3& plugin, const RenderOptions& options, const AudioData& in,
                AudioData& out) {
  if (options.path == RenderPath::kAccumulate) {
    std::fprintf(stderr, "qvhost: VST 3 has no accumulating path\n");
    return false;
  }
  const bool wide = options.path == RenderPath::kDouble;
  ProcessSetup setup{kRealtime, wide ? kSample64 : kSample32, options.block, out.rate};
  ParameterChanges changes;
  if (plugin.Processor().setupProcessing(&setup) != kResultOk ||
      plugin.Component().setActive(1) != kResultOk) {
    std::fprintf(stderr, "qvhost: the plug-in refused the set-up\n");
    return false;
  }
  plugin.Processor().setProcessing(1);
  if (!StartingChanges(plugin.Controller(), options, changes)) return false;
  const bool processed =
      wide ? RunBlocks<double>(plugin.Processor(), changes, in, out, options.block)
           : RunBlocks<float>(plugin.Processor(), changes, in, out, options.block);
  plugin.Processor().setProcessing(0);
  plugin.Component().setActive(0);
  return processed;
}
