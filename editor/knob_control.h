// A picture turned about its centre by the value, between a minimum and a
// maximum angle, and changed by dragging.
#pragma once

#include "editor/control.h"

enum KnobDirection : int { kKnobVertical = 0, kKnobHorizontal = 1 };

class KnobControl : public Control {
 public:
  // Drawn at (x, y) the size of one frame of `bitmap`; angles in degrees,
  // clockwise on screen. A drag of `gearing` times the knob's height
  // (vertical) or width (horizontal) sweeps the whole range.
  KnobControl(PlugParams* plug, int x, int y, int paramIdx, const BitmapRef& bitmap,
              double minAngle, double maxAngle, int yOffset, int direction, double gearing);

  // Moving up (or right) raises the value; the change is reported.
  void OnMouseDrag(int x, int y, int dX, int dY, const Modifiers& mods) override;
  bool Draw(Editor* editor) override;

 private:
  int direction;   // KnobDirection; any value but 0 is horizontal
  double gearing;  // pixels of drag per pixel of knob for the whole range
  BitmapRef bitmap;
  double minAngle;  // degrees at value 0
  double maxAngle;  // degrees at value 1
  int yOffset;      // vertical offset of the turning centre at zero degrees
};
