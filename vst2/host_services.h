// Everything the plug-in asks of its host goes through the callback that the
// entry stored. These functions are safe to call when no host callback was
// given: every request then answers 0.
#pragma once

#include <cstdint>

#include "plug/plug_host.h"
#include "vst2/effect_record.h"

enum HostOpcode : int32_t {
  kHostAutomate = 0,
  kHostProcessEvents = 8,
  kHostGetVendorString = 32,
  kHostGetProductString = 33,
  kHostGetVendorVersion = 34,
};

// The host's vendor-extension lookup: opcode and index that ask for a host
// function by name.
constexpr int32_t kHostExtensionOpcode = static_cast<int32_t>(0xdeadbeef);
constexpr int32_t kHostExtensionIndex = static_cast<int32_t>(0xdeadf00d);

// Codes of IdentifyHost; 2, 6, 10 and 11 are never produced.
enum HostId : int32_t {
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostCakewalk = 5,
  kHostFruity = 7,
  kHostSamplitude = 8,
  kHostAbleton = 9,
  kHostMelodyne = 12,
  kHostVstManLib = 13,
};

// The process-wide slot holding the last callback given to the entry.
void SetHostCallback(HostCallback callback);
HostCallback GetHostCallback();

// Calls the host through the slot; 0 when there is no callback.
intptr_t CallHost(EffectRecord* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float opt);

// The host function registered under `name`, or null.
void* HostExtension(const char* name);

// Recognises the host from its vendor and product texts (lower-cased
// substring search, first matching row wins). The version is not examined.
int32_t IdentifyHost(const char* vendor, const char* product, int32_t version);

// Sends one event to the host in a one-event list; true if the host answered 1.
bool SendEventToHost(EffectRecord* effect, const Event* event);
// Builds the 32-byte MIDI event record for the message and sends it.
bool SendMidiToHost(EffectRecord* effect, const MidiMessage& message);
