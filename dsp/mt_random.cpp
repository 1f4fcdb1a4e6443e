#include "dsp/mt_random.h"

#include <emmintrin.h>

#include <atomic>
#include <cstring>

void MtRandom::SeedState(uint32_t seed) {
  state[0] = seed;
  for (uint32_t i = 1; i < kStateSize; ++i) {
    state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + i;
  }
  left = 0;
  next = 0;
}

namespace {

constexpr uint32_t kMatrix = 0x9908B0DFu;

// y takes the top bit of a and the low 31 bits of b; the twist mixes it into m.
inline uint32_t Twist(uint32_t m, uint32_t a, uint32_t b) {
  const uint32_t y = (a & 0x80000000u) | (b & 0x7FFFFFFFu);
  return m ^ (y >> 1) ^ ((b & 1u) ? kMatrix : 0u);
}

// Twist on four neighbouring words at once, lane by lane.
inline __m128i Twist(__m128i m, __m128i a, __m128i b) {
  const __m128i y = _mm_or_si128(_mm_and_si128(a, _mm_set1_epi32(static_cast<int>(0x80000000u))),
                                 _mm_and_si128(b, _mm_set1_epi32(0x7FFFFFFF)));
  // All ones where b is odd, so that the matrix is mixed in only there.
  const __m128i odd = _mm_sub_epi32(_mm_setzero_si128(), _mm_and_si128(b, _mm_set1_epi32(1)));
  const __m128i matrix = _mm_and_si128(odd, _mm_set1_epi32(static_cast<int>(kMatrix)));
  return _mm_xor_si128(_mm_xor_si128(m, _mm_srli_epi32(y, 1)), matrix);
}

inline __m128i Load4(const uint32_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store4(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// state[i .. i + 4) twisted with m from state[i + shift .. i + shift + 4).
// Every word read lies either ahead of the four written (not yet twisted in
// this round, as in the one-by-one order) or at least 227 words behind them
// (already twisted), so four at a time give the words of one at a time.
inline void Twist4(uint32_t* state, int i, int shift) {
  Store4(state + i, Twist(Load4(state + i + shift), Load4(state + i), Load4(state + i + 1)));
}

// MtRandom::Temper on four words.
inline __m128i Temper4(__m128i y) {
  y = _mm_xor_si128(y, _mm_srli_epi32(y, 11));
  y = _mm_xor_si128(
      y, _mm_and_si128(_mm_slli_epi32(y, 7), _mm_set1_epi32(static_cast<int>(0x9D2C5680u))));
  y = _mm_xor_si128(
      y, _mm_and_si128(_mm_slli_epi32(y, 15), _mm_set1_epi32(static_cast<int>(0xEFC60000u))));
  return _mm_xor_si128(y, _mm_srli_epi32(y, 18));
}

}  // namespace

// state[i] = state[(i + 397) mod 624] ^ twist(state[i], state[i + 1]), in
// place and in order, in two runs so that no index needs a modulo: words
// 0 … 226 take m from ahead, words 227 … 623 from the words already twisted.
void MtRandom::Regenerate() {
  constexpr int kShift = 397;
  constexpr int kAhead = kStateSize - kShift;  // 227
  int i = 0;
  for (; i + 4 <= kAhead; i += 4) Twist4(state, i, kShift);
  for (; i < kAhead; ++i) state[i] = Twist(state[i + kShift], state[i], state[i + 1]);
  // Words 227 … 622 are 99 groups of four exactly.
  static_assert((kStateSize - 1 - kAhead) % 4 == 0, "no words left over");
  for (; i < kStateSize - 1; i += 4) Twist4(state, i, -kAhead);
  state[i] = Twist(state[kShift - 1], state[i], state[0]);
  next = 0;
  left = kStateSize;
}

void MtRandom::NextWords(uint32_t* out, int32_t count) {
  while (count > 0) {
    if (left == 0) Regenerate();
    const int n = count < left ? count : left;
    int i = 0;
    for (; i + 4 <= n; i += 4) Store4(out + i, Temper4(Load4(state + next + i)));
    for (; i < n; ++i) out[i] = Temper(state[next + i]);
    next += n;
    left -= n;
    out += n;
    count -= n;
  }
}

uint32_t SeedFromClock(int64_t calendarTime, uint32_t processorClock) {
  static std::atomic<uint32_t> counter{0};
  unsigned char bytes[8];
  // Bytes in memory order, least significant first on every target we build.
  std::memcpy(bytes, &calendarTime, sizeof bytes);
  uint32_t h1 = 0;
  for (unsigned char byte : bytes) h1 = h1 * 257u + byte;
  std::memcpy(bytes, &processorClock, sizeof processorClock);
  uint32_t h2 = 0;
  for (int i = 0; i < 4; ++i) h2 = h2 * 257u + bytes[i];
  return (h1 + counter.fetch_add(1)) ^ h2;
}
