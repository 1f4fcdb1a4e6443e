#include "tools/quorvane/interrupt.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <initializer_list>

namespace {

// One slot per file open at once: a worker holds one temporary output at a
// time, and there are far fewer workers than this.
constexpr int kSlots = 64;

struct Slot {
  std::atomic<int> state{0};  // 0 free, 1 being filled, 2 holds a path for the handlers
  char path[PATH_MAX];
};

Slot slots[kSlots];

extern "C" void RemoveAndExit(int signal) {
  for (Slot& slot : slots) {
    if (slot.state.load() == 2) unlink(slot.path);
  }
  // Re-raised with the default action, so that the parent sees the signal.
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  raise(signal);
  _exit(128 + signal);
}

}  // namespace

void InstallInterruptCleanup() {
  struct sigaction action {};
  action.sa_handler = RemoveAndExit;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signal);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  signal(SIGXFSZ, SIG_IGN);
}

int RememberTemporary(const char* path) {
  if (std::strlen(path) >= PATH_MAX) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = 0;
    if (!slots[i].state.compare_exchange_strong(expected, 1)) continue;
    std::strcpy(slots[i].path, path);
    slots[i].state.store(2);
    return i;
  }
  return -1;
}

void ForgetTemporary(int slot) {
  if (slot >= 0 && slot < kSlots) slots[slot].state.store(0);
}
