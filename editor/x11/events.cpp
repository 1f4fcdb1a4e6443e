// The event thread of an editor window (see x11_window.h): waits on the
// connection with the frame period as timeout, and turns X events into the
// editor's portable window messages.
#include <X11/extensions/XInput2.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include "editor/editor.h"
#include "editor/windowed_editor.h"
#include "editor/x11/connection.h"
#include "editor/x11/x11_window.h"

namespace {

using Clock = std::chrono::steady_clock;

thread_local X11Window* handling = nullptr;

unsigned ButtonBit(unsigned button) {
  switch (button) {
    case Button1: return kKeyLeftButton;
    case Button3: return kKeyRightButton;
    default: return 0;
  }
}

// The key state of a pointer event: the buttons and keys held.
unsigned KeyState(unsigned state) {
  unsigned keys = 0;
  if (state & Button1Mask) keys |= kKeyLeftButton;
  if (state & Button3Mask) keys |= kKeyRightButton;
  if (state & ShiftMask) keys |= kKeyShift;
  if (state & ControlMask) keys |= kKeyControl;
  return keys;
}

WindowMessage PointerMessage(WindowEvent event, int x, int y, unsigned keys, unsigned state) {
  WindowMessage message;
  message.event = event;
  message.x = x;
  message.y = y;
  message.keyState = keys;
  message.altDown = (state & Mod1Mask) != 0;
  return message;
}

// X reports a press with the state from before it, a release with the state
// from before it too; Windows reports a press with its button held and a
// release without. The wheel is buttons 4 (away from the user) and 5.
void OnPress(X11Window* w, const XButtonEvent& e) {
  w->originX = e.x_root - e.x;
  w->originY = e.y_root - e.y;
  if (e.button == Button4 || e.button == Button5) {
    WindowMessage wheel =
        PointerMessage(WindowEvent::kWheel, e.x_root, e.y_root, KeyState(e.state), e.state);
    wheel.wheelNotches = e.button == Button4 ? 1 : -1;  // buttons 4 and 5: one notch up, down
    Deliver(w, wheel);
    return;
  }
  const unsigned bit = ButtonBit(e.button);
  if (bit == 0) return;
  const unsigned keys = KeyState(e.state) | bit;
  // The second press of a double-click replaces the press, as a window class
  // with double-clicks gets it on Windows; the editor acts on the left
  // button's only.
  if (w->clicks.Press(static_cast<int>(e.button), e.x, e.y, static_cast<uint32_t>(e.time))) {
    if (bit == kKeyLeftButton)
      Deliver(w, PointerMessage(WindowEvent::kLeftDoubleClick, e.x, e.y, keys, e.state));
    return;
  }
  const WindowEvent event =
      bit == kKeyLeftButton ? WindowEvent::kLeftDown : WindowEvent::kRightDown;
  Deliver(w, PointerMessage(event, e.x, e.y, keys, e.state));
}

void OnRelease(X11Window* w, const XButtonEvent& e) {
  const unsigned bit = ButtonBit(e.button);
  if (bit == 0) return;
  const WindowEvent event = bit == kKeyLeftButton ? WindowEvent::kLeftUp : WindowEvent::kRightUp;
  Deliver(w, PointerMessage(event, e.x, e.y, KeyState(e.state) & ~bit, e.state));
}

void OnMotion(X11Window* w, const XMotionEvent& e) {
  w->originX = e.x_root - e.x;
  w->originY = e.y_root - e.y;
  Deliver(w, PointerMessage(WindowEvent::kMouseMove, e.x, e.y, KeyState(e.state), e.state));
}

void OnExpose(X11Window* w, const XExposeEvent& e) {
  w->invalid = Union(w->invalid, Rect{e.x, e.y, e.x + e.width, e.y + e.height});
}

void HandleEvent(X11Window* w, const XEvent& event) {
  // A press anywhere on the display, which the entry box watches for.
  if (event.type == GenericEvent) {
    if (event.xcookie.extension == w->rawPressOpcode && event.xcookie.evtype == XI_RawButtonPress)
      LetGoOfKeyboardOnPressOutside(w, true);
    return;
  }
  if (HandleBoxEvent(w, event) || event.xany.window != w->window) return;
  switch (event.type) {
    case Expose: OnExpose(w, event.xexpose); break;
    case ButtonPress: OnPress(w, event.xbutton); break;
    case ButtonRelease: OnRelease(w, event.xbutton); break;
    case MotionNotify: OnMotion(w, event.xmotion); break;
    // Another client's grab ends the implicit one: the press is over.
    case LeaveNotify:
      if (event.xcrossing.mode == NotifyGrab && w->captured) {
        w->captured = false;
        WindowMessage lost;
        lost.event = WindowEvent::kCaptureLost;
        Deliver(w, lost);
      }
      break;
    // The host destroyed its window, and ours with it: nothing more is drawn
    // or handled until the host closes the editor.
    case DestroyNotify: w->gone = true; break;
    // The window manager's close button on a top-level window: hidden at
    // once, and closed by its owner when it next looks.
    case ClientMessage:
      if (w->deleteWindow != 0 && static_cast<Atom>(event.xclient.data.l[0]) == w->deleteWindow) {
        w->closeRequested = true;
        XUnmapWindow(w->display, w->window);
      }
      break;
    default: break;
  }
}

void Tick(X11Window* w) {
  WindowMessage timer;
  timer.event = WindowEvent::kTimer;
  timer.timerId = kFrameTimerId;
  Deliver(w, timer);
}

// One batch: every pending event, the tick when due, the paint waiting.
// Returns whether events are already queued for the next batch.
bool HandleBatch(X11Window* w, Clock::time_point* nextTick, Clock::duration period) {
  std::lock_guard<std::mutex> guard(w->lock);
  handling = w;
  while (!ConnectionLost(w->display) && XPending(w->display) > 0) {
    XEvent event;
    XNextEvent(w->display, &event);
    HandleEvent(w, event);
  }
  // Reading found the connection broken: nothing more goes out on it.
  if (ConnectionLost(w->display)) {
    w->gone = true;
    handling = nullptr;
    return false;
  }
  LetGoOfKeyboardOnPressOutside(w, false);
  const Clock::time_point now = Clock::now();
  if (now >= *nextTick) {
    Tick(w);
    *nextTick += period;
    if (*nextTick <= now) *nextTick = now + period;  // late: no burst of ticks
  }
  PaintInvalid(w);
  XFlush(w->display);
  handling = nullptr;
  // A reply waited for while painting may have read events into the queue.
  return XQLength(w->display) > 0;
}

}  // namespace

