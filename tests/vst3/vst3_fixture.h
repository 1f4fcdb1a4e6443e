// An effect made by the module's factory as a host makes it, with the
// interfaces a host asks it for, released when the handle goes.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "vst3/vst3_effect.h"
#include "vst3/vst3_factory.h"
#include "tools/qvhost/vst3/vst3_host_objects.h"

namespace vst3 {

class HostedEffect {
 public:
  HostedEffect();
  ~HostedEffect();
  HostedEffect(const HostedEffect&) = delete;
  HostedEffect& operator=(const HostedEffect&) = delete;

  // Sets the effect up for blocks of up to `maxBlock` frames at 44.1 kHz and
  // switches it on.
  void Start(int32_t maxBlock, int32_t sampleSize = kSample64);

  // One block of stereo audio in place; the bus's silence flags go in and
  // come back through `silenceFlags`.
  template <typename Sample>
  Tresult Process(std::vector<Sample>& left, std::vector<Sample>& right,
                  IParameterChanges* changes = nullptr) {
    void* channels[2] = {left.data(), right.data()};
    AudioBusBuffers bus{2, silenceFlags, channels};
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = sizeof(Sample) == 8 ? kSample64 : kSample32;
    data.numSamples = static_cast<int32_t>(left.size());
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &bus;
    data.outputs = &bus;
    data.inputParameterChanges = changes;
    const Tresult result = processor->process(&data);
    silenceFlags = bus.silenceFlags;
    return result;
  }

  Vst3Effect& Effect() { return *static_cast<Vst3Effect*>(component); }

  uint64_t silenceFlags = 0;

  IComponent* component = nullptr;
  IAudioProcessor* processor = nullptr;
  IEditController* controller = nullptr;
  IUnitInfo* units = nullptr;
};

// A test with one effect, whose interfaces it names directly.
class Vst3Fixture : public ::testing::Test {
 protected:
  HostedEffect hosted;
  IComponent* component = hosted.component;
  IAudioProcessor* processor = hosted.processor;
  IEditController* controller = hosted.controller;
  IUnitInfo* units = hosted.units;

  void Start(int32_t maxBlock, int32_t sampleSize = kSample64) {
    hosted.Start(maxBlock, sampleSize);
  }
  template <typename Sample>
  Tresult Process(std::vector<Sample>& left, std::vector<Sample>& right,
                  IParameterChanges* changes = nullptr) {
    return hosted.Process(left, right, changes);
  }
  Vst3Effect& Effect() { return hosted.Effect(); }
  uint64_t& SilenceFlags() { return hosted.silenceFlags; }
};

}  // namespace vst3
