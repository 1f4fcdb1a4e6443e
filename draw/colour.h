// Colours. The editor speaks in `Colour` (four ints); the drawing layer in
// `PackedColour`, the 32-bit pixel A*2^24 + R*2^16 + G*2^8 + B, stored in
// memory (little-endian) as the bytes blue, green, red, alpha. Colours are not
// premultiplied: the colour bytes hold the full colour whatever the alpha.
#pragma once

#include <cstdint>

using PackedColour = uint32_t;

// A, R, G and B are 0 ... 255; A 255 is opaque.
struct Colour {
  int a;
  int r;
  int g;
  int b;
};

// ((A*256 + R)*256 + G)*256 + B, in unsigned arithmetic so that channels out of
// range wrap instead of overflowing.
constexpr PackedColour PackColour(const Colour& c) {
  return ((static_cast<uint32_t>(c.a) * 256u + static_cast<uint32_t>(c.r)) * 256u +
          static_cast<uint32_t>(c.g)) *
             256u +
         static_cast<uint32_t>(c.b);
}

constexpr Colour UnpackColour(PackedColour p) {
  return {static_cast<int>(p >> 24), static_cast<int>((p >> 16) & 0xFF),
          static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
}
