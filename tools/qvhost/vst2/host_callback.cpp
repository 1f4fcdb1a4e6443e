#include "tools/qvhost/vst2/host_callback.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "vst2/host_services.h"
#include "tools/qvhost/report.h"

namespace {

constexpr char kHostVendor[] = "Quorvane Test Host";
constexpr char kHostProduct[] = "qvhost";
constexpr intptr_t kHostVendorVersion = 1000;
constexpr intptr_t kHostInterfaceVersion = 2400;
constexpr int32_t kHostVersionOpcode = 1;
// The plug-in receives 256-byte buffers for the vendor and product texts.
constexpr size_t kHostTextCapacity = 256;
// Events are copied as their fixed 32-byte records.
constexpr size_t kEventBytes = sizeof(Event);
// A list longer than this is cut when logged.
constexpr int32_t kMaxLoggedEvents = 16;

// One request the plug-in made of the host, as it arrived.
struct HostRequest {
  const EffectRecord* effect;
  int32_t opcode;
  int32_t index;
  intptr_t value;
  float opt;
  intptr_t answer;
  std::vector<std::string> events;  // opcode 8 only: the 32 bytes of each event
};

std::vector<HostRequest> requests;

intptr_t WriteHostText(void* ptr, const char* text) {
  if (ptr == nullptr) return 0;
  std::snprintf(static_cast<char*>(ptr), kHostTextCapacity, "%s", text);
  return 1;
}

std::vector<std::string> CopyEvents(const void* ptr) {
  std::vector<std::string> copies;
  const auto* list = static_cast<const EventList*>(ptr);
  if (list == nullptr) return copies;
  const int32_t count = list->numEvents < kMaxLoggedEvents ? list->numEvents : kMaxLoggedEvents;
  for (int32_t i = 0; i < count; ++i) {
    const auto* bytes = reinterpret_cast<const char*>(list->events[i]);
    copies.push_back(bytes ? std::string(bytes, kEventBytes) : std::string());
  }
  return copies;
}

intptr_t Answer(int32_t opcode, void* ptr) {
  switch (opcode) {
    case kHostVersionOpcode: return kHostInterfaceVersion;
    case kHostGetVendorString: return WriteHostText(ptr, kHostVendor);
    case kHostGetProductString: return WriteHostText(ptr, kHostProduct);
    case kHostGetVendorVersion: return kHostVendorVersion;
    case kHostProcessEvents: return ptr ? 1 : 0;
    // The extension lookup (kHostExtensionOpcode) offers no function yet.
    default: return 0;
  }
}

const char* RecordName(const EffectRecord* effect, const EffectRecord* own) {
  if (effect == nullptr) return "null";
  return effect == own ? "own" : "other";
}

}  // namespace

intptr_t QV_CDECL AnswerHostRequest(EffectRecord* effect, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt) {
  const intptr_t answer = Answer(opcode, ptr);
  HostRequest request{effect, opcode, index, value, opt, answer, {}};
  if (opcode == kHostProcessEvents) request.events = CopyEvents(ptr);
  requests.push_back(request);
  return answer;
}

void PrintHostRequests(const EffectRecord* own) {
  for (const HostRequest& r : requests) {
    std::printf("host request %s record %s index %s value %s opt %s -> %s\n",
                FormatAnswer(r.opcode).c_str(), RecordName(r.effect, own),
                FormatAnswer(r.index).c_str(), FormatAnswer(r.value).c_str(),
                FormatFloat(r.opt).c_str(), FormatAnswer(r.answer).c_str());
    for (const std::string& event : r.events)
      std::printf("  event %s\n", FormatBytes(event).c_str());
  }
  requests.clear();
}
