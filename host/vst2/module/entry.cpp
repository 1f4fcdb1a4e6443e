// The library's exported entry, under the two names hosts look for.
#include <new>

#include "dither/dither_plugin.h"
#include "host/host_services.h"

#ifdef _WIN32
#define QV_EXPORT extern "C"
#else
#define QV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

QV_EXPORT EffectRecord* QV_CDECL VSTPluginMain(HostCallback callback) {
  // The plug-in's constructor already asks the host who it is.
  SetHostCallback(callback);
  auto* plugin = new (std::nothrow) DitherPlugin();
  return plugin ? plugin->Record() : nullptr;
}

#ifndef _WIN32
// On Windows the module definition file exports `main` as a second name of
// the same function; a shared object gets the alias here.
QV_EXPORT EffectRecord* MainEntry(HostCallback callback) __asm__("main");
QV_EXPORT EffectRecord* MainEntry(HostCallback callback) { return VSTPluginMain(callback); }
#endif
