// The run loop a Linux VST 3 host offers through a view's frame, as the
// editor's HostLoop: the X connection's file descriptor and the frame timer
// are registered with it, and its calls run the window's pending events on
// the host's user-interface thread.
//
// Threads: [UI] every call, the host's loop's included.
#pragma once

#include <cstdint>

#include "core/host_loop.h"
#include "vst3/reference_count.h"
#include "vst3/vst3_interfaces.h"

namespace vst3 {

class RunLoopBridge final : public HostLoop, public IEventHandler, public ITimerHandler {
 public:
  // A bridge to `loop` with one reference, the caller's; it keeps the
  // reference to `loop` that the caller had. Each tick of the timer also
  // runs `ticks`, if given, before the window's. Null when none can be made.
  static RunLoopBridge* Create(IRunLoop* loop, HostLoopClient* ticks = nullptr);
  RunLoopBridge(const RunLoopBridge&) = delete;
  RunLoopBridge& operator=(const RunLoopBridge&) = delete;

  bool Start(int fd, int periodMs, HostLoopClient* client) override;
  void Stop() override;

  Tresult QV_VST3_CALL queryInterface(const char* iid, void** object) override;
  uint32_t QV_VST3_CALL addRef() override;
  uint32_t QV_VST3_CALL release() override;
  void QV_VST3_CALL onFDIsSet(int fd) override;
  void QV_VST3_CALL onTimer() override;

 private:
  friend class ReferenceCount<RunLoopBridge>;
  RunLoopBridge(IRunLoop* loop, HostLoopClient* ticks) : loop(loop), ticks(ticks) {}
  ~RunLoopBridge();

  ReferenceCount<RunLoopBridge> references;
  IRunLoop* loop;
  HostLoopClient* ticks;             // runs on every tick while started
  HostLoopClient* client = nullptr;  // while started
  bool watching = false;
  bool timing = false;
};

}  // namespace vst3
