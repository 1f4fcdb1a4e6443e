// The module's exported entry, under the two names VST 2.x hosts look for:
// the plug-in and its editor from their factories, presented behind its
// effect record.
#include <memory>

#include "core/export.h"
#include "editor/load_bitmap_resource.h"
#include "plug/create_plugin.h"
#include "plug/plug_base.h"
#include "vst2/host_services.h"
#include "vst2/vst2_effect.h"

QV_EXPORT EffectRecord* QV_CDECL VSTPluginMain(HostCallback callback) {
  // The effect asks the host who it is, and the editor may ask it for its
  // image loader, both through this callback.
  SetHostCallback(callback);
  SetHostFunctionLookup(&HostExtension);
  // Nothing may throw into the host: a plug-in that cannot be made (its
  // editor's storage, say) is no plug-in.
  try {
    std::unique_ptr<Vst2Effect> effect(new Vst2Effect());
    std::unique_ptr<PlugBase> plugin(CreatePlugin());
    if (plugin == nullptr || !CreatePluginEditor(*plugin)) return nullptr;
    effect->Present(plugin.release());
    return effect.release()->Record();
  } catch (...) {
    return nullptr;
  }
}

#ifndef _WIN32
// On Windows the module definition file exports `main` as a second name of
// the same function; a shared object gets the alias here.
QV_EXPORT EffectRecord* MainEntry(HostCallback callback) __asm__("main");
QV_EXPORT EffectRecord* MainEntry(HostCallback callback) { return VSTPluginMain(callback); }
#endif
