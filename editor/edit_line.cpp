#include "editor/edit_line.h"

namespace {

bool IsNumberCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E';
}

}  // namespace

void EditLine::SetText(const std::string& newText) {
  text = newText.substr(0, capacity);
  caret = text.size();
  allSelected = true;
}

void EditLine::Clear() {
  text.clear();
  caret = 0;
  allSelected = false;
}

bool EditLine::Type(char c) {
  if (!IsNumberCharacter(c)) return false;
  if (allSelected) Clear();
  if (text.size() >= capacity) return false;
  text.insert(caret++, 1, c);
  return true;
}

bool EditLine::Press(EditKey key) {
  const bool wasSelected = allSelected;
  const size_t before = caret;
  if (allSelected && (key == EditKey::kBackspace || key == EditKey::kDelete)) {
    Clear();
    return true;
  }
  allSelected = false;
  switch (key) {
    case EditKey::kBackspace:
      if (caret == 0) return false;
      text.erase(--caret, 1);
      return true;
    case EditKey::kDelete:
      if (caret == text.size()) return false;
      text.erase(caret, 1);
      return true;
    // Leaving a selection puts the caret at its start or end.
    case EditKey::kLeft: caret = wasSelected ? 0 : (caret > 0 ? caret - 1 : 0); break;
    case EditKey::kRight:
      caret = wasSelected ? text.size() : (caret < text.size() ? caret + 1 : caret);
      break;
    case EditKey::kHome: caret = 0; break;
    case EditKey::kEnd: caret = text.size(); break;
  }
  return wasSelected || caret != before;
}
