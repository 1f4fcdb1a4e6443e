// A multi-frame picture that steps to its next frame on a press of either
// button and wraps to the first after the last.
#pragma once

#include "editor/bitmap_control.h"

class SwitchControl : public BitmapControl {
 public:
  using BitmapControl::BitmapControl;

  // Adds 1 / (frames - 1), or 1.0 for a one-frame picture; past 1.001 the
  // value wraps to 0. Reports the new value. The right button steps too
  // rather than opening the value entry.
  void OnMouseDown(int x, int y, const Modifiers& mods) override;
};
