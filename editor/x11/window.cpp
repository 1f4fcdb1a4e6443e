// The editor's child window in the host's X11 window: creation on a
// connection of its own, the start and stop of its event thread, and
// destruction with every X resource it holds.
#include <X11/Xutil.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

#include "editor/editor.h"
#include "editor/window.h"
#include "editor/x11/connection.h"
#include "editor/x11/x11_window.h"

namespace {

// The surface's words are 0x00RRGGBB in the low 24 bits of 32: a TrueColor
// visual of depth 24 or 32 with these masks shows them unconverted.
bool Usable(const Visual* visual, int depth) {
  return visual != nullptr && visual->c_class == TrueColor && (depth == 24 || depth == 32) &&
         visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF;
}

// The parent's visual when it is usable (the usual case); else a usable one
// of the screen, with a colormap of its own. False when the parent is no
// window or the screen has no usable visual. `topLevel` tells whether the
// parent is the screen's root.
bool ChooseVisual(X11Window* w, bool* topLevel) {
  XWindowAttributes parent;
  if (!XGetWindowAttributes(w->display, w->parent, &parent)) return false;
  *topLevel = parent.root == w->parent;
  if (Usable(parent.visual, parent.depth)) {
    w->visual = parent.visual;
    w->depth = parent.depth;
    return true;
  }
  const int screen = XScreenNumberOfScreen(parent.screen);
  XVisualInfo info;
  for (int depth : {24, 32}) {
    if (XMatchVisualInfo(w->display, screen, depth, TrueColor, &info) &&
        Usable(info.visual, depth)) {
      w->visual = info.visual;
      w->depth = depth;
      w->colormap = XCreateColormap(w->display, w->parent, info.visual, AllocNone);
      return true;
    }
  }
  return false;
}

bool CreateChild(X11Window* w, const Rect& placement, bool topLevel) {
  XSetWindowAttributes attributes = {};
  // No background: the surface covers every pixel, and nothing flickers.
  attributes.background_pixmap = None;
  attributes.border_pixel = 0;
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask =
      ExposureMask | ButtonPressMask | ButtonReleaseMask | ButtonMotionMask | StructureNotifyMask;
  unsigned long mask = CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask;
  if (w->colormap) {
    attributes.colormap = w->colormap;
    mask |= CWColormap;
  }
  const int width = placement.right - placement.left;
  const int height = placement.bottom - placement.top;
  w->window = XCreateWindow(w->display, w->parent, placement.left, placement.top,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                            w->depth, InputOutput, w->visual, mask, &attributes);
  if (TakeError(w->display) != 0) w->window = 0;
  if (w->window == 0) return false;
  // A window in the screen's root is a top-level one: its close button asks
  // the window to close rather than the window manager killing the client.
  if (topLevel) {
    w->deleteWindow = XInternAtom(w->display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(w->display, w->window, &w->deleteWindow, 1);
  }
  w->gc = XCreateGC(w->display, w->window, 0, nullptr);
  w->placement = placement;
  w->invalid = Rect{0, 0, width, height};
  return w->image.Create(w->display, w->visual, w->depth, width, height);
}

// Frees in reverse order whatever CreateEditorWindow made; the connection
// last, which the server would free everything with anyway. On a lost
// connection nothing is asked of the server: the server has already freed
// what the client held, and only local memory is left to free.
void Release(X11Window* w) {
  if (w->display) {
    const bool lost = ConnectionLost(w->display);
    w->image.Release(w->display);
    if (!lost) {
      if (w->gc) XFreeGC(w->display, w->gc);
      if (w->window && !w->gone) XDestroyWindow(w->display, w->window);
      if (w->colormap) XFreeColormap(w->display, w->colormap);
    }
    CloseConnection(w->display);
  }
  if (w->wakeFd >= 0) close(w->wakeFd);
  delete w;
}

}  // namespace

// One X client per editor window: there is no class to register.
bool RegisterEditorWindowClass() { return true; }

bool UnregisterEditorWindowClass() { return true; }

void* CreateEditorWindow(void* parent, const Rect& placement, WindowedEditor* editor) {
  // effEditOpen gives the host's window as its XID.
  const auto parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
  if (parentWindow == 0) return nullptr;
  auto* w = new X11Window;
  w->editor = editor;
  w->parent = parentWindow;
  w->display = OpenConnection();
  w->wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  bool topLevel = false;
  if (w->display == nullptr || w->wakeFd < 0 || !ChooseVisual(w, &topLevel) ||
      !CreateChild(w, placement, topLevel)) {
    Release(w);
    return nullptr;
  }
  return w;
}

void StartEditorWindow(void* window, HostLoop* loop) {
  auto* w = static_cast<X11Window*>(window);
  {
    std::lock_guard<std::mutex> guard(w->lock);
    XMapWindow(w->display, w->window);
    XFlush(w->display);
  }
  w->nextTick = std::chrono::steady_clock::now() + std::chrono::milliseconds(FrameIntervalMs());
  if (loop && loop->Start(ConnectionNumber(w->display), FrameIntervalMs(), w)) {
    w->loop = loop;
    // The first exposure may be queued already: it is painted at once.
    w->RunPending();
    return;
  }
  w->events = std::thread(RunEventThread, w);
}

void StopEditorWindow(void* window) {
  auto* w = static_cast<X11Window*>(window);
  if (w->loop) {
    w->loop->Stop();
    w->loop = nullptr;
    return;
  }
  if (!w->events.joinable()) return;
  w->stopping = true;
  const uint64_t one = 1;
  (void)!write(w->wakeFd, &one, sizeof one);
  w->events.join();
}

void DestroyEditorWindow(void* window) {
  auto* w = static_cast<X11Window*>(window);
  if (w == nullptr) return;
  StopEditorWindow(w);
  Release(w);
}

// The record lives until DestroyEditorWindow, whatever happens to the X
// window: one destroyed with the host's window is marked gone by the event
// thread, draws nothing more, and is released when the editor closes, as
// any other (the editor is never told from the event thread, where the
// host's thread could not see it safely).
bool EditorWindowExists(void* window) { return window != nullptr; }

void* NativeEditorWindow(void* window) {
  if (window == nullptr) return nullptr;
  return reinterpret_cast<void*>(static_cast<uintptr_t>(static_cast<X11Window*>(window)->window));
}

bool EditorWindowCloseRequested(void* window) {
  auto* w = static_cast<X11Window*>(window);
  return w != nullptr && w->closeRequested.load();
}

Rect EditorWindowPlacement(void* window) {
  auto* w = static_cast<X11Window*>(window);
  std::lock_guard<std::mutex> guard(w->lock);
  Window root;
  int x = 0;
  int y = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  if (w->gone ||
      !XGetGeometry(w->display, w->window, &root, &x, &y, &width, &height, &border, &depth)) {
    return w->placement;
  }
  return Rect{x, y, x + static_cast<int>(width), y + static_cast<int>(height)};
}

void EditorWindowOrigin(void* window, int* x, int* y) {
  auto* w = static_cast<X11Window*>(window);
  *x = w ? w->originX : 0;
  *y = w ? w->originY : 0;
}

// While a button is held X sends the pointer's events to the window it was
// pressed in (the implicit grab): that is the capture. These only track it.
void CaptureMouse(void* window) {
  if (auto* w = static_cast<X11Window*>(window)) w->captured = true;
}

void ReleaseMouse() {
  if (X11Window* w = HandlingWindow()) w->captured = false;
}

bool HasMouseCapture(void* window) {
  auto* w = static_cast<X11Window*>(window);
  return w != nullptr && w->captured;
}

void RepaintLater(void* window, const Rect& area) {
  auto* w = static_cast<X11Window*>(window);
  if (w) w->invalid = Union(w->invalid, area);
}

void RepaintNow(void* window, const Rect& area) {
  auto* w = static_cast<X11Window*>(window);
  if (w == nullptr) return;
  RepaintLater(w, area);
  PaintInvalid(w);
}
