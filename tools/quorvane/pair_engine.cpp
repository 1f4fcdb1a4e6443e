#include "tools/quorvane/pair_engine.h"

#include <mutex>

#include "dither/dither_plugin.h"

namespace {

// Building and destroying a plug-in also builds its editor, which registers
// objects process-wide; engines of parallel files take turns at it.
std::mutex& ConstructionMutex() {
  static std::mutex mutex;
  return mutex;
}

PairEngine::PluginPointer MakePlugin() {
  std::lock_guard<std::mutex> guard(ConstructionMutex());
  return PairEngine::PluginPointer(new DitherPlugin());
}

void SetParameter(DitherPlugin& plugin, int index, double value) {
  plugin.ParamAt(index).SetClamped(value);
  plugin.ParamChanged(index);
}

}  // namespace

PairEngine::PairEngine(int channels, double rate, int32_t block, const DitherSettings& settings,
                       uint32_t seed)
    : plugin(MakePlugin()) {
  // The order of a host: open, rate, block size, channels, processing on,
  // then the parameter values.
  plugin->NotifyAllParamsChanged();
  // The rate as a host passes it, in single precision.
  plugin->SetSampleRate(static_cast<float>(rate));
  plugin->SetBlockSize(block);
  plugin->SetChannelsInUse(channels, channels);
  plugin->SetActive(true);
  SetParameter(*plugin, kParamDither, settings.dither ? 1.0 : 0.0);
  SetParameter(*plugin, kParamShaping, settings.power);
  SetParameter(*plugin, kParamTargetBits, settings.bits);
  plugin->Random().SeedState(seed);
  plugin->Random().Regenerate();
}

PairEngine::~PairEngine() = default;

void PairEngine::PluginDeleter::operator()(DitherPlugin* plugin) const {
  std::lock_guard<std::mutex> guard(ConstructionMutex());
  delete plugin;
}

void PairEngine::Process(double* const* inputs, double* const* outputs, int32_t frames) {
  plugin->ProcessBlock(const_cast<double**>(inputs), const_cast<double**>(outputs), frames);
}

bool PairEngine::ShapingActive() const {
  return plugin->ShapingOrder() > 0 || plugin->ParamAt(kParamShaping).Value() < 1.0;
}

std::vector<ProgramEntry> PairEngine::Programs() {
  const PluginPointer plugin = MakePlugin();
  std::vector<ProgramEntry> programs;
  for (int i = 0; i < plugin->ProgramCount(); ++i) {
    const Preset& preset = plugin->ProgramAt(i);
    DitherSettings settings;
    settings.dither = preset.values[kParamDither] >= 0.5;
    settings.power = static_cast<int>(preset.values[kParamShaping]);
    settings.bits = static_cast<int>(preset.values[kParamTargetBits]);
    programs.push_back({i, preset.name, settings});
  }
  return programs;
}
