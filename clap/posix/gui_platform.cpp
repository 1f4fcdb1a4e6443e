#include <cstdint>

#include "clap/clap_plugin.h"

namespace clap {

const char* const kGuiApi = kWindowApiX11;

void* ParentHandle(const Window& window) {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window.x11));
}

}  // namespace clap
