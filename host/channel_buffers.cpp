#include "host/channel_buffers.h"

void ChannelBuffers::Resize(int32_t channels, int32_t frames, bool zeroFill) {
  if (channels < 0) channels = 0;
  if (frames < 0) frames = 0;
  bool grown = false;
  if (static_cast<size_t>(channels) > storage.size()) {
    storage.resize(channels);
    pointers.resize(channels);
    grown = true;
  }
  for (int32_t c = 0; c < channels; ++c) {
    if (storage[c].size() < static_cast<size_t>(frames)) {
      storage[c].resize(frames);
      grown = true;
    }
    pointers[c] = storage[c].data();
  }
  if (grown) ++allocations;
  channelCount = channels;
  frameCount = frames;
  if (zeroFill) {
    for (int32_t c = 0; c < channelCount; ++c) {
      for (int32_t j = 0; j < frameCount; ++j) pointers[c][j] = 0.0;
    }
  }
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
