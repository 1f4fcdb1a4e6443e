// The loop a CLAP host offers through its file-descriptor and timer
// extensions, as the editor's HostLoop: the X connection's descriptor and the
// frame timer are registered with the host, and the plug-in's on_fd and
// on_timer run the window's pending events on the host's main thread.
//
// Threads: [main] every call, the host's callbacks included.
#pragma once

#include <memory>

#include "clap/clap_abi.h"
#include "core/host_loop.h"

namespace clap {

class HostLoopBridge final : public HostLoop {
 public:
  // A bridge when the host offers both extensions with every function;
  // null otherwise.
  static std::unique_ptr<HostLoopBridge> Offered(const Host* host, const HostPosixFdSupport* fds,
                                                 const HostTimerSupport* timers);
  ~HostLoopBridge();
  HostLoopBridge(const HostLoopBridge&) = delete;
  HostLoopBridge& operator=(const HostLoopBridge&) = delete;

  // Registers `fd` for reading and a timer of `periodMs`; false, with
  // nothing left registered, when the host refuses either.
  bool Start(int fd, int periodMs, HostLoopClient* client) override;
  // Unregisters what Start registered.
  void Stop() override;

  // The host's calls: they run the client's events when they are for what
  // was registered.
  void OnFd(int fd);
  void OnTimer(Id timerId);

 private:
  HostLoopBridge(const Host* host, const HostPosixFdSupport* fds, const HostTimerSupport* timers)
      : host(host), fds(fds), timers(timers) {}

  const Host* host;
  const HostPosixFdSupport* fds;
  const HostTimerSupport* timers;
  HostLoopClient* client = nullptr;  // while started
  int watched = -1;                  // the registered descriptor, or -1
  Id timer = kInvalidId;             // the registered timer, or kInvalidId
};

}  // namespace clap
