// The VST 3 binary interface as this adapter uses it: the calling
// convention, result codes, 16-byte ids and the plain structs that cross it,
// laid out as hosts lay them out on each target (natural alignment).
//
// Every interface is a COM-style object: a pointer to a table of functions
// that starts with queryInterface, addRef and release. The interfaces
// themselves are declared in vst3_interfaces.h.
#pragma once

#include <cstddef>
#include <cstdint>

// Every interface function: __stdcall on 32-bit Windows, where a host calls
// with it; the platform's own convention elsewhere.
#if defined(_WIN32) && !defined(_WIN64)
#define QV_VST3_CALL __stdcall
#else
#define QV_VST3_CALL
#endif

namespace vst3 {

using Tresult = int32_t;
using ParamId = uint32_t;
using ParamValue = double;
using SpeakerArrangement = uint64_t;
using String128 = char16_t[128];

// The results. Success and "false" are 0 and 1 everywhere; the failures are
// COM's HRESULTs on Windows and small numbers elsewhere.
constexpr Tresult kResultOk = 0;
constexpr Tresult kResultTrue = 0;
constexpr Tresult kResultFalse = 1;
#ifdef _WIN32
constexpr Tresult kNoInterface = static_cast<Tresult>(0x80004002u);
constexpr Tresult kInvalidArgument = static_cast<Tresult>(0x80070057u);
constexpr Tresult kNotImplemented = static_cast<Tresult>(0x80004001u);
constexpr Tresult kInternalError = static_cast<Tresult>(0x80004005u);
constexpr Tresult kNotInitialized = static_cast<Tresult>(0x8000FFFFu);
constexpr Tresult kOutOfMemory = static_cast<Tresult>(0x8007000Eu);
#else
constexpr Tresult kNoInterface = -1;
constexpr Tresult kInvalidArgument = 2;
constexpr Tresult kNotImplemented = 3;
constexpr Tresult kInternalError = 4;
constexpr Tresult kNotInitialized = 5;
constexpr Tresult kOutOfMemory = 6;
#endif

// A class or interface id: 16 bytes, written as four 32-bit groups. Windows
// stores the first three groups' halves little-endian, as COM's GUIDs are;
// other systems store all sixteen bytes in the order written.
struct Tuid {
  char bytes[16];
};

constexpr Tuid MakeTuid(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  Tuid id{};
  const uint32_t words[4] = {a, b, c, d};
  for (int i = 0; i < 16; ++i) id.bytes[i] = static_cast<char>(words[i / 4] >> (24 - 8 * (i % 4)));
#ifdef _WIN32
  // Windows keeps the first eight bytes as a GUID's fields: a 32-bit number
  // and two 16-bit ones, each little-endian.
  const int swaps[4][2] = {{0, 3}, {1, 2}, {4, 5}, {6, 7}};
  for (const auto& swap : swaps) {
    const char first = id.bytes[swap[0]];
    id.bytes[swap[0]] = id.bytes[swap[1]];
    id.bytes[swap[1]] = first;
  }
#endif
  return id;
}

// Whether 16 bytes from a host are this id; false for null.
bool SameTuid(const char* bytes, const Tuid& id);

// ---- Constants --------------------------------------------------------------------

enum MediaType : int32_t { kAudio = 0, kEvent = 1 };
enum BusDirection : int32_t { kInput = 0, kOutput = 1 };
enum BusType : int32_t { kMain = 0, kAux = 1 };
enum BusFlags : uint32_t { kDefaultActive = 1 };
enum SymbolicSampleSize : int32_t { kSample32 = 0, kSample64 = 1 };
enum ProcessMode : int32_t { kRealtime = 0, kPrefetch = 1, kOffline = 2 };
enum ParameterFlags : int32_t {
  kCanAutomate = 1 << 0,
  kIsReadOnly = 1 << 1,
  kIsList = 1 << 3,
  kIsProgramChange = 1 << 15,
};
enum SeekMode : int32_t { kSeekSet = 0, kSeekCur = 1, kSeekEnd = 2 };
enum FactoryFlags : int32_t {
  kClassesDiscardable = 1 << 0,
  kComponentNonDiscardable = 1 << 3,
  kUnicode = 1 << 4
};
enum RestartFlags : int32_t { kParamValuesChanged = 1 << 2 };
constexpr int32_t kManyInstances = 0x7FFFFFFF;
constexpr int32_t kRootUnitId = 0;
constexpr int32_t kNoParentUnitId = -1;
constexpr ParamId kNoParamId = 0xFFFFFFFF;
constexpr SpeakerArrangement kStereo = 0x3;  // left and right

// ---- Structs ----------------------------------------------------------------------

struct PFactoryInfo {
  char vendor[64];
  char url[256];
  char email[128];
  int32_t flags;
};

struct PClassInfo {
  Tuid cid;
  int32_t cardinality;
  char category[32];
  char name[64];
};

struct PClassInfo2 {
  Tuid cid;
  int32_t cardinality;
  char category[32];
  char name[64];
  uint32_t classFlags;
  char subCategories[128];
  char vendor[64];
  char version[64];
  char sdkVersion[64];
};

struct ViewRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

struct ProcessSetup {
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t maxSamplesPerBlock;
  double sampleRate;
};

struct AudioBusBuffers {
  int32_t numChannels;
  uint64_t silenceFlags;
  void** channelBuffers;  // float** or double**, as the sample size says
};

class IParameterChanges;

struct ProcessData {
  int32_t processMode;
  int32_t symbolicSampleSize;
  int32_t numSamples;
  int32_t numInputs;
  int32_t numOutputs;
  AudioBusBuffers* inputs;
  AudioBusBuffers* outputs;
  IParameterChanges* inputParameterChanges;
  IParameterChanges* outputParameterChanges;
  void* inputEvents;
  void* outputEvents;
  void* processContext;
};

struct ParameterInfo {
  ParamId id;
  String128 title;
  String128 shortTitle;
  String128 units;
  int32_t stepCount;
  ParamValue defaultNormalizedValue;
  int32_t unitId;
  int32_t flags;
};

struct BusInfo {
  int32_t mediaType;
  int32_t direction;
  int32_t channelCount;
  String128 name;
  int32_t busType;
  uint32_t flags;
};

struct RoutingInfo {
  int32_t mediaType;
  int32_t busIndex;
  int32_t channel;
};

struct UnitInfo {
  int32_t id;
  int32_t parentUnitId;
  String128 name;
  int32_t programListId;
};

struct ProgramListInfo {
  int32_t id;
  String128 name;
  int32_t programCount;
};

// The layouts hosts expect, on every target.
constexpr bool k32BitWindows = sizeof(void*) == 4;
static_assert(sizeof(PFactoryInfo) == 452, "PFactoryInfo");
static_assert(sizeof(PClassInfo) == 116, "PClassInfo");
static_assert(sizeof(PClassInfo2) == 440, "PClassInfo2");
static_assert(sizeof(ProcessSetup) == 24 && offsetof(ProcessSetup, sampleRate) == 16,
              "ProcessSetup");
static_assert(sizeof(AudioBusBuffers) == 24 && offsetof(AudioBusBuffers, channelBuffers) == 16,
              "AudioBusBuffers");
static_assert(sizeof(ProcessData) == (k32BitWindows ? 48 : 80), "ProcessData");
static_assert(offsetof(ProcessData, inputs) == 20 + (k32BitWindows ? 0 : 4), "ProcessData");
static_assert(offsetof(ProcessData, processContext) == (k32BitWindows ? 44 : 72), "ProcessData");
static_assert(sizeof(ParameterInfo) == 792 && offsetof(ParameterInfo, stepCount) == 772 &&
                  offsetof(ParameterInfo, defaultNormalizedValue) == 776,
              "ParameterInfo");
static_assert(sizeof(BusInfo) == 276 && offsetof(BusInfo, busType) == 268, "BusInfo");
static_assert(sizeof(UnitInfo) == 268, "UnitInfo");
static_assert(sizeof(ProgramListInfo) == 264, "ProgramListInfo");
static_assert(sizeof(char16_t) == 2, "String128");

}  // namespace vst3