X11Window* HandlingWindow() { return handling; }

bool Deliver(X11Window* w, const WindowMessage& message) {
  if (w->gone || w->editor->GetWindow() != w) return false;
  return w->editor->HandleWindowMessage(message);
}

void PaintInvalid(X11Window* w) {
  if (IsEmpty(w->invalid) || w->gone) return;
  WindowMessage paint;
  paint.event = WindowEvent::kPaint;
  // Left to the default procedure (the entry box has the keyboard focus),
  // the region waits for a later paint.
  Deliver(w, paint);
}

void X11Window::RunPending() {
  if (gone) return;
  const Clock::duration period = std::chrono::milliseconds(FrameIntervalMs());
  // Events read while painting are handled now: the descriptor will not
  // show them again. A few rounds at most, so that the host's loop goes on.
  for (int round = 0; round < 4 && HandleBatch(this, &nextTick, period); ++round) {
  }
  if (ConnectionLost(display)) {
    std::lock_guard<std::mutex> guard(lock);
    gone = true;
    // The dead socket stays readable for ever: the host stops watching it
    // (and the timer stops) now, not when it next hides the window.
    loop->Stop();
  }
}

void RunEventThread(X11Window* w) {
  const Clock::duration period = std::chrono::milliseconds(FrameIntervalMs());
  Clock::time_point& nextTick = w->nextTick;
  bool queued = true;  // the first batch handles the first exposure at once
  pollfd waits[2] = {{ConnectionNumber(w->display), POLLIN, 0}, {w->wakeFd, POLLIN, 0}};
  while (!w->stopping.load()) {
    if (waits[0].fd < 0) {
      poll(&waits[1], 1, -1);
      continue;
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now()).count();
    if (!queued) poll(waits, 2, left > 0 ? static_cast<int>(left) + 1 : 0);
    if (w->stopping.load()) break;
    queued = HandleBatch(w, &nextTick, period);
    // A connection the server dropped (Xlib found an end of file or a read
    // error, or the poll a hang-up): nothing more to read or draw; the
    // thread only waits to be stopped.
    if (ConnectionLost(w->display) || (waits[0].revents & (POLLHUP | POLLERR))) {
      std::lock_guard<std::mutex> guard(w->lock);
      w->gone = true;
      waits[0].fd = -1;
      queued = false;
    }
  }
}
