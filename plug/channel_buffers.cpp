#include "plug/channel_buffers.h"

#include <cstdint>
#include <cstdlib>

ChannelBuffers::~ChannelBuffers() {
  std::free(samples);
  std::free(pointers);
}

bool ChannelBuffers::Resize(int32_t channels, int32_t frames, bool zeroFill) {
  if (channels < 0) channels = 0;
  if (frames < 0) frames = 0;
  channelCount = frameCount = 0;
  if (channels > channelCapacity || frames > frameCapacity) {
    // Both dimensions only grow; the samples move, so their old contents are
    // not kept (every caller fills or clears what it uses).
    const int32_t newChannels = channels > channelCapacity ? channels : channelCapacity;
    const int32_t newFrames = frames > frameCapacity ? frames : frameCapacity;
    const size_t cells = static_cast<size_t>(newChannels) * static_cast<size_t>(newFrames);
    if (static_cast<size_t>(newChannels) > SIZE_MAX / sizeof(double*) ||
        (newFrames > 0 &&
         cells / static_cast<size_t>(newFrames) != static_cast<size_t>(newChannels)) ||
        cells > SIZE_MAX / sizeof(double)) {
      return false;
    }
    auto* newSamples = static_cast<double*>(std::malloc(cells * sizeof(double)));
    auto* newPointers = static_cast<double**>(std::malloc(newChannels * sizeof(double*)));
    if ((cells > 0 && newSamples == nullptr) || (newChannels > 0 && newPointers == nullptr)) {
      std::free(newSamples);
      std::free(newPointers);
      return false;
    }
    std::free(samples);
    std::free(pointers);
    samples = newSamples;
    pointers = newPointers;
    channelCapacity = newChannels;
    frameCapacity = newFrames;
    for (int32_t c = 0; c < channelCapacity; ++c) {
      pointers[c] = samples + static_cast<size_t>(c) * static_cast<size_t>(frameCapacity);
    }
    ++allocations;
  }
  channelCount = channels;
  frameCount = frames;
  if (zeroFill) {
    for (int32_t c = 0; c < channelCount; ++c) {
      for (int32_t j = 0; j < frameCount; ++j) pointers[c][j] = 0.0;
    }
  }
  return true;
}

void ChannelBuffers::WriteToFloat(float* const* host) const {
  if (host == nullptr) return;
  for (int32_t c = 0; c < channelCount; ++c) {
    float* out = host[c];
    if (out == nullptr) continue;
    for (int32_t j = 0; j < frameCount; ++j) out[j] = static_cast<float>(pointers[c][j]);
  }
}

void ChannelBuffers::AccumulateToFloat(float* const* host) const {
  if (host == nullptr) return;
  for (int32_t c = 0; c < channelCount; ++c) {
    float* out = host[c];
    if (out == nullptr) continue;
    for (int32_t j = 0; j < frameCount; ++j) out[j] += static_cast<float>(pointers[c][j]);
  }
}

void ChannelBuffers::WriteToDouble(double* const* host) const {
  if (host == nullptr) return;
  for (int32_t c = 0; c < channelCount; ++c) {
    double* out = host[c];
    if (out == nullptr) continue;
    for (int32_t j = 0; j < frameCount; ++j) out[j] = pointers[c][j];
  }
}
