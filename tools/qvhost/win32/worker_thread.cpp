#include <windows.h>

#include "tools/qvhost/worker_thread.h"

namespace {

DWORD WINAPI RunBody(void* body) {
  (*static_cast<std::function<void()>*>(body))();
  return 0;
}

}  // namespace

WorkerThread::WorkerThread(std::function<void()> body)
    : body(std::move(body)), handle(CreateThread(nullptr, 0, RunBody, &this->body, 0, nullptr)) {}

WorkerThread::~WorkerThread() { Join(); }

void WorkerThread::Join() {
  if (handle == nullptr) return;
  WaitForSingleObject(static_cast<HANDLE>(handle), INFINITE);
  CloseHandle(static_cast<HANDLE>(handle));
  handle = nullptr;
}

void PauseThread(int ms) { Sleep(static_cast<DWORD>(ms)); }
