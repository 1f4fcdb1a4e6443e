// The records that cross the host boundary. Their layout is fixed by the
// plug-in interface: 144 bytes for the effect record on 32-bit targets; on
// 64-bit targets the same declaration, with pointer-sized function pointers and
// object fields, gives 192 bytes by natural alignment, which is what 64-bit
// hosts expect. Every function here uses the C calling convention.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/calling_convention.h"

struct EffectRecord;

// result = callback(record, opcode, index, value, ptr, opt)
using HostCallback = intptr_t(QV_CDECL*)(EffectRecord* effect, int32_t opcode, int32_t index,
                                         intptr_t value, void* ptr, float opt);
using DispatcherFunction = intptr_t(QV_CDECL*)(EffectRecord* effect, int32_t opcode, int32_t index,
                                               intptr_t value, void* ptr, float opt);
using ProcessFunction = void(QV_CDECL*)(EffectRecord* effect, float** inputs, float** outputs,
                                        int32_t frames);
using ProcessDoubleFunction = void(QV_CDECL*)(EffectRecord* effect, double** inputs,
                                              double** outputs, int32_t frames);
using SetParameterFunction = void(QV_CDECL*)(EffectRecord* effect, int32_t index, float value);
using GetParameterFunction = float(QV_CDECL*)(EffectRecord* effect, int32_t index);

// 'VstP' with the first character in the most significant byte.
constexpr int32_t kEffectMagic = 0x56737450;

enum EffectFlags : int32_t {
  kFlagHasEditor = 1 << 0,
  kFlagCanMono = 1 << 3,
  kFlagCanReplacing = 1 << 4,
  kFlagProgramChunks = 1 << 5,
  kFlagCanDoubleReplacing = 1 << 12,
};

struct EffectRecord {
  int32_t magic;
  DispatcherFunction dispatcher;
  ProcessFunction processAccumulating;
  SetParameterFunction setParameter;
  GetParameterFunction getParameter;
  int32_t numPrograms;
  int32_t numParams;
  int32_t numInputs;
  int32_t numOutputs;
  int32_t flags;
  intptr_t reserved1;
  intptr_t reserved2;
  int32_t initialDelay;
  int32_t realQualities;
  int32_t offQualities;
  float ioRatio;
  void* object;  // the Vst2Effect that holds this record
  void* user;
  int32_t uniqueID;
  int32_t version;
  ProcessFunction processReplacing;
  ProcessDoubleFunction processDoubleReplacing;
  char future[56];
};

// Rectangle answered to effEditGetRect.
struct EditorRect {
  int16_t top, left, bottom, right;
};

// Answer to effGetInputProperties / effGetOutputProperties; only the label and
// the flags are written, the rest belongs to the host.
struct PinProperties {
  char label[64];
  int32_t flags;
  int32_t arrangementType;
  char shortLabel[8];
  char future[48];
};

struct SpeakerArrangement {
  int32_t type;
  int32_t numChannels;
};

struct Event {
  int32_t type;  // 1 = MIDI
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  char data[16];
};

struct MidiEvent {
  int32_t type;
  int32_t byteSize;
  int32_t deltaFrames;
  int32_t flags;
  int32_t noteLength;
  int32_t noteOffset;
  char midiData[4];
  char detune;
  char noteOffVelocity;
  char reserved1;
  char reserved2;
};

// A list of events; the array really holds numEvents entries.
struct EventList {
  int32_t numEvents;
  intptr_t reserved;
  Event* events[2];
};

struct MidiKeyName {
  int32_t thisProgramIndex;
  int32_t thisKeyNumber;
  char keyName[64];
  int32_t reserved;
  int32_t flags;
};

static_assert(sizeof(MidiEvent) == 32, "MIDI event record is 32 bytes");
static_assert(offsetof(MidiEvent, midiData) == 24, "MIDI bytes at offset 24");
static_assert(offsetof(PinProperties, flags) == 64, "pin flags at offset 64");
static_assert(offsetof(MidiKeyName, keyName) == 8, "key name at offset 8");
static_assert(sizeof(EditorRect) == 8, "editor rectangle is four int16");

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(EffectRecord) == 144, "32-bit effect record is 144 bytes");
static_assert(offsetof(EffectRecord, dispatcher) == 4, "");
static_assert(offsetof(EffectRecord, processAccumulating) == 8, "");
static_assert(offsetof(EffectRecord, setParameter) == 12, "");
static_assert(offsetof(EffectRecord, getParameter) == 16, "");
static_assert(offsetof(EffectRecord, numPrograms) == 20, "");
static_assert(offsetof(EffectRecord, numParams) == 24, "");
static_assert(offsetof(EffectRecord, numInputs) == 28, "");
static_assert(offsetof(EffectRecord, numOutputs) == 32, "");
static_assert(offsetof(EffectRecord, flags) == 36, "");
static_assert(offsetof(EffectRecord, reserved1) == 40, "");
static_assert(offsetof(EffectRecord, reserved2) == 44, "");
static_assert(offsetof(EffectRecord, initialDelay) == 48, "");
static_assert(offsetof(EffectRecord, realQualities) == 52, "");
static_assert(offsetof(EffectRecord, offQualities) == 56, "");
static_assert(offsetof(EffectRecord, ioRatio) == 60, "");
static_assert(offsetof(EffectRecord, object) == 64, "");
static_assert(offsetof(EffectRecord, user) == 68, "");
static_assert(offsetof(EffectRecord, uniqueID) == 72, "");
static_assert(offsetof(EffectRecord, version) == 76, "");
static_assert(offsetof(EffectRecord, processReplacing) == 80, "");
static_assert(offsetof(EffectRecord, processDoubleReplacing) == 84, "");
static_assert(offsetof(EffectRecord, future) == 88, "");
static_assert(offsetof(EventList, events) == 8, "event pointers at offset 8");
#else
static_assert(sizeof(EffectRecord) == 192, "64-bit effect record is 192 bytes");
static_assert(offsetof(EffectRecord, object) == 96, "");
static_assert(offsetof(EffectRecord, processDoubleReplacing) == 128, "");
#endif
