// Scratch channels of doubles between the host's float audio and the
// double-precision processing. Storage only grows, so that after the first
// block of a given shape (or any larger one) nothing is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ChannelBuffers {
 public:
  // Sets channels x frames; with zeroFill the used samples are cleared.
  // Negative counts count as 0.
  void Resize(int32_t channels, int32_t frames, bool zeroFill);
  // Resizes and widens the host's channels; a missing host channel reads as
  // silence.
  template <typename Sample>
  void FillFrom(Sample* const* host, int32_t channels, int32_t frames);
  // Narrows every channel into the host's channels, skipping missing ones.
  void WriteToFloat(float* const* host) const;
  // Adds every channel, narrowed to float, to the host's channels.
  void AccumulateToFloat(float* const* host) const;
  // The same for double channels (used when a host hands null channels to
  // the double callback).
  void WriteToDouble(double* const* host) const;

  double** Channels() { return pointers.data(); }
  int32_t ChannelCount() const { return channelCount; }
  int32_t FrameCount() const { return frameCount; }
  // Number of times storage was (re)allocated; lets tests check real-time use.
  int32_t Allocations() const { return allocations; }

 private:
  std::vector<std::vector<double>> storage;
  std::vector<double*> pointers;
  int32_t channelCount = 0;
  int32_t frameCount = 0;
  int32_t allocations = 0;
};

template <typename Sample>
void ChannelBuffers::FillFrom(Sample* const* host, int32_t channels, int32_t frames) {
  Resize(channels, frames, false);
  for (int32_t c = 0; c < channelCount; ++c) {
    const Sample* in = host ? host[c] : nullptr;
    double* out = pointers[c];
    for (int32_t j = 0; j < frameCount; ++j) out[j] = in ? static_cast<double>(in[j]) : 0.0;
  }
}
