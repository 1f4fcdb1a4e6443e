// The parts of the CLAP binary interface this project uses, declared in its
// own words from the format's published facts: plain C structures of
// function pointers, in the C calling convention (cdecl on 32-bit Windows),
// laid out as a C compiler lays them out on each target. The static
// assertions at the end pin the layouts that differ between targets.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define QV_CLAP_CALL __cdecl
#else
#define QV_CLAP_CALL
#endif

namespace clap {

using Id = uint32_t;
constexpr Id kInvalidId = UINT32_MAX;

constexpr int kNameSize = 256;
constexpr int kPathSize = 1024;

struct Version {
  uint32_t major;
  uint32_t minor;
  uint32_t revision;
};
// The version this project was written against; a host or plug-in of any
// 1.x version is compatible.
constexpr Version kVersion{1, 2, 10};

// ---- Host ---------------------------------------------------------------------

struct Host {
  Version version;
  void* hostData;
  const char* name;
  const char* vendor;
  const char* url;
  const char* versionText;
  const void*(QV_CLAP_CALL* getExtension)(const Host* host, const char* id);
  void(QV_CLAP_CALL* requestRestart)(const Host* host);
  void(QV_CLAP_CALL* requestProcess)(const Host* host);
  void(QV_CLAP_CALL* requestCallback)(const Host* host);
};

// ---- Events -------------------------------------------------------------------

struct EventHeader {
  uint32_t size;     // the whole event's, header included
  uint32_t time;     // the frame within the block
  uint16_t spaceId;  // kCoreEventSpace for the events below
  uint16_t type;
  uint32_t flags;
};

constexpr uint16_t kCoreEventSpace = 0;
constexpr uint16_t kEventParamValue = 5;
constexpr uint16_t kEventParamGestureBegin = 7;
constexpr uint16_t kEventParamGestureEnd = 8;
constexpr uint32_t kEventIsLive = 1u << 0;

struct ParamValueEvent {
  EventHeader header;
  Id paramId;
  void* cookie;
  int32_t noteId;  // -1 for every note, as the key, port and channel below
  int16_t portIndex;
  int16_t channel;
  int16_t key;
  double value;  // plain, in the parameter's own units
};

struct ParamGestureEvent {
  EventHeader header;
  Id paramId;
};

struct InputEvents {
  void* context;
  uint32_t(QV_CLAP_CALL* size)(const InputEvents* list);
  const EventHeader*(QV_CLAP_CALL* get)(const InputEvents* list, uint32_t index);
};

struct OutputEvents {
  void* context;
  bool(QV_CLAP_CALL* tryPush)(const OutputEvents* list, const EventHeader* event);
};

// ---- Processing ---------------------------------------------------------------

struct AudioBuffer {
  float** data32;
  double** data64;
  uint32_t channelCount;
  uint32_t latency;
  uint64_t constantMask;
};

struct Process {
  int64_t steadyTime;
  uint32_t framesCount;
  const void* transport;  // may be null; not read here
  const AudioBuffer* audioInputs;
  AudioBuffer* audioOutputs;
  uint32_t audioInputsCount;
  uint32_t audioOutputsCount;
  const InputEvents* inEvents;
  const OutputEvents* outEvents;
};

enum ProcessStatus : int32_t {
  kProcessError = 0,  // the output is discarded
  kProcessContinue = 1,
  kProcessContinueIfNotQuiet = 2,
  kProcessTail = 3,
  kProcessSleep = 4,
};

// ---- Plug-in and factory --------------------------------------------------------

struct PluginDescriptor {
  Version version;
  const char* id;
  const char* name;
  const char* vendor;
  const char* url;
  const char* manualUrl;
  const char* supportUrl;
  const char* versionText;
  const char* description;
  const char* const* features;  // null-terminated
};

struct Plugin {
  const PluginDescriptor* descriptor;
  void* pluginData;
  bool(QV_CLAP_CALL* init)(const Plugin* plugin);
  void(QV_CLAP_CALL* destroy)(const Plugin* plugin);
  bool(QV_CLAP_CALL* activate)(const Plugin* plugin, double rate, uint32_t minFrames,
                               uint32_t maxFrames);
  void(QV_CLAP_CALL* deactivate)(const Plugin* plugin);
  bool(QV_CLAP_CALL* startProcessing)(const Plugin* plugin);
  void(QV_CLAP_CALL* stopProcessing)(const Plugin* plugin);
  void(QV_CLAP_CALL* reset)(const Plugin* plugin);
  int32_t(QV_CLAP_CALL* process)(const Plugin* plugin, const Process* process);
  const void*(QV_CLAP_CALL* getExtension)(const Plugin* plugin, const char* id);
  void(QV_CLAP_CALL* onMainThread)(const Plugin* plugin);
};

constexpr char kPluginFactoryId[] = "clap.plugin-factory";

struct PluginFactory {
  uint32_t(QV_CLAP_CALL* getPluginCount)(const PluginFactory* factory);
  const PluginDescriptor*(QV_CLAP_CALL* getPluginDescriptor)(const PluginFactory* factory,
                                                             uint32_t index);
  const Plugin*(QV_CLAP_CALL* createPlugin)(const PluginFactory* factory, const Host* host,
                                            const char* pluginId);
};

// The module's exported data symbol, `clap_entry`.
struct PluginEntry {
  Version version;
  bool(QV_CLAP_CALL* init)(const char* path);
  void(QV_CLAP_CALL* deinit)();
  const void*(QV_CLAP_CALL* getFactory)(const char* factoryId);
};

// ---- Audio ports ----------------------------------------------------------------

constexpr char kExtAudioPorts[] = "clap.audio-ports";
constexpr char kPortStereo[] = "stereo";
constexpr uint32_t kPortIsMain = 1u << 0;
constexpr uint32_t kPortSupports64Bits = 1u << 1;
constexpr uint32_t kPortRequiresCommonSampleSize = 1u << 3;

struct AudioPortInfo {
  Id id;
  char name[kNameSize];
  uint32_t flags;
  uint32_t channelCount;
  const char* portType;
  Id inPlacePair;
};

struct PluginAudioPorts {
  uint32_t(QV_CLAP_CALL* count)(const Plugin* plugin, bool isInput);
  bool(QV_CLAP_CALL* get)(const Plugin* plugin, uint32_t index, bool isInput, AudioPortInfo* info);
};

// ---- Parameters -----------------------------------------------------------------

constexpr char kExtParams[] = "clap.params";
constexpr uint32_t kParamIsStepped = 1u << 0;
constexpr uint32_t kParamIsAutomatable = 1u << 5;
constexpr uint32_t kParamIsEnum = 1u << 16;
constexpr uint32_t kParamRescanValues = 1u << 0;

struct ParamInfo {
  Id id;
  uint32_t flags;
  void* cookie;
  char name[kNameSize];
  char module[kPathSize];
  double minValue;
  double maxValue;
  double defaultValue;
};

struct PluginParams {
  uint32_t(QV_CLAP_CALL* count)(const Plugin* plugin);
  bool(QV_CLAP_CALL* getInfo)(const Plugin* plugin, uint32_t index, ParamInfo* info);
  bool(QV_CLAP_CALL* getValue)(const Plugin* plugin, Id id, double* value);
  bool(QV_CLAP_CALL* valueToText)(const Plugin* plugin, Id id, double value, char* text,
                                  uint32_t capacity);
  bool(QV_CLAP_CALL* textToValue)(const Plugin* plugin, Id id, const char* text, double* value);
  void(QV_CLAP_CALL* flush)(const Plugin* plugin, const InputEvents* in, const OutputEvents* out);
};

struct HostParams {
  void(QV_CLAP_CALL* rescan)(const Host* host, uint32_t flags);        // [main thread]
  void(QV_CLAP_CALL* clear)(const Host* host, Id id, uint32_t flags);  // [main thread]
  void(QV_CLAP_CALL* requestFlush)(const Host* host);                  // [any thread but audio]
};

// ---- State ----------------------------------------------------------------------

constexpr char kExtState[] = "clap.state";

// Both move at most `size` bytes: the count moved, 0 at the end, -1 on error.
struct InStream {
  void* context;
  int64_t(QV_CLAP_CALL* read)(const InStream* stream, void* buffer, uint64_t size);
};

struct OutStream {
  void* context;
  int64_t(QV_CLAP_CALL* write)(const OutStream* stream, const void* buffer, uint64_t size);
};

struct PluginState {
  bool(QV_CLAP_CALL* save)(const Plugin* plugin, const OutStream* stream);
  bool(QV_CLAP_CALL* load)(const Plugin* plugin, const InStream* stream);
};

struct HostState {
  void(QV_CLAP_CALL* markDirty)(const Host* host);  // [main thread]
};

// ---- Latency, tail ----------------------------------------------------------------

constexpr char kExtLatency[] = "clap.latency";
constexpr char kExtTail[] = "clap.tail";

struct PluginFrames {  // the latency and the tail extensions alike
  uint32_t(QV_CLAP_CALL* get)(const Plugin* plugin);
};

// ---- Threads ------------------------------------------------------------------------

constexpr char kExtThreadCheck[] = "clap.thread-check";

struct HostThreadCheck {
  bool(QV_CLAP_CALL* isMainThread)(const Host* host);
  bool(QV_CLAP_CALL* isAudioThread)(const Host* host);
};

// ---- GUI ----------------------------------------------------------------------------

constexpr char kExtGui[] = "clap.gui";
constexpr char kWindowApiX11[] = "x11";
constexpr char kWindowApiWin32[] = "win32";

struct Window {
  const char* api;
  union {
    unsigned long x11;  // an X window id: 4 bytes on Win64, 8 on Linux
    void* win32;        // an HWND
    void* pointer;
  };
};

struct GuiResizeHints {
  bool canResizeHorizontally;
  bool canResizeVertically;
  bool preserveAspectRatio;
  uint32_t aspectRatioWidth;
  uint32_t aspectRatioHeight;
};

struct PluginGui {
  bool(QV_CLAP_CALL* isApiSupported)(const Plugin* plugin, const char* api, bool isFloating);
  bool(QV_CLAP_CALL* getPreferredApi)(const Plugin* plugin, const char** api, bool* isFloating);
  bool(QV_CLAP_CALL* create)(const Plugin* plugin, const char* api, bool isFloating);
  void(QV_CLAP_CALL* destroy)(const Plugin* plugin);
  bool(QV_CLAP_CALL* setScale)(const Plugin* plugin, double scale);
  bool(QV_CLAP_CALL* getSize)(const Plugin* plugin, uint32_t* width, uint32_t* height);
  bool(QV_CLAP_CALL* canResize)(const Plugin* plugin);
  bool(QV_CLAP_CALL* getResizeHints)(const Plugin* plugin, GuiResizeHints* hints);
  bool(QV_CLAP_CALL* adjustSize)(const Plugin* plugin, uint32_t* width, uint32_t* height);
  bool(QV_CLAP_CALL* setSize)(const Plugin* plugin, uint32_t width, uint32_t height);
  bool(QV_CLAP_CALL* setParent)(const Plugin* plugin, const Window* window);
  bool(QV_CLAP_CALL* setTransient)(const Plugin* plugin, const Window* window);
  void(QV_CLAP_CALL* suggestTitle)(const Plugin* plugin, const char* title);
  bool(QV_CLAP_CALL* show)(const Plugin* plugin);
  bool(QV_CLAP_CALL* hide)(const Plugin* plugin);
};

constexpr char kExtPosixFdSupport[] = "clap.posix-fd-support";
constexpr uint32_t kFdRead = 1u << 0;
constexpr uint32_t kFdWrite = 1u << 1;
constexpr uint32_t kFdError = 1u << 2;

struct PluginPosixFdSupport {
  void(QV_CLAP_CALL* onFd)(const Plugin* plugin, int fd, uint32_t flags);
};

// Every function is the main thread's.
struct HostPosixFdSupport {
  bool(QV_CLAP_CALL* registerFd)(const Host* host, int fd, uint32_t flags);
  bool(QV_CLAP_CALL* modifyFd)(const Host* host, int fd, uint32_t flags);
  bool(QV_CLAP_CALL* unregisterFd)(const Host* host, int fd);
};

constexpr char kExtTimerSupport[] = "clap.timer-support";

struct PluginTimerSupport {
  void(QV_CLAP_CALL* onTimer)(const Plugin* plugin, Id timerId);
};

// Every function is the main thread's.
struct HostTimerSupport {
  bool(QV_CLAP_CALL* registerTimer)(const Host* host, uint32_t periodMs, Id* timerId);
  bool(QV_CLAP_CALL* unregisterTimer)(const Host* host, Id timerId);
};

// ---- Presets ------------------------------------------------------------------------

// A preset kept inside the plug-in itself: its location is null and its
// load key names it.
constexpr uint32_t kPresetLocationFile = 0;
constexpr uint32_t kPresetLocationPlugin = 1;
constexpr uint32_t kPresetIsFactoryContent = 1u << 0;

constexpr char kExtPresetLoad[] = "clap.preset-load/2";
constexpr char kExtPresetLoadCompat[] = "clap.preset-load.draft/2";

struct PluginPresetLoad {
  bool(QV_CLAP_CALL* fromLocation)(const Plugin* plugin, uint32_t locationKind,
                                   const char* location, const char* loadKey);
};

struct HostPresetLoad {
  void(QV_CLAP_CALL* onError)(const Host* host, uint32_t locationKind, const char* location,
                              const char* loadKey, int32_t osError, const char* message);
  void(QV_CLAP_CALL* loaded)(const Host* host, uint32_t locationKind, const char* location,
                             const char* loadKey);
};

constexpr char kPresetDiscoveryFactoryId[] = "clap.preset-discovery-factory/2";
constexpr char kPresetDiscoveryFactoryIdCompat[] = "clap.preset-discovery-factory/draft-2";

struct UniversalPluginId {
  const char* abi;  // "clap"
  const char* id;
};

struct PresetMetadataReceiver {
  void* receiverData;
  void(QV_CLAP_CALL* onError)(const PresetMetadataReceiver* receiver, int32_t osError,
                              const char* message);
  bool(QV_CLAP_CALL* beginPreset)(const PresetMetadataReceiver* receiver, const char* name,
                                  const char* loadKey);
  void(QV_CLAP_CALL* addPluginId)(const PresetMetadataReceiver* receiver,
                                  const UniversalPluginId* pluginId);
  void(QV_CLAP_CALL* setSoundpackId)(const PresetMetadataReceiver* receiver, const char* id);
  void(QV_CLAP_CALL* setFlags)(const PresetMetadataReceiver* receiver, uint32_t flags);
  void(QV_CLAP_CALL* addCreator)(const PresetMetadataReceiver* receiver, const char* creator);
  void(QV_CLAP_CALL* setDescription)(const PresetMetadataReceiver* receiver,
                                     const char* description);
  void(QV_CLAP_CALL* setTimestamps)(const PresetMetadataReceiver* receiver, uint64_t created,
                                    uint64_t modified);
  void(QV_CLAP_CALL* addFeature)(const PresetMetadataReceiver* receiver, const char* feature);
  void(QV_CLAP_CALL* addExtraInfo)(const PresetMetadataReceiver* receiver, const char* key,
                                   const char* value);
};

struct PresetFiletype {
  const char* name;
  const char* description;
  const char* fileExtension;
};

struct PresetLocation {
  uint32_t flags;
  const char* name;
  uint32_t kind;
  const char* location;  // null for kPresetLocationPlugin
};

struct PresetProviderDescriptor {
  Version version;
  const char* id;
  const char* name;
  const char* vendor;
};

struct PresetProvider {
  const PresetProviderDescriptor* descriptor;
  void* providerData;
  bool(QV_CLAP_CALL* init)(const PresetProvider* provider);
  void(QV_CLAP_CALL* destroy)(const PresetProvider* provider);
  bool(QV_CLAP_CALL* getMetadata)(const PresetProvider* provider, uint32_t locationKind,
                                  const char* location, const PresetMetadataReceiver* receiver);
  const void*(QV_CLAP_CALL* getExtension)(const PresetProvider* provider, const char* id);
};

struct PresetIndexer {
  Version version;
  const char* name;
  const char* vendor;
  const char* url;
  const char* versionText;
  void* indexerData;
  bool(QV_CLAP_CALL* declareFiletype)(const PresetIndexer* indexer, const PresetFiletype* type);
  bool(QV_CLAP_CALL* declareLocation)(const PresetIndexer* indexer, const PresetLocation* location);
  bool(QV_CLAP_CALL* declareSoundpack)(const PresetIndexer* indexer, const void* soundpack);
  const void*(QV_CLAP_CALL* getExtension)(const PresetIndexer* indexer, const char* id);
};

struct PresetDiscoveryFactory {
  uint32_t(QV_CLAP_CALL* count)(const PresetDiscoveryFactory* factory);
  const PresetProviderDescriptor*(QV_CLAP_CALL* getDescriptor)(
      const PresetDiscoveryFactory* factory, uint32_t index);
  const PresetProvider*(QV_CLAP_CALL* create)(const PresetDiscoveryFactory* factory,
                                              const PresetIndexer* indexer, const char* providerId);
};

// ---- Layouts that hosts on every target must agree on ------------------------------

static_assert(sizeof(EventHeader) == 16, "event header");
static_assert(offsetof(ParamValueEvent, paramId) == 16, "parameter value event");
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(ParamValueEvent) == 48 && offsetof(ParamValueEvent, cookie) == 20 &&
                  offsetof(ParamValueEvent, value) == 40,
              "parameter value event on 32-bit Windows");
#else
static_assert(sizeof(ParamValueEvent) == 56 && offsetof(ParamValueEvent, cookie) == 24 &&
                  offsetof(ParamValueEvent, value) == 48,
              "parameter value event on 64-bit targets");
#endif
static_assert(sizeof(ParamInfo) == 1320 && offsetof(ParamInfo, minValue) == 1296 &&
                  offsetof(ParamInfo, maxValue) == 1304 &&
                  offsetof(ParamInfo, defaultValue) == 1312,
              "parameter info");

}  // namespace clap
