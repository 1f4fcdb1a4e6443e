#include "tools/quorvane/output_grid.h"

#include <emmintrin.h>

#include <cmath>

OutputGrid::OutputGrid(int bits) : top(1.0 - std::ldexp(1.0, 1 - bits)) {}

namespace {

// Two frames of two channels at a time, as left-justified integers.
struct WordStore {
  int32_t* words;
  void Two(size_t first, size_t second, __m128d a, __m128d b) const {
    const __m128d scale = _mm_set1_pd(2147483648.0);
    const __m128i both = _mm_unpacklo_epi32(_mm_cvttpd_epi32(_mm_mul_pd(a, scale)),
                                            _mm_cvttpd_epi32(_mm_mul_pd(b, scale)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(words + first), both);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(words + second), _mm_srli_si128(both, 8));
  }
  void One(size_t at, double y) const { words[at] = OutputGrid::ToInt32(y); }
};

// The same as doubles.
struct DoubleStore {
  double* interleaved;
  void Two(size_t first, size_t second, __m128d a, __m128d b) const {
    _mm_storeu_pd(interleaved + first, _mm_unpacklo_pd(a, b));
    _mm_storeu_pd(interleaved + second, _mm_unpackhi_pd(a, b));
  }
  void One(size_t at, double y) const { interleaved[at] = y; }
};

// Channels go two at a time, each vector holding two frames of one channel;
// values are limited exactly as Clip limits them, and written back only
// where one was outside.
template <typename Sink>
uint64_t StoreInterleaved(const OutputGrid& grid, double* planar, size_t stride, int channels,
                          int frames, const Sink& sink) {
  const __m128d top = _mm_set1_pd(grid.Top());
  const __m128d bottom = _mm_set1_pd(-1.0);
  uint64_t overs = 0;
  const auto limit = [&](double* y) {
    const __m128d v = _mm_loadu_pd(y);
    const __m128d above = _mm_cmpgt_pd(v, top);
    const __m128d below = _mm_cmplt_pd(v, bottom);
    const int outside = _mm_movemask_pd(_mm_or_pd(above, below));
    if (outside == 0) return v;
    overs += static_cast<uint64_t>((outside & 1) + (outside >> 1));
    const __m128d limited = _mm_or_pd(_mm_or_pd(_mm_and_pd(above, top), _mm_and_pd(below, bottom)),
                                      _mm_andnot_pd(_mm_or_pd(above, below), v));
    _mm_storeu_pd(y, limited);
    return limited;
  };
  const auto one = [&](double* y, size_t at) {
    *y = grid.Clip(*y, overs);
    sink.One(at, *y);
  };
  int c = 0;
  for (; c + 2 <= channels; c += 2) {
    double* first = planar + static_cast<size_t>(c) * stride;
    double* second = first + stride;
    int j = 0;
    for (; j + 2 <= frames; j += 2) {
      const __m128d a = limit(first + j);
      const __m128d b = limit(second + j);
      sink.Two(static_cast<size_t>(j) * channels + c, static_cast<size_t>(j + 1) * channels + c, a,
               b);
    }
    for (; j < frames; ++j) {
      one(first + j, static_cast<size_t>(j) * channels + c);
      one(second + j, static_cast<size_t>(j) * channels + c + 1);
    }
  }
  if (c < channels) {
    double* last = planar + static_cast<size_t>(c) * stride;
    for (int j = 0; j < frames; ++j) one(last + j, static_cast<size_t>(j) * channels + c);
  }
  return overs;
}

}  // namespace

uint64_t OutputGrid::Store(double* planar, size_t stride, int channels, int frames,
                           int32_t* words) const {
  return StoreInterleaved(*this, planar, stride, channels, frames, WordStore{words});
}

uint64_t OutputGrid::Store(double* planar, size_t stride, int channels, int frames,
                           double* interleaved) const {
  return StoreInterleaved(*this, planar, stride, channels, frames, DoubleStore{interleaved});
}
