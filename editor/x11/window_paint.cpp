// One paint of the editor's window: the region waiting for it, put from the
// surface through the window's image.
#include "draw/system_bitmap.h"
#include "editor/window.h"
#include "editor/x11/x11_window.h"

WindowPaint::WindowPaint(void* window) : window(window) {
  auto* w = static_cast<X11Window*>(window);
  if (w == nullptr) return;
  region = w->invalid;
  w->invalid = Rect{0, 0, 0, 0};
}

WindowPaint::~WindowPaint() = default;

bool WindowPaint::CopyFrom(const SystemBitmap& surface) {
  auto* w = static_cast<X11Window*>(window);
  if (w == nullptr || w->gone) return false;
  return w->image.Put(w->display, w->window, w->gc, surface, region);
}
