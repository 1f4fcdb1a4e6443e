#include "clap/clap_plugin.h"

namespace clap {

const char* const kGuiApi = kWindowApiWin32;

void* ParentHandle(const Window& window) { return window.win32; }

}  // namespace clap
