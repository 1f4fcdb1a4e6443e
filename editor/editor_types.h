// Small value types that the editor, its controls and its platform layer
// share. Rect, Colour and Blend come from the drawing layer, TextStyle from
// the text layer.
#pragma once

#include "draw/blend.h"
#include "draw/colour.h"
#include "draw/rect.h"
#include "text/text_style.h"

// The buttons and keys held during a mouse message.
struct Modifiers {
  bool left;     // L: left button
  bool right;    // R: right button
  bool shift;    // S
  bool control;  // C
  bool alt;      // A
};

// An image of the editor's bitmap cache, by resource id. Frames are stacked
// vertically; one frame is width by height / frames.
struct BitmapRef {
  int resourceId;
  int width;   // pixels; 0 when the image could not be loaded
  int height;  // total height of all frames; 0 when not loaded
  int frames;
};

// The height of one frame; a frame count below 1 counts as 1.
inline int FrameHeight(const BitmapRef& bitmap) {
  return bitmap.frames > 1 ? bitmap.height / bitmap.frames : bitmap.height;
}
