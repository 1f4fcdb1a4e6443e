// The requantiser for one or two channels: the plug-in's own engine, set up
// from the settings as the plug-in sets it up from its parameters, and fed
// blocks of doubles.
#pragma once

#include <cstdint>
#include <vector>

#include "dsp/dither_engine.h"
#include "tools/quorvane/settings.h"

class PairEngine {
 public:
  // One or two channels at `rate`, blocks of at most `block` frames (the size
  // the shaping filter is designed for). The dither draws from a generator
  // seeded with `seed`.
  PairEngine(int channels, double rate, int32_t block, const DitherSettings& settings,
             uint32_t seed);

  // Requantises one block: `frames` (1 .. block) samples of each channel,
  // planar. Outputs are on the grid, not limited to full scale. Allocates
  // nothing.
  void Process(double* const* inputs, double* const* outputs, int32_t frames);

  // False when the rate switched shaping off although the power asks for it.
  bool ShapingActive() const;

  // The plug-in's programs, in its order.
  static std::vector<ProgramEntry> Programs();

 private:
  int channels;
  int power;
  DitherEngine engine;
};
