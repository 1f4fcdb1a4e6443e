// The references a host holds to one of the adapter's objects: one, its
// maker's, when made; the object is deleted with the last. The owner's
// destructor is private (only its release deletes it), so it names this
// class its friend.
//
// Threads: any; the count is atomic.
#pragma once

#include <atomic>
#include <cstdint>

namespace vst3 {

template <typename Owner>
class ReferenceCount {
 public:
  uint32_t Add() { return ++count; }
  // Drops one reference and deletes `owner` with the last; the references
  // left.
  uint32_t Drop(Owner* owner) {
    const uint32_t left = --count;
    if (left == 0) delete owner;
    return left;
  }

 private:
  std::atomic<uint32_t> count{1};
};

}  // namespace vst3
