// The LV2 UI's window terms under X11: windows are XIDs passed as pointers,
// as hosts pass ui:parent.
#include <X11/Xlib.h>

#include <cstdint>

#include "editor/x11/x11_window.h"
#include "host/lv2/ui_window.h"

void* Lv2UiWidget(void* editorWindow) {
  const Window window = static_cast<X11Window*>(editorWindow)->window;
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

void* Lv2UiScreenRoot() {
  // The root of the display the environment names. A root window's id stays
  // valid when the connection that looked it up is closed.
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  const Window root = DefaultRootWindow(display);
  XCloseDisplay(display);
  return reinterpret_cast<void*>(static_cast<uintptr_t>(root));
}
