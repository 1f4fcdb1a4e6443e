// The style of a text, shared by the text layer and the editor.
#pragma once

#include <string>

#include "draw/colour.h"

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
