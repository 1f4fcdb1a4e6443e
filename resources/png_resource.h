// The library's own PNG images, found by resource id. On Windows they are
// resources of type "PNG" in the module; elsewhere the same files are built
// into the library as byte arrays.
#pragma once

#include <cstddef>
#include <cstdint>

struct PngResource {
  const uint8_t* data;  // the PNG file's bytes; null when there is no such image
  size_t size;          // in bytes
};

// [any thread] The bytes of the image with this id. The bytes live as long as
// the library is loaded.
PngResource FindPngResource(int resourceId);
