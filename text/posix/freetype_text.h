// What the FreeType text offers the window layers beyond text/text.h.
//
// Threads: any; the fonts' bookkeeping takes a lock of its own, and one font
// is used by one thread at a time (its editor's).
#pragma once

#include <string>

// Fonts alive in the process (CreateTextFont not yet matched by
// DeleteTextFont).
int LiveFonts();
// The width in pixels of `text` on one line in `font`; 0 for an unknown font.
int TextWidth(void* font, const std::string& text);
