#include "tools/qvhost/clap/clap_host.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "plug/plug_identity.h"

using namespace clap;

namespace {

enum class Role { kOther, kMain, kAudio };
thread_local Role role = Role::kOther;

// Every call of the host's functions is the plug-in's: they are recorded.
void QV_CLAP_CALL RequestRestart(const Host*) {}
void QV_CLAP_CALL RequestProcess(const Host*) {}
void QV_CLAP_CALL RequestCallback(const Host*) {}

bool QV_CLAP_CALL IsMainThread(const Host*) { return ClapHost::OnMainThread(); }
bool QV_CLAP_CALL IsAudioThread(const Host*) { return ClapHost::OnAudioThread(); }
const HostThreadCheck kThreadCheck{IsMainThread, IsAudioThread};

ClapHost& HostOf(const Host* host) { return *static_cast<ClapHost*>(host->hostData); }

void QV_CLAP_CALL Rescan(const Host* host, uint32_t) {
  HostOf(host).RequireMainThread("params.rescan");
  ++HostOf(host).rescans;
}

void QV_CLAP_CALL Clear(const Host* host, Id, uint32_t) {
  HostOf(host).RequireMainThread("params.clear");
}

void QV_CLAP_CALL RequestFlush(const Host* host) {
  if (ClapHost::OnAudioThread()) HostOf(host).Violation("params.request_flush");
  ++HostOf(host).flushRequests;
}
const HostParams kParams{Rescan, Clear, RequestFlush};

void QV_CLAP_CALL MarkDirty(const Host* host) {
  HostOf(host).RequireMainThread("state.mark_dirty");
  ++HostOf(host).dirtyMarks;
}
const HostState kState{MarkDirty};

void QV_CLAP_CALL PresetError(const Host* host, uint32_t, const char*, const char*, int32_t,
                              const char*) {
  HostOf(host).RequireMainThread("preset-load.on_error");
  ++HostOf(host).presetErrors;
}

void QV_CLAP_CALL PresetLoaded(const Host* host, uint32_t, const char*, const char*) {
  HostOf(host).RequireMainThread("preset-load.loaded");
  ++HostOf(host).presetsLoaded;
}
const HostPresetLoad kPresetLoad{PresetError, PresetLoaded};

}  // namespace

ClapHost::ClapHost()
    : record{kVersion, this,      "qvhost",       PluginIdentity().vendor, "",
             "1.0",    Extension, RequestRestart, RequestProcess,          RequestCallback} {
  role = Role::kMain;
}

void ClapHost::BecomeAudioThread() { role = Role::kAudio; }
void ClapHost::LeaveAudioThread() { role = Role::kOther; }
bool ClapHost::OnMainThread() { return role == Role::kMain; }
bool ClapHost::OnAudioThread() { return role == Role::kAudio; }

void ClapHost::Violation(const char* call) {
  const char* none = nullptr;
  firstViolation.compare_exchange_strong(none, call);
  ++violations;
}

bool ClapHost::LoopOffered() const {
#ifdef _WIN32
  return false;
#else
  return offersLoop;
#endif
}

bool ClapHost::KeptThreadRules() const {
  if (violations == 0) return true;
  std::fprintf(stderr, "qvhost: the plug-in broke the thread rules %d times, first in %s\n",
               violations.load(), firstViolation.load());
  return false;
}

void ClapHost::RequireMainThread(const char* call) {
  if (!OnMainThread()) Violation(call);
}

const void* ClapHost::Extension(const Host* host, const char* id) {
  if (host == nullptr || id == nullptr) return nullptr;
  const auto is = [id](const char* name) { return std::strcmp(id, name) == 0; };
  if (is(kExtThreadCheck)) return &kThreadCheck;
  if (is(kExtParams)) return &kParams;
  if (is(kExtState)) return &kState;
  if (is(kExtPresetLoad)) return &kPresetLoad;
  static const HostPosixFdSupport fdSupport{RegisterFd, ModifyFd, UnregisterFd};
  static const HostTimerSupport timerSupport{RegisterTimer, UnregisterTimer};
  if (HostOf(host).LoopOffered() && is(kExtPosixFdSupport)) return &fdSupport;
  if (HostOf(host).LoopOffered() && is(kExtTimerSupport)) return &timerSupport;
  return nullptr;
}

bool ClapHost::RegisterFd(const Host* host, int fd, uint32_t flags) {
  ClapHost& self = HostOf(host);
  self.RequireMainThread("posix-fd-support.register_fd");
  if (fd < 0 || flags == 0 || std::find(self.fds.begin(), self.fds.end(), fd) != self.fds.end()) {
    return false;
  }
  self.fds.push_back(fd);
  return true;
}

bool ClapHost::ModifyFd(const Host* host, int fd, uint32_t) {
  ClapHost& self = HostOf(host);
  self.RequireMainThread("posix-fd-support.modify_fd");
  return std::find(self.fds.begin(), self.fds.end(), fd) != self.fds.end();
}

bool ClapHost::UnregisterFd(const Host* host, int fd) {
  ClapHost& self = HostOf(host);
  self.RequireMainThread("posix-fd-support.unregister_fd");
  const auto found = std::find(self.fds.begin(), self.fds.end(), fd);
  if (found == self.fds.end()) return false;
  self.fds.erase(found);
  return true;
}

bool ClapHost::RegisterTimer(const Host* host, uint32_t periodMs, Id* id) {
  ClapHost& self = HostOf(host);
  self.RequireMainThread("timer-support.register_timer");
  if (id == nullptr) return false;
  const uint32_t period = periodMs > 0 ? periodMs : 1;
  *id = self.nextTimer++;
  self.timers.push_back(Timer{*id, period, HostClockMs() + period});
  return true;
}

bool ClapHost::UnregisterTimer(const Host* host, Id id) {
  ClapHost& self = HostOf(host);
  self.RequireMainThread("timer-support.unregister_timer");
  const auto found = std::find_if(self.timers.begin(), self.timers.end(),
                                  [id](const Timer& timer) { return timer.id == id; });
  if (found == self.timers.end()) return false;
  self.timers.erase(found);
  return true;
}

void ClapHost::RunLoopOnce() {
  if (served == nullptr || served->getExtension == nullptr) return;
  const auto* onFd =
      static_cast<const PluginPosixFdSupport*>(served->getExtension(served, kExtPosixFdSupport));
  const auto* onTimer =
      static_cast<const PluginTimerSupport*>(served->getExtension(served, kExtTimerSupport));
  // Copies: the plug-in may unregister from inside its callbacks.
  const std::vector<int> watched = fds;
  for (int fd : watched) {
    if (onFd && onFd->onFd && FdReadable(fd)) {
      onFd->onFd(served, fd, kFdRead);
      ++loopCalls;
    }
  }
  const double now = HostClockMs();
  const std::vector<Timer> due = timers;
  for (const Timer& timer : due) {
    if (timer.due > now) continue;
    for (Timer& kept : timers) {
      if (kept.id == timer.id) kept.due = now + kept.periodMs;
    }
    if (onTimer && onTimer->onTimer) {
      onTimer->onTimer(served, timer.id);
      ++loopCalls;
    }
  }
}

Window EmbeddingWindow(void* parent) {
  Window window{};
  window.api = kGuiApiName;
#ifdef _WIN32
  window.win32 = parent;
#else
  window.x11 = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parent));
#endif
  return window;
}

double HostClockMs() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}
