// Small value types that the editor, its controls and its platform layer
// share. Rect, Colour and Blend come from the drawing layer.
#pragma once

#include <string>

#include "draw/blend.h"
#include "draw/colour.h"
#include "draw/rect.h"

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

enum TextFontStyle : int { kTextNormal = 0, kTextBold = 1, kTextItalic = 2 };
enum TextAlignment : int { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// How a text is drawn. The editor's surface keeps the font made from the
// first style it draws with; later styles contribute colour and alignment.
struct TextStyle {
  std::string fontName;
  int size = 14;  // the font's cell height in pixels
  Colour colour = {255, 0, 0, 0};
  int style = kTextNormal;     // TextFontStyle
  int alignment = kAlignLeft;  // TextAlignment; other values align left
  int orientation = 0;         // degrees

  TextStyle() = default;
  TextStyle(int size, const Colour& colour, const char* fontName, int style, int alignment,
            int orientation)
      : fontName(fontName ? fontName : ""),
        size(size),
        colour(colour),
        style(style),
        alignment(alignment),
        orientation(orientation) {}
};
