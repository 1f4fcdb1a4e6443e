// The 32-bit Mersenne Twister (MT19937) that draws the dither, one per
// plug-in instance, shared by both channels.
#pragma once

#include <cstdint>

class MtRandom {
 public:
  // state[0] = s; state[i] = 1812433253 * (state[i-1] ^ (state[i-1] >> 30)) + i
  void SeedState(uint32_t seed);
  // Twists all 624 words at once and restarts the draw position.
  void Regenerate();
  // Draws the next word, tempered; regenerates first when all are used.
  uint32_t NextWord() {
    if (left == 0) Regenerate();
    --left;
    return Temper(state[next++]);
  }
  // Draws the next count words into out: the words NextWord would return one
  // after the other, tempered four at a time.
  void NextWords(uint32_t* out, int32_t count);
  // A word scaled by 1 / (2^32 - 1): both 0.0 and 1.0 can occur.
  double NextUniform() { return NextWord() * kWordScale; }

  static constexpr double kWordScale = 2.3283064370807974e-10;

 private:
  static uint32_t Temper(uint32_t y) {
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    return y ^ (y >> 18);
  }

  static constexpr int kStateSize = 624;
  uint32_t state[kStateSize] = {};
  int next = 0;
  int left = 0;
};

// A seed from the calendar time (seconds) and the processor clock (ticks),
// bytewise hashed, plus a process-wide count so that instances created in the
// same second differ.
uint32_t SeedFromClock(int64_t calendarTime, uint32_t processorClock);
