// The host's descriptor and timer support as the editor's loop: both are
// registered on the host's main thread and both let go, also when the host
// refuses one of them.
#include <gtest/gtest.h>

#include <memory>

#include "clap/host_loop_bridge.h"
#include "tools/qvhost/clap/clap_host.h"

namespace clap {
namespace {

struct Client final : HostLoopClient {
  void RunPending() override { ++runs; }
  int runs = 0;
};

// A host whose timer support refuses every timer.
bool QV_CLAP_CALL RefuseTimer(const Host*, uint32_t, Id*) { return false; }
bool QV_CLAP_CALL NoTimer(const Host*, Id) { return false; }

TEST(ClapHostLoop, RegistersBothRunsTheClientOnEitherAndLetsGo) {
  ClapHost host;
  const auto* fds = static_cast<const HostPosixFdSupport*>(
      host.Record()->getExtension(host.Record(), kExtPosixFdSupport));
  const auto* timers = static_cast<const HostTimerSupport*>(
      host.Record()->getExtension(host.Record(), kExtTimerSupport));
  std::unique_ptr<HostLoopBridge> loop = HostLoopBridge::Offered(host.Record(), fds, timers);
  ASSERT_NE(loop, nullptr);
  Client client;
  ASSERT_TRUE(loop->Start(7, 50, &client));
  EXPECT_EQ(host.RegisteredFds(), 1u);
  EXPECT_EQ(host.RegisteredTimers(), 1u);
  loop->OnFd(7);
  loop->OnFd(8);  // not ours
  loop->OnTimer(1);
  loop->OnTimer(99);  // not ours
  EXPECT_EQ(client.runs, 2);
  loop->Stop();
  EXPECT_EQ(host.RegisteredFds(), 0u);
  EXPECT_EQ(host.RegisteredTimers(), 0u);
  loop->OnFd(7);
  EXPECT_EQ(client.runs, 2) << "nothing runs once stopped";
  EXPECT_EQ(host.violations, 0);
}

TEST(ClapHostLoop, ARefusedTimerLeavesNothingRegistered) {
  ClapHost host;
  const auto* fds = static_cast<const HostPosixFdSupport*>(
      host.Record()->getExtension(host.Record(), kExtPosixFdSupport));
  const HostTimerSupport refusing{RefuseTimer, NoTimer};
  std::unique_ptr<HostLoopBridge> loop = HostLoopBridge::Offered(host.Record(), fds, &refusing);
  Client client;
  EXPECT_FALSE(loop->Start(7, 50, &client));
  EXPECT_EQ(host.RegisteredFds(), 0u);
  EXPECT_EQ(HostLoopBridge::Offered(host.Record(), fds, nullptr), nullptr);
}

}  // namespace
}  // namespace clap
