// The audio side of the plug-in: one stereo port in and one out, an in-place
// pair with 32-bit or 64-bit samples; activation; blocks with their
// parameter events applied at their frames by splitting the block there;
// and the editor's edits sent back as gestures.
#include <cstdint>

#include "clap/clap_plugin.h"
#include "core/text_copy.h"

namespace clap {

namespace {

uint32_t QV_CLAP_CALL PortCount(const Plugin* plugin, bool) { return plugin ? 1 : 0; }

bool QV_CLAP_CALL PortInfo(const Plugin* plugin, uint32_t index, bool isInput,
                           AudioPortInfo* info) {
  if (plugin == nullptr || info == nullptr || index != 0) return false;
  *info = AudioPortInfo{};
  info->id = 0;
  CopyBounded(info->name, isInput ? "Input" : "Output", kNameSize);
  // The samples of both ports are always of one size.
  info->flags = kPortIsMain | kPortSupports64Bits | kPortRequiresCommonSampleSize;
  info->channelCount = 2;
  info->portType = kPortStereo;
  info->inPlacePair = 0;  // the port of the same id on the other side
  return true;
}

// The left and right channels of a port from frame `at` on, in one sample
// size; null where the host gave none.
template <typename Sample>
void StereoFrom(const AudioBuffer* port, uint32_t at, Sample* (&channels)[2]) {
  Sample* const* all = nullptr;
  if (port) {
    if constexpr (sizeof(Sample) == 8) {
      all = port->data64;
    } else {
      all = port->data32;
    }
  }
  const uint32_t count = port ? port->channelCount : 0;
  for (uint32_t c = 0; c < 2; ++c) {
    channels[c] = all && c < count && all[c] ? all[c] + at : nullptr;
  }
}

// The events in a host's list; none for a list without its functions.
uint32_t EventCount(const InputEvents* list) {
  return list && list->size && list->get ? list->size(list) : 0;
}

// The events' own output list cannot hold a whole event type: these are
// built on the stack and pushed.
ParamGestureEvent Gesture(uint16_t type, Id id) {
  ParamGestureEvent event{};
  event.header = EventHeader{sizeof(ParamGestureEvent), 0, kCoreEventSpace, type, kEventIsLive};
  event.paramId = id;
  return event;
}

}  // namespace

const PluginAudioPorts kAudioPortsExtension{PortCount, PortInfo};

bool ClapPlugin::Activate(double rate, uint32_t minFrames, uint32_t maxFrames) {
  if (Active() || minFrames < 1 || minFrames > maxFrames || !(rate > 0.0) || !(rate <= 1e7)) {
    return false;
  }
  if (plug->Prepare(rate, maxFrames) == 0) return false;
  plug->SetActive(true);
  LockGuard guard(&plug->Lock());
  active = true;
  return true;
}

void ClapPlugin::Deactivate() {
  if (!Active()) return;
  {
    LockGuard guard(&plug->Lock());
    processing = false;
    active = false;
  }
  plug->SetActive(false);
}

bool ClapPlugin::StartProcessing() {
  LockGuard guard(&plug->Lock());
  processing = Active();
  return processing;
}

void ClapPlugin::StopProcessing() {
  LockGuard guard(&plug->Lock());
  processing = false;
}

void ClapPlugin::Reset() { plug->RestartProcessing(); }

int32_t ClapPlugin::ProcessBlock(const Process* process) {
  if (process == nullptr) return kProcessError;
  LockGuard guard(&plug->Lock());
  if (!Active()) return kProcessError;
  const uint32_t frames = process->framesCount;
  const AudioBuffer* out = process->audioOutputsCount > 0 ? process->audioOutputs : nullptr;
  const bool wide = out && out->data64 != nullptr;
  if (frames > 0 && (out == nullptr || (out->data64 == nullptr && out->data32 == nullptr))) {
    return kProcessError;
  }
  // Each piece runs with the values of the events at or before its start;
  // an event past the block takes effect at its end, one out of order where
  // the block has got to.
  const InputEvents* in = process->inEvents;
  const uint32_t count = EventCount(in);
  uint32_t position = 0;
  for (uint32_t e = 0; e < count; ++e) {
    const EventHeader* event = in->get(in, e);
    if (event == nullptr) continue;
    const uint32_t at = event->time < frames ? event->time : frames;
    if (at > position) {
      RunFrames(*process, wide, position, at - position);
      position = at;
    }
    ApplyEvent(event);
  }
  if (position < frames) RunFrames(*process, wide, position, frames - position);
  // No output channel is promised constant: the host reads every sample.
  if (frames > 0) process->audioOutputs[0].constantMask = 0;
  SendEdits(process->outEvents);
  return kProcessContinue;
}

void ClapPlugin::RunFrames(const Process& process, bool wide, uint32_t first, uint32_t count) {
  const AudioBuffer& out = process.audioOutputs[0];
  const AudioBuffer* in = process.audioInputsCount > 0 ? process.audioInputs : nullptr;
  if (wide) {
    double* ins[2];
    double* outs[2];
    StereoFrom(in, first, ins);
    StereoFrom(&out, first, outs);
    plug->RunBlock(ins, outs, count);
  } else {
    float* ins[2];
    float* outs[2];
    StereoFrom(in, first, ins);
    StereoFrom(&out, first, outs);
    plug->RunBlock(ins, outs, count);
  }
}

void ClapPlugin::Flush(const InputEvents* in, const OutputEvents* out) {
  LockGuard guard(&plug->Lock());
  const uint32_t count = EventCount(in);
  for (uint32_t e = 0; e < count; ++e) ApplyEvent(in->get(in, e));
  SendEdits(out);
}

void ClapPlugin::ApplyEvent(const EventHeader* event) {
  if (event == nullptr || event->spaceId != kCoreEventSpace || event->type != kEventParamValue ||
      event->size < sizeof(ParamValueEvent)) {
    return;
  }
  const auto& change = *reinterpret_cast<const ParamValueEvent*>(event);
  if (change.paramId >= ParamCount()) return;
  plug->SetParamPlain(static_cast<int>(change.paramId), change.value);
}

void ClapPlugin::SendEdits(const OutputEvents* out) {
  flushAsked = false;
  if (out == nullptr || out->tryPush == nullptr) return;
  edits.Send([out](const QueuedEdit& edit) {
    if (edit.kind != QueuedEdit::kValue) {
      const ParamGestureEvent gesture =
          Gesture(edit.kind == QueuedEdit::kBegin ? kEventParamGestureBegin : kEventParamGestureEnd,
                  edit.param);
      return out->tryPush(out, &gesture.header);
    }
    ParamValueEvent value{};
    value.header =
        EventHeader{sizeof(ParamValueEvent), 0, kCoreEventSpace, kEventParamValue, kEventIsLive};
    value.paramId = edit.param;
    value.noteId = -1;
    value.portIndex = -1;
    value.channel = -1;
    value.key = -1;
    value.value = edit.value;
    return out->tryPush(out, &value.header);
  });
}

}  // namespace clap
