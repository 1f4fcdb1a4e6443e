// The VST 3 module's exported entries: the factory, and on Linux the load
// and unload calls that hosts require of a module.
#include "core/export.h"
#include "vst3/vst3_factory.h"

QV_EXPORT vst3::IPluginFactory* QV_VST3_CALL GetPluginFactory() {
  // Nothing may throw into the host.
  try {
    return vst3::PluginFactory();
  } catch (...) {
    return nullptr;
  }
}

#ifndef _WIN32
// The module has nothing to set up or tear down; hosts refuse a module
// without these.
QV_EXPORT bool ModuleEntry(void*) { return true; }
QV_EXPORT bool ModuleExit() { return true; }
#endif
