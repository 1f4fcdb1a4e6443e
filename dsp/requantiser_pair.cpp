// The requantiser's paired loop: channels 0 and 1 of a block together, each
// in one lane of two-lane vectors.
#include <emmintrin.h>

#include <cstdint>

#include "dsp/exact_floor.h"
#include "dsp/requantiser.h"

namespace {

// Words a and b, each below 2^32, as the doubles of lanes 0 and 1: exact,
// through the signed conversion of the words less 2^31.
inline __m128d WordsToDoubles(uint32_t a, uint32_t b) {
  const __m128i words =
      _mm_set_epi32(0, 0, static_cast<int>(b ^ 0x80000000u), static_cast<int>(a ^ 0x80000000u));
  return _mm_add_pd(_mm_cvtepi32_pd(words), _mm_set1_pd(2147483648.0));
}

}  // namespace

// The same arithmetic as RequantiseChannel, on channels 0 and 1 together,
// channel c in lane c of two-lane vectors: each channel's feedback sum is one
// long chain of dependent operations, and one instruction now advances both
// chains. Every lane computes exactly the scalar loop's expressions in their
// order. The dither comes from pairWords; the errors go through pairHistory,
// a ring like errorHistory with both channels' errors side by side, whose
// position starts at 0 in every block.
template <typename Floor>
__attribute__((always_inline)) inline void Requantiser::RequantisePair(double** inputs,
                                                                       double** outputs, int frames,
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
  const bool averaging = keepAverages;
  double* inSum = inputSum.Data();
  double* errSum = errorSum.Data();
  ChannelState* both[2] = {&channels[0], &channels[1]};

  // The errors k + 1 frames back at ring[2 (pos + k) + c], mirrored like
  // errorHistory so that reading `order` of them never wraps.
  __m128d a[kMaxPairedOrder];
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
    if (averaging) {
      double xs[2];
      double es[2];
      _mm_storeu_pd(xs, x);
      _mm_storeu_pd(es, _mm_sub_pd(y, x));
      inSum[j] = inSum[j] + xs[0] + xs[1];
      errSum[j] = errSum[j] + es[0] + es[1];
    }
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

QV_TARGET_SSE41 void Requantiser::RequantisePairSse41(double** inputs, double** outputs, int frames,
                                                      double sumOfSquares[2]) {
  RequantisePair<FloorSse41>(inputs, outputs, frames, sumOfSquares);
}

void Requantiser::RequantisePairSse2(double** inputs, double** outputs, int frames,
                                     double sumOfSquares[2]) {
  RequantisePair<FloorSse2>(inputs, outputs, frames, sumOfSquares);
}
