// Scratch channels of doubles between the host's float audio and the
// double-precision processing. Storage only grows, so that after the first
// block of a given shape (or any larger one) nothing is allocated.
//
// Failure model: storage comes from malloc and nothing throws. A Resize that
// cannot have its storage returns false and leaves the set empty (no
// channels, no frames), with the storage it had kept for later blocks.
#pragma once

#include <cstddef>
#include <cstdint>

class ChannelBuffers {
 public:
  ChannelBuffers() = default;
  ~ChannelBuffers();
  ChannelBuffers(const ChannelBuffers&) = delete;
  ChannelBuffers& operator=(const ChannelBuffers&) = delete;

  // Sets channels x frames; with zeroFill the used samples are cleared.
  // Negative counts count as 0. False (and an empty set) when the storage
  // cannot be had, including a size that does not fit in memory at all.
  [[nodiscard]] bool Resize(int32_t channels, int32_t frames, bool zeroFill);
  // Resizes and widens the host's channels; a missing host channel reads as
  // silence. False, with nothing read, when Resize fails.
  template <typename Sample>
  [[nodiscard]] bool FillFrom(Sample* const* host, int32_t channels, int32_t frames);
  // Narrows every channel into the host's channels, skipping missing ones.
  void WriteToFloat(float* const* host) const;
  // Adds every channel, narrowed to float, to the host's channels.
  void AccumulateToFloat(float* const* host) const;
  // The same for double channels (used when a host hands null channels to
  // the double callback).
  void WriteToDouble(double* const* host) const;

  double** Channels() { return pointers; }
  int32_t ChannelCount() const { return channelCount; }
  int32_t FrameCount() const { return frameCount; }
  // Number of times storage was (re)allocated; lets tests check real-time use.
  int32_t Allocations() const { return allocations; }

 private:
  double* samples = nullptr;    // channelCapacity x frameCapacity, channel after channel
  double** pointers = nullptr;  // channelCapacity entries into samples
  int32_t channelCapacity = 0;
  int32_t frameCapacity = 0;
  int32_t channelCount = 0;
  int32_t frameCount = 0;
  int32_t allocations = 0;
};

template <typename Sample>
bool ChannelBuffers::FillFrom(Sample* const* host, int32_t channels, int32_t frames) {
  if (!Resize(channels, frames, false)) return false;
  for (int32_t c = 0; c < channelCount; ++c) {
    const Sample* in = host ? host[c] : nullptr;
    double* out = pointers[c];
    for (int32_t j = 0; j < frameCount; ++j) out[j] = in ? static_cast<double>(in[j]) : 0.0;
  }
  return true;
}
