// The module's factories: the plug-in factory with its one descriptor, and
// the preset-discovery factory (preset_discovery.h). The descriptor is made
// from the plug-in's identity at the first call and kept, unchanged, for as
// long as the module is loaded.
//
// Threads: any; after the first call nothing here changes.
#pragma once

#include "clap/clap_abi.h"

namespace clap {

// The plug-in's descriptor; the first call may throw (its version text).
const PluginDescriptor& PluginDescriptorOf();

extern const PluginFactory kPluginFactory;

}  // namespace clap
