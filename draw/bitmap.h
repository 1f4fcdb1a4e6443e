// A 32-bit pixel surface. Pixel (x, y) is element x + m*RowSpan() of Bits(),
// where m = y for top-down storage and m = Height() - 1 - y for a flipped
// (bottom-up) one. Pixels are `PackedColour` values (draw/colour.h).
//
// Every drawing operation takes bitmaps only through this interface, so any
// object presenting it can be drawn from or into, images decoded by the host
// included. Bitmaps are created, drawn and destroyed on the editor's window
// thread only.
#pragma once

#include <cstdint>

class Bitmap {
 public:
  virtual ~Bitmap() = default;
  // The first pixel; may be null when the bitmap is empty or its storage
  // could not be had. Every drawing operation does nothing on null pixels.
  virtual uint32_t* Bits() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Distance between rows, in pixels.
  virtual int RowSpan() const = 0;
  // True for bottom-up storage.
  virtual bool IsFlipped() const = 0;
  // True when the size changed. Pixels are undefined afterwards: redraw the
  // whole bitmap.
  [[nodiscard]] virtual bool Resize(int width, int height) = 0;

 protected:
  Bitmap() = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
};
