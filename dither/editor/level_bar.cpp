#include "dither/editor/level_bar.h"

#include <cmath>

#include "editor/editor.h"

LevelBar::LevelBar(PlugParams* plug, const Rect& rect) : Control(plug, rect, -1, 0, 1.0f) {}

// Row i of r = h / 2 rows from each edge is a line from left + h - d to
// b + d, where d = sqrt(r^2 - (r - i)^2) rounds the ends and b, the right
// end's centre, follows the value.
bool LevelBar::Draw(Editor* editor) {
  const Rect& rect = DrawRect();
  const int h = rect.bottom - rect.top;
  const int r = h / 2;
  if (r < 1) return true;
  const float b = static_cast<float>(rect.right - 2 * h - rect.left) * static_cast<float>(Value()) +
                  static_cast<float>(rect.left + h);
  const auto start = static_cast<float>(rect.left + h);
  for (int i = 1; i <= r; ++i) {
    const auto d = static_cast<float>(std::sqrt(static_cast<double>(r * r - (r - i) * (r - i))));
    editor->DrawLine(colour, start - d, static_cast<float>(rect.top + i), b + d,
                     static_cast<float>(rect.top + i), nullptr, true);
    editor->DrawLine(colour, start - d, static_cast<float>(rect.bottom - i), b + d,
                     static_cast<float>(rect.bottom - i), nullptr, true);
  }
  return true;
}
