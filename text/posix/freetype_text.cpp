// Text on the surface without GDI, rasterised with FreeType from Liberation
// Sans (metrics of the usual sans-serif face of Windows). Without the font
// file no font can be made and text draws nothing. Rotation
// (TextStyle::orientation) is not applied here.
//
// Each font has a FreeType library of its own, so editors on different
// threads never share FreeType state; only the set of live fonts is shared.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>
#include <set>
#include <string>

#include "draw/system_bitmap.h"
#include "text/text.h"
#include "text/posix/freetype_text.h"

namespace {

struct FreeTypeFont {
  FT_Library library;
  FT_Face face;
};

const char* FontFile(int style) {
  switch (style) {
    case kTextBold: return "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf";
    case kTextItalic: return "/usr/share/fonts/truetype/liberation/LiberationSans-Italic.ttf";
    default: return "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
  }
}

std::mutex fontsLock;
std::set<void*> fonts;  // every live font, so that a stale handle is refused

FreeTypeFont* FontOf(void* font) {
  std::lock_guard<std::mutex> guard(fontsLock);
  return font != nullptr && fonts.count(font) != 0 ? static_cast<FreeTypeFont*>(font) : nullptr;
}

// d + (c - d) * coverage / 255 on blue, green and red; alpha stays.
void BlendCoverage(uint32_t* pixel, const Colour& c, int coverage) {
  const uint32_t d = *pixel;
  const int b = static_cast<int>(d & 0xFF);
  const int g = static_cast<int>((d >> 8) & 0xFF);
  const int r = static_cast<int>((d >> 16) & 0xFF);
  const uint32_t nb = static_cast<uint32_t>(b + (c.b - b) * coverage / 255);
  const uint32_t ng = static_cast<uint32_t>(g + (c.g - g) * coverage / 255);
  const uint32_t nr = static_cast<uint32_t>(r + (c.r - r) * coverage / 255);
  *pixel = (d & 0xFF000000u) | nr << 16 | ng << 8 | nb;
}

// Blends a glyph's coverage into the pixels of `area` (within the surface).
void DrawGlyph(SystemBitmap& surface, const FT_GlyphSlot glyph, int left, int top,
               const Colour& colour, const Rect& area) {
  const FT_Bitmap& coverage = glyph->bitmap;
  for (unsigned row = 0; row < coverage.rows; ++row) {
    const int y = top + static_cast<int>(row);
    if (y < area.top || y >= area.bottom) continue;
    for (unsigned column = 0; column < coverage.width; ++column) {
      const int x = left + static_cast<int>(column);
      if (x < area.left || x >= area.right) continue;
      const int a = coverage.buffer[row * static_cast<unsigned>(coverage.pitch) + column];
      if (a) BlendCoverage(surface.Bits() + y * surface.RowSpan() + x, colour, a);
    }
  }
}

int LineWidth(FT_Face face, const std::string& line) {
  int width = 0;
  for (unsigned char c : line) {
    if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0) width += face->glyph->advance.x >> 6;
  }
  return width;
}

void DrawLine(SystemBitmap& surface, FT_Face face, const std::string& line, int x, int baseline,
              const Colour& colour, const Rect& area) {
  for (unsigned char c : line) {
    if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
    DrawGlyph(surface, face->glyph, x + face->glyph->bitmap_left,
              baseline - face->glyph->bitmap_top, colour, area);
    x += face->glyph->advance.x >> 6;
  }
}

}  // namespace

void* CreateTextFont(const TextStyle& style) {
  auto* font = new FreeTypeFont{nullptr, nullptr};
  if (FT_Init_FreeType(&font->library) != 0) {
    delete font;
    return nullptr;
  }
  // The style's size is the cell height, as for the system's fonts.
  FT_Size_RequestRec request = {FT_SIZE_REQUEST_TYPE_CELL, 0, style.size * 64, 0, 0};
  if (FT_New_Face(font->library, FontFile(style.style), 0, &font->face) != 0 ||
      FT_Request_Size(font->face, &request) != 0) {
    if (font->face) FT_Done_Face(font->face);
    FT_Done_FreeType(font->library);
    delete font;
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(fontsLock);
  fonts.insert(font);
  return font;
}

void DeleteTextFont(void* font) {
  FreeTypeFont* found = FontOf(font);
  if (found == nullptr) return;
  {
    std::lock_guard<std::mutex> guard(fontsLock);
    fonts.erase(font);
  }
  FT_Done_Face(found->face);
  FT_Done_FreeType(found->library);
  delete found;
}

int LiveFonts() {
  std::lock_guard<std::mutex> guard(fontsLock);
  return static_cast<int>(fonts.size());
}

int TextWidth(void* font, const std::string& text) {
  FreeTypeFont* found = FontOf(font);
  return found ? LineWidth(found->face, text) : 0;
}

// The surface has no device context here: each drawing gets the font.
void SelectSurfaceFont(SystemBitmap&, void*) {}

bool DrawSurfaceText(SystemBitmap& surface, void* font, const TextStyle& style, const char* text,
                     const Rect& rect, const Rect* clip) {
  FreeTypeFont* found = FontOf(font);
  if (found == nullptr || text == nullptr || surface.Bits() == nullptr) return false;
  const Rect whole{0, 0, surface.Width(), surface.Height()};
  const Rect area = clip ? Intersection(whole, *clip) : whole;
  const FT_Size_Metrics& metrics = found->face->size->metrics;
  // The baseline lies the font's ascent, rounded to the nearest pixel, below
  // the top, where GDI puts it; FreeType's own size metric rounds the ascent
  // up, which set every glyph a row lower and let the bottom row of a caption
  // fall outside the rectangle that is repainted.
  const FT_Face face = found->face;
  const int ascender = static_cast<int>((FT_MulFix(face->ascender, metrics.y_scale) + 32) >> 6);
  const int lineHeight = static_cast<int>((metrics.ascender - metrics.descender) >> 6);
  const std::string all(text);
  int top = rect.top;
  for (size_t start = 0; start <= all.size();) {
    size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    const std::string line = all.substr(start, end - start);
    const int width = LineWidth(found->face, line);
    int x = rect.left;
    if (style.alignment == kAlignCentre) x = rect.left + (rect.right - rect.left - width) / 2;
    if (style.alignment == kAlignRight) x = rect.right - width;
    DrawLine(surface, found->face, line, x, top + ascender, style.colour, area);
    top += lineHeight;
    start = end + 1;
  }
  return top != rect.top;
}
