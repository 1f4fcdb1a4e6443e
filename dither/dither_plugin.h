// The plug-in: requantises a stereo stream to a chosen word length with
// optional triangular dither and psychoacoustic error-feedback noise shaping.
#pragma once

#include "dither/dither_display.h"
#include "dither/dither_programs.h"
#include "dsp/dither_engine.h"
#include "plug/plug_base.h"

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

  // [lock held] The display that the audio thread feeds from now on, shown or
  // hidden as "show graph" says; null for none. Its owner, the editor, hands
  // it over when it is attached.
  void SetDisplay(DitherDisplay* newDisplay);
  // [lock held] The editor is being deleted: its display goes with it.
  void ForgetEditor() override { display = nullptr; }

  // Engine state, read by tests.
  double QuantScale() const { return engine.Core().QuantScale(); }
  bool DitherOn() const { return engine.Core().DitherOn(); }
  bool ShapingOn() const { return engine.Core().ShapingOn(); }
  int ShapingOrder() const { return engine.Core().ShapingOrder(); }
  const SampleArray& Coefficients() const { return engine.Core().Coefficients(); }
  const ChannelState& Channel(int c) const { return engine.Core().Channel(c); }
  int32_t PreparedFrames() const { return engine.Core().PreparedFrames(); }
  MtRandom& Random() { return engine.Core().Random(); }

 private:
  void DefineParameters();
  void DefinePresets();
  // [lock held] Hides or shows the display as "show graph" says.
  void ShowDisplay();
  // [audio thread, lock held] Feeds the block's channel averages and its
  // input peak to the display.
  void FeedDisplay(int frames);

  DitherEngine engine;
  DitherDisplay* display = nullptr;  // owned by the editor
};
