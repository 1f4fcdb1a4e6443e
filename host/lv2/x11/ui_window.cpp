// The LV2 UI's window terms under X11: windows are XIDs passed as pointers,
// as hosts pass ui:parent. Each call uses a short connection of its own; the
// ids it returns stay valid after it is closed.
#include <X11/Xlib.h>

#include <cstdint>

#include "host/lv2/ui_window.h"

namespace {

Window Xid(void* window) { return static_cast<Window>(reinterpret_cast<uintptr_t>(window)); }

void* AsPointer(Window window) { return reinterpret_cast<void*>(static_cast<uintptr_t>(window)); }

}  // namespace

void* Lv2UiWidget(void* parent, int width, int height) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  Window root = 0;
  Window parentOfParent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  Window found = 0;
  if (XQueryTree(display, Xid(parent), &root, &parentOfParent, &children, &count)) {
    // Children come bottom to top: the last one that fits is the newest.
    for (unsigned i = 0; i < count; ++i) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display, children[i], &attributes) && attributes.width == width &&
          attributes.height == height) {
        found = children[i];
      }
    }
    if (children) XFree(children);
  }
  XCloseDisplay(display);
  return found ? AsPointer(found) : nullptr;
}

void* Lv2UiScreenRoot() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  const Window root = DefaultRootWindow(display);
  XCloseDisplay(display);
  return AsPointer(root);
}
