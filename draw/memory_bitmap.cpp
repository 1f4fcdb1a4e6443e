#include "draw/memory_bitmap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

size_t SurfaceBytes(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  const uint64_t bytes = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
  return bytes <= static_cast<uint64_t>(PTRDIFF_MAX) ? static_cast<size_t>(bytes) : 0;
}

MemoryBitmap::MemoryBitmap(int width, int height) : width(width), height(height) {
  const size_t bytes = SurfaceBytes(width, height);
  if (bytes) bits = static_cast<uint32_t*>(std::malloc(bytes));
}

MemoryBitmap::~MemoryBitmap() { std::free(bits); }

bool MemoryBitmap::Resize(int newWidth, int newHeight) {
  if (newWidth == width && newHeight == height) return false;
  width = newWidth;
  height = newHeight;
  const size_t bytes = SurfaceBytes(width, height);
  if (!bytes) {
    std::free(bits);
    bits = nullptr;
    return true;
  }
  void* grown = std::realloc(bits, bytes);
  if (!grown) {
    // The old block could not be grown in place or moved: start afresh.
    std::free(bits);
    grown = std::malloc(bytes);
  }
  bits = static_cast<uint32_t*>(grown);
  return true;
}
