// The unit and program list side of the effect: the plug-in's programs as
// the program list of the root unit, selected through the program-change
// parameter.
#include <cmath>

#include "vst3/utf16.h"
#include "vst3/vst3_effect.h"

namespace vst3 {

ParamValue Vst3Effect::ProgramToNormalized(int32_t program) const {
  const int32_t last = plug->ProgramCount() - 1;
  if (last <= 0 || program <= 0) return 0.0;
  return program >= last ? 1.0 : static_cast<ParamValue>(program) / last;
}

int32_t Vst3Effect::NormalizedToProgram(ParamValue normalised) const {
  const int32_t last = plug->ProgramCount() - 1;
  if (last <= 0 || !(normalised > 0.0)) return 0;
  if (normalised >= 1.0) return last;
  return static_cast<int32_t>(std::lround(normalised * last));
}

int32_t Vst3Effect::getUnitCount() { return 1; }

Tresult Vst3Effect::getUnitInfo(int32_t index, UnitInfo* info) {
  if (info == nullptr || index != 0) return kInvalidArgument;
  *info = UnitInfo{};
  info->id = kRootUnitId;
  info->parentUnitId = kNoParentUnitId;
  CopyToUtf16(info->name, 128, "Root");
  info->programListId = kProgramListId;
  return kResultOk;
}

int32_t Vst3Effect::getProgramListCount() { return 1; }

Tresult Vst3Effect::getProgramListInfo(int32_t index, ProgramListInfo* info) {
  if (info == nullptr || index != 0) return kInvalidArgument;
  *info = ProgramListInfo{};
  info->id = kProgramListId;
  CopyToUtf16(info->name, 128, "Programs");
  info->programCount = plug->ProgramCount();
  return kResultOk;
}

Tresult Vst3Effect::getProgramName(int32_t listId, int32_t index, char16_t* name) {
  if (name == nullptr || listId != kProgramListId || index < 0 || index >= plug->ProgramCount()) {
    return kInvalidArgument;
  }
  // As VST 2.x names a program by index: the current one by its current name
  // once it has one.
  LockGuard guard(&plug->Lock());
  const bool current = index == plug->CurrentProgram() && !plug->CurrentProgramName().empty();
  CopyToUtf16(name, 128, current ? plug->CurrentProgramName() : plug->ProgramAt(index).name);
  return kResultOk;
}

Tresult Vst3Effect::getProgramInfo(int32_t, int32_t, const char*, char16_t*) {
  return kNotImplemented;
}

Tresult Vst3Effect::hasProgramPitchNames(int32_t, int32_t) { return kResultFalse; }

Tresult Vst3Effect::getProgramPitchName(int32_t, int32_t, int16_t, char16_t*) {
  return kNotImplemented;
}

int32_t Vst3Effect::getSelectedUnit() { return kRootUnitId; }

Tresult Vst3Effect::selectUnit(int32_t unitId) {
  return unitId == kRootUnitId ? kResultOk : kInvalidArgument;
}

Tresult Vst3Effect::getUnitByBus(int32_t, int32_t, int32_t, int32_t, int32_t* unitId) {
  if (unitId == nullptr) return kInvalidArgument;
  *unitId = kRootUnitId;
  return kResultOk;
}

Tresult Vst3Effect::setUnitProgramData(int32_t, int32_t, IBStream*) { return kNotImplemented; }

}  // namespace vst3
