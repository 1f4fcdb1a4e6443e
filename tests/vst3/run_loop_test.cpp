#include <gtest/gtest.h>

#include "core/host_loop.h"
#include "tools/qvhost/vst3/vst3_host_objects.h"
#include "vst3/run_loop_bridge.h"

namespace vst3 {
namespace {

// A Linux host's run loop that records what is registered with it.
class RecordingRunLoop final : public StackObject<IRunLoop> {
 public:
  Tresult QV_VST3_CALL registerEventHandler(IEventHandler* handler, int newFd) override {
    if (refuseEvents) return kResultFalse;
    events = handler;
    fd = newFd;
    return kResultOk;
  }
  Tresult QV_VST3_CALL unregisterEventHandler(IEventHandler* handler) override {
    if (handler == events) events = nullptr;
    return kResultOk;
  }
  Tresult QV_VST3_CALL registerTimer(ITimerHandler* handler, uint64_t period) override {
    timer = handler;
    milliseconds = period;
    return kResultOk;
  }
  Tresult QV_VST3_CALL unregisterTimer(ITimerHandler* handler) override {
    if (handler == timer) timer = nullptr;
    return kResultOk;
  }

  IEventHandler* events = nullptr;
  ITimerHandler* timer = nullptr;
  int fd = -1;
  uint64_t milliseconds = 0;
  bool refuseEvents = false;
};

struct CountingClient final : HostLoopClient {
  void RunPending() override { ++runs; }
  int runs = 0;
};

TEST(Vst3RunLoop, TheWindowsDescriptorAndTimerRunOnTheHostsLoopUntilStopped) {
  RecordingRunLoop loop;
  CountingClient client;
  RunLoopBridge* bridge = RunLoopBridge::Create(&loop);
  ASSERT_NE(bridge, nullptr);
  HostLoop& hostLoop = *bridge;
  ASSERT_TRUE(hostLoop.Start(17, 62, &client));
  EXPECT_EQ(loop.fd, 17);
  EXPECT_EQ(loop.milliseconds, 62u);
  ASSERT_NE(loop.events, nullptr);
  ASSERT_NE(loop.timer, nullptr);
  loop.events->onFDIsSet(17);
  loop.timer->onTimer();
  EXPECT_EQ(client.runs, 2);
  // Each handler answers for the bridge as a whole.
  void* asked = nullptr;
  ASSERT_EQ(loop.events->queryInterface(kITimerHandlerIid.bytes, &asked), kResultOk);
  EXPECT_EQ(asked, static_cast<void*>(loop.timer));
  static_cast<ITimerHandler*>(asked)->release();
  hostLoop.Stop();
  EXPECT_EQ(loop.events, nullptr);
  EXPECT_EQ(loop.timer, nullptr);

  // A bridge with a client for ticks runs it on each tick of the timer,
  // before the window's, and not when the descriptor is readable.
  CountingClient ticks;
  RunLoopBridge* ticking = RunLoopBridge::Create(&loop, &ticks);
  ASSERT_TRUE(ticking->Start(17, 62, &client));
  loop.events->onFDIsSet(17);
  loop.timer->onTimer();
  EXPECT_EQ(ticks.runs, 1);
  EXPECT_EQ(client.runs, 4);
  ticking->release();

  // A loop that refuses the descriptor is not used at all.
  loop.refuseEvents = true;
  EXPECT_FALSE(hostLoop.Start(17, 62, &client));
  EXPECT_EQ(loop.events, nullptr);
  EXPECT_EQ(loop.timer, nullptr);
  bridge->release();
}

}  // namespace
}  // namespace vst3
