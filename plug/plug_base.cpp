#include "plug/plug_base.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

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
  sentValues.assign(params.size(), std::numeric_limits<double>::quiet_NaN());
  const size_t channels = static_cast<size_t>(numInputs > 0 ? numInputs : 0) +
                          static_cast<size_t>(numOutputs > 0 ? numOutputs : 0);
  floatPiece.resize(channels);
  doublePiece.resize(channels);
}

PlugBase::~PlugBase() {
  delete editor;
  editor = nullptr;
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
  if (!std::isnan(normalised)) {
    FollowHost(index, params[index].ValueFromNormalized(normalised), normalised);
  }
  params[index].SetFromNormalized(normalised);
  ParamChanged(index);
}

void PlugBase::SetParamPlain(int index, double plain) {
  if (index < 0 || index >= ParamCount() || std::isnan(plain)) return;
  LockGuard guard(&lock);
  Param& param = params[index];
  const double value = param.SteppedValue(plain);
  FollowHost(index, value, param.ToNormalized(value));
  param.SetStepped(plain);
  ParamChanged(index);
}

double PlugBase::PlainValue(int index, double plain) {
  if (index < 0 || index >= ParamCount()) return 0.0;
  LockGuard guard(&lock);
  const Param& param = params[index];
  return std::isnan(plain) ? param.Value() : param.SteppedValue(plain);
}

std::string PlugBase::ValueText(int index, double plain) {
  if (index < 0 || index >= ParamCount() || std::isnan(plain)) return std::string();
  Param param;
  {
    LockGuard guard(&lock);
    param = params[index];
  }
  param.SetStepped(plain);
  return param.DisplayText();
}

bool PlugBase::ValueFromText(int index, const std::string& text, double& plain) {
  if (index < 0 || index >= ParamCount()) return false;
  LockGuard guard(&lock);
  const Param& param = params[index];
  for (const auto& shown : param.DisplayTexts()) {
    if (shown.second == text) {
      plain = shown.first;
      return true;
    }
  }
  if (param.IsListKind()) {
    // A list takes the number of one of its values too ("1" for "on"),
    // written as nothing but that number.
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    while (end != nullptr && *end == ' ') ++end;
    if (end == text.c_str() || end == nullptr || *end != '\0') return false;
    if (param.DisplayTexts().count(number) == 0) return false;
    plain = number;
    return true;
  }
  double number = 0.0;
  if (!param.ValueForTypedText(text, number)) return false;
  plain = param.SteppedValue(number);
  return true;
}

void PlugBase::ShowHostValue(int index, double plain) {
  if (index < 0 || index >= ParamCount() || std::isnan(plain)) return;
  LockGuard guard(&lock);
  FollowHost(index, params[index].SteppedValue(plain), params[index].ToNormalized(plain));
}

void PlugBase::FollowHost(int index, double plain, double normalised) {
  if (editor == nullptr) return;
  // Compared as the 32-bit values most hosts keep.
  if (static_cast<float>(plain) == static_cast<float>(sentValues[index])) {
    editor->RedrawParameter(index, &lock);
    return;
  }
  sentValues[index] = std::numeric_limits<double>::quiet_NaN();
  editor->SetParameterFromPlug(index, normalised, &lock);
}

template <typename Call>
void PlugBase::TellHost(Call call) {
  if (host == nullptr) return;
  if (host->CalledUnderLock()) {
    LockGuard guard(&lock);
    call(*host);
  } else {
    call(*host);
  }
}

void PlugBase::SetParamFromEditor(int index, double normalised) {
  // A control bound past the end has no parameter to change or report; the
  // inert parameter that ParamAt serves for it must stay as it is.
  if (index < 0 || index >= ParamCount()) return;
  const float value = static_cast<float>(normalised);
  {
    // Remembered first: a host may echo the value from inside AutomateParam.
    LockGuard guard(&lock);
    sentValues[index] = params[index].ValueFromNormalized(value);
  }
  const bool alone = gestureParam != index;
  TellHost([&](PlugHost& to) {
    if (alone) to.BeginEdit(index);
    to.AutomateParam(index, value);
    if (alone) to.EndEdit(index);
  });
  if (host && host->AppliesEdits()) return;
  LockGuard guard(&lock);
  params[index].SetFromNormalized(value);
  ParamChanged(index);
}

void PlugBase::BeginGesture(int index) {
  if (index < 0 || index >= ParamCount()) return;
  EndGesture(gestureParam);
  gestureParam = index;
  TellHost([index](PlugHost& to) { to.BeginEdit(index); });
}

void PlugBase::EndGesture(int index) {
  if (index < 0 || index != gestureParam) return;
  gestureParam = -1;
  TellHost([index](PlugHost& to) { to.EndEdit(index); });
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

int32_t PlugBase::Prepare(double rate, int64_t maxBlock, int64_t usualBlock) {
  if (maxBlock <= 0) return 0;
  const int64_t largest = std::numeric_limits<int32_t>::max();
  const auto block = static_cast<int32_t>(maxBlock < largest ? maxBlock : largest);
  const int32_t piece = block < kLongestBlock ? block : kLongestBlock;
  SetSampleRate(rate);
  SetBlockSize(usualBlock > 0 && usualBlock < block ? static_cast<int32_t>(usualBlock) : block);
  const bool prepared = PrepareScratch(piece);
  LockGuard guard(&lock);
  pieceLength = prepared ? piece : 0;
  return pieceLength;
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
    sentValues[i] = std::numeric_limits<double>::quiet_NaN();
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
    sentValues[i] = std::numeric_limits<double>::quiet_NaN();
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

void PlugBase::RestartProcessing() {
  LockGuard guard(&lock);
  ResetProcessing();
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
