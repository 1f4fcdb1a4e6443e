// The host side of the plug-in interface: the one callback qvhost hands to
// every plug-in it loads. It answers who the host is and records the requests
// that a test wants to see (automation and events); every request is logged.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/effect_record.h"

constexpr char kHostVendor[] = "Quorvane Test Host";
constexpr char kHostProduct[] = "qvhost";
constexpr intptr_t kHostVendorVersion = 1000;
constexpr intptr_t kHostInterfaceVersion = 2400;

// One request the plug-in made of the host, as it arrived.
struct HostRequest {
  const EffectRecord* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
  intptr_t answer;
  // Opcode 8 only: the first 32 bytes of every event in the list.
  std::vector<std::string> events;
};

// [any thread the plug-in calls from; qvhost is single-threaded]
intptr_t QV_CDECL AnswerHostRequest(EffectRecord* effect, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt);

// Requests logged since the last ClearHostRequests, oldest first.
const std::vector<HostRequest>& HostRequests();
void ClearHostRequests();

// Prints one line per logged request (events indented below it), naming the
// record the plug-in passed as "own", "null" or "other" relative to `own`,
// then clears the log.
void PrintHostRequests(const EffectRecord* own);
