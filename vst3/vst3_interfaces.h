// The VST 3 interfaces this adapter offers or calls, each an abstract class
// whose virtual functions are the interface's table in its order: the C++
// compilers of every target lay a class without a virtual destructor out as
// COM does, one table pointer per interface a class derives from. An object
// is never deleted through an interface (release does that), so the
// destructors are protected and not virtual.
#pragma once

#include <cstdint>

#include "vst3/vst3_abi.h"

namespace vst3 {

class FUnknown {
 public:
  virtual Tresult QV_VST3_CALL queryInterface(const char* iid, void** object) = 0;
  virtual uint32_t QV_VST3_CALL addRef() = 0;
  virtual uint32_t QV_VST3_CALL release() = 0;

 protected:
  ~FUnknown() = default;
};
constexpr Tuid kFUnknownIid = MakeTuid(0x00000000, 0x00000000, 0xC0000000, 0x00000046);

// ---- The module's factory ------------------------------------------------------------

class IPluginFactory : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
  virtual int32_t QV_VST3_CALL countClasses() = 0;
  virtual Tresult QV_VST3_CALL getClassInfo(int32_t index, PClassInfo* info) = 0;
  virtual Tresult QV_VST3_CALL createInstance(const char* cid, const char* iid, void** object) = 0;

 protected:
  ~IPluginFactory() = default;
};
constexpr Tuid kIPluginFactoryIid = MakeTuid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

class IPluginFactory2 : public IPluginFactory {
 public:
  virtual Tresult QV_VST3_CALL getClassInfo2(int32_t index, PClassInfo2* info) = 0;

 protected:
  ~IPluginFactory2() = default;
};
constexpr Tuid kIPluginFactory2Iid = MakeTuid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

// ---- The plug-in's objects -------------------------------------------------------------

class IBStream;
class IComponentHandler;
class IPlugView;

class IPluginBase : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL initialize(FUnknown* context) = 0;
  virtual Tresult QV_VST3_CALL terminate() = 0;

 protected:
  ~IPluginBase() = default;
};
constexpr Tuid kIPluginBaseIid = MakeTuid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

class IComponent : public IPluginBase {
 public:
  virtual Tresult QV_VST3_CALL getControllerClassId(char* classId) = 0;
  virtual Tresult QV_VST3_CALL setIoMode(int32_t mode) = 0;
  virtual int32_t QV_VST3_CALL getBusCount(int32_t type, int32_t direction) = 0;
  virtual Tresult QV_VST3_CALL getBusInfo(int32_t type, int32_t direction, int32_t index,
                                          BusInfo* bus) = 0;
  virtual Tresult QV_VST3_CALL getRoutingInfo(RoutingInfo* in, RoutingInfo* out) = 0;
  virtual Tresult QV_VST3_CALL activateBus(int32_t type, int32_t direction, int32_t index,
                                           uint8_t state) = 0;
  virtual Tresult QV_VST3_CALL setActive(uint8_t state) = 0;
  virtual Tresult QV_VST3_CALL setState(IBStream* state) = 0;
  virtual Tresult QV_VST3_CALL getState(IBStream* state) = 0;

 protected:
  ~IComponent() = default;
};
constexpr Tuid kIComponentIid = MakeTuid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
// Hosts store ids in COM's order on Windows and as written elsewhere.
#ifdef _WIN32
static_assert(kIComponentIid.bytes[0] == '\x31' && kIComponentIid.bytes[4] == '\xD5' &&
                  kIComponentIid.bytes[6] == '\x01' && kIComponentIid.bytes[8] == '\x92',
              "COM byte order");
#else
static_assert(kIComponentIid.bytes[0] == '\xE8' && kIComponentIid.bytes[4] == '\xF2' &&
                  kIComponentIid.bytes[8] == '\x92',
              "byte order as written");
#endif

class IAudioProcessor : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32_t inputCount,
                                                  SpeakerArrangement* outputs,
                                                  int32_t outputCount) = 0;
  virtual Tresult QV_VST3_CALL getBusArrangement(int32_t direction, int32_t index,
                                                 SpeakerArrangement* arrangement) = 0;
  virtual Tresult QV_VST3_CALL canProcessSampleSize(int32_t symbolicSampleSize) = 0;
  virtual uint32_t QV_VST3_CALL getLatencySamples() = 0;
  virtual Tresult QV_VST3_CALL setupProcessing(ProcessSetup* setup) = 0;
  virtual Tresult QV_VST3_CALL setProcessing(uint8_t state) = 0;
  virtual Tresult QV_VST3_CALL process(ProcessData* data) = 0;
  virtual uint32_t QV_VST3_CALL getTailSamples() = 0;

 protected:
  ~IAudioProcessor() = default;
};
constexpr Tuid kIAudioProcessorIid = MakeTuid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

