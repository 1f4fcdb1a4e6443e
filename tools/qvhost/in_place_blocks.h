// The block loop of the renders that process in place, as VST 3 and CLAP
// hosts do: the input's frames are loaded into one stereo pair of channels,
// processed there, and stored as the output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tools/qvhost/audio_file.h"

// Calls `process(channels, frames, start)` for each block of at most `block`
// frames, `channels` holding the left and right samples from frame `start`;
// false, after saying where, when a call returns false.
template <typename Sample, typename Process>
bool RunInPlaceBlocks(const AudioData& in, AudioData& out, int32_t block, Process process) {
  std::vector<Sample> left(static_cast<size_t>(block)), right(static_cast<size_t>(block));
  Sample* channels[2] = {left.data(), right.data()};
  for (size_t start = 0; start < in.Frames(); start += static_cast<size_t>(block)) {
    const size_t rest = in.Frames() - start;
    const auto frames = static_cast<int32_t>(rest < static_cast<size_t>(block) ? rest : block);
    for (int32_t i = 0; i < frames; ++i) {
      left[i] = static_cast<Sample>(in.samples[2 * (start + i)]);
      right[i] = static_cast<Sample>(in.samples[2 * (start + i) + 1]);
    }
    if (!process(channels, frames, start)) {
      std::fprintf(stderr, "qvhost: process failed at frame %zu\n", start);
      return false;
    }
    for (int32_t i = 0; i < frames; ++i) {
      out.samples[2 * (start + i)] = left[i];
      out.samples[2 * (start + i) + 1] = right[i];
    }
  }
  return true;
}
