// PNG decoding for hosts that offer no loader, by stb_image: PNG only, from
// memory, all functions private to this file.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#include <stb_image.h>

#include <climits>

#include "draw/png_decode.h"

std::unique_ptr<MemoryBitmap> DecodePng(const uint8_t* data, size_t size) {
  if (!data || size == 0 || size > INT_MAX) return nullptr;
  int width = 0, height = 0, channels = 0;
  // Four channels asked for: images without alpha come out opaque.
  stbi_uc* rgba =
      stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
  if (!rgba) return nullptr;
  auto bitmap = std::make_unique<MemoryBitmap>(width, height);
  uint32_t* bits = bitmap->Bits();
  if (bits) {
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i) {
      const stbi_uc* p = rgba + i * 4;
      bits[i] = uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
    }
  }
  stbi_image_free(rgba);
  if (!bits) return nullptr;
  return bitmap;
}
