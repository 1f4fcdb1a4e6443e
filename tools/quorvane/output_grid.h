// The requantised values as they are stored. The requantiser does not limit
// its output after rounding, so a value can lie a few steps beyond full
// scale; such "overs" are clipped to the largest grid values the container
// holds and counted. Everything else is stored exactly: every value of the
// grid of 2^(bits - 1) steps per unit is an integer of the container, and a
// float of the chosen width.
#pragma once

#include <cstddef>
#include <cstdint>

class OutputGrid {
 public:
  // bits: the target word length, 6 to 32.
  explicit OutputGrid(int bits);

  // y limited to [-1, 1 - 2^-(bits - 1)]; `overs` counts the values that
  // were outside. y is on the grid, and so is the result.
  double Clip(double y, uint64_t& overs) const {
    overs += (y > top) | (y < -1.0);
    return y > top ? top : y < -1.0 ? -1.0 : y;
  }

  // A clipped grid value as a left-justified 32-bit integer, y * 2^31: the
  // form libsndfile takes for every integer container, which it narrows by
  // dropping low bits that are zero for any target of up to the container's
  // width.
  static int32_t ToInt32(double y) { return static_cast<int32_t>(y * 2147483648.0); }

  // Limits `frames` frames of `channels` planar channels (channel c's from
  // planar + c * stride) in place, and stores them interleaved, as integers
  // (ToInt32) or as doubles. Returns how many values were outside.
  uint64_t Store(double* planar, size_t stride, int channels, int frames, int32_t* words) const;
  uint64_t Store(double* planar, size_t stride, int channels, int frames,
                 double* interleaved) const;

  double Top() const { return top; }

 private:
  double top;  // the largest grid value below full scale
};
