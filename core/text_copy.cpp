#include "core/text_copy.h"

#include <climits>
#include <cmath>
#include <cstring>

void CopyBounded(char* buffer, const std::string& text, size_t capacity) {
  if (buffer == nullptr || capacity == 0) return;
  size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  std::memcpy(buffer, text.data(), n);
  std::memset(buffer + n, 0, capacity - n);
}

size_t BoundedLength(const char* text, size_t capacity) {
  size_t n = 0;
  while (n < capacity && text[n] != '\0') ++n;
  return n;
}

int TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}
