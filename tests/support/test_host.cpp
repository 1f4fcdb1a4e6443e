#include "support/test_host.h"

#include <cstdlib>
#include <cstring>

#include "plug/create_plugin.h"

namespace {

intptr_t QV_CDECL RecordingCallback(EffectRecord* effect, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt) {
  TestHost& host = TestHost::Current();
  HostCall call{effect, opcode, index, value, opt, {}};
  switch (opcode) {
    case kHostGetVendorString:
      if (!host.answerVendor) return 0;
      std::strcpy(static_cast<char*>(ptr), host.vendor.c_str());
      return 1;
    case kHostGetProductString:
      if (!host.answerProduct) return 0;
      std::strcpy(static_cast<char*>(ptr), host.product.c_str());
      return 1;
    case kHostGetVendorVersion: host.calls.push_back(call); return 4321;
    case kHostAutomate:
      host.calls.push_back(call);
      if (host.echoAutomation) effect->setParameter(effect, index, opt);
      return 0;
    case kHostProcessEvents: {
      const auto* list = static_cast<const EventList*>(ptr);
      const auto* bytes = reinterpret_cast<const unsigned char*>(list->events[0]);
      call.event.assign(bytes, bytes + list->events[0]->byteSize);
      host.calls.push_back(call);
      return 1;
    }
    default: host.calls.push_back(call); return 0;
  }
}

}  // namespace

TestHost& TestHost::Current() {
  static TestHost host;
  return host;
}

TestHost& TestHost::Install() {
  Current() = TestHost();
  SetHostCallback(&RecordingCallback);
  return Current();
}

std::vector<HostCall> TestHost::CallsWith(int32_t opcode) const {
  std::vector<HostCall> found;
  for (const HostCall& call : calls) {
    if (call.opcode == opcode) found.push_back(call);
  }
  return found;
}

PlugDescription TestDescription(const char* name, int params, int inputs, int outputs) {
  PlugDescription d;
  d.name = name;
  d.version = 1;
  d.uniqueId = 1;
  d.paramCount = params;
  d.inputCount = inputs;
  d.outputCount = outputs;
  return d;
}

std::unique_ptr<DitherPlugin> BarePlugin() {
  auto plug = std::make_unique<DitherPlugin>();
  if (!CreatePluginEditor(*plug)) std::abort();
  return plug;
}

DitherPlugin* NewPlugin() {
  DitherPlugin* plug = BarePlugin().release();
  new Vst2Effect(plug);
  return plug;
}

DitherPlugin* OpenPlugin() {
  DitherPlugin* plug = NewPlugin();
  Dispatch(plug, effOpen);
  return plug;
}

Vst2Effect* EffectOf(PlugBase* plug) { return static_cast<Vst2Effect*>(plug->Host()); }

EffectRecord* RecordOf(PlugBase* plug) { return EffectOf(plug)->Record(); }

intptr_t Dispatch(PlugBase* plug, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float opt) {
  EffectRecord* record = RecordOf(plug);
  return record->dispatcher(record, opcode, index, value, ptr, opt);
}

void ClosePlugin(PlugBase* plug) { Dispatch(plug, effClose); }
