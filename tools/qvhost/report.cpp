#include "tools/qvhost/report.h"

#include <cstdio>
#include <cstring>

namespace {
// Answers up to this magnitude print in decimal, larger ones in hex.
constexpr int64_t kDecimalLimit = 1 << 20;
}  // namespace

std::string FormatAnswer(int64_t value) {
  const auto low = static_cast<uint32_t>(value);
  const auto signedLow = static_cast<int32_t>(low);
  char text[64];
  if (signedLow > -kDecimalLimit && signedLow < kDecimalLimit) {
    std::snprintf(text, sizeof text, "%d", static_cast<int>(signedLow));
  } else {
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(low));
  }
  std::string result = text;
  const bool extended = value == signedLow || value == static_cast<int64_t>(low);
  if (!extended) {
    std::snprintf(text, sizeof text, " high=0x%08x",
                  static_cast<unsigned>(static_cast<uint64_t>(value) >> 32));
    result += text;
  }
  return result;
}

std::string FormatFloat(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char text[64];
  std::snprintf(text, sizeof text, "%.9g (0x%08x)", static_cast<double>(value),
                static_cast<unsigned>(bits));
  return text;
}

std::string FormatBytes(const std::string& bytes) {
  std::string result;
  char pair[3];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    result += pair;
  }
  return result;
}

std::string QuoteText(const std::string& text) {
  std::string result = "\"";
  char escape[5];
  for (unsigned char c : text) {
    if (c < 0x20 || c >= 0x7f || c == '"' || c == '\\') {
      std::snprintf(escape, sizeof escape, "\\x%02x", c);
      result += escape;
    } else {
      result += static_cast<char>(c);
    }
  }
  return result + "\"";
}
