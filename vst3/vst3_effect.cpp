#include "vst3/vst3_effect.h"

#include <cmath>

#include "vst3/utf16.h"

namespace vst3 {

bool SameTuid(const char* bytes, const Tuid& id) {
  if (bytes == nullptr) return false;
  for (int i = 0; i < 16; ++i) {
    if (bytes[i] != id.bytes[i]) return false;
  }
  return true;
}

Vst3Effect::Vst3Effect(PlugBase* plug) : plug(plug) {
  // Hosts send the editor's edits back through process; the plug-in applies
  // them at once too, so that they hold while the host does not process.
  LockGuard guard(&plug->Lock());
  for (int i = 0; i < plug->ParamCount(); ++i) defaults.push_back(plug->ParamAt(i).Normalized());
  plug->SetHost(this);
  plug->SetChannelsInUse(2, 2);
}

Vst3Effect::~Vst3Effect() {
  if (handler) handler->release();
  plug->SetHost(nullptr);
}

// ---- FUnknown ------------------------------------------------------------------------

Tresult Vst3Effect::queryInterface(const char* iid, void** object) {
  if (object == nullptr) return kInvalidArgument;
  *object = nullptr;
  if (SameTuid(iid, kFUnknownIid) || SameTuid(iid, kIPluginBaseIid) ||
      SameTuid(iid, kIComponentIid)) {
    *object = static_cast<IComponent*>(this);
  } else if (SameTuid(iid, kIAudioProcessorIid)) {
    *object = static_cast<IAudioProcessor*>(this);
  } else if (SameTuid(iid, kIProcessContextRequirementsIid)) {
    *object = static_cast<IProcessContextRequirements*>(this);
  } else if (SameTuid(iid, kIEditControllerIid)) {
    *object = static_cast<IEditController*>(this);
  } else if (SameTuid(iid, kIUnitInfoIid)) {
    *object = static_cast<IUnitInfo*>(this);
  } else {
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32_t Vst3Effect::addRef() { return references.Add(); }

uint32_t Vst3Effect::release() { return references.Drop(this); }

// ---- IPluginBase -----------------------------------------------------------------------

Tresult Vst3Effect::initialize(FUnknown*) { return kResultOk; }

Tresult Vst3Effect::terminate() {
  // A host may end the plug-in while it is active: it stops first.
  setActive(0);
  setComponentHandler(nullptr);
  return kResultOk;
}

// ---- IComponent ------------------------------------------------------------------------

Tresult Vst3Effect::getControllerClassId(char*) {
  // The component is its own controller.
  return kNotImplemented;
}

Tresult Vst3Effect::setIoMode(int32_t) { return kResultOk; }

int32_t Vst3Effect::getBusCount(int32_t type, int32_t direction) {
  return type == kAudio && (direction == kInput || direction == kOutput) ? 1 : 0;
}

Tresult Vst3Effect::getBusInfo(int32_t type, int32_t direction, int32_t index, BusInfo* bus) {
  if (bus == nullptr || getBusCount(type, direction) == 0 || index != 0) return kInvalidArgument;
  *bus = BusInfo{};
  bus->mediaType = kAudio;
  bus->direction = direction;
  bus->channelCount = 2;
  CopyToUtf16(bus->name, 128, direction == kInput ? "Input" : "Output");
  bus->busType = kMain;
  bus->flags = kDefaultActive;
  return kResultOk;
}

Tresult Vst3Effect::getRoutingInfo(RoutingInfo*, RoutingInfo*) { return kNotImplemented; }

Tresult Vst3Effect::activateBus(int32_t type, int32_t direction, int32_t index, uint8_t) {
  return getBusCount(type, direction) > 0 && index == 0 ? kResultOk : kInvalidArgument;
}

Tresult Vst3Effect::setActive(uint8_t state) {
  const bool on = state != 0;
  // A host may switch off a component it never switched on.
  if (on == active) return kResultOk;
  active = on;
  plug->SetActive(on);
  return kResultOk;
}

// ---- PlugHost ------------------------------------------------------------------------------

void Vst3Effect::TellHostOfNewValues() {
  if (!restartPending.exchange(false)) return;
  if (IComponentHandler* to = TakeHandler()) {
    to->restartComponent(kParamValuesChanged);
    to->release();
  }
}

IComponentHandler* Vst3Effect::TakeHandler() {
  LockGuard guard(&plug->Lock());
  if (handler) handler->addRef();
  return handler;
}

// The handler is called without the plug-in's lock: a host may take a lock
// of its own there that its audio thread holds around process.
void Vst3Effect::AutomateParam(int index, float normalised) {
  if (IComponentHandler* to = TakeHandler()) {
    to->performEdit(static_cast<ParamId>(index), normalised);
    to->release();
  }
}

void Vst3Effect::BeginEdit(int index) {
  if (IComponentHandler* to = TakeHandler()) {
    to->beginEdit(static_cast<ParamId>(index));
    to->release();
  }
}

void Vst3Effect::EndEdit(int index) {
  if (IComponentHandler* to = TakeHandler()) {
    to->endEdit(static_cast<ParamId>(index));
    to->release();
  }
}

// ---- Parameters from the host -------------------------------------------------------------

void Vst3Effect::ApplyParameter(ParamId id, ParamValue normalised) {
  if (std::isnan(normalised)) return;
  normalised = normalised < 0.0 ? 0.0 : normalised > 1.0 ? 1.0 : normalised;
  if (id == kProgramParamId) {
    // Every parameter may have changed: the host hears of the new values in
    // the next block's output changes, and from its user-interface thread.
    if (plug->SelectProgram(NormalizedToProgram(normalised))) {
      valuesToSend = true;
      restartPending = true;
    }
  } else if (id < static_cast<ParamId>(plug->ParamCount())) {
    plug->SetParamFromHost(static_cast<int>(id), static_cast<float>(normalised));
  }
}

}  // namespace vst3
