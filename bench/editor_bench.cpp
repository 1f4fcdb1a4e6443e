// Cost of one paint of the plug-in's own 500 x 525 editor, after a second of
// audio has filled its graphs: the whole surface with every control dirty,
// and the 345 x 265 display area alone (the graphs and their grid, which
// audio marks dirty on every block). Goal: the whole surface under 2 ms.
#include <benchmark/benchmark.h>

#include "painted_plugin.h"

namespace {

constexpr Rect kDisplay = {86, 80, 431, 345};

void BM_PaintWholeSurface(benchmark::State& state) {
  PaintedPlugin painted;
  for (auto _ : state) {
    painted.MarkDirty(nullptr);
    painted.editor->Paint();
  }
}
BENCHMARK(BM_PaintWholeSurface)->Unit(benchmark::kMicrosecond);

void BM_PaintDisplayArea(benchmark::State& state) {
  PaintedPlugin painted;
  for (auto _ : state) {
    painted.MarkDirty(&kDisplay);
    painted.editor->Paint();
  }
}
BENCHMARK(BM_PaintDisplayArea)->Unit(benchmark::kMicrosecond);

}  // namespace