// What of the process context (tempo, position, transport) the processor
// reads, as flags; the host asks once before activation.
class IProcessContextRequirements : public FUnknown {
 public:
  virtual uint32_t QV_VST3_CALL getProcessContextRequirements() = 0;

 protected:
  ~IProcessContextRequirements() = default;
};
constexpr Tuid kIProcessContextRequirementsIid =
    MakeTuid(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);

class IEditController : public IPluginBase {
 public:
  virtual Tresult QV_VST3_CALL setComponentState(IBStream* state) = 0;
  virtual Tresult QV_VST3_CALL setState(IBStream* state) = 0;
  virtual Tresult QV_VST3_CALL getState(IBStream* state) = 0;
  virtual int32_t QV_VST3_CALL getParameterCount() = 0;
  virtual Tresult QV_VST3_CALL getParameterInfo(int32_t index, ParameterInfo* info) = 0;
  virtual Tresult QV_VST3_CALL getParamStringByValue(ParamId id, ParamValue normalised,
                                                     char16_t* text) = 0;
  virtual Tresult QV_VST3_CALL getParamValueByString(ParamId id, char16_t* text,
                                                     ParamValue* normalised) = 0;
  virtual ParamValue QV_VST3_CALL normalizedParamToPlain(ParamId id, ParamValue normalised) = 0;
  virtual ParamValue QV_VST3_CALL plainParamToNormalized(ParamId id, ParamValue plain) = 0;
  virtual ParamValue QV_VST3_CALL getParamNormalized(ParamId id) = 0;
  virtual Tresult QV_VST3_CALL setParamNormalized(ParamId id, ParamValue normalised) = 0;
  virtual Tresult QV_VST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
  virtual IPlugView* QV_VST3_CALL createView(const char* name) = 0;

 protected:
  ~IEditController() = default;
};
constexpr Tuid kIEditControllerIid = MakeTuid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

class IUnitInfo : public FUnknown {
 public:
  virtual int32_t QV_VST3_CALL getUnitCount() = 0;
  virtual Tresult QV_VST3_CALL getUnitInfo(int32_t index, UnitInfo* info) = 0;
  virtual int32_t QV_VST3_CALL getProgramListCount() = 0;
  virtual Tresult QV_VST3_CALL getProgramListInfo(int32_t index, ProgramListInfo* info) = 0;
  virtual Tresult QV_VST3_CALL getProgramName(int32_t listId, int32_t index, char16_t* name) = 0;
  virtual Tresult QV_VST3_CALL getProgramInfo(int32_t listId, int32_t index, const char* attribute,
                                              char16_t* value) = 0;
  virtual Tresult QV_VST3_CALL hasProgramPitchNames(int32_t listId, int32_t index) = 0;
  virtual Tresult QV_VST3_CALL getProgramPitchName(int32_t listId, int32_t index, int16_t pitch,
                                                   char16_t* name) = 0;
  virtual int32_t QV_VST3_CALL getSelectedUnit() = 0;
  virtual Tresult QV_VST3_CALL selectUnit(int32_t unitId) = 0;
  virtual Tresult QV_VST3_CALL getUnitByBus(int32_t type, int32_t direction, int32_t busIndex,
                                            int32_t channel, int32_t* unitId) = 0;
  virtual Tresult QV_VST3_CALL setUnitProgramData(int32_t listOrUnitId, int32_t index,
                                                  IBStream* data) = 0;

 protected:
  ~IUnitInfo() = default;
};
constexpr Tuid kIUnitInfoIid = MakeTuid(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);

// ---- What the host offers -----------------------------------------------------------------

class IBStream : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL read(void* buffer, int32_t bytes, int32_t* bytesRead) = 0;
  virtual Tresult QV_VST3_CALL write(void* buffer, int32_t bytes, int32_t* bytesWritten) = 0;
  virtual Tresult QV_VST3_CALL seek(int64_t position, int32_t mode, int64_t* result) = 0;
  virtual Tresult QV_VST3_CALL tell(int64_t* position) = 0;

 protected:
  ~IBStream() = default;
};
constexpr Tuid kIBStreamIid = MakeTuid(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);

