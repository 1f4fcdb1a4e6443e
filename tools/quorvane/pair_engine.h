// The requantiser for one or two channels: the plug-in's own engine, set up
// as a host would set it up (rate, block size, channel count, then the
// parameters) and fed blocks of doubles. This is the only file of the tool
// that knows how the plug-in is built.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tools/quorvane/settings.h"

class DitherPlugin;

class PairEngine {
 public:
  // One or two channels at `rate`, blocks of at most `block` frames (the size
  // the shaping filter is designed for). The dither draws from a generator
  // seeded with `seed`.
  PairEngine(int channels, double rate, int32_t block, const DitherSettings& settings,
             uint32_t seed);
  ~PairEngine();
  PairEngine(const PairEngine&) = delete;
  PairEngine& operator=(const PairEngine&) = delete;

  // Requantises one block: `frames` (1 .. block) samples of each channel,
  // planar. Outputs are on the grid, not limited to full scale. Allocates
  // nothing.
  void Process(double* const* inputs, double* const* outputs, int32_t frames);

  // False when the rate switched shaping off although the power asks for it.
  bool ShapingActive() const;

  // The plug-in's programs, in its order.
  static std::vector<ProgramEntry> Programs();

  // Destroys a plug-in in turn with the building of others.
  struct PluginDeleter {
    void operator()(DitherPlugin* plugin) const;
  };
  using PluginPointer = std::unique_ptr<DitherPlugin, PluginDeleter>;

 private:
  PluginPointer plugin;
};
