// `qvhost clap`: the presets and GUI groups. The programs are listed by the
// preset-discovery factory as presets inside the plug-in and loaded through
// preset-load; the GUI answers for its window API and size, can be created
// and destroyed without a parent and, with --gui, runs in a real window on
// qvhost's loop (Linux) and leaves nothing registered when destroyed.
#include <cstring>
#include <string>
#include <vector>

#include "plug/plug_identity.h"
#include "tools/qvhost/clap/clap_checks.h"
#include "tools/qvhost/clap/clap_host_objects.h"
#include "tools/qvhost/clap/loaded_clap.h"
#include "tools/qvhost/parent_window.h"

using namespace clap;

namespace {

// What an indexer and a metadata receiver are told.
struct Indexed {
  std::vector<PresetLocation> locations;
  std::vector<std::string> names;
  std::vector<std::string> keys;
  std::vector<std::string> plugins;  // "abi:id" per preset
  std::vector<uint32_t> flags;
};

Indexed& Of(const PresetIndexer* indexer) { return *static_cast<Indexed*>(indexer->indexerData); }
Indexed& Of(const PresetMetadataReceiver* receiver) {
  return *static_cast<Indexed*>(receiver->receiverData);
}

bool QV_CLAP_CALL DeclareFiletype(const PresetIndexer*, const PresetFiletype*) { return true; }
bool QV_CLAP_CALL DeclareLocation(const PresetIndexer* indexer, const PresetLocation* location) {
  Of(indexer).locations.push_back(*location);
  return true;
}
bool QV_CLAP_CALL DeclareSoundpack(const PresetIndexer*, const void*) { return true; }
const void* QV_CLAP_CALL IndexerExtension(const PresetIndexer*, const char*) { return nullptr; }

void QV_CLAP_CALL OnError(const PresetMetadataReceiver*, int32_t, const char*) {}
bool QV_CLAP_CALL BeginPreset(const PresetMetadataReceiver* receiver, const char* name,
                              const char* key) {
  Of(receiver).names.push_back(name ? name : "");
  Of(receiver).keys.push_back(key ? key : "");
  return true;
}
void QV_CLAP_CALL AddPluginId(const PresetMetadataReceiver* receiver, const UniversalPluginId* id) {
  Of(receiver).plugins.push_back(std::string(id->abi) + ":" + id->id);
}
void QV_CLAP_CALL SetFlags(const PresetMetadataReceiver* receiver, uint32_t flags) {
  Of(receiver).flags.push_back(flags);
}
void QV_CLAP_CALL Ignore(const PresetMetadataReceiver*, const char*) {}
void QV_CLAP_CALL IgnorePair(const PresetMetadataReceiver*, const char*, const char*) {}
void QV_CLAP_CALL SetTimestamps(const PresetMetadataReceiver*, uint64_t, uint64_t) {}

void CheckGuiInWindow(LoadedClap& module, const PluginGui& gui, ValidationLog& log) {
  const Plugin* p = &module.Plugin();
  ClapHost& host = module.Host();
  uint32_t width = 0;
  uint32_t height = 0;
  if (!gui.create(p, kGuiApiName, false) || !gui.getSize(p, &width, &height)) return;
  void* parent = CreateParentWindow(static_cast<int>(width), static_cast<int>(height));
  const Window window = EmbeddingWindow(parent);
  const bool wantsLoop = host.LoopOffered();
  const bool embedded =
      parent && gui.setParent(p, &window) && gui.show(p) && !gui.setParent(p, &window);
  const size_t fds = host.RegisteredFds();
  const size_t timers = host.RegisteredTimers();
  const bool registered = fds == 1 && timers == 1;
  PumpWindowMessages(300, [&host](double) { host.RunLoopOnce(); });
  const bool served = host.loopCalls > 0;
  // "psychoacoustic power" dragged 20 pixels down in 10 steps while the host
  // takes the plug-in's events all along, as a host that processes does:
  // one gesture, begun at the press and ended at the release, values between.
  const auto* params = module.Ask<PluginParams>(kExtParams);
  OutputEventList sink;
  const bool dragged = embedded && params && DragInEditor(parent, 360, 430, 20, 10, [&](double) {
                         host.RunLoopOnce();
                         params->flush(p, nullptr, sink.Record());
                       });
  if (params) params->flush(p, nullptr, sink.Record());
  int begins = 0;
  int ends = 0;
  int values = 0;
  for (const OutputEventList::Pushed& pushed : sink.pushed) {
    begins += pushed.type == kEventParamGestureBegin;
    ends += pushed.type == kEventParamGestureEnd;
    values += pushed.type == kEventParamValue;
  }
  const bool oneGesture = dragged && begins == 1 && ends == 1 && values >= 1 &&
                          sink.pushed.front().type == kEventParamGestureBegin &&
                          sink.pushed.back().type == kEventParamGestureEnd;
  const bool toggled = gui.hide(p) && host.RegisteredFds() == 0 && gui.show(p) && gui.hide(p);
  gui.destroy(p);
  const bool released = host.RegisteredFds() == 0 && host.RegisteredTimers() == 0;
  DestroyParentWindow(parent);
  log.Note(Format("embedded %d, registered %d fds and %d timers while open, %d loop calls",
                  embedded ? 1 : 0, static_cast<int>(fds), static_cast<int>(timers),
                  host.loopCalls.load()));
  log.Note(Format("drag: %d gesture begins, %d values, %d ends", begins, values, ends));
  log.Check(oneGesture, "gui: a drag on a knob reaches the host as one gesture, press to release");
  log.Check(embedded && toggled && released && (!wantsLoop || (registered && served)),
            wantsLoop ? "gui: embedded in a real window, run on the host's descriptor and timer, "
                        "which are released when hidden and destroyed"
                      : "gui: embedded in a real window, hidden, shown and destroyed");
}

}  // namespace

