#include "clap/preset_discovery.h"

#include <cstring>
#include <string>

#include "clap/clap_factory.h"
#include "clap/clap_plugin.h"

namespace clap {

namespace {

constexpr char kProviderId[] = "com.varek.quorvane.programs";
constexpr char kLocationName[] = "Quorvane programs";

const PresetProviderDescriptor kProviderDescriptor{kVersion, kProviderId, kLocationName, "Varek"};

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
  const PresetLocation location{kPresetIsFactoryContent, kLocationName, kPresetLocationPlugin,
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
  const UniversalPluginId plugin{"clap", kPluginId};
  const std::vector<std::string>& programs = Facts().programs;
  for (size_t i = 0; i < programs.size(); ++i) {
    const std::string key = std::to_string(i);
    if (!receiver->beginPreset(receiver, programs[i].c_str(), key.c_str())) break;
    if (receiver->addPluginId) receiver->addPluginId(receiver, &plugin);
    if (receiver->setFlags) receiver->setFlags(receiver, kPresetIsFactoryContent);
    if (receiver->addCreator) receiver->addCreator(receiver, "Varek");
  }
  return true;
}

const void* QV_CLAP_CALL ProviderExtension(const PresetProvider*, const char*) { return nullptr; }

uint32_t QV_CLAP_CALL ProviderCount(const PresetDiscoveryFactory* factory) {
  return factory ? 1 : 0;
}

const PresetProviderDescriptor* QV_CLAP_CALL
ProviderDescriptor(const PresetDiscoveryFactory* factory, uint32_t index) {
  return factory && index == 0 ? &kProviderDescriptor : nullptr;
}

const PresetProvider* QV_CLAP_CALL CreateProvider(const PresetDiscoveryFactory* factory,
                                                  const PresetIndexer* indexer,
                                                  const char* providerId) {
  if (factory == nullptr || indexer == nullptr || providerId == nullptr ||
      std::strcmp(providerId, kProviderId) != 0) {
    return nullptr;
  }
  try {
    auto* provider = new Provider{
        {&kProviderDescriptor, nullptr, ProviderInit, ProviderDestroy, Metadata, ProviderExtension},
        indexer};
    provider->record.providerData = provider;
    return &provider->record;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

const PresetDiscoveryFactory kPresetDiscoveryFactory{ProviderCount, ProviderDescriptor,
                                                     CreateProvider};

}  // namespace clap
