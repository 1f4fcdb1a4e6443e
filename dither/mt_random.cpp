#include "dither/mt_random.h"

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

void MtRandom::Regenerate() {
  for (int i = 0; i < kStateSize; ++i) {
    const uint32_t a = state[i];
    const uint32_t b = state[(i + 1) % kStateSize];
    const uint32_t y = (a & 0x80000000u) | (b & 0x7FFFFFFFu);
    state[i] = state[(i + 397) % kStateSize] ^ (y >> 1) ^ ((b & 1u) ? 0x9908B0DFu : 0u);
  }
  next = 0;
  left = kStateSize;
}

uint32_t MtRandom::NextWord() {
  if (left == 0) Regenerate();
  --left;
  uint32_t y = state[next++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
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
