// The dispatcher of the effect record: every host request that is not audio
// or parameter get/set. Each opcode has its own small handler; requests that
// are unknown, out of range or failed answer 0.
#pragma once

#include "vst2/effect_record.h"

enum DispatcherOpcode : int32_t {
  effOpen = 0,
  effClose = 1,
  effSetProgram = 2,
  effGetProgram = 3,
  effSetProgramName = 4,
  effGetProgramName = 5,
  effGetParamLabel = 6,
  effGetParamDisplay = 7,
  effGetParamName = 8,
  effSetSampleRate = 10,
  effSetBlockSize = 11,
  effMainsChanged = 12,
  effEditGetRect = 13,
  effEditOpen = 14,
  effEditClose = 15,
  effEditIdle = 19,
  effIdentify = 22,
  effGetChunk = 23,
  effSetChunk = 24,
  effProcessEvents = 25,
  effCanBeAutomated = 26,
  effGetProgramNameIndexed = 29,
  effGetInputProperties = 33,
  effGetOutputProperties = 34,
  effGetPlugCategory = 35,
  effSetSpeakerArrangement = 42,
  effGetEffectName = 45,
  effGetVendorString = 47,
  effGetProductString = 48,
  effCanDo = 51,
  effIdle = 53,
  effGetVstVersion = 58,
  effGetMidiKeyName = 66,
};

struct Dispatcher {
  static intptr_t QV_CDECL Entry(EffectRecord* effect, int32_t opcode, int32_t index,
                                 intptr_t value, void* ptr, float opt);
};
