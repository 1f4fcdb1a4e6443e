// A text buffer handed to the plug-in, followed by a guard zone. The whole
// storage starts filled with one byte value; a plug-in that writes past the
// capacity it was promised changes the guard zone, and Describe says so.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class GuardedText {
 public:
  explicit GuardedText(size_t capacity);

  char* Data() { return bytes.data(); }

  // The bytes before the first zero inside the capacity (all of them when
  // there is no zero there).
  std::string Text() const;
  // The number of guard bytes the plug-in changed.
  size_t Overrun() const;
  // "untouched" when the plug-in wrote nothing; otherwise the quoted text, then " UNTERMINATED"
  // when no zero lies inside the capacity and " OVERRUN n" when n guard bytes changed.
  std::string Describe() const;

 private:
  bool Untouched() const;

  size_t capacity;
  std::vector<char> bytes;
};
