#include "draw/system_bitmap.h"

#include <cstdlib>

#include "draw/memory_bitmap.h"

SystemBitmap::SystemBitmap(int width, int height) { (void)Resize(width, height); }

SystemBitmap::~SystemBitmap() { std::free(section); }

bool SystemBitmap::Resize(int newWidth, int newHeight) {
  if (newWidth == width && newHeight == height) return false;
  width = newWidth;
  height = newHeight;
  if (width == 0 || height == 0) return false;
  std::free(section);
  const size_t bytes = SurfaceBytes(width, height);
  section = bytes ? std::calloc(bytes, 1) : nullptr;
  bits = static_cast<uint32_t*>(section);
  return true;
}
