// The edit controller's side of the effect: the parameters as VST 3 lists
// them, their texts, and the plug-in's editor as a view.
#include <cmath>
#include <string>

#include "core/text_copy.h"
#include "vst3/utf16.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_view.h"

namespace vst3 {

namespace {

// The steps of a parameter's range as VST 3 counts them: 0 for a continuous
// one.
int32_t StepCount(const Param& param) {
  if (param.Kind() == ParamKind::Double || param.Step() <= 0.0) return 0;
  return static_cast<int32_t>(std::lround((param.Max() - param.Min()) / param.Step()));
}

}  // namespace

Tresult Vst3Effect::setComponentState(IBStream*) {
  // The component is this object: its state is already the controller's.
  return kResultOk;
}

int32_t Vst3Effect::getParameterCount() { return plug->ParamCount() + 1; }

Tresult Vst3Effect::getParameterInfo(int32_t index, ParameterInfo* info) {
  if (info == nullptr || index < 0 || index >= getParameterCount()) return kInvalidArgument;
  *info = ParameterInfo{};
  info->unitId = kRootUnitId;
  if (index == plug->ParamCount()) {
    info->id = kProgramParamId;
    CopyToUtf16(info->title, 128, "Program");
    CopyToUtf16(info->shortTitle, 128, "Program");
    info->stepCount = plug->ProgramCount() - 1;
    info->defaultNormalizedValue = 0.0;
    info->flags = kIsProgramChange | kIsList;
    return kResultOk;
  }
  LockGuard guard(&plug->Lock());
  const Param& param = plug->ParamAt(index);
  info->id = static_cast<ParamId>(index);
  CopyToUtf16(info->title, 128, param.Name());
  CopyToUtf16(info->shortTitle, 128, param.Name());
  CopyToUtf16(info->units, 128, param.Label());
  info->stepCount = StepCount(param);
  info->defaultNormalizedValue = defaults[index];
  info->flags = kCanAutomate | (param.IsListKind() ? kIsList : 0);
  return kResultOk;
}

Tresult Vst3Effect::getParamStringByValue(ParamId id, ParamValue normalised, char16_t* text) {
  if (text == nullptr || std::isnan(normalised)) return kInvalidArgument;
  if (id == kProgramParamId) {
    LockGuard guard(&plug->Lock());
    CopyToUtf16(text, 128, plug->ProgramAt(NormalizedToProgram(normalised)).name);
    return kResultOk;
  }
  if (id >= static_cast<ParamId>(plug->ParamCount())) return kInvalidArgument;
  CopyToUtf16(text, 128,
              plug->ValueText(static_cast<int>(id), normalizedParamToPlain(id, normalised)));
  return kResultOk;
}

Tresult Vst3Effect::getParamValueByString(ParamId id, char16_t* text, ParamValue* normalised) {
  if (text == nullptr || normalised == nullptr) return kInvalidArgument;
  const std::string typed = Utf16ToUtf8(text, 128);
  if (id == kProgramParamId) {
    LockGuard guard(&plug->Lock());
    for (int32_t i = 0; i < plug->ProgramCount(); ++i) {
      if (plug->ProgramAt(i).name == typed) {
        *normalised = ProgramToNormalized(i);
        return kResultOk;
      }
    }
    return kResultFalse;
  }
  if (id >= static_cast<ParamId>(plug->ParamCount())) return kInvalidArgument;
  double plain = 0.0;
  if (!plug->ValueFromText(static_cast<int>(id), typed, plain)) return kResultFalse;
  *normalised = plainParamToNormalized(id, plain);
  return kResultOk;
}

ParamValue Vst3Effect::normalizedParamToPlain(ParamId id, ParamValue normalised) {
  if (std::isnan(normalised)) return 0.0;
  if (id == kProgramParamId) return NormalizedToProgram(normalised);
  if (id >= static_cast<ParamId>(plug->ParamCount())) return normalised;
  const float clamped = static_cast<float>(normalised < 0.0   ? 0.0
                                           : normalised > 1.0 ? 1.0
                                                              : normalised);
  LockGuard guard(&plug->Lock());
  return plug->ParamAt(static_cast<int>(id)).ValueFromNormalized(clamped);
}

ParamValue Vst3Effect::plainParamToNormalized(ParamId id, ParamValue plain) {
  if (std::isnan(plain)) return 0.0;
  if (id == kProgramParamId) return ProgramToNormalized(static_cast<int32_t>(std::lround(plain)));
  if (id >= static_cast<ParamId>(plug->ParamCount())) return plain;
  LockGuard guard(&plug->Lock());
  return plug->ParamAt(static_cast<int>(id)).ToNormalized(plain);
}

ParamValue Vst3Effect::getParamNormalized(ParamId id) {
  LockGuard guard(&plug->Lock());
  if (id == kProgramParamId) return ProgramToNormalized(plug->CurrentProgram());
  if (id >= static_cast<ParamId>(plug->ParamCount())) return 0.0;
  return plug->ParamAt(static_cast<int>(id)).Normalized();
}

Tresult Vst3Effect::setParamNormalized(ParamId id, ParamValue normalised) {
  if (id != kProgramParamId && id >= static_cast<ParamId>(plug->ParamCount())) {
    return kInvalidArgument;
  }
  // A program sets every parameter; the host is asked to read them again
  // later (TellHostOfNewValues), not from inside this call.
  LockGuard guard(&plug->Lock());
  ApplyParameter(id, normalised);
  return kResultOk;
}

Tresult Vst3Effect::setComponentHandler(IComponentHandler* newHandler) {
  if (newHandler == handler) return kResultOk;
  if (newHandler) newHandler->addRef();
  IComponentHandler* old;
  {
    // Edits take their reference to the handler under the lock.
    LockGuard guard(&plug->Lock());
    old = handler;
    handler = newHandler;
  }
  if (old) old->release();
  return kResultOk;
}

IPlugView* Vst3Effect::createView(const char* name) {
  if (name == nullptr || std::string(name) != "editor" || plug->GetEditor() == nullptr) {
    return nullptr;
  }
  return Vst3View::Create(this);
}

}  // namespace vst3
