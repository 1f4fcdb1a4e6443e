// A closable queue of pointers between the threads of a file's stream. The
// chunks themselves circulate between a filled queue and a free queue, so
// nothing is allocated while a file streams.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

template <typename T>
class ChunkQueue {
 public:
  void Push(T* item) {
    {
      std::lock_guard<std::mutex> guard(mutex);
      items.push_back(item);
    }
    changed.notify_one();
  }

  // The oldest item, waiting for one; null once the queue is closed and empty.
  T* Pop() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !items.empty() || closed; });
    if (items.empty()) return nullptr;
    T* item = items.front();
    items.pop_front();
    return item;
  }

  // No more pushes: Pop returns null after the last item.
  void Close() {
    {
      std::lock_guard<std::mutex> guard(mutex);
      closed = true;
    }
    changed.notify_all();
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<T*> items;
  bool closed = false;
};
