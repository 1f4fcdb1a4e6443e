#include "window_manager.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>

namespace {

Display* Of(void* display) { return static_cast<Display*>(display); }

}  // namespace

TestWindowManager::TestWindowManager() {
  for (int i = 0; i < 500 && display == nullptr; ++i) {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) usleep(10000);
  }
}

TestWindowManager::~TestWindowManager() {
  if (display) XCloseDisplay(Of(display));
}

uint64_t TestWindowManager::TopLevelOfSize(int width, int height, double seconds) const {
  Display* d = Of(display);
  for (int i = 0; i < seconds * 100; ++i) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
      for (unsigned c = 0; c < count && found == 0; ++c) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[c], &a) && a.width == width && a.height == height &&
            a.map_state == IsViewable) {
          found = children[c];
        }
      }
      if (children) XFree(children);
    }
    if (found != 0) return found;
    usleep(10000);
  }
  return 0;
}

bool TestWindowManager::TakesCloseRequests(uint64_t window) const {
  Display* d = Of(display);
  const Atom deleteWindow = XInternAtom(d, "WM_DELETE_WINDOW", False);
  Atom* protocols = nullptr;
  int count = 0;
  if (!XGetWMProtocols(d, static_cast<Window>(window), &protocols, &count)) return false;
  const bool found = std::find(protocols, protocols + count, deleteWindow) != protocols + count;
  XFree(protocols);
  return found;
}

void TestWindowManager::PressCloseButton(uint64_t window) const {
  Display* d = Of(display);
  XEvent close = {};
  close.xclient.type = ClientMessage;
  close.xclient.window = static_cast<Window>(window);
  close.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  close.xclient.format = 32;
  close.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  close.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, static_cast<Window>(window), False, NoEventMask, &close);
  XFlush(d);
}
