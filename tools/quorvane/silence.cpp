#include "tools/quorvane/silence.h"

#include <algorithm>
#include <cstring>

int64_t SilenceFrames(int rate) { return (static_cast<int64_t>(rate) + 99) / 100; }

SilenceFinder::SilenceFinder(const std::vector<ChannelGroup>& groups, int64_t minFrames)
    : groups(groups), minFrames(minFrames > 0 ? minFrames : 1), before(groups.size(), 0) {}

int64_t SilenceFinder::SilentRun(const double* planar, size_t stride, const ChannelGroup& group,
                                 int64_t from, int64_t limit) const {
  int64_t j = from;
  for (; j < limit; ++j) {
    bool silent = true;
    for (int c = 0; c < group.count; ++c) {
      silent = silent && planar[static_cast<size_t>(group.first + c) * stride + j] == 0.0;
    }
    if (!silent) break;
  }
  return j - from;
}

int64_t SilenceFinder::Mark(const double* planar, int64_t frames, const double* next,
                            int64_t nextFrames, size_t stride, uint8_t* mask) {
  int64_t marked = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    const ChannelGroup& group = groups[g];
    uint8_t* groupMask = mask + g * stride;
    std::memset(groupMask, 0, static_cast<size_t>(frames));
    int64_t end = 0;  // the silence the chunk ends with, counting any before it
    for (int64_t j = 0; j < frames;) {
      const int64_t run = SilentRun(planar, stride, group, j, frames);
      if (run == 0) {
        ++j;
        continue;
      }
      // A run's length counts the silence before the chunk (when it starts
      // the chunk) and after it (when it reaches the chunk's end).
      const int64_t soFar = run + (j == 0 ? before[g] : 0);
      int64_t length = soFar;
      if (j + run == frames) {
        end = soFar;
        if (next != nullptr)
          length += SilentRun(next, stride, group, 0, std::min(nextFrames, minFrames));
      }
      if (length >= minFrames) {
        std::memset(groupMask + j, 1, static_cast<size_t>(run));
        marked += run * group.count;
      }
      j += run;
    }
    before[g] = std::min(end, minFrames);
  }
  return marked;
}

void SilenceFinder::Blank(const uint8_t* mask, double* planar, size_t stride, int64_t start,
                          int64_t count) const {
  for (size_t g = 0; g < groups.size(); ++g) {
    const uint8_t* groupMask = mask + g * stride;
    for (int64_t j = start; j < start + count; ++j) {
      if (groupMask[j] == 0) continue;
      for (int c = 0; c < groups[g].count; ++c) {
        planar[static_cast<size_t>(groups[g].first + c) * stride + j] = 0.0;
      }
    }
  }
}
