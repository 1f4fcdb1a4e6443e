// The CLAP module's one export, the data symbol clap_entry: its version,
// init and deinit, and the factories. init and deinit may come in pairs any
// number of times, from any thread; the factories are given out only while
// at least one init is in force.
#include <atomic>
#include <cstring>

#include "clap/clap_abi.h"
#include "core/export.h"
#include "clap/clap_factory.h"
#include "clap/preset_discovery.h"

namespace {

std::atomic<int> initialised{0};

bool QV_CLAP_CALL Init(const char*) {
  // Nothing may throw into the host: a module that cannot describe its
  // plug-in does not start.
  try {
    clap::PluginDescriptorOf();
    clap::ProviderDescriptorOf();
  } catch (...) {
    return false;
  }
  ++initialised;
  return true;
}

void QV_CLAP_CALL Deinit() {
  // A deinit without its init is ignored.
  int count = initialised.load();
  while (count > 0 && !initialised.compare_exchange_weak(count, count - 1)) {
  }
}

const void* QV_CLAP_CALL Factory(const char* id) {
  if (id == nullptr || initialised.load() <= 0) return nullptr;
  if (std::strcmp(id, clap::kPluginFactoryId) == 0) return &clap::kPluginFactory;
  if (std::strcmp(id, clap::kPresetDiscoveryFactoryId) == 0 ||
      std::strcmp(id, clap::kPresetDiscoveryFactoryIdCompat) == 0) {
    return &clap::kPresetDiscoveryFactory;
  }
  return nullptr;
}

}  // namespace

QV_EXPORT const clap::PluginEntry clap_entry{clap::kVersion, Init, Deinit, Factory};
