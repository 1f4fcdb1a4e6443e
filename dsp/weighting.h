// The psychoacoustic weighting curve that the noise shaper follows: the level
// in dB that the requantisation noise should have at each frequency, lowest
// (−10 dB) near 3400 Hz and highest (40 dB) from 18500 Hz up.
#pragma once

#include <cstdint>

#include "dsp/analyser.h"

// The curve's breakpoints for one sample rate, sorted by frequency.
struct WeightingBreakpoints {
  static constexpr int kMaxCount = 9;
  double frequency[kMaxCount];  // Hz
  double level[kMaxCount];      // dB
  int count;
};

// Breakpoints (Hz → dB): 0 → 10, 540 → 1.8, 840 → 2.4, 3400 → −10, 9000 → 15,
// 12500 → 9, 18500 → 40, and above 48000 Hz sample rate also 0.475·fs → 0 and
// 0.5·fs → 40. Built per call from fs alone: there is no shared cache, so
// instances at different rates may use it on any threads at once.
WeightingBreakpoints MakeWeightingBreakpoints(double sampleRate);

// The level at frequency f: the first breakpoint's level at or below 0 Hz, the
// last one's above the last breakpoint, and in between a half-cosine blend
// that meets each breakpoint with zero slope. Any thread.
double WeightingLevelDb(const WeightingBreakpoints& curve, double f);

// WeightingLevelDb on the breakpoints for sample rate fs.
double WeightingCurveDb(double f, double fs);

// Fills the ring of `weighting` (resized to n, zero-filled first) with the
// weighting as a power, 10^(−0.1 · WeightingCurveDb(f, fs)), at the n points
// f = i·fs/n for i = 1 … n: from fs/n up to fs itself, so every point above
// the last breakpoint holds 10^−4. The write position ends at 0.
void SampleWeighting(SpectrumAnalyser& weighting, double fs, int32_t n);
