#include "editor/knob_control.h"

#include "editor/editor.h"

KnobControl::KnobControl(PlugParams* plug, int x, int y, int paramIdx, const BitmapRef& bitmap,
                         double minAngle, double maxAngle, int yOffset, int direction,
                         double gearing)
    : Control(plug, Rect{x, y, x + bitmap.width, y + FrameHeight(bitmap)}, paramIdx, 0, 1.0f),
      direction(direction),
      gearing(gearing),
      bitmap(bitmap),
      minAngle(minAngle),
      maxAngle(maxAngle),
      yOffset(yOffset) {}

void KnobControl::OnMouseDrag(int, int, int dX, int dY, const Modifiers&) {
  const Rect& r = DrawRect();
  // value += delta / extent / gearing, with the extent negative vertically
  // (top - bottom) so that moving up raises the value. A knob without extent
  // or gearing does not turn (rather than jumping to an infinite value).
  const double extent = direction == kKnobVertical ? r.top - r.bottom : r.right - r.left;
  const double delta = direction == kKnobVertical ? dY : dX;
  if (extent != 0.0 && gearing != 0.0) SetValue(Value() + delta / extent / gearing);
  ApplyEdit();
}

bool KnobControl::Draw(Editor* editor) {
  const Rect& r = DrawRect();
  const double angle = minAngle + (maxAngle - minAngle) * Value();
  const Blend blend = CurrentBlend();
  return editor->DrawRotatedBitmap(bitmap, (r.left + r.right) / 2, (r.top + r.bottom) / 2, angle,
                                   yOffset, &blend);
}
