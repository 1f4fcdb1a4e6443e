// The frame over the two spectra: top and bottom edges, five horizontal grid
// lines, and a vertical line with its label above the frame for each of the
// frequencies 100 Hz to 10 kHz (and the right edge, unlabelled).
#pragma once

#include "editor/control.h"

class GraphGrid : public Control {
 public:
  GraphGrid(PlugParams* plug, const Rect& rect, const Colour& colour);
  bool Draw(Editor* editor) override;

 private:
  Colour colour;         // the line colour
  TextStyle labelStyle;  // white 12-pixel Arial, centred
};
