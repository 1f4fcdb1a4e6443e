// The X11 window layer. Repaint bookkeeping needs no display; the rest runs
// where a display is set (the X11 tier runs it under Xvfb, over a local
// socket and over TCP) and is skipped elsewhere.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "core/host_loop.h"
#include "editor/editor.h"
#include "editor/window.h"
#include "plug/create_plugin.h"
#include "plug/plug_base.h"

// Xlib's macros (None, Bool) would rename the names above: it comes last.
#include "editor/x11/connection.h"
#include "editor/x11/x11_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// Polls `done` every 10 ms for up to `seconds`.
template <typename Done>
bool WaitFor(Done done, double seconds) {
  const Clock::time_point end =
      Clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
  while (!done()) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// The test's own I/O error handler, the one the process had before the
// editor's: it counts, and returns (the connection's exit handler then
// returns too, instead of ending the process).
std::atomic<int> foreignIoErrors{0};
int CountIoError(Display*) {
  ++foreignIoErrors;
  return 0;
}
void StayAlive(Display*, void*) {}

// A host: its own connection and top-level window, the plug-in with its
// editor, and an audio thread that keeps processing blocks.
class TestHost {
 public:
  TestHost() {
    // A virtual display just started may not take connections yet.
    WaitFor([this] { return (display = XOpenDisplay(nullptr)) != nullptr; }, 5.0);
    if (display == nullptr) return;
    frame = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 600, 0, 0, 0);
    XMapWindow(display, frame);
    XSync(display, False);
    plugin.reset(CreatePlugin());
    if (!CreatePluginEditor(*plugin)) std::abort();
    plugin->SetSampleRate(44100.0);
    plugin->SetBlockSize(256);
    plugin->SetActive(true);
    audio = std::thread([this] { Play(); });
  }
  ~TestHost() {
    stop = true;
    if (audio.joinable()) audio.join();
    if (plugin && plugin->GetEditor()) plugin->GetEditor()->CloseWindow();
    plugin.reset();
    if (display) XCloseDisplay(display);
  }
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  bool Open() {
    return plugin->GetEditor()->OpenWindow(reinterpret_cast<void*>(static_cast<uintptr_t>(frame)));
  }
  // Opens the editor with its events on the host's `loop`.
  bool OpenOnLoop(HostLoop* loop) {
    PlugEditor* editor = plugin->GetEditor();
    editor->UseHostLoop(loop);
    const bool opened = Open();
    editor->UseHostLoop(nullptr);
    return opened;
  }
  X11Window* EditorWindow() const {
    return static_cast<X11Window*>(static_cast<Editor*>(plugin->GetEditor())->GetWindow());
  }
  // Blocks processed so far; they go on while the editor comes and goes.
  int64_t Blocks() const { return blocks.load(); }

  Display* display = nullptr;
  Window frame = 0;
  std::unique_ptr<PlugBase> plugin;

 private:
  void Play() {
    std::vector<double> left(256), right(256);
    for (int j = 0; j < 256; ++j) left[j] = right[j] = 0.3 * ((j % 32) / 16.0 - 1.0);
    double* channels[2] = {left.data(), right.data()};
    while (!stop.load()) {
      {
        LockGuard guard(&plugin->Lock());
        plugin->ProcessDouble(channels, channels, 256);
      }
      ++blocks;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }

  std::atomic<bool> stop{false};
  std::atomic<int64_t> blocks{0};
  std::thread audio;
};

}  // namespace

TEST(X11Window, RepaintRequestsJoinIntoOneRegion) {
  X11Window w;
  RepaintLater(&w, Rect{10, 10, 20, 20});
  RepaintLater(&w, Rect{100, 5, 120, 15});
  EXPECT_EQ(w.invalid.left, 10);
  EXPECT_EQ(w.invalid.top, 5);
  EXPECT_EQ(w.invalid.right, 120);
  EXPECT_EQ(w.invalid.bottom, 20);
}

TEST(X11Window, AKilledConnectionLeavesTheHostRunningAndAReopenConnectsAnew) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  XSetIOErrorHandler(CountIoError);
  TestHost host;
  ASSERT_NE(host.display, nullptr);
  ASSERT_TRUE(host.Open());
  X11Window* first = host.EditorWindow();
  ASSERT_NE(first, nullptr);
  // The server ends the editor's client, as xkill does.
  XKillClient(host.display, first->window);
  XSync(host.display, False);
  ASSERT_TRUE(WaitFor([&] { return ConnectionLost(first->display); }, 5.0));
  const int64_t blocks = host.Blocks();
  ASSERT_TRUE(WaitFor([&] { return host.Blocks() > blocks + 20; }, 5.0));
  // Only the test's own connections reached its handler: none yet.
  EXPECT_EQ(foreignIoErrors.load(), 0);
  // The editor closes without a word to the dead connection, and opens again
  // on a new one that works.
  host.plugin->GetEditor()->CloseWindow();
  ASSERT_TRUE(host.Open());
  X11Window* second = host.EditorWindow();
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(ConnectionLost(second->display));
  EXPECT_EQ(TakeError(second->display), 0);

  // Another connection of the process still goes to the handler it had.
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  XSetIOErrorExitHandler(other, StayAlive, nullptr);
  const Window mine = XCreateSimpleWindow(other, DefaultRootWindow(other), 0, 0, 10, 10, 0, 0, 0);
  XSync(other, False);
  XKillClient(host.display, mine);
  XSync(host.display, False);
  XSync(other, False);
  EXPECT_EQ(foreignIoErrors.load(), 1);
  XCloseDisplay(other);
  EXPECT_FALSE(ConnectionLost(second->display));
}

