#include "dsp/weighting.h"

#include "dsp/portable_math.h"

WeightingBreakpoints MakeWeightingBreakpoints(double sampleRate) {
  WeightingBreakpoints curve{};
  const auto add = [&curve](double f, double db) {
    curve.frequency[curve.count] = f;
    curve.level[curve.count] = db;
    ++curve.count;
  };
  add(0.0, 10.0);
  add(540.0, 1.8);
  add(840.0, 2.4);
  add(3400.0, -10.0);
  add(9000.0, 15.0);
  add(12500.0, 9.0);
  add(18500.0, 40.0);
  // Above 48 kHz the band beyond 18.5 kHz is wide enough to have a dip of its
  // own before the top.
  if (sampleRate > 48000.0) {
    add(sampleRate * 0.5 * 0.95, 0.0);
    add(sampleRate * 0.5, 40.0);
  }
  return curve;
}

// Between breakpoints (f0, g0) and (f1, g1):
//   g0 + (g1 − g0) · ½ · (1 − cos(π (f − f0) / (f1 − f0)))
double WeightingLevelDb(const WeightingBreakpoints& curve, double f) {
  int i = 0;
  while (i < curve.count && curve.frequency[i] < f) ++i;
  if (i == 0) return curve.level[0];
  if (i == curve.count) return curve.level[curve.count - 1];
  const double f0 = curve.frequency[i - 1], g0 = curve.level[i - 1];
  const double f1 = curve.frequency[i], g1 = curve.level[i];
  constexpr double kPi = 3.141592653589793;
  return g0 + (g1 - g0) * 0.5 * (1.0 - PortableCos(kPi * (f - f0) / (f1 - f0)));
}

double WeightingCurveDb(double f, double fs) {
  return WeightingLevelDb(MakeWeightingBreakpoints(fs), f);
}

// Storing N values from position 0 wraps the write position back to 0. Runs
// of equal levels (everything above the last breakpoint) reuse the power.
void SampleWeighting(SpectrumAnalyser& weighting, double fs, int32_t n) {
  if (!weighting.ResetRing(n)) return;
  SampleArray& ring = weighting.Ring();
  const WeightingBreakpoints curve = MakeWeightingBreakpoints(fs);
  double level = 0.0, power = 1.0;  // 10^(−0.1 · 0) = 1
  for (int32_t i = 1; i <= n; ++i) {
    const double f = i * fs / n;
    const double db = WeightingLevelDb(curve, f);
    if (db != level) {
      level = db;
      power = PortableExp10(-0.1 * db);
    }
    ring[i - 1] = power;
  }
}
