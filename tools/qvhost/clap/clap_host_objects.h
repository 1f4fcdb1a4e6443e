// What a CLAP host hands a plug-in besides itself: a list of input events
// (parameter values at frames), a list the plug-in's output events are
// pushed to, and memory streams that can be told to fail or to move a few
// bytes at a time.
#pragma once

#include <cstdint>
#include <vector>

#include "clap/clap_abi.h"

class InputEventList {
 public:
  InputEventList();
  const clap::InputEvents* Record() const { return &record; }
  // A parameter value at `frame` (any number: a host may send one past the
  // block); events are listed in the order they are added.
  void AddValue(clap::Id id, uint32_t frame, double value);
  // An event of another type or space, which a plug-in must skip.
  void AddForeign(uint16_t space, uint16_t type, uint32_t frame);
  void Clear() { events.clear(); }

 private:
  static uint32_t QV_CLAP_CALL Size(const clap::InputEvents* list);
  static const clap::EventHeader* QV_CLAP_CALL Get(const clap::InputEvents* list, uint32_t index);

  clap::InputEvents record;
  std::vector<clap::ParamValueEvent> events;
};

// The events a plug-in pushes, each kept whole.
class OutputEventList {
 public:
  OutputEventList();
  const clap::OutputEvents* Record() const { return &record; }

  struct Pushed {
    uint16_t type;
    clap::Id paramId;
    double value;  // for a parameter value
  };
  std::vector<Pushed> pushed;
  size_t capacity = SIZE_MAX;  // pushes past this many are refused

 private:
  static bool QV_CLAP_CALL TryPush(const clap::OutputEvents* list, const clap::EventHeader* event);

  clap::OutputEvents record;
};

// A stereo port on the host's two channels of `Sample`.
template <typename Sample>
clap::AudioBuffer StereoPort(Sample** channels) {
  clap::AudioBuffer port{};
  if constexpr (sizeof(Sample) == 8) {
    port.data64 = channels;
  } else {
    port.data32 = channels;
  }
  port.channelCount = 2;
  return port;
}

// A block of `frames` processed in place: `port` is both the input and the
// output port, as the plug-in's ports are an in-place pair.
inline clap::Process InPlaceProcess(clap::AudioBuffer& port, uint32_t frames, int64_t steadyTime,
                                    const InputEventList& events, const OutputEventList& sink) {
  return clap::Process{steadyTime, frames, nullptr,         &port,        &port,
                       1,          1,      events.Record(), sink.Record()};
}

class MemoryInStream {
 public:
  explicit MemoryInStream(std::vector<unsigned char> bytes);
  const clap::InStream* Record() const { return &record; }

  std::vector<unsigned char> bytes;
  size_t position = 0;
  bool failing = false;            // every read fails
  uint64_t largestStep = 1 << 30;  // the most one read moves

 private:
  static int64_t QV_CLAP_CALL Read(const clap::InStream* stream, void* buffer, uint64_t size);

  clap::InStream record;
};

class MemoryOutStream {
 public:
  MemoryOutStream();
  const clap::OutStream* Record() const { return &record; }

  std::vector<unsigned char> bytes;
  bool failing = false;
  uint64_t largestStep = 1 << 30;

 private:
  static int64_t QV_CLAP_CALL Write(const clap::OutStream* stream, const void* buffer,
                                    uint64_t size);

  clap::OutStream record;
};
