// The growable byte buffer through which a host saves and restores opaque
// state. Capacity is at least 64 bytes, then doubles; memory is kept until the
// chunk is destroyed.
#pragma once

#include <cstdint>

class StateChunk {
 public:
  StateChunk() = default;
  StateChunk(const StateChunk&) = delete;
  StateChunk& operator=(const StateChunk&) = delete;
  virtual ~StateChunk();

  virtual uint8_t ByteAt(int32_t index) const { return data[index]; }
  virtual uint8_t* AddressAt(int32_t offset) { return data + offset; }

  // Makes room for n bytes and sets the size; with zeroFill the whole
  // capacity is cleared. A negative n counts as 0: the size becomes 0 and the
  // call succeeds. Returns false (size 0, capacity and contents kept) if
  // memory cannot be had.
  [[nodiscard]] bool Resize(int32_t n, bool zeroFill);

  int32_t Size() const { return size; }
  int32_t Capacity() const { return capacity; }
  uint8_t* Data() { return data; }

 private:
  uint8_t* data = nullptr;
  int32_t size = 0;
  int32_t capacity = 0;
};
