#include "vst2/host_services.h"

#include <atomic>
#include <cctype>
#include <cstring>
#include <string>

namespace {

std::atomic<HostCallback> hostCallback{nullptr};

std::string Lowered(const char* text) {
  std::string copy = text ? text : "";
  for (char& c : copy) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return copy;
}

bool Contains(const std::string& text, const char* word) {
  return text.find(word) != std::string::npos;
}

}  // namespace

void SetHostCallback(HostCallback callback) { hostCallback.store(callback); }

HostCallback GetHostCallback() { return hostCallback.load(); }

intptr_t CallHost(EffectRecord* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float opt) {
  HostCallback callback = hostCallback.load();
  return callback ? callback(effect, opcode, index, value, ptr, opt) : 0;
}

void* HostExtension(const char* name) {
  return reinterpret_cast<void*>(CallHost(nullptr, kHostExtensionOpcode, kHostExtensionIndex, 0,
                                          const_cast<char*>(name), 0.0f));
}

int32_t IdentifyHost(const char* vendor, const char* product, int32_t) {
  const std::string v = Lowered(vendor);
  const std::string p = Lowered(product);
  if (Contains(p, "reaper")) return kHostReaper;
  if (Contains(p, "cubase")) return kHostCubase;
  if (Contains(p, "nuendo")) return kHostNuendo;
  if (Contains(p, "cakewalk")) return kHostCakewalk;
  if (Contains(p, "samplitude")) return kHostSamplitude;
  if (Contains(v, "fruity")) return kHostFruity;
  if (Contains(v, "ableton") && Contains(p, "live")) return kHostAbleton;
  if (Contains(p, "melodyne")) return kHostMelodyne;
  if (Contains(p, "vstmanlib")) return kHostVstManLib;
  return kHostUnknown;
}

bool SendEventToHost(EffectRecord* effect, const Event* event) {
  struct {
    int32_t numEvents;
    intptr_t reserved;
    const Event* events[2];
  } list = {1, 0, {event, nullptr}};
  return CallHost(effect, kHostProcessEvents, 0, 0, &list, 0.0f) == 1;
}

bool SendMidiToHost(EffectRecord* effect, const MidiMessage& message) {
  MidiEvent record;
  std::memset(&record, 0, sizeof record);
  record.type = 1;
  record.byteSize = sizeof(MidiEvent);
  record.deltaFrames = message.frameOffset;
  record.midiData[0] = static_cast<char>(message.status);
  record.midiData[1] = static_cast<char>(message.data1);
  record.midiData[2] = static_cast<char>(message.data2);
  return SendEventToHost(effect, reinterpret_cast<const Event*>(&record));
}
