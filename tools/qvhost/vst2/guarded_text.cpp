#include "tools/qvhost/vst2/guarded_text.h"

#include <cstring>

#include "tools/qvhost/report.h"

namespace {
constexpr char kFill = static_cast<char>(0xa5);
constexpr size_t kGuardBytes = 64;
}  // namespace

GuardedText::GuardedText(size_t capacity)
    : capacity(capacity), bytes(capacity + kGuardBytes, kFill) {}

std::string GuardedText::Text() const {
  const void* zero = std::memchr(bytes.data(), 0, capacity);
  const size_t length =
      zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes.data()) : capacity;
  return std::string(bytes.data(), length);
}

size_t GuardedText::Overrun() const {
  size_t changed = 0;
  for (size_t i = capacity; i < bytes.size(); ++i) changed += bytes[i] != kFill;
  return changed;
}

bool GuardedText::Untouched() const {
  for (size_t i = 0; i < capacity; ++i) {
    if (bytes[i] != kFill) return false;
  }
  return Overrun() == 0;
}

std::string GuardedText::Describe() const {
  if (Untouched()) return "untouched";
  std::string result = QuoteText(Text());
  if (std::memchr(bytes.data(), 0, capacity) == nullptr) result += " UNTERMINATED";
  if (Overrun() > 0) result += " OVERRUN " + std::to_string(Overrun());
  return result;
}
