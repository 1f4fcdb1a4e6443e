// The per-sample requantiser: clip, dither, error-feedback shaping, rounding
// to the grid of quantScale steps.
#include "dsp/requantiser.h"

#include <cmath>

#include "dsp/exact_floor.h"

namespace {

// Limits to [-1, 1]; the comparisons are arranged so that NaN becomes +1.
inline double Clip(double x) {
  if (!(x <= 1.0)) return 1.0;
  return x < -1.0 ? -1.0 : x;
}

}  // namespace

// For each frame, with e the stored errors, a the coefficients and d the
// dither times the channel's gain:
//   v = x - sum_k a[k] * e[n - 1 - k]     (subtracted in order of k)
//   y = floor(quantScale * v + d + 0.5) / quantScale
//   e[n] = y - v                          (the dither is part of the error)
// so the requantisation noise y - x is e filtered by 1 - sum_k a[k] z^-(k+1).
template <typename Floor>
__attribute__((always_inline)) inline double Requantiser::RequantiseChannel(const double* in,
                                                                            double* out,
                                                                            ChannelState& s,
                                                                            int frames) {
  // Everything the loop reads is copied to locals: the output stores could
  // alias the members as far as the compiler knows.
  const bool dither = ditherOn;
  const bool shaping = shapingOn;
  const int order = shapingOrder;
  const double scale = quantScale;
  // quantScale is a power of two: multiplying by its inverse is exact.
  const double stepSize = 1.0 / quantScale;
  const double gain = s.ditherGain;
  const double* a = coefficients.Data();
  double* history = s.errorHistory.Data();
  double* inSum = inputSum.Data();
  double* errSum = errorSum.Data();
  double prevUniform = s.prevUniform;
  int pos = s.historyPos;
  // The newest error, also kept in a register: it starts the next sample's
  // feedback sum, and a reload from memory would lengthen that chain.
  double newest = order > 0 ? history[pos] : 0.0;
  double sumOfSquares = 0.0;

  for (int j = 0; j < frames; ++j) {
    const double x = Clip(in[j]);

    double d = 0.0;
    if (dither) {
      double r;
      if (shaping) {
        // Difference of successive uniforms: triangular, high-pass.
        const double u = rng.NextUniform();
        r = prevUniform - u;
        prevUniform = u;
      } else {
        // Sum of two uniform words: triangular, white. The sum needs 33 bits.
        const uint64_t w1 = rng.NextWord();
        const uint64_t w2 = rng.NextWord();
        r = static_cast<double>(w1 + w2) * MtRandom::kWordScale - 1.0;
      }
      d = gain * r;
    }

    double v = x;
    if (shaping) {
      // The error k + 1 frames back lies at pos + k: the mirrored half of
      // the history makes the walk straight.
      const double* recent = history + pos;
      v = v - a[0] * newest;
      for (int k = 1; k < order; ++k) v = v - a[k] * recent[k];
    }

    const double y = Floor::Of(scale * v + d + 0.5) * stepSize;
    out[j] = y;

    if (shaping) {
      pos = pos == 0 ? order - 1 : pos - 1;
      newest = y - v;
      history[pos] = history[pos + order] = newest;
    }
    inSum[j] += x;
    errSum[j] += y - x;
    sumOfSquares += x * x;
  }
  s.prevUniform = prevUniform;
  s.historyPos = pos;
  return sumOfSquares;
}

QV_TARGET_SSE41 double Requantiser::RequantiseChannelSse41(const double* in, double* out,
                                                           ChannelState& s, int frames) {
  return RequantiseChannel<FloorSse41>(in, out, s, frames);
}

double Requantiser::RequantiseChannelSse2(const double* in, double* out, ChannelState& s,
                                          int frames) {
  return RequantiseChannel<FloorSse2>(in, out, s, frames);
}

void Requantiser::Reset(double scale, bool dither, int order, int32_t frames) {
  quantScale = scale;
  ditherOn = dither;
  shapingOrder = order;
  shapingOn = order > 0;
  storageReady = true;
  for (ChannelState& s : channels) {
    s.historyPos = 0;
    s.prevUniform = 0.0;
    s.ditherGain = 1.0;
    if (s.errorHistory.Resize(2 * shapingOrder, true) != 2 * shapingOrder) storageReady = false;
  }
  if (inputSum.Resize(frames, false) != frames || errorSum.Resize(frames, false) != frames)
    storageReady = false;
  if (coefficients.Resize(shapingOrder, true) != shapingOrder) storageReady = false;
}

bool Requantiser::AccumulatorsHold(int frames) {
  if (frames <= inputSum.Count() && frames <= errorSum.Count()) return true;
  // Hosts announce the longest block they will send, but some send longer
  // ones; the accumulators then grow to hold the whole block.
  return inputSum.Resize(frames, false) == frames && errorSum.Resize(frames, false) == frames;
}

bool Requantiser::ProcessBlock(double** inputs, double** outputs, int used, int frames) {
  if (frames < 0) frames = 0;
  // A design that could not have its coefficients leaves fewer than the order.
  if (!storageReady || coefficients.Count() != shapingOrder || !AccumulatorsHold(frames)) {
    for (int c = 0; c < used; ++c) {
      for (int j = 0; j < frames; ++j) outputs[c][j] = 0.0;
    }
    return false;
  }
  const int32_t count = inputSum.Count();
  for (int32_t j = 0; j < count; ++j) inputSum[j] = 0.0;
  for (int32_t j = 0; j < errorSum.Count(); ++j) errorSum[j] = 0.0;
  if (used <= 0) return false;
  for (int c = 0; c < used; ++c) {
    ChannelState& s = channels[c];
    const double sumOfSquares = CpuHasSse41()
                                    ? RequantiseChannelSse41(inputs[c], outputs[c], s, frames)
                                    : RequantiseChannelSse2(inputs[c], outputs[c], s, frames);
    // An empty block has no level: the gain stays as it was.
    if (ditherOn && frames > 0) s.ditherGain = 1.0 - 0.6 * std::sqrt(sumOfSquares / frames);
  }

  const double scale = 1.0 / used;
  for (int32_t j = 0; j < count; ++j) inputSum[j] *= scale;
  for (int32_t j = 0; j < errorSum.Count(); ++j) errorSum[j] *= scale;
  return true;
}
