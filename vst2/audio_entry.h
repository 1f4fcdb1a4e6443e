// The three audio callbacks of the effect record. Each finds the plug-in
// through the record, holds its lock for the whole block and hands the block
// to the double-precision ProcessBlock.
#pragma once

#include "vst2/effect_record.h"

struct AudioEntry {
  static void QV_CDECL ProcessReplacing(EffectRecord* effect, float** inputs, float** outputs,
                                        int32_t frames);
  static void QV_CDECL ProcessAccumulating(EffectRecord* effect, float** inputs, float** outputs,
                                           int32_t frames);
  static void QV_CDECL ProcessDoubleReplacing(EffectRecord* effect, double** inputs,
                                              double** outputs, int32_t frames);
};
