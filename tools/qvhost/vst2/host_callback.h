// The host side of the plug-in interface: the one callback qvhost hands to
// every plug-in it loads. It says who the host is ("Quorvane Test Host",
// "qvhost", version 1000, interface version 2400), accepts event lists,
// offers no extension functions and answers 0 to everything else. Every
// request is logged, automation and events with their contents.
#pragma once

#include <cstdint>

#include "vst2/effect_record.h"

// [the thread the plug-in calls from; qvhost itself is single-threaded]
intptr_t QV_CDECL AnswerHostRequest(EffectRecord* effect, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt);

// Prints one line per request logged since the last print, oldest first, with
// the 32 bytes of each event on indented lines below it. The record the
// plug-in passed is named "own", "null" or "other" relative to `own`.
void PrintHostRequests(const EffectRecord* own);
