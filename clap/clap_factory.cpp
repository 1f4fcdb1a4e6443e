#include "clap/clap_factory.h"

#include <cstring>
#include <memory>

#include "clap/clap_plugin.h"
#include "plug/create_plugin.h"
#include "plug/plug_base.h"

namespace clap {

namespace {

const char* const kFeatures[] = {"audio-effect", "mastering", "utility", "stereo", nullptr};

uint32_t QV_CLAP_CALL PluginCount(const PluginFactory* factory) { return factory ? 1 : 0; }

const PluginDescriptor* QV_CLAP_CALL Descriptor(const PluginFactory* factory, uint32_t index) {
  return factory && index == 0 ? &Facts().descriptor : nullptr;
}

const Plugin* QV_CLAP_CALL CreateInstance(const PluginFactory* factory, const Host* host,
                                          const char* pluginId) {
  // The host is not called here: it may be asked for its extensions only
  // from the plug-in's init on.
  if (factory == nullptr || host == nullptr || host->version.major < 1 || pluginId == nullptr ||
      std::strcmp(pluginId, kPluginId) != 0) {
    return nullptr;
  }
  try {
    std::unique_ptr<PlugBase> plug(CreatePlugin());
    if (plug == nullptr) return nullptr;
    auto* instance = new ClapPlugin(host, plug.release(), &Facts().descriptor);
    return instance->Record();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

ModuleFacts::ModuleFacts() {
  try {
    std::unique_ptr<PlugBase> plug(CreatePlugin());
    if (plug) {
      versionText = plug->VersionText();
      for (int i = 0; i < plug->ProgramCount(); ++i) programs.push_back(plug->ProgramAt(i).name);
    }
  } catch (...) {
    // A module that cannot make its plug-in describes it without programs.
  }
  descriptor = PluginDescriptor{kVersion,
                                kPluginId,
                                "Quorvane",
                                "Varek",
                                "",
                                "",
                                "",
                                versionText.c_str(),
                                "Word-length reduction with dither and noise shaping",
                                kFeatures};
}

const ModuleFacts& Facts() {
  static const ModuleFacts facts;
  return facts;
}

const PluginFactory kPluginFactory{PluginCount, Descriptor, CreateInstance};

}  // namespace clap
