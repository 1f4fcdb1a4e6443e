#include "dither/editor/graph_grid.h"

#include "editor/editor.h"

namespace {

// Where each frequency sits across the width. The graphs stretch the low bins
// logarithmically; at 44.1 kHz these fractions lie within 1 % of the warped
// positions of their frequencies, and they stay put at other rates.
struct Label {
  float fraction;
  const char* text;
};
constexpr Label kLabels[] = {{0.0f, "100"}, {0.13f, "500"}, {0.27f, "1k"},
                             {0.48f, "2k"}, {0.63f, "3k"},  {0.74f, "4k"},
                             {0.82f, "5k"}, {0.97f, "10k"}, {1.0f, ""}};

}  // namespace

GraphGrid::GraphGrid(PlugParams* plug, const Rect& rect, const Colour& colour)
    : Control(plug, rect, -1, 0, 1.0f),
      colour(colour),
      labelStyle(12, Colour{255, 255, 255, 255}, "Arial", kTextNormal, kAlignCentre, 0) {}

bool GraphGrid::Draw(Editor* editor) {
  const Rect& r = DrawRect();
  const auto left = static_cast<float>(r.left);
  const auto right = static_cast<float>(r.right);
  const auto top = static_cast<float>(r.top);
  const auto bottom = static_cast<float>(r.bottom);
  editor->DrawLine(colour, left, top, right, top, nullptr, false);
  editor->DrawLine(colour, left, bottom, right, bottom, nullptr, false);
  for (int i = 1; i <= 5; ++i) {
    const float y = static_cast<float>(i * (r.bottom - r.top)) * 0.16666667f + top;
    editor->DrawLine(colour, left, y, right, y, nullptr, false);
  }
  for (const Label& label : kLabels) {
    const float x = (right - left) * label.fraction + left;
    editor->DrawLine(colour, x, bottom, x, top, nullptr, false);
    const int column = static_cast<int>(x);
    editor->DrawText(labelStyle, label.text, Rect{column - 10, r.top - 14, column + 10, r.top - 2});
  }
  return true;
}
