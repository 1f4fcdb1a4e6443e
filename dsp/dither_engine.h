// The requantiser as the dither's settings define it: the grid, the dither
// and the shaping order derived from the word length, the dither switch and
// the psychoacoustic power, and the shaping filter designed for the rate and
// the block size from the sampled weighting curve. The plug-in and the file
// tool both set their engine up through Configure.
//
// Threads: Configure under the owner's lock (it allocates); Core's
// ProcessBlock on the audio thread, under the same lock.
#pragma once

#include <cstdint>

#include "dsp/analyser.h"
#include "dsp/requantiser.h"
#include "dsp/shaping_filter.h"

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

class DitherEngine {
 public:
  // Has the design's storage for the largest order, once: a parameter change
  // redesigns the filter, possibly on the audio thread. Without it a design
  // still works, allocating what it needs when it runs.
  DitherEngine();

  // Resets the requantiser for words of `bits` (below 1 counts as 1), with
  // or without dither, shaped to `order` (clamped to 0 .. kMaxShapingOrder;
  // 0 when the rate is not in (0, kMaxShapingSampleRate]), and designs the
  // shaping filter for `sampleRate` and `blockSize` (none for a block size
  // of 0 or less: the coefficients stay zero). The accumulators are
  // prepared for blocks of blockSize frames, at most kMaxPreparedFrames.
  // Leaves the random generator as it is.
  void Configure(double sampleRate, int32_t blockSize, int bits, bool dither, int order);

  Requantiser& Core() { return requantiser; }
  const Requantiser& Core() const { return requantiser; }

 private:
  Requantiser requantiser;
  SpectrumAnalyser weighting;          // the sampled weighting curve of the design
  ShapingDesignScratch designScratch;  // sized for the largest order at construction
};
