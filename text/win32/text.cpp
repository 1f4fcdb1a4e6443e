// Text on a surface with GDI fonts, drawn into the surface's memory device
// context.
#include <windows.h>

#include <cstring>

#include "draw/system_bitmap.h"
#include "text/text.h"

void* CreateTextFont(const TextStyle& style) {
  LOGFONTA font = {};
  font.lfHeight = style.size;
  if (style.style == kTextBold) font.lfWeight = FW_BOLD;
  if (style.style == kTextItalic) font.lfItalic = TRUE;
  std::strncpy(font.lfFaceName, style.fontName.c_str(), LF_FACESIZE - 1);
  if (style.orientation != 0) font.lfEscapement = font.lfOrientation = style.orientation * 10;
  return CreateFontIndirectA(&font);
}

void DeleteTextFont(void* font) {
  if (font) DeleteObject(static_cast<HGDIOBJ>(font));
}

void SelectSurfaceFont(SystemBitmap& surface, void* font) {
  if (font && surface.DeviceContext()) {
    SelectObject(static_cast<HDC>(surface.DeviceContext()), static_cast<HGDIOBJ>(font));
  }
}

bool DrawSurfaceText(SystemBitmap& surface, void*, const TextStyle& style, const char* text,
                     const Rect& rect, const Rect* clip) {
  HDC dc = static_cast<HDC>(surface.DeviceContext());
  if (dc == nullptr) return false;
  const int saved = SaveDC(dc);
  if (clip) IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(style.colour.r, style.colour.g, style.colour.b));
  UINT format = DT_LEFT | DT_NOCLIP;
  if (style.alignment == kAlignCentre) format = DT_CENTER | DT_NOCLIP;
  if (style.alignment == kAlignRight) format = DT_RIGHT | DT_NOCLIP;
  RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  const int height = DrawTextA(dc, text, -1, &r, format);
  RestoreDC(dc, saved);
  // GDI may batch the drawing; the compositor writes the same pixels next.
  GdiFlush();
  return height != 0;
}
