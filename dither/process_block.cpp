// The per-sample requantiser: clip, dither, error-feedback shaping, rounding
// to the grid of quantScale steps.
#include <cmath>
#include <cstdint>
#include <emmintrin.h>

#include "dither/dither_plugin.h"
#include "dither/exact_floor.h"
#include "dither/level_bar.h"
#include "dither/response_graph.h"

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

// Words a and b, each below 2^32, as the doubles of lanes 0 and 1: exact,
// through the signed conversion of the words less 2^31.
inline __m128d WordsToDoubles(uint32_t a, uint32_t b) {
  const __m128i words =
      _mm_set_epi32(0, 0, static_cast<int>(b ^ 0x80000000u), static_cast<int>(a ^ 0x80000000u));
  return _mm_add_pd(_mm_cvtepi32_pd(words), _mm_set1_pd(2147483648.0));
}

}  // namespace

// For each frame, with e the stored errors, a the coefficients and d the
// dither times the channel's gain:
//   v = x - sum_k a[k] * e[n - 1 - k]     (subtracted in order of k)
//   y = floor(quantScale * v + d + 0.5) / quantScale
//   e[n] = y - v                          (the dither is part of the error)
// so the requantisation noise y - x is e filtered by 1 - sum_k a[k] z^-(k+1).
template <typename Floor>
__attribute__((always_inline)) inline double DitherPlugin::RequantiseChannel(const double* in,
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

// The same arithmetic as RequantiseChannel, on channels 0 and 1 together,
// channel c in lane c of two-lane vectors: each channel's feedback sum is one
// long chain of dependent operations, and one instruction now advances both
// chains. Every lane computes exactly the scalar loop's expressions in their
// order. The dither comes from pairWords; the errors go through pairHistory,
// a ring like errorHistory with both channels' errors side by side, whose
// position starts at 0 in every block.
template <typename Floor>
__attribute__((always_inline)) inline void DitherPlugin::RequantisePair(double** inputs,
                                                                        double** outputs,
                                                                        int frames,
                                                                        double sumOfSquares[2]) {
  const bool dither = ditherOn;
  const bool shaping = shapingOn;
  const int order = shapingOrder;
  const __m128d scale = _mm_set1_pd(quantScale);
  // quantScale is a power of two: multiplying by its inverse is exact.
  const __m128d stepSize = _mm_set1_pd(1.0 / quantScale);
  const __m128d half = _mm_set1_pd(0.5);
  const __m128d one = _mm_set1_pd(1.0);
  const __m128d minusOne = _mm_set1_pd(-1.0);
  const double* in0 = inputs[0];
  const double* in1 = inputs[1];
  double* out0 = outputs[0];
  double* out1 = outputs[1];
  // The block's words in the order the one-channel loop draws them: all of
  // channel 0's, then all of channel 1's.
  const int wordsPerFrame = shaping ? 1 : 2;
  const uint32_t* words0 = pairWords.get();
  const uint32_t* words1 = words0 + wordsPerFrame * frames;
  const __m128d wordScale = _mm_set1_pd(MtRandom::kWordScale);
  double* inSum = inputSum.Data();
  double* errSum = errorSum.Data();
  ChannelState* both[2] = {&channels[0], &channels[1]};

  // The errors k + 1 frames back at ring[2 (pos + k) + c], mirrored like
  // errorHistory so that reading `order` of them never wraps.
  __m128d a[kMaxShapingOrder];
  double* ring = pairHistory.Data();
  for (int k = 0; k < order; ++k) {
    a[k] = _mm_set1_pd(coefficients[k]);
    for (int c = 0; c < 2; ++c) {
      ring[2 * k + c] = ring[2 * (k + order) + c] = both[c]->errorHistory[both[c]->historyPos + k];
    }
  }
  const __m128d gain = _mm_set_pd(both[1]->ditherGain, both[0]->ditherGain);
  __m128d prevUniform = _mm_set_pd(both[1]->prevUniform, both[0]->prevUniform);
  int pos = 0;
  __m128d newest = order > 0 ? _mm_loadu_pd(ring) : _mm_setzero_pd();
  __m128d squares = _mm_setzero_pd();

  for (int j = 0; j < frames; ++j) {
    // Clip: the minimum takes its second operand for NaN, which gives +1.
    const __m128d x = _mm_max_pd(_mm_min_pd(_mm_set_pd(in1[j], in0[j]), one), minusOne);
    __m128d v = x;
    if (shaping) {
      const double* recent = ring + 2 * pos;
      v = _mm_sub_pd(v, _mm_mul_pd(a[0], newest));
      for (int k = 1; k < order; ++k) {
        v = _mm_sub_pd(v, _mm_mul_pd(a[k], _mm_loadu_pd(recent + 2 * k)));
      }
    }
    // Triangular dither: the difference of successive uniforms when shaping
    // (high-pass), otherwise the sum of two uniform words (white).
    __m128d dj = _mm_setzero_pd();
    if (dither) {
      if (shaping) {
        const __m128d u = _mm_mul_pd(WordsToDoubles(words0[j], words1[j]), wordScale);
        dj = _mm_mul_pd(gain, _mm_sub_pd(prevUniform, u));
        prevUniform = u;
      } else {
        const __m128d sum = _mm_add_pd(WordsToDoubles(words0[2 * j], words1[2 * j]),
                                       WordsToDoubles(words0[2 * j + 1], words1[2 * j + 1]));
        dj = _mm_mul_pd(gain, _mm_sub_pd(_mm_mul_pd(sum, wordScale), one));
      }
    }
    const __m128d y =
        _mm_mul_pd(Floor::Of(_mm_add_pd(_mm_add_pd(_mm_mul_pd(scale, v), dj), half)), stepSize);
    _mm_storel_pd(out0 + j, y);
    _mm_storeh_pd(out1 + j, y);
    if (shaping) {
      pos = pos == 0 ? order - 1 : pos - 1;
      newest = _mm_sub_pd(y, v);
      _mm_storeu_pd(ring + 2 * pos, newest);
      _mm_storeu_pd(ring + 2 * (pos + order), newest);
    }
    double xs[2];
    double es[2];
    _mm_storeu_pd(xs, x);
    _mm_storeu_pd(es, _mm_sub_pd(y, x));
    inSum[j] = inSum[j] + xs[0] + xs[1];
    errSum[j] = errSum[j] + es[0] + es[1];
    squares = _mm_add_pd(squares, _mm_mul_pd(x, x));
  }

  // Back to each channel's own ring, at the position the one-channel loop
  // would have reached: both rings moved back one place per frame, so the
  // channel's moved as far from its start as this one from 0.
  if (order > 0) {
    for (int c = 0; c < 2; ++c) {
      ChannelState& s = *both[c];
      s.historyPos = (s.historyPos + pos) % order;
      for (int k = 0; k < order; ++k) {
        const int i = (s.historyPos + k) % order;
        s.errorHistory[i] = s.errorHistory[i + order] = ring[2 * (pos + k) + c];
      }
    }
  }
  double lastUniform[2];
  _mm_storeu_pd(lastUniform, prevUniform);
  both[0]->prevUniform = lastUniform[0];
  both[1]->prevUniform = lastUniform[1];
  _mm_storeu_pd(sumOfSquares, squares);
}

QV_TARGET_SSE41 double DitherPlugin::RequantiseChannelSse41(const double* in, double* out,
                                                            ChannelState& s, int frames) {
  return RequantiseChannel<FloorSse41>(in, out, s, frames);
}

double DitherPlugin::RequantiseChannelSse2(const double* in, double* out, ChannelState& s,
                                           int frames) {
  return RequantiseChannel<FloorSse2>(in, out, s, frames);
}

QV_TARGET_SSE41 void DitherPlugin::RequantisePairSse41(double** inputs, double** outputs,
                                                       int frames, double sumOfSquares[2]) {
  RequantisePair<FloorSse41>(inputs, outputs, frames, sumOfSquares);
}

void DitherPlugin::RequantisePairSse2(double** inputs, double** outputs, int frames,
                                      double sumOfSquares[2]) {
  RequantisePair<FloorSse2>(inputs, outputs, frames, sumOfSquares);
}

bool DitherPlugin::AccumulatorsHold(int frames) {
  if (frames <= inputSum.Count() && frames <= errorSum.Count()) return true;
  // Hosts announce the longest block they will send, but some send longer
  // ones; the accumulators then grow to hold the whole block.
  return inputSum.Resize(frames, false) == frames && errorSum.Resize(frames, false) == frames;
}

void DitherPlugin::ProcessBlock(double** inputs, double** outputs, int frames) {
  ProcessBlockScheduled(inputs, outputs, frames, true);
}

void DitherPlugin::ProcessBlockPerChannel(double** inputs, double** outputs, int frames) {
  ProcessBlockScheduled(inputs, outputs, frames, false);
}

void DitherPlugin::ProcessBlockScheduled(double** inputs, double** outputs, int frames,
                                         bool together) {
  if (frames < 0) frames = 0;
  // Only outputs the host gave can be written, whatever the input count.
  int used = InputsInUse() < 2 ? InputsInUse() : 2;
  if (OutputsInUse() < used) used = OutputsInUse();
  if (!storageReady || !AccumulatorsHold(frames)) {
    for (int c = 0; c < used; ++c) {
      for (int j = 0; j < frames; ++j) outputs[c][j] = 0.0;
    }
    return;
  }
  const int32_t count = inputSum.Count();
  for (int32_t j = 0; j < count; ++j) inputSum[j] = 0.0;
  for (int32_t j = 0; j < errorSum.Count(); ++j) errorSum[j] = 0.0;
  if (used <= 0) return;

  // The channels go together only where that cannot change what either one
  // reads: when no output overlaps the other channel's input or the other
  // output (with one channel at a time, channel 1 would read what channel 0
  // wrote), and when the paired loop's buffers hold the block.
  if (together && used == 2) {
    together = !Overlap(outputs[0], inputs[1], frames) && !Overlap(outputs[1], inputs[0], frames) &&
               !Overlap(outputs[0], outputs[1], frames);
    together = together && ReservePairWords(4 * static_cast<int64_t>(frames)) &&
               pairHistory.Count() >= 4 * shapingOrder;
  }
  double sumOfSquares[2];
  if (together && used == 2) {
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

  const double scale = 1.0 / used;
  for (int32_t j = 0; j < count; ++j) inputSum[j] *= scale;
  for (int32_t j = 0; j < errorSum.Count(); ++j) errorSum[j] *= scale;
  FeedDisplay(frames);
}

void DitherPlugin::FeedDisplay(int frames) {
  if (!inputGraph || !noiseGraph || !levelBar) return;
  inputGraph->AppendSamples(inputSum.Data(), frames);
  noiseGraph->AppendSamples(errorSum.Data(), frames);
  // The peak over the whole accumulator (frames past this block hold 0),
  // limited to the bar's range.
  double peak = 0.0;
  for (int32_t j = 0; j < inputSum.Count(); ++j) peak = inputSum[j] > peak ? inputSum[j] : peak;
  levelBar->SetValueFromPlug(peak < 1.0 ? peak : 1.0, &Lock());
}
