// The display text of a parameter, optionally followed by its unit label.
// It shows the parameter's value at drawing time; its own value only marks
// it for redraw (a knob paired with it passes its value on).
#pragma once

#include "editor/text_control.h"

class CaptionControl : public TextControl {
 public:
  CaptionControl(PlugParams* plug, const Rect& rect, int paramIdx, const TextStyle& style,
                 bool showLabel);

  bool Draw(Editor* editor) override;

 private:
  bool showLabel;
};
