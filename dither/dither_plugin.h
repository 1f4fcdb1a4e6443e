// The plug-in: requantises a stereo stream to a chosen word length with
// optional triangular dither and psychoacoustic error-feedback noise shaping.
#pragma once

#include "dither/mt_random.h"
#include "dither/sample_array.h"
#include "dither/analyser.h"
#include "dither/shaping_filter.h"
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
// Above this rate the weighting has no meaning for the audible band and
// shaping is switched off.
constexpr double kMaxShapingSampleRate = 96000.0;
// The accumulators are sized for the host's block size up to this many
// frames. A host may announce any int32 (some pass garbage); a longer block,
// if one really comes, grows them when it arrives.
constexpr int32_t kMaxPreparedFrames = 1 << 16;

// Per-channel state of the shaper and the dither.
struct ChannelState {
  int32_t historyPos = 0;    // current position in errorHistory, 0 .. order - 1
  double prevUniform = 0.0;  // previous uniform draw (high-pass dither)
  double ditherGain = 1.0;   // 1 - 0.6 * rms of this channel's previous block
  // The last `order` quantisation errors, circular, stored twice over
  // (entries i and i + order are equal) so that reading `order` errors from
  // historyPos never wraps.
  SampleArray errorHistory;
};

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

  // [UI thread] Builds the editor with all its controls and hands it to the
  // base in place of any it had. The objects are made by the code of the
  // binary that calls this: a UI binary of its own builds an editor with its
  // own window layer for a plug-in its host loaded from another binary.
  void BuildEditor();
  // [UI thread] Deletes the editor; the plug-in goes on without a display.
  // A UI binary calls this before it is unloaded, since the editor's code is
  // its own.
  void DropEditor();

  // The display controls, for tests.
  SpectrumGraph* InputGraph() const { return inputGraph; }
  SpectrumGraph* NoiseGraph() const { return noiseGraph; }
  LevelBar* GetLevelBar() const { return levelBar; }

  // Engine state, read by tests and the editor.
  double QuantScale() const { return quantScale; }
  bool DitherOn() const { return ditherOn; }
  bool ShapingOn() const { return shapingOn; }
  int ShapingOrder() const { return shapingOrder; }
  const SampleArray& Coefficients() const { return coefficients; }
  const ChannelState& Channel(int c) const { return channels[c]; }
  int32_t PreparedFrames() const { return inputSum.Count(); }
  MtRandom& Random() { return rng; }

 private:
  void DefineParameters();
  void DefinePresets();
  // [lock held] Hides or shows the graphs and the level bar as "show graph" says.
  void ShowDisplay();
  // [audio thread, lock held] Whether the accumulators hold `frames` values;
  // grows both for a block longer than prepared.
  [[nodiscard]] bool AccumulatorsHold(int frames);
  // [audio thread, lock held] Feeds the block's channel averages to the
  // graphs and its input peak to the level bar.
  void FeedDisplay(int frames);
  // One channel of a block; returns the sum of squares of the clipped input.
  // The same loop is compiled for two instruction sets, with identical results.
  template <typename Floor>
  double RequantiseChannel(const double* in, double* out, ChannelState& s, int frames);
  double RequantiseChannelSse41(const double* in, double* out, ChannelState& s, int frames);
  double RequantiseChannelSse2(const double* in, double* out, ChannelState& s, int frames);

  double quantScale = 0.0;  // 2^(bits - 1): steps per unit amplitude on each side of 0
  bool ditherOn = false;
  bool shapingOn = false;
  int32_t shapingOrder = 0;
  MtRandom rng;
  // Every array of the last ResetProcessing got its size.
  bool storageReady = false;
  ChannelState channels[2];
  SampleArray coefficients;            // coefficient k goes with the error k + 1 frames back
  SpectrumAnalyser weighting;          // the sampled weighting curve of the design
  ShapingDesignScratch designScratch;  // sized for the largest order at construction
  SampleArray inputSum;                // per frame: clipped input averaged over the channels
  SampleArray errorSum;                // per frame: output minus clipped input, averaged
  // The editor's display, owned by the editor.
  SpectrumGraph* inputGraph = nullptr;
  SpectrumGraph* noiseGraph = nullptr;
  LevelBar* levelBar = nullptr;
};
