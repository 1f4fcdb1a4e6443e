#include "draw/system_bitmap.h"

#include <windows.h>

#include "draw/memory_bitmap.h"

SystemBitmap::SystemBitmap(int width, int height) {
  deviceContext = CreateCompatibleDC(nullptr);
  (void)Resize(width, height);
}

SystemBitmap::~SystemBitmap() {
  HDC dc = static_cast<HDC>(deviceContext);
  if (previousBitmap) SelectObject(dc, static_cast<HGDIOBJ>(previousBitmap));
  if (section) DeleteObject(static_cast<HGDIOBJ>(section));
  if (dc) DeleteDC(dc);
}

bool SystemBitmap::Resize(int newWidth, int newHeight) {
  if (newWidth == width && newHeight == height) return false;
  width = newWidth;
  height = newHeight;
  if (width == 0 || height == 0) return false;

  HDC dc = static_cast<HDC>(deviceContext);
  if (previousBitmap) {
    SelectObject(dc, static_cast<HGDIOBJ>(previousBitmap));
    previousBitmap = nullptr;
  }
  if (section) DeleteObject(static_cast<HGDIOBJ>(section));
  section = nullptr;
  bits = nullptr;
  // A negative height would ask GDI for a bottom-up section, which the rest
  // of the drawing layer does not expect: such a size has no pixels.
  if (!SurfaceBytes(width, height)) return true;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP created = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (!created) return true;
  section = created;
  bits = static_cast<uint32_t*>(pixels);
  previousBitmap = SelectObject(dc, created);
  return true;
}
