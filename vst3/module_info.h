// The bundle's Contents/Resources/moduleinfo.json: what a host learns of the
// module without loading it (its factory's vendor and flags, each class with
// its id, category, name, sub-categories and versions), written from the
// factory itself so that the two always agree.
#pragma once

#include <string>

#include "vst3/vst3_interfaces.h"

namespace vst3 {

// The description of every class `factory` offers, as JSON; `moduleName` is
// the bundle's name without its extension. Empty when the factory answers
// no class.
std::string ModuleInfoJson(IPluginFactory2& factory, const std::string& moduleName);

// A class id as module descriptions write it: its four 32-bit words in
// upper-case hexadecimal, whatever the platform's byte order.
std::string ClassIdText(const Tuid& id);

}  // namespace vst3
