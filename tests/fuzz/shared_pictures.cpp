#include "tests/fuzz/shared_pictures.h"

#include <map>
#include <memory>

#include "draw/png_decode.h"
#include "resources/png_resource.h"

namespace {

// A host image that presents a picture it does not own.
struct SharedImage : HostImage {
  const MemoryBitmap* picture;
};

const MemoryBitmap* PictureOf(HostImage* self) { return static_cast<SharedImage*>(self)->picture; }

void* Destroy(HostImage* self, unsigned int flags) {
  if (flags & 1) delete static_cast<SharedImage*>(self);
  return self;
}
uint32_t* Bits(HostImage* self) { return PictureOf(self)->Bits(); }
int Width(HostImage* self) { return PictureOf(self)->Width(); }
int Height(HostImage* self) { return PictureOf(self)->Height(); }
int RowSpan(HostImage* self) { return PictureOf(self)->RowSpan(); }
bool IsFlipped(HostImage* self) { return PictureOf(self)->IsFlipped(); }
// Shared pixels are never resized.
bool Resize(HostImage*, int, int) { return false; }

const HostImageSlots kSlots = {&Destroy, &Bits, &Width, &Height, &RowSpan, &IsFlipped, &Resize};

}  // namespace

HostImage* QV_CDECL SharedPictureLoader(void*, int resourceId, HostImage*) {
  // The fuzzer runs one input at a time on one thread.
  static std::map<int, std::unique_ptr<MemoryBitmap>> pictures;
  auto found = pictures.find(resourceId);
  if (found == pictures.end()) {
    const PngResource png = FindPngResource(resourceId);
    found = pictures.emplace(resourceId, png.data ? DecodePng(png.data, png.size) : nullptr).first;
  }
  if (!found->second) return nullptr;
  auto* image = new SharedImage;
  image->slots = &kSlots;
  image->picture = found->second.get();
  return image;
}
