#include "editor/load_bitmap_resource.h"

#include <atomic>

#include "core/module.h"
#include "draw/png_decode.h"
#include "editor/host_bitmap.h"
#include "resources/png_resource.h"

namespace {
std::atomic<HostFunctionLookup> hostFunctionLookup{nullptr};
}  // namespace

void SetHostFunctionLookup(HostFunctionLookup lookup) { hostFunctionLookup.store(lookup); }

std::unique_ptr<Bitmap> LoadBitmapResource(int resourceId, int* width, int* height) {
  *width = 0;
  *height = 0;
  std::unique_ptr<Bitmap> bitmap;
  const HostFunctionLookup lookup = hostFunctionLookup.load();
  if (void* loader = lookup ? lookup(kHostPngLoaderName) : nullptr) {
    HostImage* image = reinterpret_cast<HostPngLoader>(loader)(ModuleHandle(), resourceId, nullptr);
    if (image) bitmap = std::make_unique<HostBitmap>(image);
  } else {
    const PngResource png = FindPngResource(resourceId);
    if (png.data) bitmap = DecodePng(png.data, png.size);
  }
  if (bitmap) {
    *width = bitmap->Width();
    *height = bitmap->Height();
  }
  return bitmap;
}
