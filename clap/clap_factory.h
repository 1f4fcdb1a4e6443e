// The module's factories: the plug-in factory with its one descriptor, and
// the preset-discovery factory (preset_discovery.h). What they describe is
// read once from a plug-in made for it and kept, unchanged, for as long as
// the module is loaded.
//
// Threads: any; after the first call nothing here changes.
#pragma once

#include <string>
#include <vector>

#include "clap/clap_abi.h"

namespace clap {

// What the module tells hosts without an instance.
struct ModuleFacts {
  // Reads them from a plug-in made for it.
  ModuleFacts();
  ModuleFacts(const ModuleFacts&) = delete;
  ModuleFacts& operator=(const ModuleFacts&) = delete;

  std::string versionText;            // empty when no plug-in could be made
  std::vector<std::string> programs;  // the factory programs' names
  PluginDescriptor descriptor;        // points into this record
};

const ModuleFacts& Facts();

extern const PluginFactory kPluginFactory;

}  // namespace clap
