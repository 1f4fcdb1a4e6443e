// The value box's hold on the keyboard, used with real input through XTest:
// a press outside the editor, however short, gives the keyboard back; a press
// inside the editor leaves it with the box.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "core/plug_editor.h"
#include "plug/create_plugin.h"
#include "plug/plug_base.h"

// Xlib's macros (None, Bool) would rename the names above: it comes last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

using Clock = std::chrono::steady_clock;

void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A host with its frame at the screen's corner, the editor in it, and a
// window of another client beside it.
class BoxHost {
 public:
  BoxHost() {
    display = XOpenDisplay(nullptr);
    if (display == nullptr) return;
    const Window root = DefaultRootWindow(display);
    frame = XCreateSimpleWindow(display, root, 0, 0, 600, 600, 0, 0, 0);
    other = XCreateSimpleWindow(display, root, 700, 0, 200, 200, 0, 0, 0);
    XSelectInput(display, other, ButtonPressMask);
    XMapWindow(display, frame);
    XMapWindow(display, other);
    XSync(display, False);
    plugin.reset(CreatePlugin());
    if (!CreatePluginEditor(*plugin)) std::abort();
    opened =
        plugin->GetEditor()->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(frame)));
    Pause(300);
  }
  ~BoxHost() {
    if (plugin && plugin->GetEditor()) plugin->GetEditor()->CloseWindow();
    plugin.reset();
    if (display) XCloseDisplay(display);
  }
  BoxHost(const BoxHost&) = delete;
  BoxHost& operator=(const BoxHost&) = delete;

  // A press of `button` at (x, y) of the screen, held for `ms`; the pointer
  // gets there well before, as a hand moves it.
  void Click(int x, int y, unsigned button, int ms) {
    XTestFakeMotionEvent(display, 0, x, y, CurrentTime);
    XFlush(display);
    Pause(200);
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XFlush(display);
    Pause(ms);
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XFlush(display);
  }

  // Whether some client holds the keyboard: this one cannot take it.
  bool KeyboardHeld() {
    const int grabbed =
        XGrabKeyboard(display, other, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (grabbed == GrabSuccess) XUngrabKeyboard(display, CurrentTime);
    XSync(display, False);
    return grabbed != GrabSuccess;
  }

  // Waits up to a second for the keyboard to be held (or free).
  bool Settles(bool held) {
    const Clock::time_point end = Clock::now() + std::chrono::seconds(1);
    while (KeyboardHeld() != held) {
      if (Clock::now() > end) return false;
      Pause(10);
    }
    return true;
  }

  Display* display = nullptr;
  Window frame = 0;
  Window other = 0;
  std::unique_ptr<PlugBase> plugin;
  bool opened = false;
};

// "psychoacoustic power"'s knob, where a right press opens the value box, and
// a patch of the editor's background.
constexpr int kKnobX = 361, kKnobY = 430;
constexpr int kBackgroundX = 30, kBackgroundY = 500;

}  // namespace

TEST(X11EntryBox, AShortPressInAnotherClientsWindowGivesTheKeyboardBack) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  BoxHost host;
  ASSERT_NE(host.display, nullptr);
  ASSERT_TRUE(host.opened);
  host.Click(kKnobX, kKnobY, 3, 20);
  ASSERT_TRUE(host.Settles(true)) << "the box took the keyboard";
  // A 5 ms click, far shorter than the editor's frame period.
  host.Click(800, 100, 1, 5);
  EXPECT_TRUE(host.Settles(false));
}

TEST(X11EntryBox, APressInsideTheEditorLeavesTheKeyboardWithTheBox) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  BoxHost host;
  ASSERT_NE(host.display, nullptr);
  ASSERT_TRUE(host.opened);
  host.Click(kKnobX, kKnobY, 3, 20);
  ASSERT_TRUE(host.Settles(true));
  host.Click(kBackgroundX, kBackgroundY, 1, 5);
  Pause(300);
  EXPECT_TRUE(host.KeyboardHeld());
}
