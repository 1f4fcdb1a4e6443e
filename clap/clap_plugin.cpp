#include "clap/clap_plugin.h"

#include <cstring>

#include "clap/host_loop_bridge.h"

namespace clap {

namespace {

// The record's functions: each finds the instance and does nothing for a
// record that has none.
bool QV_CLAP_CALL RecordInit(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->Init();
}

void QV_CLAP_CALL RecordDestroy(const Plugin* plugin) { delete ClapPlugin::From(plugin); }

bool QV_CLAP_CALL RecordActivate(const Plugin* plugin, double rate, uint32_t minFrames,
                                 uint32_t maxFrames) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->Activate(rate, minFrames, maxFrames);
}

void QV_CLAP_CALL RecordDeactivate(const Plugin* plugin) {
  if (ClapPlugin* self = ClapPlugin::From(plugin)) self->Deactivate();
}

bool QV_CLAP_CALL RecordStartProcessing(const Plugin* plugin) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->StartProcessing();
}

void QV_CLAP_CALL RecordStopProcessing(const Plugin* plugin) {
  if (ClapPlugin* self = ClapPlugin::From(plugin)) self->StopProcessing();
}

void QV_CLAP_CALL RecordReset(const Plugin* plugin) {
  if (ClapPlugin* self = ClapPlugin::From(plugin)) self->Reset();
}

int32_t QV_CLAP_CALL RecordProcess(const Plugin* plugin, const Process* process) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self ? self->ProcessBlock(process) : kProcessError;
}

const void* QV_CLAP_CALL RecordExtension(const Plugin* plugin, const char* id) {
  const ClapPlugin* self = ClapPlugin::From(plugin);
  return self ? self->Extension(id) : nullptr;
}

void QV_CLAP_CALL RecordOnMainThread(const Plugin*) {}

}  // namespace

ClapPlugin::ClapPlugin(const Host* host, PlugBase* plug, const PluginDescriptor* descriptor)
    : record{descriptor,
             this,
             RecordInit,
             RecordDestroy,
             RecordActivate,
             RecordDeactivate,
             RecordStartProcessing,
             RecordStopProcessing,
             RecordReset,
             RecordProcess,
             RecordExtension,
             RecordOnMainThread},
      host(host),
      plug(plug),
      edits(static_cast<uint32_t>(plug->ParamCount())) {
  LockGuard guard(&plug->Lock());
  for (int i = 0; i < plug->ParamCount(); ++i) defaults.push_back(plug->ParamAt(i).Value());
  plug->SetHost(this);
  plug->SetChannelsInUse(2, 2);
}

ClapPlugin::~ClapPlugin() {
  // A host may destroy an instance whose GUI is up or that is active.
  DestroyGui();
  Deactivate();
  plug->SetHost(nullptr);
}

ClapPlugin* ClapPlugin::From(const Plugin* plugin) {
  return plugin ? static_cast<ClapPlugin*>(plugin->pluginData) : nullptr;
}

template <typename Extension>
const Extension* ClapPlugin::HostExtension(const char* id) const {
  if (host == nullptr || host->getExtension == nullptr) return nullptr;
  return static_cast<const Extension*>(host->getExtension(host, id));
}

bool ClapPlugin::Init() {
  // The host's extensions may be asked for from here on, not before.
  hostParams = HostExtension<HostParams>(kExtParams);
  hostPresetLoad = HostExtension<HostPresetLoad>(kExtPresetLoad);
  if (hostPresetLoad == nullptr) {
    hostPresetLoad = HostExtension<HostPresetLoad>(kExtPresetLoadCompat);
  }
  loop = HostLoopBridge::Offered(host, HostExtension<HostPosixFdSupport>(kExtPosixFdSupport),
                                 HostExtension<HostTimerSupport>(kExtTimerSupport));
  return true;
}

const void* ClapPlugin::Extension(const char* id) const {
  if (id == nullptr) return nullptr;
  const auto is = [id](const char* name) { return std::strcmp(id, name) == 0; };
  if (is(kExtAudioPorts)) return &kAudioPortsExtension;
  if (is(kExtParams)) return &kParamsExtension;
  if (is(kExtState)) return &kStateExtension;
  if (is(kExtGui)) return &kGuiExtension;
  if (is(kExtPresetLoad) || is(kExtPresetLoadCompat)) return &kPresetLoadExtension;
  if (is(kExtPosixFdSupport)) return &kPosixFdExtension;
  if (is(kExtTimerSupport)) return &kTimerExtension;
  return nullptr;
}

template <typename Add>
void ClapPlugin::QueueEdit(int index, Add add) {
  if (index < 0 || index >= plug->ParamCount()) return;
  bool flush = false;
  {
    LockGuard guard(&plug->Lock());
    add(static_cast<uint32_t>(index));
    // One request stands until the host flushes or processes.
    flush = !processing && !flushAsked;
    flushAsked = flushAsked || flush;
  }
  // Asked without the lock: the host may wait there for its audio thread.
  if (flush && hostParams && hostParams->requestFlush) hostParams->requestFlush(host);
}

void ClapPlugin::AutomateParam(int index, float normalised) {
  // The plug-in applies the edit itself; the host hears of its value.
  QueueEdit(index, [&](uint32_t id) {
    edits.Value(id, plug->ParamAt(index).ValueFromNormalized(normalised));
  });
}

void ClapPlugin::BeginEdit(int index) {
  QueueEdit(index, [&](uint32_t id) { edits.Begin(id); });
}

void ClapPlugin::EndEdit(int index) {
  QueueEdit(index, [&](uint32_t id) { edits.End(id); });
}

}  // namespace clap
