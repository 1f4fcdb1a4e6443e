#include "dither/dither_plugin.h"

#include <ctime>

#include "core/text_copy.h"
#include "plug/plug_identity.h"

namespace {

PlugDescription Description() {
  PlugDescription d;
  const PlugIdentity& identity = PluginIdentity();
  d.name = identity.name;
  d.vendor = identity.vendor;
  d.version = identity.version;
  d.uniqueId = identity.vst2Id;
  d.paramCount = kDitherParamCount;
  d.canMono = true;
  return d;
}

}  // namespace

DitherPlugin::DitherPlugin() : PlugBase(Description()) {
  MtRandom& rng = engine.Core().Random();
  rng.SeedState(
      SeedFromClock(static_cast<int64_t>(std::time(nullptr)), static_cast<uint32_t>(std::clock())));
  rng.Regenerate();
  DefineParameters();
  DefinePresets();
  // A host may process before it sets a rate or a block size; the engine is
  // then ready for the defaults, without a filter design.
  ResetProcessing();
}

DitherPlugin::~DitherPlugin() = default;

void DitherPlugin::DefineParameters() {
  constexpr DitherProgram defaults = DefaultProgram("");
  ParamAt(kParamDither).DefineBool("dither", defaults.dither >= 0.5, nullptr);
  ParamAt(kParamShaping)
      .DefineInt("psychoacoustic power", static_cast<int>(defaults.shaping), 0, kMaxShapingOrder,
                 nullptr);
  ParamAt(kParamShaping).SetValueText(0.0f, "off");
  ParamAt(kParamTargetBits)
      .DefineInt("target bits", static_cast<int>(defaults.bits), 6, 32, nullptr);
  ParamAt(kParamShowGraph).DefineBool("show graph", defaults.showGraph >= 0.5, nullptr);
}

void DitherPlugin::DefinePresets() {
  for (const DitherProgram& program : kDitherPrograms) {
    AddPreset(program.name, {program.dither, program.shaping, program.bits, program.showGraph});
  }
}

void DitherPlugin::ParamChanged(int index) {
  if (index == kParamShowGraph) ShowDisplay();
  ResetProcessing();
}

void DitherPlugin::SetDisplay(DitherDisplay* newDisplay) {
  display = newDisplay;
  if (display == nullptr) return;
  ShowDisplay();
  display->SetRate(SampleRate());
}

void DitherPlugin::ShowDisplay() {
  if (display) display->Show(ParamAt(kParamShowGraph).Value() >= 0.5);
}

void DitherPlugin::ResetProcessing() {
  // A host can push "target bits" below its range with a negative normalised
  // value; the engine floors the word length at 1 bit.
  const double rate = SampleRate();
  engine.Configure(rate, BlockSize(), TruncToInt(ParamAt(kParamTargetBits).Value()),
                   ParamAt(kParamDither).Value() >= 0.5,
                   TruncToInt(ParamAt(kParamShaping).Value()));
  if (display) display->SetRate(rate);
}

void DitherPlugin::ProcessBlock(double** inputs, double** outputs, int frames) {
  if (frames < 0) frames = 0;
  // Only outputs the host gave can be written, whatever the input count.
  int used = InputsInUse() < 2 ? InputsInUse() : 2;
  if (OutputsInUse() < used) used = OutputsInUse();
  if (engine.Core().ProcessBlock(inputs, outputs, used, frames)) FeedDisplay(frames);
}

void DitherPlugin::FeedDisplay(int frames) {
  if (display == nullptr) return;
  const Requantiser& requantiser = engine.Core();
  const SampleArray& inputSum = requantiser.InputAverage();
  // The peak over the block, limited to the bar's range. It starts from 0,
  // which the frames past the block hold, so it is the whole accumulator's.
  double peak = 0.0;
  for (int32_t j = 0; j < frames; ++j) peak = inputSum[j] > peak ? inputSum[j] : peak;
  display->Feed(inputSum.Data(), requantiser.ErrorAverage().Data(), frames,
                peak < 1.0 ? peak : 1.0);
}
