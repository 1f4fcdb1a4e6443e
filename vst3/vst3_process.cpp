// The audio processor's side of the effect: stereo in and out, 32-bit or
// 64-bit samples, and parameter changes applied at their sample offsets by
// splitting the block there.
#include <cstdint>

#include "vst3/vst3_effect.h"

namespace vst3 {

namespace {

// The plug-in's parameters and its program parameter: the queues of one
// block that process follows, one per id it knows.
constexpr int kMaxQueues = 8;

struct QueueCursor {
  IParamValueQueue* queue;
  ParamId id;
  int32_t points;
  int32_t next;  // the first point not yet applied
};

// The offset of a queue's next point; `past` when it has none left.
int32_t NextOffset(const QueueCursor& cursor, int32_t past) {
  if (cursor.next >= cursor.points) return past;
  int32_t offset = 0;
  double value = 0.0;
  if (cursor.queue->getPoint(cursor.next, &offset, &value) != kResultOk) return past;
  return offset;
}

// Channel `c` of a bus from frame `first` on; null when the host gave none.
template <typename Sample>
Sample* ChannelFrom(const AudioBusBuffers* bus, int32_t c, int32_t first) {
  if (bus == nullptr || bus->channelBuffers == nullptr || c >= bus->numChannels) return nullptr;
  auto* channel = static_cast<Sample*>(bus->channelBuffers[c]);
  return channel ? channel + first : nullptr;
}

// Frames first .. first + count of the block through the plug-in, in the
// sample size `Sample`.
template <typename Sample>
void RunRange(PlugBase& plug, const AudioBusBuffers* in, const AudioBusBuffers* out, int32_t first,
              int32_t count) {
  Sample* ins[2] = {ChannelFrom<Sample>(in, 0, first), ChannelFrom<Sample>(in, 1, first)};
  Sample* outs[2] = {ChannelFrom<Sample>(out, 0, first), ChannelFrom<Sample>(out, 1, first)};
  plug.RunBlock(ins, outs, count);
}

// The output bus's silence flags for the block just written: a channel's bit
// is set exactly when every one of its `frames` samples is zero, so that a
// host skipping silent channels never skips dither. Channels the plug-in
// does not write keep the host's flags.
template <typename Sample>
void MarkSilence(AudioBusBuffers* out, int32_t frames) {
  for (int32_t c = 0; c < 2; ++c) {
    const Sample* channel = ChannelFrom<Sample>(out, c, 0);
    if (channel == nullptr) continue;
    bool silent = true;
    for (int32_t i = 0; i < frames && silent; ++i) silent = channel[i] == 0;
    const uint64_t bit = uint64_t{1} << c;
    out->silenceFlags = silent ? out->silenceFlags | bit : out->silenceFlags & ~bit;
  }
}

}  // namespace

Tresult Vst3Effect::setBusArrangements(SpeakerArrangement* inputs, int32_t inputCount,
                                       SpeakerArrangement* outputs, int32_t outputCount) {
  // Stereo in and out is all the plug-in takes; any other request keeps it.
  if (inputCount != 1 || outputCount != 1 || inputs == nullptr || outputs == nullptr ||
      inputs[0] != kStereo || outputs[0] != kStereo) {
    return kResultFalse;
  }
  return kResultOk;
}

Tresult Vst3Effect::getBusArrangement(int32_t direction, int32_t index,
                                      SpeakerArrangement* arrangement) {
  if (arrangement == nullptr || index != 0 || (direction != kInput && direction != kOutput)) {
    return kInvalidArgument;
  }
  *arrangement = kStereo;
  return kResultOk;
}

Tresult Vst3Effect::canProcessSampleSize(int32_t symbolicSampleSize) {
  return symbolicSampleSize == kSample32 || symbolicSampleSize == kSample64 ? kResultOk
                                                                            : kResultFalse;
}

uint32_t Vst3Effect::getLatencySamples() { return static_cast<uint32_t>(plug->Latency()); }

uint32_t Vst3Effect::getTailSamples() { return 0; }

uint32_t Vst3Effect::getProcessContextRequirements() { return 0; }

Tresult Vst3Effect::setupProcessing(ProcessSetup* setup) {
  if (setup == nullptr || setup->maxSamplesPerBlock <= 0 || !(setup->sampleRate > 0.0) ||
      setup->sampleRate > 1e7 || canProcessSampleSize(setup->symbolicSampleSize) != kResultOk) {
    return kInvalidArgument;
  }
  return plug->Prepare(setup->sampleRate, setup->maxSamplesPerBlock) > 0 ? kResultOk : kOutOfMemory;
}

Tresult Vst3Effect::setProcessing(uint8_t) { return kResultOk; }

Tresult Vst3Effect::process(ProcessData* data) {
  if (data == nullptr || data->numSamples < 0) return kInvalidArgument;
  const int32_t frames = data->numSamples;
  LockGuard guard(&plug->Lock());

  // The queues of the ids the plug-in knows, each followed from its start.
  QueueCursor cursors[kMaxQueues];
  int queues = 0;
  if (IParameterChanges* changes = data->inputParameterChanges) {
    const int32_t count = changes->getParameterCount();
    for (int32_t i = 0; i < count && queues < kMaxQueues; ++i) {
      IParamValueQueue* queue = changes->getParameterData(i);
      if (queue == nullptr) continue;
      const ParamId id = queue->getParameterId();
      if (id != kProgramParamId && id >= static_cast<ParamId>(plug->ParamCount())) continue;
      const int32_t points = queue->getPointCount();
      if (points > 0) cursors[queues++] = QueueCursor{queue, id, points, 0};
    }
  }

  // Each piece of the block runs with the values of the points at or before
  // its start, applied in the order of their offsets; points past the block
  // take effect at its end.
  int32_t position = 0;
  for (;;) {
    const int32_t limit = position < frames ? position : INT32_MAX;
    for (;;) {
      QueueCursor* earliest = nullptr;
      int32_t earliestOffset = 0;
      for (int q = 0; q < queues; ++q) {
        if (cursors[q].next >= cursors[q].points) continue;
        const int32_t offset = NextOffset(cursors[q], limit);
        if (offset <= limit && (earliest == nullptr || offset < earliestOffset)) {
          earliest = &cursors[q];
          earliestOffset = offset;
        }
      }
      if (earliest == nullptr) break;
      int32_t offset = 0;
      double value = 0.0;
      if (earliest->queue->getPoint(earliest->next++, &offset, &value) == kResultOk) {
        ApplyParameter(earliest->id, value);
      }
    }
    if (position >= frames) break;
    int32_t end = frames;
    for (int q = 0; q < queues; ++q) {
      const int32_t next = NextOffset(cursors[q], frames);
      if (next < end) end = next;
    }
    ProcessRange(*data, position, end - position);
    position = end;
  }
  if (valuesToSend && data->outputParameterChanges != nullptr)
    SendValues(data->outputParameterChanges);
  if (data->numOutputs > 0 && data->outputs != nullptr) {
    if (data->symbolicSampleSize == kSample64) {
      MarkSilence<double>(data->outputs, frames);
    } else {
      MarkSilence<float>(data->outputs, frames);
    }
  }
  return kResultOk;
}

void Vst3Effect::SendValues(IParameterChanges* out) {
  valuesToSend = false;
  for (int i = 0; i < plug->ParamCount(); ++i) {
    const auto id = static_cast<ParamId>(i);
    int32_t index = 0;
    if (IParamValueQueue* queue = out->addParameterData(&id, &index)) {
      queue->addPoint(0, plug->ParamAt(i).Normalized(), &index);
    }
  }
}

void Vst3Effect::ProcessRange(const ProcessData& data, int32_t first, int32_t count) {
  const AudioBusBuffers* in = data.numInputs > 0 ? data.inputs : nullptr;
  const AudioBusBuffers* out = data.numOutputs > 0 ? data.outputs : nullptr;
  if (out == nullptr) return;
  if (data.symbolicSampleSize == kSample64) {
    RunRange<double>(*plug, in, out, first, count);
  } else {
    RunRange<float>(*plug, in, out, first, count);
  }
}

}  // namespace vst3
