// The plug-in's recursive lock: a critical section on Windows, a recursive
// mutex elsewhere. It keeps audio blocks apart from parameter, program, state
// and editor changes; a thread that holds it may take it again.
#pragma once

class PlugLock {
 public:
  PlugLock();
  ~PlugLock();
  PlugLock(const PlugLock&) = delete;
  PlugLock& operator=(const PlugLock&) = delete;

  void Enter();
  void Leave();

 private:
  void* impl;  // CRITICAL_SECTION* on Windows, std::recursive_mutex* elsewhere
};

// Holds a lock for a scope; a null lock is allowed and does nothing.
class LockGuard {
 public:
  explicit LockGuard(PlugLock* lock) : held(lock) {
    if (held) held->Enter();
  }
  ~LockGuard() {
    if (held) held->Leave();
  }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  PlugLock* held;
};
