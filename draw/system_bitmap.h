// The editor's drawing surface: a top-down 32-bit bitmap that the platform
// can draw text into and copy to a window. On Windows it is a DIB section
// selected into a memory device context of its own; elsewhere a plain pixel
// block with no device context.
#pragma once

#include "draw/bitmap.h"

class SystemBitmap final : public Bitmap {
 public:
  // Creates the device context, then sizes the surface with Resize.
  SystemBitmap(int width, int height);
  ~SystemBitmap() override;

  uint32_t* Bits() const override { return bits; }
  int Width() const override { return width; }
  int Height() const override { return height; }
  int RowSpan() const override { return width; }
  bool IsFlipped() const override { return false; }
  // False when the size is unchanged. Otherwise records the new size; a
  // width or height of 0 then returns false and keeps the previous pixels in
  // use. Any other size replaces the pixels with a fresh block (null when
  // the size is negative or cannot be had) and returns true.
  [[nodiscard]] bool Resize(int width, int height) override;

  // The memory device context with the surface selected (HDC on Windows;
  // null elsewhere). Valid for the bitmap's lifetime.
  void* DeviceContext() const { return deviceContext; }

 private:
  int width = 0;
  int height = 0;
  void* deviceContext = nullptr;   // HDC, owned; null where there is none
  uint32_t* bits = nullptr;        // the surface's pixels, owned by `section`
  void* section = nullptr;         // HBITMAP of the DIB section; elsewhere the pixel block
  void* previousBitmap = nullptr;  // HGDIOBJ selected before the section, to be restored
};
