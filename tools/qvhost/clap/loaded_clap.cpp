#include "tools/qvhost/clap/loaded_clap.h"

#include <cstdio>
#include <cstring>

#include "tools/qvhost/plugin_library.h"

using namespace clap;

bool IsClapPath(const char* path) {
  const size_t length = std::strlen(path);
  return length >= 5 && std::strcmp(path + length - 5, ".clap") == 0;
}

LoadedClap::~LoadedClap() {
  if (plugin) plugin->destroy(plugin);
  if (initialised) entry->deinit();
  CloseLibrary(library);
}

bool LoadedClap::Load(const char* path) {
  std::string error;
  library = OpenLibrary(path, error);
  if (library == nullptr) {
    std::fprintf(stderr, "qvhost: cannot open %s: %s\n", path, error.c_str());
    return false;
  }
  entry = static_cast<const PluginEntry*>(FindLibraryFunction(library, "clap_entry"));
  if (entry == nullptr || entry->version.major < 1 || entry->init == nullptr ||
      entry->deinit == nullptr || entry->getFactory == nullptr) {
    std::fprintf(stderr, "qvhost: %s exports no usable clap_entry\n", path);
    return false;
  }
  initialised = entry->init(path);
  if (!initialised) {
    std::fprintf(stderr, "qvhost: %s refused init\n", path);
    return false;
  }
  factory = static_cast<const PluginFactory*>(entry->getFactory(kPluginFactoryId));
  const PluginDescriptor* descriptor = factory && factory->getPluginCount(factory) > 0
                                           ? factory->getPluginDescriptor(factory, 0)
                                           : nullptr;
  if (descriptor == nullptr || descriptor->id == nullptr) {
    std::fprintf(stderr, "qvhost: %s describes no plug-in\n", path);
    return false;
  }
  id = descriptor->id;
  plugin = CreateAnother();
  if (plugin == nullptr || !plugin->init(plugin)) {
    std::fprintf(stderr, "qvhost: %s made no plug-in %s\n", path, id.c_str());
    return false;
  }
  host.Serve(plugin);
  return true;
}

const Plugin* LoadedClap::CreateAnother() {
  return factory->createPlugin(factory, host.Record(), id.c_str());
}
