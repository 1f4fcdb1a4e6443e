#include "support/vst2_reference.h"

#include "tools/measure/test_noise.h"

std::vector<double> HalfScaleNoise(size_t frames, uint32_t seed) {
  TestNoise noise(seed);
  std::vector<double> x(frames);
  for (double& v : x) v = 0.5 * noise.Next();
  return x;
}
