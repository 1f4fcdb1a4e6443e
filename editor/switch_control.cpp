#include "editor/switch_control.h"

void SwitchControl::OnMouseDown(int, int, const Modifiers&) {
  const int frames = Picture().frames;
  double next = Value() + (frames > 1 ? 1.0 / (frames - 1) : 1.0);
  if (next > 1.001) next = 0.0;
  SetValue(next);
  ApplyEdit();
}
