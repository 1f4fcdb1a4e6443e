#include "host/plug_base.h"

#include <cmath>
#include <cstring>

#include "editor/editor.h"
#include "host/audio_entry.h"
#include "host/dispatcher.h"

namespace {

float QV_CDECL GetParameterEntry(EffectRecord* effect, int32_t index) {
  PlugBase* plug = PlugBase::FromRecord(effect);
  if (plug == nullptr) return 0.0f;
  LockGuard guard(&plug->Lock());
  return static_cast<float>(plug->ParamAt(index).Normalized());
}

void QV_CDECL SetParameterEntry(EffectRecord* effect, int32_t index, float value) {
  PlugBase* plug = PlugBase::FromRecord(effect);
  if (plug == nullptr || index < 0 || index >= plug->ParamCount()) return;
  LockGuard guard(&plug->Lock());
  // The parameter ignores a NaN; the controls must not show one either.
  Editor* editor = plug->GetEditor();
  if (editor && !std::isnan(value)) editor->SetParameterFromPlug(index, value, &plug->Lock());
  plug->ParamAt(index).SetFromNormalized(value);
  plug->ParamChanged(index);
}

}  // namespace

PlugBase::PlugBase(int numParams, int numInputs, int numOutputs, const char* effectName,
                   const char* productString, const char* vendorString, int version, int uniqueId,
                   int latency, bool doesMidi, bool canMono, bool programChunks)
    : inputsInUse(numInputs),
      outputsInUse(numOutputs),
      doesMidi(doesMidi),
      effectName(effectName ? effectName : ""),
      productString(productString ? productString : ""),
      vendorString(vendorString ? vendorString : "") {
  std::memset(&record, 0, sizeof record);
  record.magic = kEffectMagic;
  record.dispatcher = &Dispatcher::Entry;
  record.processAccumulating = &AudioEntry::ProcessAccumulating;
  record.setParameter = &SetParameterEntry;
  record.getParameter = &GetParameterEntry;
  record.numPrograms = 0;
  record.numParams = numParams;
  record.numInputs = numInputs;
  record.numOutputs = numOutputs;
  record.flags = kFlagCanReplacing | kFlagCanDoubleReplacing;
  if (programChunks) record.flags |= kFlagProgramChunks;
  if (canMono) record.flags |= kFlagCanMono;
  record.initialDelay = latency;
  record.ioRatio = 1.0f;
  record.object = this;
  record.uniqueID = uniqueId;
  record.version = version;
  record.processReplacing = &AudioEntry::ProcessReplacing;
  record.processDoubleReplacing = &AudioEntry::ProcessDoubleReplacing;

  params.resize(numParams > 0 ? numParams : 0);
  AskHostIdentity();
}

PlugBase::~PlugBase() {
  delete editor;
  editor = nullptr;
}

void PlugBase::AskHostIdentity() {
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

// ---- Parameters -------------------------------------------------------------

Param& PlugBase::ParamAt(int index) {
  static Param inert;
  if (index >= 0 && index < ParamCount()) return params[index];
  return inert;
}

void PlugBase::SetParamFromEditor(int index, double normalised) {
  // A control bound past the end has no parameter to change or report; the
  // inert parameter that ParamAt serves for it must stay as it is.
  if (index < 0 || index >= ParamCount()) return;
  LockGuard guard(&lock);
  const float value = static_cast<float>(normalised);
  CallHost(&record, kHostAutomate, index, 0, nullptr, value);
  ParamAt(index).SetFromNormalized(value);
  ParamChanged(index);
}

void PlugBase::AttachEditor(Editor* newEditor) {
  if (newEditor == nullptr) return;
  for (int i = 0; i < ParamCount(); ++i) {
    newEditor->SetParameterFromPlug(i, params[i].Normalized(), &lock);
  }
  newEditor->PrepareDrawing();
  record.flags |= kFlagHasEditor;
  delete editor;
  editor = newEditor;
}

void PlugBase::DetachEditor() {
  LockGuard guard(&lock);
  delete editor;
  editor = nullptr;
  record.flags &= ~kFlagHasEditor;
}

void PlugBase::Open() {
  LockGuard guard(&lock);
  NotifyAllParamsChanged();
}

void PlugBase::SetSampleRate(double rate) {
  LockGuard guard(&lock);
  sampleRate = rate;
  ResetProcessing();
}

void PlugBase::SetBlockSize(int32_t frames) {
  LockGuard guard(&lock);
  blockSize = frames;
  ResetProcessing();
}

void PlugBase::SetActive(bool active) {
  LockGuard guard(&lock);
  ActiveChanged(active);
  if (!active) ResetProcessing();
}

bool PlugBase::PrepareScratch(int32_t frames) {
  LockGuard guard(&lock);
  return inputBuffers.Resize(inputsInUse, frames, true) &&
         outputBuffers.Resize(outputsInUse, frames, true);
}

void PlugBase::NotifyAllParamsChanged() {
  for (int i = 0; i < ParamCount(); ++i) ParamChanged(i);
  ResetProcessing();
}

// ---- Programs ---------------------------------------------------------------

void PlugBase::AddPresetsFromCurrent(const char* name, int count) {
  for (int n = 0; n < count; ++n) {
    Preset preset{name ? name : "", {}};
    for (const Param& param : params) preset.values.push_back(param.Value());
    programs.push_back(preset);
    ++record.numPrograms;
  }
}

void PlugBase::AddPreset(const char* name, std::initializer_list<double> values) {
  programs.push_back(Preset{name ? name : "", std::vector<double>(values)});
  ++record.numPrograms;
}

void PlugBase::StoreCurrentPreset() {
  if (currentProgram < 0 || currentProgram >= ProgramCount()) return;
  Preset& preset = programs[currentProgram];
  if (!currentProgramName.empty()) preset.name = currentProgramName;
  preset.values.clear();
  for (const Param& param : params) preset.values.push_back(param.Value());
}

void PlugBase::RecallPreset(int index) {
  if (index < 0 || index >= ProgramCount()) return;
  const Preset& preset = programs[index];
  if (preset.values.size() != params.size()) return;
  for (int i = 0; i < ParamCount(); ++i) {
    params[i].SetClamped(preset.values[i]);
    if (editor) editor->SetParameterFromPlug(i, params[i].Normalized(), &lock);
    ParamChanged(i);
  }
  currentProgram = index;
  currentProgramName = preset.name;
}

// ---- Defaults of the hooks --------------------------------------------------

void PlugBase::ProcessBlock(double** inputs, double** outputs, int frames) {
  const int channels = inputsInUse < outputsInUse ? inputsInUse : outputsInUse;
  for (int c = 0; c < channels; ++c) {
    if (inputs[c] == outputs[c]) continue;
    std::memmove(outputs[c], inputs[c], sizeof(double) * static_cast<size_t>(frames));
  }
}

void PlugBase::ProcessFloatBlock(float** inputs, float** outputs, int frames) {
  ProcessFloat(inputs, outputs, frames, false);
}

void PlugBase::HandleMidi(const MidiMessage& message) { SendMidi(message); }

bool PlugBase::KeyName(int, char* name) {
  if (name) name[0] = '\0';
  return false;
}