void CheckClapPresets(const ClapCheckOptions& options, ValidationLog& log) {
  LoadedClap module;
  if (!module.Load(options.path)) return;
  const auto* factory = static_cast<const PresetDiscoveryFactory*>(
      module.Entry().getFactory(kPresetDiscoveryFactoryId));
  if (!log.Check(factory && factory->count(factory) == 1, "presets: one preset provider")) return;
  const PresetProviderDescriptor* descriptor = factory->getDescriptor(factory, 0);
  Indexed indexed;
  const PresetIndexer indexer{kVersion,
                              "qvhost",
                              PluginIdentity().vendor,
                              "",
                              "1.0",
                              &indexed,
                              DeclareFiletype,
                              DeclareLocation,
                              DeclareSoundpack,
                              IndexerExtension};
  const PresetProvider* provider =
      descriptor ? factory->create(factory, &indexer, descriptor->id) : nullptr;
  const PresetMetadataReceiver receiver{&indexed,      OnError,  BeginPreset, AddPluginId,
                                        Ignore,        SetFlags, Ignore,      Ignore,
                                        SetTimestamps, Ignore,   IgnorePair};
  const bool listed = provider && provider->init(provider) && indexed.locations.size() == 1 &&
                      indexed.locations[0].kind == kPresetLocationPlugin &&
                      indexed.locations[0].location == nullptr &&
                      provider->getMetadata(provider, kPresetLocationPlugin, nullptr, &receiver);
  if (provider) provider->destroy(provider);
  bool named = listed && indexed.names.size() == 8 && indexed.plugins.size() == 8;
  for (size_t i = 0; named && i < indexed.names.size(); ++i) {
    named = !indexed.names[i].empty() && indexed.keys[i] == std::to_string(i) &&
            indexed.plugins[i] == std::string("clap:") + PluginIdentity().clapId;
    log.Note(Format("preset %s \"%s\"", indexed.keys[i].c_str(), indexed.names[i].c_str()));
  }
  log.Check(named, "presets: the eight programs listed as presets inside the plug-in");

  const Plugin* p = &module.Plugin();
  const auto* load = module.Ask<PluginPresetLoad>(kExtPresetLoad);
  ClapHost& host = module.Host();
  const bool loaded = load && load->fromLocation(p, kPresetLocationPlugin, nullptr, "2") &&
                      host.rescans == 1 && host.presetsLoaded == 1;
  const bool refused = load && !load->fromLocation(p, kPresetLocationPlugin, nullptr, "8") &&
                       !load->fromLocation(p, kPresetLocationPlugin, nullptr, "x") &&
                       !load->fromLocation(p, kPresetLocationPlugin, nullptr, "") &&
                       !load->fromLocation(p, kPresetLocationPlugin, nullptr, nullptr) &&
                       !load->fromLocation(p, 0, "/tmp/2", "2") && host.presetErrors == 5 &&
                       host.presetsLoaded == 1;
  log.Check(loaded && refused,
            "presets: a program loads by its key, the host rereads the values; other keys fail");
  CheckThreads(host, log, "presets");
}

void CheckClapGui(const ClapCheckOptions& options, ValidationLog& log) {
  LoadedClap module;
  if (!module.Load(options.path)) return;
  const Plugin* p = &module.Plugin();
  const auto* gui = module.Ask<PluginGui>(kExtGui);
  if (!log.Check(gui != nullptr, "gui: the extension is there")) return;
  const char* api = nullptr;
  bool floating = true;
  const bool apis =
      gui->getPreferredApi(p, &api, &floating) && api && std::strcmp(api, kGuiApiName) == 0 &&
      !floating && gui->isApiSupported(p, kGuiApiName, false) &&
      !gui->isApiSupported(p, kGuiApiName, true) && !gui->isApiSupported(p, "cocoa", false) &&
      !gui->isApiSupported(p, nullptr, false);
  log.Check(apis, Format("gui: embedded %s only", kGuiApiName));
  uint32_t width = 0;
  uint32_t height = 0;
  Window window{};
  window.api = kGuiApiName;
  const bool early =
      !gui->setParent(p, &window) && !gui->getSize(p, &width, &height) && !gui->show(p);
  const bool sized = gui->create(p, kGuiApiName, false) && !gui->create(p, kGuiApiName, false) &&
                     gui->getSize(p, &width, &height) && width == 500 && height == 525 &&
                     !gui->canResize(p) && gui->setSize(p, 500, 525) &&
                     !gui->setSize(p, 600, 525) && !gui->setParent(p, nullptr);
  gui->destroy(p);
  gui->destroy(p);
  const bool again = gui->create(p, kGuiApiName, false);
  gui->destroy(p);
  log.Check(early && sized && again,
            "gui: fixed 500 x 525; created and destroyed without a parent, twice");
  if (options.gui) CheckGuiInWindow(module, *gui, log);
  CheckThreads(module.Host(), log, "gui");
}
