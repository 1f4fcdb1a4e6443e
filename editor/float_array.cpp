#include "editor/float_array.h"

#include <climits>
#include <cstdlib>

FloatArray::~FloatArray() { std::free(data); }

bool FloatArray::Resize(int n, bool zero) {
  if (n < 0) n = 0;
  if (capacity < n) {
    int grown = capacity > 64 ? capacity : 64;
    while (grown < n && grown <= INT_MAX / 2) grown *= 2;
    void* moved =
        grown >= n ? std::realloc(data, sizeof(float) * static_cast<size_t>(grown)) : nullptr;
    if (moved == nullptr) {
      std::free(data);
      data = nullptr;
      length = capacity = 0;
      return false;
    }
    data = static_cast<float*>(moved);
    capacity = grown;
  }
  length = data ? n : 0;
  if (zero) {
    for (int i = 0; i < capacity; ++i) data[i] = 0.0f;
  }
  return length == n;
}

void FloatArray::Limit(float low, float high) {
  for (int i = 0; i < length; ++i) {
    if (data[i] < low) data[i] = low;
    if (!(data[i] < high)) data[i] = high;
  }
}
