#include <chrono>
#include <thread>

#include "tools/qvhost/worker_thread.h"

WorkerThread::WorkerThread(std::function<void()> body)
    : body(std::move(body)), handle(new std::thread(this->body)) {}

WorkerThread::~WorkerThread() { Join(); }

void WorkerThread::Join() {
  auto* thread = static_cast<std::thread*>(handle);
  if (thread == nullptr) return;
  thread->join();
  delete thread;
  handle = nullptr;
}

void PauseThread(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
