#include "plug/plug_base.h"

#include <cmath>
#include <cstdio>
#include <cstring>

PlugBase::PlugBase(const PlugDescription& d)
    : numInputs(d.inputCount),
      numOutputs(d.outputCount),
      inputsInUse(d.inputCount),
      outputsInUse(d.outputCount),
      version(d.version),
      uniqueId(d.uniqueId),
      latency(d.latency),
      doesMidi(d.doesMidi),
      canMono(d.canMono),
      programChunks(d.programChunks),
      effectName(d.name ? d.name : ""),
      productString(d.product ? d.product : ""),
      vendorString(d.vendor ? d.vendor : "") {
  params.resize(d.paramCount > 0 ? d.paramCount : 0);
}

PlugBase::~PlugBase() {
  delete editor;
  editor = nullptr;
}

std::string PlugBase::VersionText() const {
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", version / 1000 % 10, version / 100 % 10,
                version / 10 % 10, version % 10);
  return text;
}

// ---- Parameters -------------------------------------------------------------

Param& PlugBase::ParamAt(int index) {
  static Param inert;
  if (index >= 0 && index < ParamCount()) return params[index];
  return inert;
}

void PlugBase::SetParamFromHost(int index, float normalised) {
  if (index < 0 || index >= ParamCount()) return;
  LockGuard guard(&lock);
  // The parameter ignores a NaN; the controls must not show one either.
  if (editor && !std::isnan(normalised)) editor->SetParameterFromPlug(index, normalised, &lock);
  params[index].SetFromNormalized(normalised);
  ParamChanged(index);
}

void PlugBase::SetParamValue(int index, double value) {
  if (index < 0 || index >= ParamCount()) return;
  LockGuard guard(&lock);
  params[index].SetClamped(value);
  if (editor) editor->SetParameterFromPlug(index, params[index].Normalized(), &lock);
  ParamChanged(index);
}

void PlugBase::SetParamFromEditor(int index, double normalised) {
  // A control bound past the end has no parameter to change or report; the
  // inert parameter that ParamAt serves for it must stay as it is.
  if (index < 0 || index >= ParamCount()) return;
  LockGuard guard(&lock);
  const float value = static_cast<float>(normalised);
  if (host) host->AutomateParam(index, value);
  if (host && host->AppliesEdits()) return;
  ParamAt(index).SetFromNormalized(value);
  ParamChanged(index);
}

void PlugBase::AttachEditor(PlugEditor* newEditor) {
  if (newEditor == nullptr) return;
  for (int i = 0; i < ParamCount(); ++i) {
    newEditor->SetParameterFromPlug(i, params[i].Normalized(), &lock);
  }
  newEditor->PrepareDrawing();
  if (editor) ForgetEditor();
  delete editor;
  editor = newEditor;
}

void PlugBase::DetachEditor() {
  LockGuard guard(&lock);
  if (editor) ForgetEditor();
  delete editor;
  editor = nullptr;
}

bool PlugBase::OpenEditor(void* parent, HostLoop* loop) {
  if (editor == nullptr) return false;
  editor->UseHostLoop(loop);
  const bool opened = editor->OpenWindow(parent);
  editor->UseHostLoop(nullptr);
  if (opened) EditorOpened();
  return opened;
}

bool PlugBase::CloseEditor() {
  if (editor == nullptr) return false;
  EditorClosing();
  editor->CloseWindow();
  return true;
}

bool PlugBase::PrepareScratch(int32_t frames) {
  LockGuard guard(&lock);
  return inputBuffers.Resize(inputsInUse, frames, true) &&
         outputBuffers.Resize(outputsInUse, frames, true);
}

void PlugBase::NotifyAllParamsChanged() {
  LockGuard guard(&lock);
  for (int i = 0; i < ParamCount(); ++i) ParamChanged(i);
  ResetProcessing();
}

// ---- Programs ---------------------------------------------------------------

void PlugBase::AddPresetsFromCurrent(const char* name, int count) {
  for (int n = 0; n < count; ++n) {
    Preset preset{name ? name : "", {}};
    for (const Param& param : params) preset.values.push_back(param.Value());
    programs.push_back(preset);
  }
}

void PlugBase::AddPreset(const char* name, std::initializer_list<double> values) {
  programs.push_back(Preset{name ? name : "", std::vector<double>(values)});
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

bool PlugBase::SelectProgram(int index) {
  if (index < 0 || index >= ProgramCount()) return false;
  // The whole store and recall holds the lock, so that no audio block runs
  // while the parameters are half way between two programs.
  LockGuard guard(&lock);
  StoreCurrentPreset();
  RecallPreset(index);
  return true;
}

bool PlugBase::RestoreProgram(int index, const std::vector<double>& values) {
  if (index < 0 || index >= ProgramCount() || values.size() != params.size()) return false;
  LockGuard guard(&lock);
  StoreCurrentPreset();
  currentProgram = index;
  currentProgramName = programs[index].name;
  for (int i = 0; i < ParamCount(); ++i) {
    params[i].SetClamped(values[i]);
    if (editor) editor->SetParameterFromPlug(i, params[i].Normalized(), &lock);
  }
  NotifyAllParamsChanged();
  return true;
}

// ---- Processing set-up --------------------------------------------------------

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

void PlugBase::SetChannelsInUse(int32_t inputs, int32_t outputs) {
  // The audio blocks read the counts, so they change under the lock.
  LockGuard guard(&lock);
  if (inputs >= 0) inputsInUse = inputs;
  if (outputs >= 0) outputsInUse = outputs;
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
