// Drawing-layer figures, each beside a reference measured in the same run:
//  - an opaque full-surface blit (the raw row copy) against memcpy of the same
//    rows (goal: at least 80% of memcpy's bytes per second);
//  - a per-pixel blit with source alpha, the editor's default blend;
//  - a bilinear rotated blit of a 31 x 31 image with source alpha (goal:
//    under 10 us), as a knob is drawn;
//  - antialiased lines of random slope across the surface (lines per second).
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "draw/blit.h"
#include "draw/line.h"
#include "draw/memory_bitmap.h"
#include "draw/rotated_blit.h"

namespace {

constexpr int kWidth = 500, kHeight = 525;

void FillPattern(MemoryBitmap* b, uint32_t alphaMask) {
  std::mt19937 random(1);
  const size_t count = static_cast<size_t>(b->Width()) * b->Height();
  for (size_t i = 0; i < count; ++i) b->Bits()[i] = random() & alphaMask;
}

void BM_MemcpyRows(benchmark::State& state) {
  MemoryBitmap src(kWidth, kHeight), dest(kWidth, kHeight);
  FillPattern(&src, 0xFFFFFFFF);
  // A row length the compiler cannot see, so that the library's memcpy runs
  // as it does inside Blit rather than an inlined copy of a known size.
  size_t rowBytes = kWidth * 4;
  benchmark::DoNotOptimize(rowBytes);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y)
      std::memcpy(dest.Bits() + y * kWidth, src.Bits() + y * kWidth, rowBytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(BM_MemcpyRows);

void BM_BlitOpaque(benchmark::State& state) {
  MemoryBitmap src(kWidth, kHeight), dest(kWidth, kHeight);
  FillPattern(&src, 0xFFFFFFFF);
  for (auto _ : state) {
    Blit(&dest, &src, 0, 0, nullptr, 1.0f, kBlendCopy);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(BM_BlitOpaque);

void BM_BlitSourceAlpha(benchmark::State& state) {
  MemoryBitmap src(kWidth, kHeight), dest(kWidth, kHeight);
  FillPattern(&src, 0xFFFFFFFF);
  for (auto _ : state) {
    Blit(&dest, &src, 0, 0, nullptr, 1.0f, kBlendSourceAlpha | kBlendCopy);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(BM_BlitSourceAlpha);

void BM_RotatedKnobBilinear(benchmark::State& state) {
  MemoryBitmap knob(31, 31), dest(kWidth, kHeight);
  FillPattern(&knob, 0xFFFFFFFF);
  float angle = 0.0f;
  for (auto _ : state) {
    RotatedBlit(&dest, &knob, 200, 300, 31, 31, {0, 0, 31, 31}, angle, false, 1.0f,
                kBlendSourceAlpha | kBlendFilter | kBlendCopy, 0, 0);
    angle += 0.01f;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RotatedKnobBilinear);

void BM_AntialiasedLines(benchmark::State& state) {
  MemoryBitmap dest(kWidth, kHeight);
  std::mt19937 random(2);
  std::uniform_real_distribution<float> x(0.0f, kWidth), y(0.0f, kHeight);
  std::vector<float> ends(4000);
  for (size_t i = 0; i < ends.size(); i += 4)
    ends[i] = x(random), ends[i + 1] = y(random), ends[i + 2] = x(random), ends[i + 3] = y(random);
  for (auto _ : state) {
    for (size_t i = 0; i < ends.size(); i += 4)
      DrawLine(&dest, ends[i], ends[i + 1], ends[i + 2], ends[i + 3], 0xC0FFFFFF, 0.8f,
               kBlendSourceAlpha | kBlendCopy, true);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_AntialiasedLines);

}  // namespace
