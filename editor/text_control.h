// A fixed text drawn in a rectangle with the platform's fonts.
#pragma once

#include <string>

#include "editor/control.h"

class TextControl : public Control {
 public:
  // Bound to no parameter.
  TextControl(PlugParams* plug, const Rect& rect, const TextStyle& style, const std::string& text);

  // Draws nothing (and succeeds) for an empty text.
  bool Draw(Editor* editor) override;

 protected:
  TextControl(PlugParams* plug, const Rect& rect, int paramIdx, const TextStyle& style);
  bool DrawString(Editor* editor, const std::string& shown);

 private:
  TextStyle style;
  std::string text;
};
