// The preset-discovery factory: one provider that lists the plug-in's
// factory programs as presets kept inside the plug-in, each loaded by its
// number through the plug-in's preset-load extension.
//
// Threads: the factory's functions, any; a provider's, one thread at a time.
#pragma once

#include "clap/clap_abi.h"

namespace clap {

// The provider's descriptor; the first call may throw (its location's name).
const PresetProviderDescriptor& ProviderDescriptorOf();

extern const PresetDiscoveryFactory kPresetDiscoveryFactory;

}  // namespace clap
