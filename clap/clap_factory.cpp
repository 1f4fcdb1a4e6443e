#include "clap/clap_factory.h"

#include <cstring>
#include <memory>
#include <string>

#include "clap/clap_plugin.h"
#include "plug/create_plugin.h"
#include "plug/plug_base.h"
#include "plug/plug_identity.h"

namespace clap {

namespace {

uint32_t QV_CLAP_CALL PluginCount(const PluginFactory* factory) { return factory ? 1 : 0; }

const PluginDescriptor* QV_CLAP_CALL Descriptor(const PluginFactory* factory, uint32_t index) {
  return factory && index == 0 ? &PluginDescriptorOf() : nullptr;
}

const Plugin* QV_CLAP_CALL CreateInstance(const PluginFactory* factory, const Host* host,
                                          const char* pluginId) {
  // The host is not called here: it may be asked for its extensions only
  // from the plug-in's init on.
  if (factory == nullptr || host == nullptr || host->version.major < 1 || pluginId == nullptr ||
      std::strcmp(pluginId, PluginIdentity().clapId) != 0) {
    return nullptr;
  }
  try {
    std::unique_ptr<PlugBase> plug(CreatePlugin());
    if (plug == nullptr) return nullptr;
    auto* instance = new ClapPlugin(host, plug.release(), &PluginDescriptorOf());
    return instance->Record();
  } catch (...) {
    return nullptr;
  }
}

// The descriptor and the text it points to.
struct DescribedPlugin {
  DescribedPlugin() : versionText(VersionText(PluginIdentity().version)) {
    const PlugIdentity& identity = PluginIdentity();
    descriptor = PluginDescriptor{
        kVersion, identity.clapId,     identity.name,    identity.vendor,      "", "",
        "",       versionText.c_str(), identity.summary, identity.clapFeatures};
  }
  std::string versionText;
  PluginDescriptor descriptor;
};

}  // namespace

const PluginDescriptor& PluginDescriptorOf() {
  static const DescribedPlugin described;
  return described.descriptor;
}

const PluginFactory kPluginFactory{PluginCount, Descriptor, CreateInstance};

}  // namespace clap
