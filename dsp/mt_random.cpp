#include "dsp/mt_random.h"

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

// y takes the top bit of a and the low 31 bits of b; the twist mixes it into m.
inline uint32_t Twist(uint32_t m, uint32_t a, uint32_t b) {
  const uint32_t y = (a & 0x80000000u) | (b & 0x7FFFFFFFu);
  return m ^ (y >> 1) ^ ((b & 1u) ? 0x9908B0DFu : 0u);
}

}  // namespace

// state[i] = state[(i + 397) mod 624] ^ twist(state[i], state[i + 1]), in
// place and in order, written as three loops so that no index needs a modulo.
void MtRandom::Regenerate() {
  constexpr int kShift = 397;
  int i = 0;
  for (; i < kStateSize - kShift; ++i) state[i] = Twist(state[i + kShift], state[i], state[i + 1]);
  for (; i < kStateSize - 1; ++i) {
    state[i] = Twist(state[i + kShift - kStateSize], state[i], state[i + 1]);
  }
  state[i] = Twist(state[kShift - 1], state[i], state[0]);
  next = 0;
  left = kStateSize;
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
