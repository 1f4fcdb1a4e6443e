#include "core/state_chunk.h"

#include <cstdlib>
#include <cstring>

StateChunk::~StateChunk() { std::free(data); }

bool StateChunk::Resize(int32_t n, bool zeroFill) {
  if (n < 0) n = 0;
  if (n > capacity) {
    int64_t newCapacity = capacity > 64 ? capacity : 64;
    while (newCapacity < n) newCapacity *= 2;
    if (newCapacity > INT32_MAX) newCapacity = n;
    auto* grown = static_cast<uint8_t*>(std::realloc(data, static_cast<size_t>(newCapacity)));
    if (grown == nullptr) {
      size = 0;
      return false;
    }
    data = grown;
    capacity = static_cast<int32_t>(newCapacity);
  }
  size = data != nullptr ? n : 0;
  if (zeroFill && data != nullptr) std::memset(data, 0, static_cast<size_t>(capacity));
  return size == n;
}
