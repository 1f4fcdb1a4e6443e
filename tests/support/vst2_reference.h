// The VST 2.x build as the reference that the other formats' audio is held
// to, and the signal they are fed.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "support/test_host.h"

// Half-scale noise, the same on every run and every build.
std::vector<double> HalfScaleNoise(size_t frames, uint32_t seed);

// The VST 2.x build's output for `in` on both channels, processed in place
// at 44.1 kHz, switched on, with blocks of `announced` frames announced, in
// the blocks given; `before(record, b)` runs before block b.
template <typename Sample>
std::vector<Sample> Vst2Render(const std::vector<Sample>& in, int32_t announced,
                               const std::vector<int>& blocks,
                               const std::function<void(EffectRecord*, size_t)>& before = {}) {
  TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  EffectRecord* r = RecordOf(plug);
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(plug, effSetBlockSize, 0, announced);
  Dispatch(plug, effMainsChanged, 0, 1);
  std::vector<Sample> left = in, right = in;
  size_t start = 0;
  for (size_t b = 0; b < blocks.size(); ++b) {
    if (before) before(r, b);
    Sample* channels[2] = {left.data() + start, right.data() + start};
    if constexpr (sizeof(Sample) == 8) {
      r->processDoubleReplacing(r, channels, channels, blocks[b]);
    } else {
      r->processReplacing(r, channels, channels, blocks[b]);
    }
    start += static_cast<size_t>(blocks[b]);
  }
  ClosePlugin(plug);
  return left;
}
