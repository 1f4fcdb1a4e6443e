#include "dither/dither_plugin.h"

#include <cmath>
#include <ctime>
#include <initializer_list>

#include "core/text_copy.h"
#include "dither/level_bar.h"
#include "dsp/shaping_filter.h"
#include "dither/response_graph.h"

DitherPlugin::DitherPlugin()
    : PlugBase(kDitherParamCount, 2, 2, "Quorvane", "", "Varek", 1000, kDitherUniqueId, 0, false,
               true, false) {
  MtRandom& rng = requantiser.Random();
  rng.SeedState(
      SeedFromClock(static_cast<int64_t>(std::time(nullptr)), static_cast<uint32_t>(std::clock())));
  rng.Regenerate();
  // A parameter change redesigns the filter, possibly on the audio thread:
  // the design's storage is had here, once, for the largest order. Without
  // it a design still works, allocating what it needs when it runs.
  static_cast<void>(designScratch.Reserve(kMaxShapingOrder));
  DefineParameters();
  DefinePresets();
  BuildEditor();
  // A host may process before it sets a rate or a block size; the engine is
  // then ready for the defaults, without a filter design.
  ResetProcessing();
}

DitherPlugin::~DitherPlugin() = default;

void DitherPlugin::DefineParameters() {
  ParamAt(kParamDither).DefineBool("dither", false, nullptr);
  ParamAt(kParamShaping).DefineInt("psychoacoustic power", 9, 0, kMaxShapingOrder, nullptr);
  ParamAt(kParamShaping).SetValueText(0.0f, "off");
  ParamAt(kParamTargetBits).DefineInt("target bits", 16, 6, 32, nullptr);
  ParamAt(kParamShowGraph).DefineBool("show graph", true, nullptr);
}

void DitherPlugin::DefinePresets() {
  AddPresetsFromCurrent("Default", 1);
  //                            dither shaping bits graph
  AddPreset("CD render (hard)", {0.0, 9.0, 16.0, 1.0});
  AddPreset("CD render (soft)", {1.0, 9.0, 16.0, 1.0});
  AddPresetsFromCurrent("-", 5);
}

void DitherPlugin::ParamChanged(int index) {
  if (index == kParamShowGraph) ShowDisplay();
  ResetProcessing();
}

void DitherPlugin::ShowDisplay() {
  const bool hidden = !(ParamAt(kParamShowGraph).Value() >= 0.5);
  const std::initializer_list<Control*> display = {inputGraph, noiseGraph, levelBar};
  for (Control* control : display) {
    if (control) control->Hide(hidden);
  }
}

void DitherPlugin::DropEditor() {
  LockGuard guard(&Lock());
  inputGraph = noiseGraph = nullptr;
  levelBar = nullptr;
  DetachEditor();
}

void DitherPlugin::ResetProcessing() {
  // A host can push "target bits" below its range with a negative normalised
  // value; a word of less than one bit has no grid, so 1 bit is the floor.
  int bits = TruncToInt(ParamAt(kParamTargetBits).Value());
  if (bits < 1) bits = 1;
  const double quantScale = std::ldexp(1.0, bits - 1);
  const bool ditherOn = ParamAt(kParamDither).Value() >= 0.5;

  int shapingOrder = TruncToInt(ParamAt(kParamShaping).Value());
  if (shapingOrder < 0) shapingOrder = 0;
  if (shapingOrder > kMaxShapingOrder) shapingOrder = kMaxShapingOrder;
  // Shaping needs a meaningful rate: none above 96 kHz, none for a rate that
  // is no rate at all.
  const double rate = SampleRate();
  if (!(rate > 0.0 && rate <= kMaxShapingSampleRate)) shapingOrder = 0;

  const int32_t n = BlockSize();
  const int32_t prepared = n < kMaxPreparedFrames ? n : kMaxPreparedFrames;
  // Without its storage the requantiser is not ready, and blocks come out
  // silent until a later reset has it; a design that cannot have its
  // coefficients leaves them empty, with the same effect.
  requantiser.Reset(quantScale, ditherOn, shapingOrder, prepared);
  if (shapingOrder > 0 && n > 0) {
    DesignShapingFilter(weighting, rate, n, shapingOrder, requantiser.Coefficients(),
                        &designScratch);
  }
  for (SpectrumGraph* graph : {inputGraph, noiseGraph}) {
    if (graph) graph->SetRange(rate, 100.0, 20000.0);
  }
}

void DitherPlugin::ProcessBlock(double** inputs, double** outputs, int frames) {
  if (frames < 0) frames = 0;
  // Only outputs the host gave can be written, whatever the input count.
  int used = InputsInUse() < 2 ? InputsInUse() : 2;
  if (OutputsInUse() < used) used = OutputsInUse();
  if (requantiser.ProcessBlock(inputs, outputs, used, frames)) FeedDisplay(frames);
}

void DitherPlugin::FeedDisplay(int frames) {
  if (!inputGraph || !noiseGraph || !levelBar) return;
  const SampleArray& inputSum = requantiser.InputAverage();
  inputGraph->AppendSamples(inputSum.Data(), frames);
  noiseGraph->AppendSamples(requantiser.ErrorAverage().Data(), frames);
  // The peak over the whole accumulator (frames past this block hold 0),
  // limited to the bar's range.
  double peak = 0.0;
  for (int32_t j = 0; j < inputSum.Count(); ++j) peak = inputSum[j] > peak ? inputSum[j] : peak;
  levelBar->SetValueFromPlug(peak < 1.0 ? peak : 1.0, &Lock());
}
