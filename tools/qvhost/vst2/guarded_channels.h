// The host's channel arrays for one audio block, each channel followed by
// guard samples holding a canary value. A plug-in that writes past the frames
// it was asked for changes a guard, and GuardsIntact says where.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

template <typename Sample>
class GuardedChannels {
 public:
  static constexpr int32_t kGuardFrames = 8;
  static constexpr Sample kCanary = static_cast<Sample>(1234.5);

  // `channels` channels of `frames` samples (none for frames <= 0), every
  // sample, guards included, set to the canary.
  GuardedChannels(int32_t channels, int32_t frames)
      : frames(frames > 0 ? frames : 0),
        storage(static_cast<size_t>(channels),
                std::vector<Sample>(static_cast<size_t>(this->frames + kGuardFrames), kCanary)) {
    for (std::vector<Sample>& channel : storage) pointers.push_back(channel.data());
  }

  Sample** Pointers() { return pointers.data(); }
  Sample* Channel(int32_t c) { return storage[static_cast<size_t>(c)].data(); }
  const Sample* Channel(int32_t c) const { return storage[static_cast<size_t>(c)].data(); }
  int32_t ChannelCount() const { return static_cast<int32_t>(storage.size()); }
  int32_t Frames() const { return frames; }

  // Sets the frames of every channel (not the guards) to `value`.
  void Fill(Sample value) {
    for (std::vector<Sample>& channel : storage) {
      for (int32_t j = 0; j < frames; ++j) channel[static_cast<size_t>(j)] = value;
    }
  }

  // True when every guard still holds the canary; otherwise the first
  // changed one's channel and frame.
  bool GuardsIntact(int32_t* channel, int32_t* frame) const {
    for (size_t c = 0; c < storage.size(); ++c) {
      for (int32_t j = frames; j < frames + kGuardFrames; ++j) {
        if (storage[c][static_cast<size_t>(j)] == kCanary) continue;
        *channel = static_cast<int32_t>(c);
        *frame = j;
        return false;
      }
    }
    return true;
  }

 private:
  int32_t frames;
  std::vector<std::vector<Sample>> storage;
  std::vector<Sample*> pointers;
};
