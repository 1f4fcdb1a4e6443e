// Texts as VST 3 passes them: UTF-16 in fixed arrays of 128 units.
#pragma once

#include <string>

// Writes UTF-8 `text` into `out` as UTF-16, at most capacity - 1 units and a
// terminating 0; a character that would not fit whole is left out, as is
// everything after it. Malformed bytes become U+FFFD.
void CopyToUtf16(char16_t* out, int capacity, const std::string& text);

// UTF-16 up to its terminating 0, or `capacity` units, as UTF-8. An unpaired
// surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const char16_t* text, int capacity);
