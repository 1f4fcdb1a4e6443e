// The shipped DSP binary's descriptor, loaded as a host loads it.
#include <dlfcn.h>

#include "lv2_host.h"

const LV2_Descriptor* Lv2Descriptor() {
  static const LV2_Descriptor* descriptor = [] {
    void* library = dlopen(QV_LV2_DSP_BINARY, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) return static_cast<const LV2_Descriptor*>(nullptr);
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
    return entry ? entry(0) : nullptr;
  }();
  return descriptor;
}
