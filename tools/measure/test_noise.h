// Noise for test signals that every run and every build makes alike: a
// fixed linear congruential sequence, x = 1664525 x + 1013904223 (mod 2^32),
// mapped to [-1, 1). The seed picks the sequence.
#pragma once

#include <cstdint>

class TestNoise {
 public:
  explicit TestNoise(uint32_t seed) : state(seed) {}

  double Next() {
    state = 1664525u * state + 1013904223u;
    return static_cast<double>(state) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t state;
};
