// A closable queue of pointers between the threads of a file's stream. The
// chunks themselves circulate between a filled queue and a free queue, so
// nothing is allocated while a file streams: the queue's room for every
// chunk of its stream is taken when it is made.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

template <typename T>
class ChunkQueue {
 public:
  // Room for `capacity` items: every chunk that can be queued at once.
  explicit ChunkQueue(size_t capacity) : items(capacity) {}

  // Adds an item; one past the capacity is a fault of the caller's and is
  // dropped.
  void Push(T* item) {
    {
      std::lock_guard<std::mutex> guard(mutex);
      if (count == items.size()) return;
      items[(first + count) % items.size()] = item;
      ++count;
    }
    changed.notify_one();
  }

  // The oldest item, waiting for one; null once the queue is closed and empty.
  T* Pop() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return count > 0 || closed; });
    if (count == 0) return nullptr;
    T* item = items[first];
    first = (first + 1) % items.size();
    --count;
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
  std::vector<T*> items;  // a ring of `count` items from `first`
  size_t first = 0;
  size_t count = 0;
  bool closed = false;
};
