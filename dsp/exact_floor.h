// Two ways to the same exact floor(t), for the requantiser's rounding.
// Processors with SSE4.1 round down in one instruction; the others (the SSE2
// baseline of the 32-bit build) take a longer way. The rounding sits in the
// shaper's feedback loop, so its latency bounds the processing rate.
#pragma once

#include <smmintrin.h>

#include <cmath>

#define QV_TARGET_SSE41 __attribute__((target("sse4.1")))

struct FloorSse41 {
  QV_TARGET_SSE41 static double Of(double t) {
    return _mm_cvtsd_f64(_mm_floor_sd(_mm_set_sd(t), _mm_set_sd(t)));
  }
  // Both lanes at once, each exactly as Of.
  QV_TARGET_SSE41 static __m128d Of(__m128d t) { return _mm_floor_pd(t); }
};

// Below 2^52 in magnitude: round to the nearest integer by adding and
// removing 2^52 with the sign of t, then step down when that rounded up. At
// and above 2^52 every double is an integer. Written without branches: with
// dither the fraction of t is random and a branch on it would be mispredicted
// half of the time.
struct FloorSse2 {
  static double Of(double t) {
    constexpr double kTwoTo52 = 4503599627370496.0;
    if (!(std::fabs(t) < kTwoTo52)) return t;
    const double magic = std::copysign(kTwoTo52, t);
    const __m128d n = _mm_set_sd((t + magic) - magic);
    const __m128d overshoot = _mm_and_pd(_mm_cmpgt_sd(n, _mm_set_sd(t)), _mm_set_sd(1.0));
    return _mm_cvtsd_f64(_mm_sub_sd(n, overshoot));
  }
  // Both lanes at once, each exactly as Of: the same steps in every lane,
  // and t itself kept where it is too large for them.
  static __m128d Of(__m128d t) {
    const __m128d sign = _mm_set1_pd(-0.0);
    const __m128d small = _mm_cmplt_pd(_mm_andnot_pd(sign, t), _mm_set1_pd(4503599627370496.0));
    const __m128d magic = _mm_or_pd(_mm_and_pd(sign, t), _mm_set1_pd(4503599627370496.0));
    const __m128d n = _mm_sub_pd(_mm_add_pd(t, magic), magic);
    const __m128d overshoot = _mm_and_pd(_mm_cmpgt_pd(n, t), _mm_set1_pd(1.0));
    const __m128d rounded = _mm_sub_pd(n, overshoot);
    return _mm_or_pd(_mm_and_pd(small, rounded), _mm_andnot_pd(small, t));
  }
};

// Whether this processor can run the SSE4.1 form; asked once.
inline bool CpuHasSse41() {
  static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("sse4.1"));
  return has;
}