namespace {

// A host's loop that records what it was given; the test runs it.
class RecordingLoop final : public HostLoop {
 public:
  bool Start(int newFd, int period, HostLoopClient* newClient) override {
    fd = newFd;
    periodMs = period;
    client = newClient;
    ++starts;
    return true;
  }
  void Stop() override {
    client = nullptr;
    ++stops;
  }

  int fd = -1;
  int periodMs = 0;
  int starts = 0;
  int stops = 0;
  HostLoopClient* client = nullptr;
};

}  // namespace

TEST(X11Window, OnTheHostsLoopTheWindowHasNoThreadAndPaintsWhenTheLoopRunsIt) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  TestHost host;
  ASSERT_NE(host.display, nullptr);
  RecordingLoop loop;
  PlugEditor* editor = host.plugin->GetEditor();
  ASSERT_TRUE(host.OpenOnLoop(&loop));
  X11Window* w = host.EditorWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(loop.starts, 1);
  EXPECT_EQ(loop.fd, ConnectionNumber(w->display));
  EXPECT_EQ(loop.periodMs, FrameIntervalMs());
  EXPECT_FALSE(w->events.joinable());
  ASSERT_NE(loop.client, nullptr);
  // Run as the host's loop would, the window gets its exposure and paints
  // the editor's background (not black) into the host's frame.
  bool painted = false;
  for (int i = 0; i < 100 && !painted; ++i) {
    loop.client->RunPending();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    XImage* image = XGetImage(host.display, w->window, 20, 20, 1, 1, AllPlanes, ZPixmap);
    if (image) {
      painted = (XGetPixel(image, 0, 0) & 0xFFFFFF) != 0;
      XDestroyImage(image);
    }
  }
  EXPECT_TRUE(painted);
  editor->CloseWindow();
  EXPECT_EQ(loop.stops, 1);
  EXPECT_EQ(loop.client, nullptr);
}

namespace {

// The descriptors the process has open.
int OpenDescriptors() {
  int count = 0;
  for (int fd = 0; fd < 4096; ++fd) {
    if (fcntl(fd, F_GETFD) != -1) ++count;
  }
  return count;
}

}  // namespace

TEST(X11Window, TheHostsIoErrorHandlerIsBackWheneverNoWindowIsOpen) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  XSetIOErrorHandler(CountIoError);
  TestHost host;
  ASSERT_NE(host.display, nullptr);
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(host.Open());
    // Asked by setting it: while the window is open the handler is ours.
    const XIOErrorHandler during = XSetIOErrorHandler(CountIoError);
    XSetIOErrorHandler(during);
    EXPECT_NE(during, CountIoError);
    host.plugin->GetEditor()->CloseWindow();
    EXPECT_EQ(XSetIOErrorHandler(CountIoError), CountIoError) << "round " << round;
  }
  // A killed editor's connection hands the handler back too, and leaves no
  // descriptor behind.
  const int descriptors = OpenDescriptors();
  ASSERT_TRUE(host.Open());
  XKillClient(host.display, host.EditorWindow()->window);
  XSync(host.display, False);
  X11Window* killed = host.EditorWindow();
  ASSERT_TRUE(WaitFor([&] { return ConnectionLost(killed->display); }, 5.0));
  host.plugin->GetEditor()->CloseWindow();
  EXPECT_EQ(XSetIOErrorHandler(CountIoError), CountIoError);
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST(X11Window, OnTheHostsLoopALostConnectionStopsTheLoopAtOnce) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display";
  XSetIOErrorHandler(CountIoError);
  TestHost host;
  ASSERT_NE(host.display, nullptr);
  RecordingLoop loop;
  PlugEditor* editor = host.plugin->GetEditor();
  ASSERT_TRUE(host.OpenOnLoop(&loop));
  X11Window* w = host.EditorWindow();
  ASSERT_NE(w, nullptr);
  XKillClient(host.display, w->window);
  XSync(host.display, False);
  // The host calls whenever the descriptor is readable (a dead socket always
  // is), for as long as it is registered: fewer than 10 calls in 300 ms.
  int calls = 0;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(300);
  while (Clock::now() < end) {
    pollfd watch = {loop.fd, POLLIN, 0};
    if (loop.client == nullptr || poll(&watch, 1, 10) <= 0) continue;
    loop.client->RunPending();
    ++calls;
  }
  EXPECT_TRUE(ConnectionLost(w->display));
  EXPECT_LT(calls, 10);
  EXPECT_EQ(loop.stops, 1);
  editor->CloseWindow();
}
