#include "vst2/vst2_effect.h"

#include <cstring>

#include "vst2/audio_entry.h"
#include "vst2/dispatcher.h"

namespace {

float QV_CDECL GetParameterEntry(EffectRecord* effect, int32_t index) {
  Vst2Effect* found = Vst2Effect::FromRecord(effect);
  if (found == nullptr) return 0.0f;
  PlugBase& plug = found->Plug();
  LockGuard guard(&plug.Lock());
  return static_cast<float>(plug.ParamAt(index).Normalized());
}

void QV_CDECL SetParameterEntry(EffectRecord* effect, int32_t index, float value) {
  Vst2Effect* found = Vst2Effect::FromRecord(effect);
  if (found) found->Plug().SetParamFromHost(index, value);
}

}  // namespace

Vst2Effect::Vst2Effect() {
  std::memset(&record, 0, sizeof record);
  record.magic = kEffectMagic;
  record.dispatcher = &Dispatcher::Entry;
  record.processAccumulating = &AudioEntry::ProcessAccumulating;
  record.setParameter = &SetParameterEntry;
  record.getParameter = &GetParameterEntry;
  record.ioRatio = 1.0f;
  record.object = this;
  record.processReplacing = &AudioEntry::ProcessReplacing;
  record.processDoubleReplacing = &AudioEntry::ProcessDoubleReplacing;
  AskHostIdentity();
}

void Vst2Effect::Present(PlugBase* presented) {
  plug.reset(presented);
  record.numPrograms = plug->ProgramCount();
  record.numParams = plug->ParamCount();
  record.numInputs = plug->NumInputs();
  record.numOutputs = plug->NumOutputs();
  record.flags = kFlagCanReplacing | kFlagCanDoubleReplacing;
  if (plug->ProgramChunks()) record.flags |= kFlagProgramChunks;
  if (plug->CanMono()) record.flags |= kFlagCanMono;
  if (plug->GetEditor()) record.flags |= kFlagHasEditor;
  record.initialDelay = plug->Latency();
  record.uniqueID = plug->UniqueId();
  record.version = plug->Version();
  plug->SetHost(this);
}

Vst2Effect::~Vst2Effect() = default;

void Vst2Effect::AskHostIdentity() {
  // Hosts fill at most 256 bytes; the last byte stays a terminator even for a
  // host that writes a longer text.
  char vendor[257] = {};
  char product[257] = {};
  if (CallHost(&record, kHostGetVendorString, 0, 0, vendor, 0.0f) == 0) return;
  if (CallHost(&record, kHostGetProductString, 0, 0, product, 0.0f) == 0) return;
  vendor[256] = product[256] = '\0';
  if (vendor[0] == '\0' && product[0] == '\0') return;
  hostVersion = static_cast<int32_t>(CallHost(&record, kHostGetVendorVersion, 0, 0, nullptr, 0.0f));
  hostId = IdentifyHost(vendor, product, hostVersion);
}

void Vst2Effect::SettleChannels() {
  if (channelsSettled) return;
  if (hostId != kHostReaper) {
    plug->SetChannelsInUse(plug->InputsInUse() > 2 ? 2 : -1, plug->OutputsInUse() > 2 ? 2 : -1);
  }
  channelsSettled = true;
}

void Vst2Effect::AutomateParam(int index, float normalised) {
  CallHost(&record, kHostAutomate, index, 0, nullptr, normalised);
}

void Vst2Effect::SendMidi(const MidiMessage& message) { SendMidiToHost(&record, message); }
