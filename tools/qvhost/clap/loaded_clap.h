// A CLAP module loaded the way a host loads it: open the library, find the
// data symbol clap_entry, check its version, init it with the module's path,
// take the plug-in factory, make the first plug-in it describes with
// qvhost's host and init it, on the calling thread, which is the main
// thread.
#pragma once

#include <string>

#include "clap/clap_abi.h"
#include "tools/qvhost/clap/clap_host.h"

class LoadedClap {
 public:
  LoadedClap() = default;
  // Destroys the plug-in, deinits the entry and unloads the module.
  ~LoadedClap();
  LoadedClap(const LoadedClap&) = delete;
  LoadedClap& operator=(const LoadedClap&) = delete;

  // On failure prints the reason to stderr and returns false.
  [[nodiscard]] bool Load(const char* path);
  // Makes another plug-in from the loaded module's factory, which the caller
  // destroys; null when the factory makes none.
  const clap::Plugin* CreateAnother();

  // [after a successful Load]
  const clap::PluginEntry& Entry() const { return *entry; }
  const clap::PluginFactory& Factory() const { return *factory; }
  const clap::Plugin& Plugin() const { return *plugin; }
  ClapHost& Host() { return host; }
  // The plug-in's extension `id`, or null.
  template <typename Extension>
  const Extension* Ask(const char* id) const {
    return static_cast<const Extension*>(plugin->getExtension(plugin, id));
  }

 private:
  ClapHost host;
  void* library = nullptr;
  const clap::PluginEntry* entry = nullptr;
  bool initialised = false;
  const clap::PluginFactory* factory = nullptr;
  const clap::Plugin* plugin = nullptr;
  std::string id;  // the plug-in's, from its descriptor
};

// Whether `path` names a CLAP module: one named .clap.
bool IsClapPath(const char* path);
