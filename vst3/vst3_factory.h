// The module's factory: one class, the audio effect, whose instances are
// Vst3Effects made around a new plug-in and its editor.
//
// Threads: any; the factory holds no state that changes.
#pragma once

#include "vst3/vst3_interfaces.h"

namespace vst3 {

// The effect's class id, fixed forever: hosts store it with every project.
constexpr Tuid kEffectClassId = MakeTuid(0x9751A2F0, 0x46C047CA, 0x9736D1D8, 0xC6AEA8B6);

// The module's one factory, with a reference for the caller.
IPluginFactory2* PluginFactory();

}  // namespace vst3
