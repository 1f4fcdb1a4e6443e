// Top-level windows of qvhost's own under X11. The editor inside runs its
// own events; the loop here only keeps qvhost's connection read.
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "tools/qvhost/editor_command.h"
#include "tools/qvhost/parent_window.h"
#include "tools/qvhost/worker_thread.h"
#include "tools/qvhost/x11/host_display.h"

namespace {

constexpr int kLoopStepMs = 5;
constexpr int kDragStepMs = 30;  // between the events of a drag, as a hand is slower

Window WindowOf(void* window) { return static_cast<Window>(reinterpret_cast<uintptr_t>(window)); }

void DrainEvents(Display* display) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
  }
}

}  // namespace

// A request on a window that is gone (a frame destroyed twice by a script)
// is reported, not fatal, as a host would have it.
int ReportError(Display* display, XErrorEvent* error) {
  char text[128];
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "qvhost: X error: %s\n", text);
  return 0;
}

namespace {

[[noreturn]] int HostLostDisplay(Display*) {
  std::printf("host handled the lost display\n");
  std::fflush(stdout);
  std::_Exit(0);
}

}  // namespace

void HoldDisplayLoss() { XSetIOErrorHandler(HostLostDisplay); }

bool DisplayLossHeld() {
  const XIOErrorHandler now = XSetIOErrorHandler(HostLostDisplay);
  return now == HostLostDisplay;
}

bool BreakHostDisplay() {
  Display* display = HostDisplay();
  Display* other = XOpenDisplay(nullptr);
  if (display == nullptr || other == nullptr) return false;
  // The server ends the client that owns a resource, as xkill does.
  const Window mine = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
  XSync(display, False);
  XKillClient(other, mine);
  XSync(other, False);
  XCloseDisplay(other);
  XSync(display, False);  // meets the broken connection
  return false;
}

Display* HostDisplay() {
  static Display* display = [] {
    XSetErrorHandler(ReportError);
    return XOpenDisplay(nullptr);
  }();
  return display;
}

void* CreateParentWindow(int width, int height, int x) {
  Display* display = HostDisplay();
  if (display == nullptr) return nullptr;
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), x, 0, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, 0, BlackPixel(display, 0));
  XSelectInput(display, window, StructureNotifyMask);
  XMapWindow(display, window);
  // Shown before the editor opens in it, as a host's window is.
  XEvent event;
  do {
    XWindowEvent(display, window, StructureNotifyMask, &event);
  } while (event.type != MapNotify);
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

void DestroyParentWindow(void* window) {
  Display* display = HostDisplay();
  if (display == nullptr || window == nullptr) return;
  XDestroyWindow(display, WindowOf(window));
  XSync(display, False);
  DrainEvents(display);
}

// X11 has no dialog manager to route messages through.
void RouteThroughDialog(void*) {}

void PumpWindowMessages(int ms, const std::function<void(double)>& tick) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  for (;;) {
    const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (Display* display = HostDisplay()) DrainEvents(display);
    if (tick) tick(elapsed);
    if (elapsed >= ms) return;
    PauseThread(kLoopStepMs);
  }
}

bool DragInEditor(void* parent, int x, int y, int dy, int steps,
                  const std::function<void(double)>& tick) {
  Display* display = HostDisplay();
  const Window editor = display ? FirstChild(display, WindowOf(parent)) : 0;
  if (editor == 0 || steps < 1) return false;
  const auto moveTo = [&](int toY) {
    int rootX = 0;
    int rootY = 0;
    Window child;
    XTranslateCoordinates(display, editor, DefaultRootWindow(display), x, toY, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XFlush(display);
    PumpWindowMessages(kDragStepMs, tick);
  };
  const auto button = [&](bool down) {
    XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
    XFlush(display);
    PumpWindowMessages(kDragStepMs, tick);
  };
  moveTo(y);
  button(true);
  for (int step = 1; step <= steps; ++step) moveTo(y + dy * step / steps);
  button(false);
  return true;
}

Window FirstChild(Display* display, Window parent) {
  Window root = 0;
  Window up = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
  const Window found = count > 0 ? children[0] : 0;
  if (children) XFree(children);
  return found;
}

bool CaptureChildWindow(void* parent, int width, int height, EditorCapture* capture) {
  Display* display = HostDisplay();
  const Window editor = display ? FirstChild(display, WindowOf(parent)) : 0;
  if (editor == 0) return false;
  XImage* image = XGetImage(display, editor, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  capture->width = width;
  capture->height = height;
  capture->pixels.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto pixel = static_cast<uint32_t>(XGetPixel(image, x, y));
      capture->pixels[static_cast<size_t>(y) * width + x] = 0xFF000000u | (pixel & 0xFFFFFFu);
    }
  }
  XDestroyImage(image);
  return true;
}
