#include "dsp/dither_engine.h"

#include <cmath>

DitherEngine::DitherEngine() { static_cast<void>(designScratch.Reserve(kMaxShapingOrder)); }

void DitherEngine::Configure(double sampleRate, int32_t blockSize, int bits, bool dither,
                             int order) {
  // A word of less than one bit has no grid, so 1 bit is the floor.
  if (bits < 1) bits = 1;
  const double quantScale = std::ldexp(1.0, bits - 1);
  if (order < 0) order = 0;
  if (order > kMaxShapingOrder) order = kMaxShapingOrder;
  // Shaping needs a meaningful rate: none above 96 kHz, none for a rate that
  // is no rate at all.
  if (!(sampleRate > 0.0 && sampleRate <= kMaxShapingSampleRate)) order = 0;

  const int32_t prepared = blockSize < kMaxPreparedFrames ? blockSize : kMaxPreparedFrames;
  // Without its storage the requantiser is not ready, and blocks come out
  // silent until a later reset has it; a design that cannot have its
  // coefficients leaves them empty, with the same effect.
  requantiser.Reset(quantScale, dither, order, prepared);
  if (order > 0 && blockSize > 0) {
    DesignShapingFilter(weighting, sampleRate, blockSize, order, requantiser.Coefficients(),
                        &designScratch);
  }
}
