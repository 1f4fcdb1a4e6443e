// One plug-in presented to a VST 3 host as a single object: the component
// with its audio processor, and the edit controller with its unit and
// program list, all sharing the plug-in. Hosts that ask the component for
// the controller (as they must first) get the same object, so no connection
// between two halves is needed.
//
// It owns the plug-in; the last release deletes both. As the plug-in's
// PlugHost it turns editor changes into the component handler's edits.
//
// Threads: [UI] the host's user-interface thread: set-up, controller and
// view calls. [audio] process. setState may come while process runs on
// another thread. Everything that touches the plug-in takes its lock, as the
// VST 2.x adapter does; process holds it for the call.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "plug/plug_base.h"
#include "plug/plug_host.h"
#include "vst3/reference_count.h"
#include "vst3/vst3_interfaces.h"

namespace vst3 {

// The parameter that selects a program: not one of the plug-in's, so it has
// an id of its own after theirs.
constexpr ParamId kProgramParamId = 0x70726F67;  // 'prog'
// The program list of the root unit.
constexpr int32_t kProgramListId = 1;

class Vst3Effect final : public IComponent,
                         public IAudioProcessor,
                         public IProcessContextRequirements,
                         public IEditController,
                         public IUnitInfo,
                         public PlugHost {
 public:
  // Takes ownership of `plug` (not null); one reference, the caller's.
  explicit Vst3Effect(PlugBase* plug);
  Vst3Effect(const Vst3Effect&) = delete;
  Vst3Effect& operator=(const Vst3Effect&) = delete;

  PlugBase& Plug() { return *plug; }

  // ---- FUnknown -----------------------------------------------------------------
  Tresult QV_VST3_CALL queryInterface(const char* iid, void** object) override;
  uint32_t QV_VST3_CALL addRef() override;
  uint32_t QV_VST3_CALL release() override;

  // ---- IPluginBase (both halves) ----------------------------------------------------
  Tresult QV_VST3_CALL initialize(FUnknown* context) override;
  Tresult QV_VST3_CALL terminate() override;

  // ---- IComponent -------------------------------------------------------------------
  Tresult QV_VST3_CALL getControllerClassId(char* classId) override;
  Tresult QV_VST3_CALL setIoMode(int32_t mode) override;
  int32_t QV_VST3_CALL getBusCount(int32_t type, int32_t direction) override;
  Tresult QV_VST3_CALL getBusInfo(int32_t type, int32_t direction, int32_t index,
                                  BusInfo* bus) override;
  Tresult QV_VST3_CALL getRoutingInfo(RoutingInfo* in, RoutingInfo* out) override;
  Tresult QV_VST3_CALL activateBus(int32_t type, int32_t direction, int32_t index,
                                   uint8_t state) override;
  Tresult QV_VST3_CALL setActive(uint8_t state) override;
  // The state (vst3_state.cpp). The component's and the controller's are
  // one: these serve both interfaces, whose functions share their names.
  Tresult QV_VST3_CALL setState(IBStream* state) override;
  Tresult QV_VST3_CALL getState(IBStream* state) override;

  // ---- IAudioProcessor (vst3_process.cpp) --------------------------------------------
  Tresult QV_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32_t inputCount,
                                          SpeakerArrangement* outputs,
                                          int32_t outputCount) override;
  Tresult QV_VST3_CALL getBusArrangement(int32_t direction, int32_t index,
                                         SpeakerArrangement* arrangement) override;
  Tresult QV_VST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) override;
  uint32_t QV_VST3_CALL getLatencySamples() override;
  Tresult QV_VST3_CALL setupProcessing(ProcessSetup* setup) override;
  Tresult QV_VST3_CALL setProcessing(uint8_t state) override;
  Tresult QV_VST3_CALL process(ProcessData* data) override;
  uint32_t QV_VST3_CALL getTailSamples() override;
  // None of the process context is read: no flag.
  uint32_t QV_VST3_CALL getProcessContextRequirements() override;

  // ---- IEditController (vst3_controller.cpp) ------------------------------------------
  Tresult QV_VST3_CALL setComponentState(IBStream* state) override;
  int32_t QV_VST3_CALL getParameterCount() override;
  Tresult QV_VST3_CALL getParameterInfo(int32_t index, ParameterInfo* info) override;
  Tresult QV_VST3_CALL getParamStringByValue(ParamId id, ParamValue normalised,
                                             char16_t* text) override;
  Tresult QV_VST3_CALL getParamValueByString(ParamId id, char16_t* text,
                                             ParamValue* normalised) override;
  ParamValue QV_VST3_CALL normalizedParamToPlain(ParamId id, ParamValue normalised) override;
  ParamValue QV_VST3_CALL plainParamToNormalized(ParamId id, ParamValue plain) override;
  ParamValue QV_VST3_CALL getParamNormalized(ParamId id) override;
  Tresult QV_VST3_CALL setParamNormalized(ParamId id, ParamValue normalised) override;
  Tresult QV_VST3_CALL setComponentHandler(IComponentHandler* handler) override;
  IPlugView* QV_VST3_CALL createView(const char* name) override;

  // ---- IUnitInfo (vst3_programs.cpp) ---------------------------------------------------
  int32_t QV_VST3_CALL getUnitCount() override;
  Tresult QV_VST3_CALL getUnitInfo(int32_t index, UnitInfo* info) override;
  int32_t QV_VST3_CALL getProgramListCount() override;
  Tresult QV_VST3_CALL getProgramListInfo(int32_t index, ProgramListInfo* info) override;
  Tresult QV_VST3_CALL getProgramName(int32_t listId, int32_t index, char16_t* name) override;
  Tresult QV_VST3_CALL getProgramInfo(int32_t listId, int32_t index, const char* attribute,
                                      char16_t* value) override;
  Tresult QV_VST3_CALL hasProgramPitchNames(int32_t listId, int32_t index) override;
  Tresult QV_VST3_CALL getProgramPitchName(int32_t listId, int32_t index, int16_t pitch,
                                           char16_t* name) override;
  int32_t QV_VST3_CALL getSelectedUnit() override;
  Tresult QV_VST3_CALL selectUnit(int32_t unitId) override;
  Tresult QV_VST3_CALL getUnitByBus(int32_t type, int32_t direction, int32_t busIndex,
                                    int32_t channel, int32_t* unitId) override;
  Tresult QV_VST3_CALL setUnitProgramData(int32_t listOrUnitId, int32_t index,
                                          IBStream* data) override;

  // ---- PlugHost ------------------------------------------------------------------------
  // [UI thread, lock not held] The editor's gestures and edits, as the
  // component handler's begin, perform and end.
  void AutomateParam(int index, float normalised) override;
  void BeginEdit(int index) override;
  void EndEdit(int index) override;
  bool CalledUnderLock() const override { return false; }
  void SendMidi(const MidiMessage&) override {}

  // [UI thread] After a program change, outside the host's call that made
  // it: asks the host to read every parameter again (restartComponent with
  // kParamValuesChanged). Made inside the host's own setParamNormalized, the
  // request can deadlock a host (Ardour) that loads a preset under a lock
  // its handler takes. Nothing when no program changed since.
  void TellHostOfNewValues();

  // The normalised value of the program-change parameter for a program.
  ParamValue ProgramToNormalized(int32_t program) const;
  int32_t NormalizedToProgram(ParamValue normalised) const;

 private:
  friend class ReferenceCount<Vst3Effect>;
  ~Vst3Effect();

  // [any thread] The component handler with a reference for the caller, or
  // null without one.
  IComponentHandler* TakeHandler();
  // [audio, lock held] Sets the parameter or program that `id` names from a
  // normalised value limited to 0..1; unknown ids and NaN change nothing.
  void ApplyParameter(ParamId id, ParamValue normalised);
  // [audio, lock held] Processes frames first .. first + count of the block.
  void ProcessRange(const ProcessData& data, int32_t first, int32_t count);
  // [audio, lock held] Every parameter's value, at the block's start, in the
  // host's output changes.
  void SendValues(IParameterChanges* out);

  ReferenceCount<Vst3Effect> references;
  std::unique_ptr<PlugBase> plug;
  std::vector<ParamValue> defaults;      // each parameter's normalised value when made
  IComponentHandler* handler = nullptr;  // the host's, with a reference of ours
  bool active = false;
  bool valuesToSend = false;                // [lock] a program changed the values
  std::atomic<bool> restartPending{false};  // a program changed the values
};

}  // namespace vst3
