#include "vst3/utf16.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The next code point of `text` from `i`, which moves past it.
char32_t NextCodePoint(const std::string& text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i++]);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 && lead < 0xF5 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
  if (extra < 0 || lead >= 0xF5) return kReplacement;
  char32_t code = lead & (0x3F >> extra);
  for (; extra > 0; --extra) {
    if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      return kReplacement;
    }
    code = (code << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
  }
  if ((code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) return kReplacement;
  return code;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

void CopyToUtf16(char16_t* out, int capacity, const std::string& text) {
  if (out == nullptr || capacity <= 0) return;
  int n = 0;
  for (size_t i = 0; i < text.size();) {
    const char32_t code = NextCodePoint(text, i);
    const int units = code >= 0x10000 ? 2 : 1;
    if (n + units > capacity - 1) break;
    if (units == 1) {
      out[n++] = static_cast<char16_t>(code);
    } else {
      out[n++] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out[n++] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    }
  }
  out[n] = 0;
}

std::string Utf16ToUtf8(const char16_t* text, int capacity) {
  std::string out;
  if (text == nullptr) return out;
  for (int i = 0; i < capacity && text[i] != 0; ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < capacity && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code < 0xE000) {
      code = kReplacement;
    }
    AppendUtf8(out, code);
  }
  return out;
}
