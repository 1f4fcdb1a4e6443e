// Digital silence in a stream: runs of at least a minimum number of frames
// in which every channel of a channel group is exactly zero. The output of
// such a run is made exactly zero (--auto-blank), where the requantiser
// would have left its dither and shaped noise.
//
// Chunks are marked one behind the stream: whether a run that reaches the
// end of a chunk is long enough depends on the next chunk, which must be at
// least the minimum long (or the stream's last).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/quorvane/channel_pairs.h"

// The shortest run counted as silence: 10 ms. No music holds every channel
// of a pair at exactly zero that long, while shorter runs (the zero
// crossings of quiet 16-bit material, the first samples of a fade-in) stay
// dithered, so that the noise floor is never switched off and on within the
// music.
int64_t SilenceFrames(int rate);

class SilenceFinder {
 public:
  SilenceFinder(const std::vector<ChannelGroup>& groups, int64_t minFrames);

  // Marks the frames of a chunk that lie in silence: mask[g * stride + j] is
  // 1 for frame j of group g, 0 otherwise. Both chunks are planar (channel
  // c's frames from c * stride); `next` is the chunk after it, or null at
  // the end of the stream. Returns the samples (frames times channels)
  // marked.
  int64_t Mark(const double* planar, int64_t frames, const double* next, int64_t nextFrames,
               size_t stride, uint8_t* mask);

  // Sets to zero the frames start .. start + count - 1 of the output chunk
  // `planar` that `mask` marks. Reads nothing Mark changes: any thread.
  void Blank(const uint8_t* mask, double* planar, size_t stride, int64_t start,
             int64_t count) const;

 private:
  // The frames from `from` on that are silent in group g, up to `limit`.
  int64_t SilentRun(const double* planar, size_t stride, const ChannelGroup& group, int64_t from,
                    int64_t limit) const;

  std::vector<ChannelGroup> groups;
  int64_t minFrames;
  // Per group: the silent frames just before the chunk to mark next, at
  // most minFrames (any more decide nothing).
  std::vector<int64_t> before;
};
