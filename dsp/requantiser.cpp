// The per-sample requantiser: clip, dither, error-feedback shaping, rounding
// to the grid of quantScale steps.
#include "dsp/requantiser.h"

#include <cmath>
#include <cstdint>
#include <new>

#include "dsp/exact_floor.h"

namespace {

// Limits to [-1, 1]; the comparisons are arranged so that NaN becomes +1.
inline double Clip(double x) {
  if (!(x <= 1.0)) return 1.0;
  return x < -1.0 ? -1.0 : x;
}

// Whether the ranges of n doubles at a and at b share an element.
bool Overlap(const double* a, const double* b, int n) {
  const auto p = reinterpret_cast<uintptr_t>(a);
  const auto q = reinterpret_cast<uintptr_t>(b);
  const uintptr_t bytes = sizeof(double) * static_cast<uintptr_t>(n);
  return p < q + bytes && q < p + bytes;
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
  const bool averaging = keepAverages;
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
    if (averaging) {
      inSum[j] += x;
      errSum[j] += y - x;
    }
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
  const int32_t countBefore = inputSum.Count();
  if (keepAverages &&
      (inputSum.Resize(frames, false) != frames || errorSum.Resize(frames, false) != frames))
    storageReady = false;
  // Resized, the arrays hold what their storage held before; unchanged, only
  // the last block's frames may be other than 0.
  if (inputSum.Count() != countBefore) heldFrames = inputSum.Count();
  if (coefficients.Resize(shapingOrder, true) != shapingOrder) storageReady = false;
  // Two words per frame and channel at most (white dither). The paired loop
  // needs these and pairHistory; without them the channels go one at a time.
  (void)ReservePairWords(4 * static_cast<int64_t>(frames));
  (void)pairHistory.Resize(4 * shapingOrder, false);
}

bool Requantiser::ReservePairWords(int64_t count) {
  if (count <= pairWordCapacity) return true;
  if (count > INT32_MAX) return false;
  pairWords.reset(new (std::nothrow) uint32_t[count]);
  pairWordCapacity = pairWords ? static_cast<int32_t>(count) : 0;
  return pairWords != nullptr;
}

bool Requantiser::AccumulatorsHold(int frames) {
  if (frames <= inputSum.Count() && frames <= errorSum.Count()) return true;
  // Hosts announce the longest block they will send, but some send longer
  // ones; the accumulators then grow to hold the whole block.
  const bool grown =
      inputSum.Resize(frames, false) == frames && errorSum.Resize(frames, false) == frames;
  // What the grown part holds is unknown until cleared.
  heldFrames = inputSum.Count() < errorSum.Count() ? inputSum.Count() : errorSum.Count();
  return grown;
}

bool Requantiser::ProcessBlock(double** inputs, double** outputs, int used, int frames) {
  return ProcessBlockScheduled(inputs, outputs, used, frames, true);
}

bool Requantiser::ProcessBlockPerChannel(double** inputs, double** outputs, int used, int frames) {
  return ProcessBlockScheduled(inputs, outputs, used, frames, false);
}

bool Requantiser::ProcessBlockScheduled(double** inputs, double** outputs, int used, int frames,
                                        bool together) {
  if (frames < 0) frames = 0;
  // A design that could not have its coefficients leaves fewer than the order.
  if (!storageReady || coefficients.Count() != shapingOrder ||
      (keepAverages && !AccumulatorsHold(frames))) {
    for (int c = 0; c < used; ++c) {
      for (int j = 0; j < frames; ++j) outputs[c][j] = 0.0;
    }
    return false;
  }
  // The block's frames are summed into, and those the last block left
  // beyond it must read 0 again: only those are cleared, so that a short
  // block costs the same whatever the accumulators' capacity.
  if (keepAverages) {
    const int32_t toClear = frames > heldFrames ? frames : heldFrames;
    for (int32_t j = 0; j < toClear; ++j) inputSum[j] = 0.0;
    for (int32_t j = 0; j < toClear; ++j) errorSum[j] = 0.0;
    heldFrames = 0;
  }
  if (used <= 0) return false;

  // The channels go together only where that cannot change what either one
  // reads: when no output overlaps the other channel's input or the other
  // output (with one channel at a time, channel 1 would read what channel 0
  // wrote), and when the paired loop's buffers hold the block.
  together = together && used == 2 && shapingOrder <= kMaxPairedOrder;
  if (together) {
    together = !Overlap(outputs[0], inputs[1], frames) && !Overlap(outputs[1], inputs[0], frames) &&
               !Overlap(outputs[0], outputs[1], frames);
    together = together && ReservePairWords(4 * static_cast<int64_t>(frames)) &&
               pairHistory.Count() >= 4 * shapingOrder;
  }
  double sumOfSquares[kChannels];
  if (together) {
    // Both channels' words at once: channel 0's, then channel 1's, the
    // stream the one-channel loop draws from, in its order.
    if (ditherOn) rng.NextWords(pairWords.get(), 2 * (shapingOn ? 1 : 2) * frames);
    if (CpuHasSse41()) {
      RequantisePairSse41(inputs, outputs, frames, sumOfSquares);
    } else {
      RequantisePairSse2(inputs, outputs, frames, sumOfSquares);
    }
  } else {
    for (int c = 0; c < used; ++c) {
      sumOfSquares[c] = CpuHasSse41()
                            ? RequantiseChannelSse41(inputs[c], outputs[c], channels[c], frames)
                            : RequantiseChannelSse2(inputs[c], outputs[c], channels[c], frames);
    }
  }
  // An empty block has no level: the gains stay as they were.
  if (ditherOn && frames > 0) {
    for (int c = 0; c < used; ++c) {
      channels[c].ditherGain = 1.0 - 0.6 * std::sqrt(sumOfSquares[c] / frames);
    }
  }

  if (keepAverages) {
    const double scale = 1.0 / used;
    for (int32_t j = 0; j < frames; ++j) inputSum[j] *= scale;
    for (int32_t j = 0; j < frames; ++j) errorSum[j] *= scale;
    heldFrames = frames;
  }
  return true;
}
