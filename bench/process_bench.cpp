// Throughput of the requantiser and cost of an engine reset.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "painted_plugin.h"
#include "vst2/dispatcher.h"
#include "vst2/vst2_effect.h"

namespace {

// The plug-in behind its effect, as the entry makes it; the record closes both.
EffectRecord* RecordOf(DitherPlugin* plug) {
  return static_cast<Vst2Effect*>(plug->Host())->Record();
}

DitherPlugin* MakePlugin(int blockSize, float shapingNormalised, float ditherNormalised) {
  DitherPlugin* plug = WithEditor(new DitherPlugin());
  EffectRecord* r = (new Vst2Effect(plug))->Record();
  r->dispatcher(r, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  r->dispatcher(r, effSetBlockSize, 0, blockSize, nullptr, 0.0f);
  r->setParameter(r, kParamShaping, shapingNormalised);
  r->setParameter(r, kParamDither, ditherNormalised);
  return plug;
}

// Two channels, 16 bits, blocks of 512 frames; arguments: order, dither.
void BM_ProcessBlock(benchmark::State& state) {
  constexpr int kFrames = 512;
  DitherPlugin* plug =
      MakePlugin(kFrames, state.range(0) / 12.0f, static_cast<float>(state.range(1)));
  std::vector<double> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
  for (int j = 0; j < kFrames; ++j) {
    left[j] = 0.5 * std::sin(0.031 * j);
    right[j] = 0.5 * std::cos(0.017 * j);
  }
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {outLeft.data(), outRight.data()};
  for (auto _ : state) {
    plug->ProcessBlock(in, out, kFrames);
    benchmark::DoNotOptimize(outLeft.data());
  }
  // Counted as samples, both channels, to compare with other tools' rates.
  state.SetItemsProcessed(state.iterations() * kFrames * 2);
  RecordOf(plug)->dispatcher(RecordOf(plug), effClose, 0, 0, nullptr, 0.0f);
}
BENCHMARK(BM_ProcessBlock)
    ->Args({9, 1})
    ->Args({9, 0})
    ->Args({1, 0})
    ->Args({4, 0})
    ->Args({12, 0})
    ->Args({0, 1})
    ->Args({0, 0});

// A block of 64 frames at 48 kHz, dither on, with the engine prepared for a
// longer maximum (as LV2 hosts announce one): argument the maximum. The
// block's cost must not grow with it.
void BM_Block64AtMaximum(benchmark::State& state) {
  constexpr int kFrames = 64;
  DitherPlugin* plug = MakePlugin(static_cast<int>(state.range(0)), 0.75f, 1.0f);
  RecordOf(plug)->dispatcher(RecordOf(plug), effSetSampleRate, 0, 0, nullptr, 48000.0f);
  std::vector<double> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
  for (int j = 0; j < kFrames; ++j) left[j] = right[j] = 0.25 * std::sin(0.05 * j);
  double* in[2] = {left.data(), right.data()};
  double* out[2] = {outLeft.data(), outRight.data()};
  for (auto _ : state) {
    plug->ProcessBlock(in, out, kFrames);
    benchmark::DoNotOptimize(outLeft.data());
  }
  RecordOf(plug)->dispatcher(RecordOf(plug), effClose, 0, 0, nullptr, 0.0f);
}
BENCHMARK(BM_Block64AtMaximum)->Arg(512)->Arg(8192)->Arg(65536);

// The reset that runs on every parameter, rate or block-size change.
void BM_ResetProcessing1024Order12(benchmark::State& state) {
  DitherPlugin* plug = MakePlugin(1024, 1.0f, 0.0f);
  for (auto _ : state) plug->ResetProcessing();
  RecordOf(plug)->dispatcher(RecordOf(plug), effClose, 0, 0, nullptr, 0.0f);
}
BENCHMARK(BM_ResetProcessing1024Order12)->Unit(benchmark::kMicrosecond);

}  // namespace
