// The FFT beside FFTW, and the whole shaping-filter design.
//
// Goals: a forward transform of 4096 points within twice FFTW's time (FFTW
// planned with FFTW_MEASURE, in place, in this same binary); the design at
// 44100 Hz, block size 1024, order 12 under 50 microseconds.
//
// Each transform runs on a fresh copy of the same input, copied outside the
// timed region (manual timing), so neither side works on overflowing data.
// The time is the thread's processor time: on a machine shared with other
// work, wall-clock time counts whatever ran in between.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "dsp/fft.h"
#include "dsp/shaping_filter.h"

namespace {

constexpr int kSize = 4096;

std::vector<double> Signal() {
  std::vector<double> v(2 * kSize);
  uint32_t state = 1;
  for (double& x : v) {
    state = state * 1664525u + 1013904223u;
    x = static_cast<double>(state >> 8) / 16777216.0 - 0.5;
  }
  return v;
}

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Runs `transform` on a copy of `input` in `work` and reports its time alone.
template <typename Transform>
void TimeTransform(benchmark::State& state, const std::vector<double>& input, double* work,
                   Transform transform) {
  for (auto _ : state) {
    std::copy(input.begin(), input.end(), work);
    const double start = ThreadSeconds();
    transform();
    const double end = ThreadSeconds();
    benchmark::DoNotOptimize(work[0]);
    benchmark::ClobberMemory();
    state.SetIterationTime(end - start);
  }
}

void BM_FftForward4096(benchmark::State& state) {
  FftInitTables();
  const std::vector<double> input = Signal();
  std::vector<double> work(input.size());
  TimeTransform(state, input, work.data(), [&work] { FftTransform(work.data(), kSize, 0); });
}
BENCHMARK(BM_FftForward4096)->UseManualTime();

void BM_FftwForward4096(benchmark::State& state) {
  const std::vector<double> input = Signal();
  fftw_complex* work = fftw_alloc_complex(kSize);
  const fftw_plan plan = fftw_plan_dft_1d(kSize, work, work, FFTW_FORWARD, FFTW_MEASURE);
  TimeTransform(state, input, reinterpret_cast<double*>(work), [plan] { fftw_execute(plan); });
  fftw_destroy_plan(plan);
  fftw_free(work);
}
BENCHMARK(BM_FftwForward4096)->UseManualTime();

void BM_DesignShapingFilter44100Block1024Order12(benchmark::State& state) {
  SpectrumAnalyser weighting;
  SampleArray coefficients;
  for (auto _ : state) {
    DesignShapingFilter(weighting, 44100.0, 1024, 12, coefficients);
    benchmark::DoNotOptimize(coefficients.Data());
  }
}
BENCHMARK(BM_DesignShapingFilter44100Block1024Order12)->Unit(benchmark::kMicrosecond);

}  // namespace
