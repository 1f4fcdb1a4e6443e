// The plug-in: requantises a stereo stream to a chosen word length with
// optional triangular dither and psychoacoustic error-feedback noise shaping.
#pragma once

#include "dsp/analyser.h"
#include "dsp/requantiser.h"
#include "dsp/shaping_filter.h"
#include "host/plug_base.h"

// Parameter indices.
enum DitherParam : int {
  kParamDither = 0,
  kParamShaping = 1,  // "psychoacoustic power": the shaping order, 0 is off
  kParamTargetBits = 2,
  kParamShowGraph = 3,
  kDitherParamCount = 4,
};

constexpr int32_t kDitherUniqueId = 0x7172766E;  // 'qrvn'
constexpr int kMaxShapingOrder = 12;
static_assert(kMaxShapingOrder <= Requantiser::kMaxPairedOrder,
              "every order offered runs both channels in one loop");
// Above this rate the weighting has no meaning for the audible band and
// shaping is switched off.
constexpr double kMaxShapingSampleRate = 96000.0;
// The accumulators are sized for the host's block size up to this many
// frames. A host may announce any int32 (some pass garbage); a longer block,
// if one really comes, grows them when it arrives.
constexpr int32_t kMaxPreparedFrames = 1 << 16;

class LevelBar;
class SpectrumGraph;

class DitherPlugin : public PlugBase {
 public:
  DitherPlugin();
  ~DitherPlugin() override;

  // [lock held] Rebuilds the engine state from rate, block size and values.
  void ResetProcessing() override;
  // [lock held] Any parameter change resets the engine.
  void ParamChanged(int index) override;
  // [audio thread, lock held] Requantises channels 0 and 1. A block whose
  // storage cannot be had (the engine's arrays, or accumulators for a block
  // longer than prepared) writes silence to those channels and changes
  // nothing else: no generator draw, no engine state, no display.
  void ProcessBlock(double** inputs, double** outputs, int frames) override;

  // The display controls, for tests.
  SpectrumGraph* InputGraph() const { return inputGraph; }
  SpectrumGraph* NoiseGraph() const { return noiseGraph; }
  LevelBar* GetLevelBar() const { return levelBar; }

  // Engine state, read by tests.
  double QuantScale() const { return requantiser.QuantScale(); }
  bool DitherOn() const { return requantiser.DitherOn(); }
  bool ShapingOn() const { return requantiser.ShapingOn(); }
  int ShapingOrder() const { return requantiser.ShapingOrder(); }
  const SampleArray& Coefficients() const { return requantiser.Coefficients(); }
  const ChannelState& Channel(int c) const { return requantiser.Channel(c); }
  int32_t PreparedFrames() const { return requantiser.PreparedFrames(); }
  MtRandom& Random() { return requantiser.Random(); }

  // [UI thread] Builds the editor with all its controls and hands it to the
  // base in place of any it had. The objects are made by the code of the
  // binary that calls this: a UI binary of its own builds an editor with its
  // own window layer for a plug-in its host loaded from another binary.
  void BuildEditor();
  // [UI thread] Deletes the editor; the plug-in goes on without a display.
  // A UI binary calls this before it is unloaded, since the editor's code is
  // its own.
  void DropEditor();

 private:
  void DefineParameters();
  void DefinePresets();
  // [lock held] Hides or shows the graphs and the level bar as "show graph" says.
  void ShowDisplay();
  // [audio thread, lock held] Feeds the block's channel averages to the
  // graphs and its input peak to the level bar.
  void FeedDisplay(int frames);

  Requantiser requantiser;
  SpectrumAnalyser weighting;          // the sampled weighting curve of the design
  ShapingDesignScratch designScratch;  // sized for the largest order at construction
  // The editor's display, owned by the editor.
  SpectrumGraph* inputGraph = nullptr;
  SpectrumGraph* noiseGraph = nullptr;
  LevelBar* levelBar = nullptr;
};
