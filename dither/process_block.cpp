// The per-sample requantiser: clip, dither, error-feedback shaping, rounding
// to the grid of quantScale steps.
#include <cmath>

#include "dither/dither_plugin.h"

namespace {

constexpr double kTwoTo52 = 4503599627370496.0;

// floor(t), exact for every double. Below 2^52 in magnitude: round to the
// nearest integer by adding and removing 2^52 with the sign of t, then step
// down when that rounded up. At and above 2^52 every double is an integer.
inline double FloorExact(double t) {
  if (!(std::fabs(t) < kTwoTo52)) return t;
  const double magic = t < 0.0 ? -kTwoTo52 : kTwoTo52;
  const double n = (t + magic) - magic;
  return n > t ? n - 1.0 : n;
}

// Limits to [-1, 1]; the comparisons are arranged so that NaN becomes +1.
inline double Clip(double x) {
  if (!(x <= 1.0)) return 1.0;
  return x < -1.0 ? -1.0 : x;
}

}  // namespace

// For each frame, with e the stored errors and a the coefficients:
//   v = x - sum_k a[k] * e[n - 1 - k]
//   y = floor(quantScale * v + d + 0.5) / quantScale
//   e[n] = y - v   (the dither is part of the stored error)
// so the requantisation noise y - x is e filtered by 1 - sum_k a[k] z^-(k+1).
double DitherPlugin::ProcessChannel(const double* in, double* out, ChannelState& s, int frames) {
  const int order = shapingOrder;
  const double* a = coefficients.Data();
  double* history = s.errorHistory.Data();
  double sumOfSquares = 0.0;
  for (int j = 0; j < frames; ++j) {
    const double x = Clip(in[j]);

    double d = 0.0;
    if (ditherOn) {
      double r;
      if (shapingOn) {
        // Difference of successive uniforms: triangular, high-pass.
        const double u = rng.NextUniform();
        r = s.prevUniform - u;
        s.prevUniform = u;
      } else {
        // Sum of two uniform words: triangular, white. The sum needs 33 bits.
        const uint64_t w1 = rng.NextWord();
        const uint64_t w2 = rng.NextWord();
        r = static_cast<double>(w1 + w2) * MtRandom::kWordScale - 1.0;
      }
      d = s.ditherGain * r;
    }

    double v = x;
    if (shapingOn) {
      // Coefficient k meets the error k + 1 frames back; the position comes
      // back to where it started.
      int pos = s.historyPos;
      for (int k = 0; k < order; ++k) {
        v = v - a[k] * history[pos];
        if (++pos == order) pos = 0;
      }
    }

    const double t = quantScale * v + d + 0.5;
    const double y = FloorExact(t) / quantScale;
    out[j] = y;

    if (shapingOn) {
      s.historyPos = s.historyPos == 0 ? order - 1 : s.historyPos - 1;
      history[s.historyPos] = y - v;
    }
    inputSum[j] += x;
    errorSum[j] += y - x;
    sumOfSquares += x * x;
  }
  return sumOfSquares;
}

void DitherPlugin::ProcessBlock(double** inputs, double** outputs, int frames) {
  // An empty block changes no state: the dither gains stay as they are.
  if (frames <= 0) return;
  // Hosts announce the longest block they will send, but some send longer
  // ones; the accumulators then grow to hold the whole block.
  if (frames > inputSum.Count()) {
    inputSum.Resize(frames, false);
    errorSum.Resize(frames, false);
  }
  const int32_t count = inputSum.Count();
  for (int32_t j = 0; j < count; ++j) inputSum[j] = errorSum[j] = 0.0;

  // Only outputs the host gave can be written, whatever the input count.
  int used = InputsInUse() < 2 ? InputsInUse() : 2;
  if (OutputsInUse() < used) used = OutputsInUse();
  for (int c = 0; c < used; ++c) {
    ChannelState& s = channels[c];
    const double sumOfSquares = ProcessChannel(inputs[c], outputs[c], s, frames);
    if (ditherOn) s.ditherGain = 1.0 - 0.6 * std::sqrt(sumOfSquares / frames);
  }
  if (used == 0) return;

  const double scale = 1.0 / used;
  for (int32_t j = 0; j < count; ++j) {
    inputSum[j] *= scale;
    errorSum[j] *= scale;
  }
}
