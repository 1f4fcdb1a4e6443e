// The module's factory: one class, the audio effect, whose instances are
// Vst3Effects made around a new plug-in and its editor.
//
// Threads: any; the factory holds no state that changes.
#pragma once

#include "vst3/vst3_interfaces.h"

namespace vst3 {

// The effect's class id, from the plug-in's identity, in this platform's
// byte order.
Tuid EffectClassId();

// The module's one factory, with a reference for the caller.
IPluginFactory2* PluginFactory();

}  // namespace vst3
