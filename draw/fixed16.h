// Internal to the drawing layer: 16.16 fixed-point source positions.
// A value is formed as trunc(v * 65536) within the 32-bit range; positions
// are accumulated in 64 bits so that a long walk with large steps cannot wrap.
// Integer part = value / 65536 truncated toward zero (so -0.5 gives 0);
// fraction = the low 16 bits of the two's complement value.
#pragma once

#include <cstdint>

using Fixed16 = int64_t;

// trunc(v * 65536), saturated to the 32-bit range; v must not be NaN.
inline Fixed16 ToFixed16(double v) {
  const double scaled = v * 65536.0;
  if (scaled >= 2147483647.0) return INT32_MAX;
  if (scaled <= -2147483648.0) return INT32_MIN;
  return static_cast<Fixed16>(scaled);
}

inline int64_t Fixed16Int(Fixed16 v) { return v / 65536; }

inline uint32_t Fixed16Frac(Fixed16 v) { return static_cast<uint32_t>(v) & 0xFFFFu; }
