// The input level bar: a capsule with round ends whose right end moves from
// left + h (value 0) to right - h (value 1), h being the bar's height. Its
// value arrives from the audio thread through SetValueFromPlug.
#pragma once

#include "editor/control.h"

class LevelBar : public Control {
 public:
  LevelBar(PlugParams* plug, const Rect& rect);
  void SetColour(const Colour& newColour) { colour = newColour; }
  bool Draw(Editor* editor) override;

 private:
  Colour colour{255, 255, 255, 255};
};
