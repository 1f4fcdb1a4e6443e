#include "draw/load_bitmap_resource.h"

#include "draw/host_bitmap.h"
#include "host/host_services.h"
#include "host/module.h"
#include "resources/png_resource.h"

std::unique_ptr<Bitmap> LoadBitmapResource(int resourceId, int* width, int* height) {
  *width = 0;
  *height = 0;
  std::unique_ptr<Bitmap> bitmap;
  if (void* loader = HostExtension(kHostPngLoaderName)) {
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
