// Text on a drawing surface: fonts made from a text style, and a line of text
// drawn into a rectangle. GDI does it on Windows (text/win32/), FreeType
// elsewhere (text/posix/). Fonts are void*: the HFONT on Windows, the layer's
// own record elsewhere.
//
// Threads: any; one font is used by one thread at a time.
#pragma once

#include "draw/rect.h"
#include "text/text_style.h"

class SystemBitmap;

// A font from a text style (cell height, weight, italic, face, rotation);
// null when none can be made.
void* CreateTextFont(const TextStyle& style);
void DeleteTextFont(void* font);
// Puts `font` into the surface's device context for all later text.
void SelectSurfaceFont(SystemBitmap& surface, void* font);
// Draws `text` into `rect` of the surface with the selected font, the style's
// colour and alignment, transparent background, not clipped to `rect` but
// only within `clip` when given (a glyph is blended over what is there, so a
// repaint must not reach pixels whose background it did not redraw). True
// when a height other than 0 was drawn.
bool DrawSurfaceText(SystemBitmap& surface, void* font, const TextStyle& style, const char* text,
                     const Rect& rect, const Rect* clip = nullptr);
