#include "clap/preset_discovery.h"

#include <cstring>
#include <memory>
#include <string>

#include "clap/clap_abi.h"
#include "plug/create_plugin.h"
#include "plug/plug_base.h"
#include "plug/plug_identity.h"

namespace clap {

namespace {

// The one location, the plug-in itself: "NAME programs".
const char* LocationName() {
  static const std::string name = std::string(PluginIdentity().name) + " programs";
  return name.c_str();
}

// A provider for one indexer.
struct Provider {
  PresetProvider record;
  const PresetIndexer* indexer;
};

const PresetIndexer* IndexerOf(const PresetProvider* provider) {
  return provider ? static_cast<Provider*>(provider->providerData)->indexer : nullptr;
}

bool QV_CLAP_CALL ProviderInit(const PresetProvider* provider) {
  const PresetIndexer* indexer = IndexerOf(provider);
  if (indexer == nullptr || indexer->declareLocation == nullptr) return false;
  const PresetLocation location{kPresetIsFactoryContent, LocationName(), kPresetLocationPlugin,
                                nullptr};
  return indexer->declareLocation(indexer, &location);
}

void QV_CLAP_CALL ProviderDestroy(const PresetProvider* provider) {
  if (provider) delete static_cast<Provider*>(provider->providerData);
}

bool QV_CLAP_CALL Metadata(const PresetProvider* provider, uint32_t locationKind,
                           const char* location, const PresetMetadataReceiver* receiver) {
  if (provider == nullptr || receiver == nullptr || receiver->beginPreset == nullptr ||
      locationKind != kPresetLocationPlugin || location != nullptr) {
    return false;
  }
  // The programs' names, from a plug-in made to read them.
  std::unique_ptr<PlugBase> plug;
  try {
    plug.reset(CreatePlugin());
  } catch (...) {
  }
  if (plug == nullptr) return false;
  const PlugIdentity& identity = PluginIdentity();
  const UniversalPluginId plugin{"clap", identity.clapId};
  for (int i = 0; i < plug->ProgramCount(); ++i) {
    const std::string key = std::to_string(i);
    if (!receiver->beginPreset(receiver, plug->ProgramAt(i).name.c_str(), key.c_str())) break;
    if (receiver->addPluginId) receiver->addPluginId(receiver, &plugin);
    if (receiver->setFlags) receiver->setFlags(receiver, kPresetIsFactoryContent);
    if (receiver->addCreator) receiver->addCreator(receiver, identity.vendor);
  }
  return true;
}

const void* QV_CLAP_CALL ProviderExtension(const PresetProvider*, const char*) { return nullptr; }

uint32_t QV_CLAP_CALL ProviderCount(const PresetDiscoveryFactory* factory) {
  return factory ? 1 : 0;
}

const PresetProviderDescriptor* QV_CLAP_CALL
ProviderDescriptor(const PresetDiscoveryFactory* factory, uint32_t index) {
  return factory && index == 0 ? &ProviderDescriptorOf() : nullptr;
}

const PresetProvider* QV_CLAP_CALL CreateProvider(const PresetDiscoveryFactory* factory,
                                                  const PresetIndexer* indexer,
                                                  const char* providerId) {
  if (factory == nullptr || indexer == nullptr || providerId == nullptr ||
      std::strcmp(providerId, PluginIdentity().presetProviderId) != 0) {
    return nullptr;
  }
  try {
    auto* provider = new Provider{{&ProviderDescriptorOf(), nullptr, ProviderInit, ProviderDestroy,
                                   Metadata, ProviderExtension},
                                  indexer};
    provider->record.providerData = provider;
    return &provider->record;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

const PresetProviderDescriptor& ProviderDescriptorOf() {
  static const PresetProviderDescriptor descriptor{kVersion, PluginIdentity().presetProviderId,
                                                   LocationName(), PluginIdentity().vendor};
  return descriptor;
}

const PresetDiscoveryFactory kPresetDiscoveryFactory{ProviderCount, ProviderDescriptor,
                                                     CreateProvider};

}  // namespace clap
