// qvhost as a CLAP host: the host record a plug-in is made with, and the
// extensions it offers: thread check (answered truthfully: the thread that
// made the host is the main thread, a thread that called
// BecomeAudioThread is the audio thread), parameters, state, log, preset
// loading, and on Linux the file-descriptor and timer support that an
// embedded GUI runs on. It records what the plug-in asks of it, and every
// call that breaks CLAP's thread rules.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "clap/clap_abi.h"

class ClapHost {
 public:
  // The calling thread becomes the main thread.
  ClapHost();
  ClapHost(const ClapHost&) = delete;
  ClapHost& operator=(const ClapHost&) = delete;

  const clap::Host* Record() const { return &record; }
  // The plug-in whose on_fd and on_timer the loop calls.
  void Serve(const clap::Plugin* plugin) { served = plugin; }

  // Marks the calling thread as the audio thread, or as neither again.
  static void BecomeAudioThread();
  static void LeaveAudioThread();
  static bool OnMainThread();
  static bool OnAudioThread();

  // [main] Calls the plug-in's on_fd for each registered descriptor that is
  // readable and on_timer for each timer that is due.
  void RunLoopOnce();
  size_t RegisteredFds() const { return fds.size(); }
  size_t RegisteredTimers() const { return timers.size(); }
  // Whether the file-descriptor and timer support are to be offered; they
  // are, on Linux only, when this is set.
  bool offersLoop = true;
  bool LoopOffered() const;

  // What the plug-in asked for.
  std::atomic<int> rescans{0};
  std::atomic<int> flushRequests{0};
  std::atomic<int> dirtyMarks{0};
  std::atomic<int> presetsLoaded{0};
  std::atomic<int> presetErrors{0};
  std::atomic<int> loopCalls{0};  // on_fd and on_timer calls made by RunLoopOnce
  // Calls that broke the thread rules: how many, and the first.
  std::atomic<int> violations{0};
  std::atomic<const char*> firstViolation{nullptr};

  // Whether no call broke the thread rules; otherwise says which came
  // first, on stderr.
  [[nodiscard]] bool KeptThreadRules() const;

  // [any thread] Records a breach of the thread rules by `call`.
  void Violation(const char* call);
  // [any thread] Records a breach unless the caller is on the main thread.
  void RequireMainThread(const char* call);

 private:
  struct Timer {
    clap::Id id;
    uint32_t periodMs;
    double due;  // milliseconds on the host's clock
  };

  static const void* QV_CLAP_CALL Extension(const clap::Host* host, const char* id);
  static bool QV_CLAP_CALL RegisterFd(const clap::Host* host, int fd, uint32_t flags);
  static bool QV_CLAP_CALL ModifyFd(const clap::Host* host, int fd, uint32_t flags);
  static bool QV_CLAP_CALL UnregisterFd(const clap::Host* host, int fd);
  static bool QV_CLAP_CALL RegisterTimer(const clap::Host* host, uint32_t periodMs, clap::Id* id);
  static bool QV_CLAP_CALL UnregisterTimer(const clap::Host* host, clap::Id id);

  clap::Host record;
  const clap::Plugin* served = nullptr;
  std::vector<int> fds;
  std::vector<Timer> timers;
  clap::Id nextTimer = 1;
};

// The window API of this platform's CLAP GUIs, and the host's window that
// one is embedded in, made of a window of qvhost's own.
#ifdef _WIN32
constexpr const char* kGuiApiName = clap::kWindowApiWin32;
#else
constexpr const char* kGuiApiName = clap::kWindowApiX11;
#endif
clap::Window EmbeddingWindow(void* parent);

// Milliseconds on a steady clock, for timers.
double HostClockMs();
// Whether `fd` has data to read now (Linux); false where there are no
// descriptors to watch.
bool FdReadable(int fd);
