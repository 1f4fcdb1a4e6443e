// A loop of the host's that runs on its user-interface thread and can run an
// editor window's messages there: it watches a file descriptor and runs a
// timer. Under X11 a window given one needs no thread of its own, and its
// messages then arrive on the host's thread like every other call. Windows
// delivers a window's messages through the host's own message loop anyway.
#pragma once

// What the loop calls.
class HostLoopClient {
 public:
  // [host's UI thread] The file descriptor is readable, or the timer fired:
  // handle what is pending.
  virtual void RunPending() = 0;

 protected:
  ~HostLoopClient() = default;
};

class HostLoop {
 public:
  // [UI thread] Starts calling `client` whenever `fd` is readable and every
  // `periodMs` milliseconds; false when the host refuses either, and then
  // nothing is called.
  virtual bool Start(int fd, int periodMs, HostLoopClient* client) = 0;
  // [UI thread] Stops: after it no call comes.
  virtual void Stop() = 0;

 protected:
  ~HostLoop() = default;
};
