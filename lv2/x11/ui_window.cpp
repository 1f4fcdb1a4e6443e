// The LV2 UI's window terms under X11: windows are XIDs passed as pointers,
// as hosts pass ui:parent. The call uses a short connection of its own; the
// id it returns stays valid after it is closed.
#include <X11/Xlib.h>

#include <cstdint>

#include "lv2/ui_window.h"

namespace {

void* AsPointer(Window window) { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }

}  // namespace

void* Lv2UiScreenRoot() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  const Window root = DefaultRootWindow(display);
  XCloseDisplay(display);
  return AsPointer(root);
}
