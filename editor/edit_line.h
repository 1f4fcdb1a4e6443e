// The text of a one-line number box that a window layer without an edit
// control draws itself: the text, a caret between characters, and whether the
// whole text is selected, as it is when the box opens, so that the first
// character typed replaces it. Only what a number can hold is typed: digits,
// a sign, a point and an exponent.
//
// Threads: the thread that delivers the box's messages.
#pragma once

#include <cstddef>
#include <string>

enum class EditKey { kBackspace, kDelete, kLeft, kRight, kHome, kEnd };

class EditLine {
 public:
  // `capacity`: the most characters the line holds.
  explicit EditLine(size_t capacity) : capacity(capacity) {}

  // Replaces the text (cut to the capacity), selects all of it and puts the
  // caret at its end.
  void SetText(const std::string& newText);
  // Inserts `c` at the caret, or replaces the selected text with it. False,
  // and nothing changes, for a character no number holds or a full line.
  bool Type(char c);
  // Backspace and Delete remove the character before or after the caret (the
  // whole text while it is selected); the moves end the selection. False
  // when nothing changed.
  bool Press(EditKey key);

  const std::string& Text() const { return text; }
  size_t Caret() const { return caret; }
  bool AllSelected() const { return allSelected; }

 private:
  void Clear();

  size_t capacity;
  std::string text;
  size_t caret = 0;
  bool allSelected = false;
};
