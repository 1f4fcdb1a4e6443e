// Internal to the drawing layer: the weighted sum of a bilinear sample's taps,
// each channel = (p00*w00 + p10*w10 + p01*w01 + p11*w11) / 65536, truncated,
// for weights of 0 ... 65535 that add up to at most 65535 (so every channel
// sum stays below 2^24 and every result below 256). One scalar and one SSE2
// form; MixTaps is the one this build uses.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Two channels per 64-bit word, each in its own 32-bit lane: the lanes never
// carry into each other.
inline uint32_t MixTapsScalar(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, int w00,
                              int w10, int w01, int w11) {
  constexpr uint64_t kLanes = 0x000000FF000000FFu;
  auto blueRed = [](uint32_t p) { return (uint64_t{p} | uint64_t{p} << 16) & kLanes; };
  auto greenAlpha = [](uint32_t p) { return (uint64_t{p} >> 8 | uint64_t{p} << 8) & kLanes; };
  const uint64_t a = static_cast<uint64_t>(w00), b = static_cast<uint64_t>(w10);
  const uint64_t c = static_cast<uint64_t>(w01), d = static_cast<uint64_t>(w11);
  const uint64_t br = blueRed(p00) * a + blueRed(p10) * b + blueRed(p01) * c + blueRed(p11) * d;
  const uint64_t ga =
      greenAlpha(p00) * a + greenAlpha(p10) * b + greenAlpha(p01) * c + greenAlpha(p11) * d;
  const uint64_t low = 0xFFFFFFFFu;
  return static_cast<uint32_t>((br & low) >> 16 | ((ga & low) >> 16) << 8 | (br >> 48) << 16 |
                               (ga >> 48) << 24);
}

#if defined(__SSE2__)
// The taps' channels as 16-bit lanes; each product p*w as the pair of its low
// and high 16 bits (pmullw, pmulhuw) joined into a 32-bit lane; four taps
// summed per channel, shifted down by 16 and packed back into bytes.
inline uint32_t MixTapsSse2(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, int w00,
                            int w10, int w01, int w11) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i taps = _mm_set_epi32(static_cast<int>(p11), static_cast<int>(p01),
                                     static_cast<int>(p10), static_cast<int>(p00));
  // 16-bit lanes w00 w10 w01 w11, then each repeated over a tap's four channels.
  auto pair = [](int a, int b) {
    return static_cast<int>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b) << 16);
  };
  const __m128i w = _mm_set_epi32(0, 0, pair(w01, w11), pair(w00, w10));
  const __m128i pairs = _mm_unpacklo_epi16(w, w);
  const __m128i weightsTop = _mm_unpacklo_epi32(pairs, pairs);     // w00 x4, w10 x4
  const __m128i weightsBottom = _mm_unpackhi_epi32(pairs, pairs);  // w01 x4, w11 x4
  const __m128i top = _mm_unpacklo_epi8(taps, zero);               // p00, p10
  const __m128i bottom = _mm_unpackhi_epi8(taps, zero);            // p01, p11
  const __m128i topLow = _mm_mullo_epi16(top, weightsTop);
  const __m128i topHigh = _mm_mulhi_epu16(top, weightsTop);
  const __m128i bottomLow = _mm_mullo_epi16(bottom, weightsBottom);
  const __m128i bottomHigh = _mm_mulhi_epu16(bottom, weightsBottom);
  __m128i sum =
      _mm_add_epi32(_mm_unpacklo_epi16(topLow, topHigh), _mm_unpackhi_epi16(topLow, topHigh));
  sum = _mm_add_epi32(sum, _mm_unpacklo_epi16(bottomLow, bottomHigh));
  sum = _mm_add_epi32(sum, _mm_unpackhi_epi16(bottomLow, bottomHigh));
  sum = _mm_srli_epi32(sum, 16);
  sum = _mm_packs_epi32(sum, sum);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(sum, sum)));
}
#endif

inline uint32_t MixTaps(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, int w00, int w10,
                        int w01, int w11) {
#if defined(__SSE2__)
  return MixTapsSse2(p00, p10, p01, p11, w00, w10, w01, w11);
#else
  return MixTapsScalar(p00, p10, p01, p11, w00, w10, w01, w11);
#endif
}