class IComponentHandler : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL beginEdit(ParamId id) = 0;
  virtual Tresult QV_VST3_CALL performEdit(ParamId id, ParamValue normalised) = 0;
  virtual Tresult QV_VST3_CALL endEdit(ParamId id) = 0;
  virtual Tresult QV_VST3_CALL restartComponent(int32_t flags) = 0;

 protected:
  ~IComponentHandler() = default;
};
constexpr Tuid kIComponentHandlerIid = MakeTuid(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);

class IParamValueQueue : public FUnknown {
 public:
  virtual ParamId QV_VST3_CALL getParameterId() = 0;
  virtual int32_t QV_VST3_CALL getPointCount() = 0;
  virtual Tresult QV_VST3_CALL getPoint(int32_t index, int32_t* sampleOffset,
                                        ParamValue* value) = 0;
  virtual Tresult QV_VST3_CALL addPoint(int32_t sampleOffset, ParamValue value, int32_t* index) = 0;

 protected:
  ~IParamValueQueue() = default;
};
constexpr Tuid kIParamValueQueueIid = MakeTuid(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);

class IParameterChanges : public FUnknown {
 public:
  virtual int32_t QV_VST3_CALL getParameterCount() = 0;
  virtual IParamValueQueue* QV_VST3_CALL getParameterData(int32_t index) = 0;
  virtual IParamValueQueue* QV_VST3_CALL addParameterData(const ParamId* id, int32_t* index) = 0;

 protected:
  ~IParameterChanges() = default;
};
constexpr Tuid kIParameterChangesIid = MakeTuid(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);

// ---- The editor's view ----------------------------------------------------------------------

class IPlugFrame;

class IPlugView : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL isPlatformTypeSupported(const char* type) = 0;
  virtual Tresult QV_VST3_CALL attached(void* parent, const char* type) = 0;
  virtual Tresult QV_VST3_CALL removed() = 0;
  virtual Tresult QV_VST3_CALL onWheel(float distance) = 0;
  virtual Tresult QV_VST3_CALL onKeyDown(char16_t key, int16_t keyCode, int16_t modifiers) = 0;
  virtual Tresult QV_VST3_CALL onKeyUp(char16_t key, int16_t keyCode, int16_t modifiers) = 0;
  virtual Tresult QV_VST3_CALL getSize(ViewRect* size) = 0;
  virtual Tresult QV_VST3_CALL onSize(ViewRect* newSize) = 0;
  virtual Tresult QV_VST3_CALL onFocus(uint8_t state) = 0;
  virtual Tresult QV_VST3_CALL setFrame(IPlugFrame* frame) = 0;
  virtual Tresult QV_VST3_CALL canResize() = 0;
  virtual Tresult QV_VST3_CALL checkSizeConstraint(ViewRect* rect) = 0;

 protected:
  ~IPlugView() = default;
};
constexpr Tuid kIPlugViewIid = MakeTuid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

class IPlugFrame : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;

 protected:
  ~IPlugFrame() = default;
};
constexpr Tuid kIPlugFrameIid = MakeTuid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

// Linux only: the host's loop, which watches file descriptors and runs timers
// on its user-interface thread for the views.
class IEventHandler : public FUnknown {
 public:
  virtual void QV_VST3_CALL onFDIsSet(int fd) = 0;

 protected:
  ~IEventHandler() = default;
};
constexpr Tuid kIEventHandlerIid = MakeTuid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

class ITimerHandler : public FUnknown {
 public:
  virtual void QV_VST3_CALL onTimer() = 0;

 protected:
  ~ITimerHandler() = default;
};
constexpr Tuid kITimerHandlerIid = MakeTuid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

class IRunLoop : public FUnknown {
 public:
  virtual Tresult QV_VST3_CALL registerEventHandler(IEventHandler* handler, int fd) = 0;
  virtual Tresult QV_VST3_CALL unregisterEventHandler(IEventHandler* handler) = 0;
  virtual Tresult QV_VST3_CALL registerTimer(ITimerHandler* handler, uint64_t milliseconds) = 0;
  virtual Tresult QV_VST3_CALL unregisterTimer(ITimerHandler* handler) = 0;

 protected:
  ~IRunLoop() = default;
};
constexpr Tuid kIRunLoopIid = MakeTuid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

}  // namespace vst3
