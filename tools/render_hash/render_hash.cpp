// qvrenderhash: fingerprints of the plug-in's arithmetic, for comparing
// builds bit for bit. The plug-in and its VST 2.x adapter are linked in, not
// loaded, so that its random generator can be given a fixed seed; the audio
// still goes through the double-precision callback of its effect record.
//
// Prints one line per case, "NAME HASH", with HASH the 64-bit FNV-1a of the
// output bytes: every shaping order with dither on and off, over several
// block sizes, and both directions of every FFT size.
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "dither/dither_plugin.h"
#include "dsp/fft.h"
#include "dsp/portable_math.h"
#include "vst2/dispatcher.h"
#include "vst2/vst2_effect.h"
#include "tools/measure/test_noise.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kFrames = 3 * 44100 + 17;
constexpr uint32_t kSeed = 20240611u;
constexpr int kBlocks[] = {1, 16, 441, 512, 4096};

class Fnv1a {
 public:
  void Add(const void* bytes, size_t count) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < count; ++i) hash = (hash ^ p[i]) * 0x100000001B3ull;
  }
  uint64_t Value() const { return hash; }

 private:
  uint64_t hash = 0xCBF29CE484222325ull;
};

// Two channels of sines with noise, a quiet stretch, a stretch driven past
// full scale and a few values that must be limited (infinities, NaN). The
// sines come from the portable sine: each C library rounds its own sin
// differently, and the input must be the same bits on every build.
std::vector<double> Signal(int channel) {
  TestNoise noise(7);
  std::vector<double> x(kFrames);
  const double pitch = channel == 0 ? 0.0631 : 0.0411;
  for (int j = 0; j < kFrames; ++j) {
    const double level = j < kFrames / 3 ? 0.6 : j < kFrames / 2 ? 1e-4 : 1.3;
    x[j] = level * PortableSin(pitch * j) + 0.01 * noise.Next();
  }
  x[100 + channel] = INFINITY;
  x[200] = -INFINITY;
  x[300 - channel] = NAN;
  return x;
}

uint64_t Render(int order, bool dither, int block, const std::vector<double>* in) {
  auto* plug = new DitherPlugin();
  Vst2Effect effect(plug);  // owns the plug-in
  EffectRecord* r = effect.Record();
  r->dispatcher(r, effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
  r->dispatcher(r, effSetBlockSize, 0, block, nullptr, 0.0f);
  r->dispatcher(r, effMainsChanged, 0, 1, nullptr, 0.0f);
  r->setParameter(r, kParamShaping, order / static_cast<float>(kMaxShapingOrder));
  r->setParameter(r, kParamDither, dither ? 1.0f : 0.0f);
  plug->Random().SeedState(kSeed);
  std::vector<double> left(block), right(block), outLeft(block), outRight(block);
  double* ins[2] = {left.data(), right.data()};
  double* outs[2] = {outLeft.data(), outRight.data()};
  Fnv1a hash;
  for (int start = 0; start < kFrames; start += block) {
    const int frames = kFrames - start < block ? kFrames - start : block;
    std::memcpy(left.data(), in[0].data() + start, sizeof(double) * frames);
    std::memcpy(right.data(), in[1].data() + start, sizeof(double) * frames);
    r->processDoubleReplacing(r, ins, outs, frames);
    hash.Add(outLeft.data(), sizeof(double) * frames);
    hash.Add(outRight.data(), sizeof(double) * frames);
  }
  r->dispatcher(r, effMainsChanged, 0, 0, nullptr, 0.0f);
  return hash.Value();
}

uint64_t Transform(int n, int inverse) {
  TestNoise noise(7);
  std::vector<double> x(2 * n);
  for (double& v : x) v = noise.Next();
  FftTransform(x.data(), n, inverse);
  Fnv1a hash;
  hash.Add(x.data(), sizeof(double) * x.size());
  return hash.Value();
}

}  // namespace

int main() {
  const std::vector<double> in[2] = {Signal(0), Signal(1)};
  for (int order = 0; order <= kMaxShapingOrder; ++order) {
    for (int dither = 1; dither >= 0; --dither) {
      for (int block : kBlocks) {
        std::printf("render order %d dither %s block %d %016" PRIx64 "\n", order,
                    dither ? "on" : "off", block, Render(order, dither != 0, block, in));
      }
    }
  }
  FftInitTables();
  for (int n = 2; n <= 32768; n *= 2) {
    for (int inverse = 0; inverse <= 1; ++inverse) {
      std::printf("fft %d %s %016" PRIx64 "\n", n, inverse ? "inverse" : "forward",
                  Transform(n, inverse));
    }
  }
  return 0;
}
