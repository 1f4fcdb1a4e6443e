// The growable array of doubles used throughout the dither engine:
// coefficients, error histories, accumulators, rings and spectra.
// Capacity is at least 64 and doubles; storage is kept when the count shrinks.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>

class SampleArray {
 public:
  SampleArray() = default;
  SampleArray(const SampleArray& other) { *this = other; }
  SampleArray& operator=(const SampleArray& other) {
    if (this != &other && Resize(other.count, false) == other.count && count > 0) {
      std::memcpy(data, other.data, sizeof(double) * static_cast<size_t>(count));
    }
    return *this;
  }
  ~SampleArray() { std::free(data); }

  // Sets the count to n (a negative n counts as 0), growing the storage if
  // needed; with zeroFill every element up to the capacity is cleared.
  // Returns the new count, which is 0 when storage could not be had: a
  // caller that goes on to index the array must compare it with n. Shrinking
  // never fails.
  [[nodiscard]] int32_t Resize(int32_t n, bool zeroFill) {
    if (n < 0) n = 0;
    if (n > capacity) {
      int64_t grown = capacity > 64 ? capacity : 64;
      while (grown < n) grown *= 2;
      auto* storage = static_cast<double*>(std::realloc(data, sizeof(double) * grown));
      if (storage == nullptr) {
        count = 0;
        return 0;
      }
      data = storage;
      capacity = static_cast<int32_t>(grown);
    }
    count = data ? n : 0;
    if (zeroFill && data) std::memset(data, 0, sizeof(double) * static_cast<size_t>(capacity));
    return count;
  }

  // Count 0, storage kept.
  void Clear() { count = 0; }

  // Unchecked element access.
  double& operator[](int32_t i) { return data[i]; }
  double operator[](int32_t i) const { return data[i]; }

  // Ring view: any index maps to i mod count, taken non-negative, so -1 is the
  // last element. The count must not be 0.
  double& Ring(int64_t i) {
    int64_t m = i % count;
    return data[m < 0 ? m + count : m];
  }

  int32_t Count() const { return count; }
  int32_t Capacity() const { return capacity; }
  double* Data() { return data; }
  const double* Data() const { return data; }

 private:
  double* data = nullptr;
  int32_t count = 0;
  int32_t capacity = 0;
};
