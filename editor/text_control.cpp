#include "editor/text_control.h"

#include "editor/editor.h"

TextControl::TextControl(PlugParams* plug, const Rect& rect, const TextStyle& style,
                         const std::string& text)
    : Control(plug, rect, -1, 0, 1.0f), style(style), text(text) {}

TextControl::TextControl(PlugParams* plug, const Rect& rect, int paramIdx, const TextStyle& style)
    : Control(plug, rect, paramIdx, 0, 1.0f), style(style) {}

bool TextControl::Draw(Editor* editor) { return DrawString(editor, text); }

bool TextControl::DrawString(Editor* editor, const std::string& shown) {
  if (shown.empty()) return true;
  return editor->DrawText(style, shown.c_str(), DrawRect());
}
