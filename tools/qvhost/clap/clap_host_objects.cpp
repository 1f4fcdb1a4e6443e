#include "tools/qvhost/clap/clap_host_objects.h"

#include <cstring>

using namespace clap;

InputEventList::InputEventList() : record{this, Size, Get} {}

void InputEventList::AddValue(Id id, uint32_t frame, double value) {
  ParamValueEvent event{};
  event.header = EventHeader{sizeof(ParamValueEvent), frame, kCoreEventSpace, kEventParamValue, 0};
  event.paramId = id;
  event.noteId = -1;
  event.portIndex = -1;
  event.channel = -1;
  event.key = -1;
  event.value = value;
  events.push_back(event);
}

void InputEventList::AddForeign(uint16_t space, uint16_t type, uint32_t frame) {
  // Shaped as a parameter value for id 0, so that reading it as one would
  // show.
  AddValue(0, frame, 1.0);
  events.back().header.spaceId = space;
  events.back().header.type = type;
}

uint32_t InputEventList::Size(const InputEvents* list) {
  return static_cast<uint32_t>(static_cast<InputEventList*>(list->context)->events.size());
}

const EventHeader* InputEventList::Get(const InputEvents* list, uint32_t index) {
  auto& events = static_cast<InputEventList*>(list->context)->events;
  return index < events.size() ? &events[index].header : nullptr;
}

OutputEventList::OutputEventList() : record{this, TryPush} {}

bool OutputEventList::TryPush(const OutputEvents* list, const EventHeader* event) {
  auto& sink = *static_cast<OutputEventList*>(list->context);
  if (event == nullptr || sink.pushed.size() >= sink.capacity) return false;
  Pushed pushed{event->type, kInvalidId, 0.0};
  if (event->spaceId == kCoreEventSpace && event->type == kEventParamValue &&
      event->size >= sizeof(ParamValueEvent)) {
    const auto* value = reinterpret_cast<const ParamValueEvent*>(event);
    pushed.paramId = value->paramId;
    pushed.value = value->value;
  } else if (event->size >= sizeof(ParamGestureEvent)) {
    pushed.paramId = reinterpret_cast<const ParamGestureEvent*>(event)->paramId;
  }
  sink.pushed.push_back(pushed);
  return true;
}

MemoryInStream::MemoryInStream(std::vector<unsigned char> bytes)
    : bytes(std::move(bytes)), record{this, Read} {}

int64_t MemoryInStream::Read(const InStream* stream, void* buffer, uint64_t size) {
  auto& self = *static_cast<MemoryInStream*>(stream->context);
  if (self.failing) return -1;
  uint64_t count = self.bytes.size() - self.position;
  if (count > size) count = size;
  if (count > self.largestStep) count = self.largestStep;
  if (count > 0) std::memcpy(buffer, self.bytes.data() + self.position, count);
  self.position += count;
  return static_cast<int64_t>(count);
}

MemoryOutStream::MemoryOutStream() : record{this, Write} {}

int64_t MemoryOutStream::Write(const OutStream* stream, const void* buffer, uint64_t size) {
  auto& self = *static_cast<MemoryOutStream*>(stream->context);
  if (self.failing) return -1;
  const uint64_t count = size < self.largestStep ? size : self.largestStep;
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  self.bytes.insert(self.bytes.end(), bytes, bytes + count);
  return static_cast<int64_t>(count);
}
