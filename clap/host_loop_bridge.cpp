#include "clap/host_loop_bridge.h"

namespace clap {

std::unique_ptr<HostLoopBridge> HostLoopBridge::Offered(const Host* host,
                                                        const HostPosixFdSupport* fds,
                                                        const HostTimerSupport* timers) {
  if (fds == nullptr || timers == nullptr || fds->registerFd == nullptr ||
      fds->unregisterFd == nullptr || timers->registerTimer == nullptr ||
      timers->unregisterTimer == nullptr) {
    return nullptr;
  }
  return std::unique_ptr<HostLoopBridge>(new HostLoopBridge(host, fds, timers));
}

HostLoopBridge::~HostLoopBridge() { Stop(); }

bool HostLoopBridge::Start(int fd, int periodMs, HostLoopClient* newClient) {
  Stop();
  if (fds->registerFd(host, fd, kFdRead)) watched = fd;
  Id id = kInvalidId;
  if (timers->registerTimer(host, static_cast<uint32_t>(periodMs), &id)) timer = id;
  if (watched < 0 || timer == kInvalidId) {
    Stop();
    return false;
  }
  client = newClient;
  return true;
}

void HostLoopBridge::Stop() {
  client = nullptr;
  if (watched >= 0) fds->unregisterFd(host, watched);
  if (timer != kInvalidId) timers->unregisterTimer(host, timer);
  watched = -1;
  timer = kInvalidId;
}

void HostLoopBridge::OnFd(int fd) {
  if (client && fd == watched) client->RunPending();
}

void HostLoopBridge::OnTimer(Id timerId) {
  if (client && timerId == timer) client->RunPending();
}

}  // namespace clap
