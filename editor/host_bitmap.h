// Internal to the drawing layer: a host image presented as a `Bitmap`.
#pragma once

#include "draw/bitmap.h"
#include "editor/host_image.h"

class HostBitmap final : public Bitmap {
 public:
  // Takes ownership of `image` (not null).
  explicit HostBitmap(HostImage* image) : image(image) {}
  ~HostBitmap() override { image->slots->destroy(image, 1); }

  uint32_t* Bits() const override { return image->slots->bits(image); }
  int Width() const override { return image->slots->width(image); }
  int Height() const override { return image->slots->height(image); }
  int RowSpan() const override { return image->slots->rowSpan(image); }
  bool IsFlipped() const override { return image->slots->isFlipped(image); }
  [[nodiscard]] bool Resize(int width, int height) override {
    return image->slots->resize(image, width, height);
  }

 private:
  HostImage* image;
};
