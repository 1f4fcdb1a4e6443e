// The plug-in: requantises a stereo stream to a chosen word length with
// optional triangular dither and psychoacoustic error-feedback noise shaping.
#pragma once

#include "dither/dither_programs.h"
#include "dsp/dither_engine.h"
#include "host/plug_base.h"

constexpr int32_t kDitherUniqueId = 0x7172766E;  // 'qrvn'

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
  double QuantScale() const { return engine.Core().QuantScale(); }
  bool DitherOn() const { return engine.Core().DitherOn(); }
  bool ShapingOn() const { return engine.Core().ShapingOn(); }
  int ShapingOrder() const { return engine.Core().ShapingOrder(); }
  const SampleArray& Coefficients() const { return engine.Core().Coefficients(); }
  const ChannelState& Channel(int c) const { return engine.Core().Channel(c); }
  int32_t PreparedFrames() const { return engine.Core().PreparedFrames(); }
  MtRandom& Random() { return engine.Core().Random(); }

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

  DitherEngine engine;
  // The editor's display, owned by the editor.
  SpectrumGraph* inputGraph = nullptr;
  SpectrumGraph* noiseGraph = nullptr;
  LevelBar* levelBar = nullptr;
};
