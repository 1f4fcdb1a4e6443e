#include "editor/bitmap_control.h"

#include <algorithm>

#include "editor/editor.h"

BitmapControl::BitmapControl(PlugParams* plug, int x, int y, int paramIdx, const BitmapRef& bitmap,
                             int blendKind)
    : Control(plug, Rect{x, y, x + bitmap.width, y + FrameHeight(bitmap)}, paramIdx, blendKind,
              1.0f),
      bitmap(bitmap) {}

bool BitmapControl::Draw(Editor* editor) {
  const int frames = bitmap.frames;
  int frame = 1;
  if (frames > 1) {
    frame = static_cast<int>(Value() * (frames - 1) + 0.5) + 1;
    frame = std::min(frames, std::max(1, frame));
  }
  const Blend blend = CurrentBlend();
  return editor->DrawBitmapFrame(bitmap, DrawRect(), frame, &blend);
}
