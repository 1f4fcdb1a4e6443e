#include "vst3/run_loop_bridge.h"

#include <new>

namespace vst3 {

RunLoopBridge* RunLoopBridge::Create(IRunLoop* loop, HostLoopClient* ticks) {
  auto* bridge = new (std::nothrow) RunLoopBridge(loop, ticks);
  if (bridge == nullptr) loop->release();
  return bridge;
}

RunLoopBridge::~RunLoopBridge() {
  Stop();
  loop->release();
}

bool RunLoopBridge::Start(int fd, int periodMs, HostLoopClient* newClient) {
  Stop();
  client = newClient;
  watching = loop->registerEventHandler(static_cast<IEventHandler*>(this), fd) == kResultOk;
  timing = watching && loop->registerTimer(static_cast<ITimerHandler*>(this),
                                           static_cast<uint64_t>(periodMs)) == kResultOk;
  if (timing) return true;
  Stop();
  return false;
}

void RunLoopBridge::Stop() {
  if (watching) loop->unregisterEventHandler(static_cast<IEventHandler*>(this));
  if (timing) loop->unregisterTimer(static_cast<ITimerHandler*>(this));
  watching = timing = false;
  client = nullptr;
}

Tresult RunLoopBridge::queryInterface(const char* iid, void** object) {
  if (object == nullptr) return kInvalidArgument;
  *object = nullptr;
  if (SameTuid(iid, kFUnknownIid) || SameTuid(iid, kIEventHandlerIid)) {
    *object = static_cast<IEventHandler*>(this);
  } else if (SameTuid(iid, kITimerHandlerIid)) {
    *object = static_cast<ITimerHandler*>(this);
  } else {
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32_t RunLoopBridge::addRef() { return references.Add(); }

uint32_t RunLoopBridge::release() { return references.Drop(this); }

void RunLoopBridge::onFDIsSet(int) {
  if (client) client->RunPending();
}

void RunLoopBridge::onTimer() {
  if (client == nullptr) return;
  if (ticks) ticks->RunPending();
  client->RunPending();
}

}  // namespace vst3
