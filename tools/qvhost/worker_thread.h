// A thread of qvhost's own, for the checks that play a host's audio and
// automation threads. posix/ starts a std::thread; win32/ calls CreateThread,
// since the Windows builds' runtime has no std::thread.
#pragma once

#include <functional>

class WorkerThread {
 public:
  // Starts `body` on a new thread.
  explicit WorkerThread(std::function<void()> body);
  // Waits for the thread if Join was not called.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Waits until `body` has returned.
  void Join();

 private:
  std::function<void()> body;
  void* handle = nullptr;  // HANDLE on Windows, std::thread* elsewhere
};

// Lets the calling thread sleep for `ms` milliseconds.
void PauseThread(int ms);
