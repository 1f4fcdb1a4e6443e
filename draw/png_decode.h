// PNG decoding into the drawing layer's bitmaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "draw/memory_bitmap.h"

// Decodes a PNG file held in memory into PackedColour pixels (not
// premultiplied; alpha 255 for images without alpha); null when the bytes are
// not a PNG this decoder reads, or the image is too large.
std::unique_ptr<MemoryBitmap> DecodePng(const uint8_t* data, size_t size);
