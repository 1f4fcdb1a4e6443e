#include "draw/rotated_blit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "draw/bilinear_taps.h"
#include "draw/fixed16.h"
#include "draw/pixel_ops.h"
#include "draw/pixel_view.h"

namespace {

// Source pixels that may be read: minX <= x < maxX, minY <= y < maxY.
struct SampleBounds {
  int64_t minX, minY, maxX, maxY;
};

// float -> integer truncation that saturates instead of overflowing.
int64_t TruncSaturated(float v) { return static_cast<int64_t>(std::clamp(v, -1e18f, 1e18f)); }

// The destination rectangle inside the destination bitmap, with the source
// position of its top-left pixel and the steps per column and per row.
struct Walk {
  int x, y, width, height;
  Fixed16 u0, v0, dudx, dvdx, dudy, dvdy;
};

// The source's rows as a base and a signed step, so that a flipped source
// costs nothing per tap.
struct SourceRows {
  const uint32_t* row0;  // row y = 0 of the picture
  ptrdiff_t step;        // pixels from one picture row to the next

  explicit SourceRows(const PixelView& v)
      : row0(v.Row(0)), step(v.flipped ? -v.rowSpan : v.rowSpan) {}
  const uint32_t* At(int64_t x, int64_t y) const { return row0 + y * step + x; }
};

// Nearest pixel: the source pixel holding (u, v), if it may be read.
struct NearestSampler {
  [[gnu::always_inline]] bool operator()(const SourceRows& src, const SampleBounds& b, Fixed16 u,
                                         Fixed16 v, uint32_t* out) const {
    const int64_t ix = Fixed16Int(u), iy = Fixed16Int(v);
    if (iy < b.minY || iy >= b.maxY || ix < b.minX || ix >= b.maxX) return false;
    *out = *src.At(ix, iy);
    return true;
  }
};

// Bilinear: with fractions fx, fy (0 ... 65535) of u and v, the four taps
// p00 = (ix, iy), p10 = (ix + 1, iy), p01 = (ix, iy + 1), p11 = (ix + 1, iy + 1)
// weigh
//   w11 = fx*fy >> 16         (32-bit unsigned product)
//   w10 = fx - w11,  w01 = fy - w11,  w00 = 65535 - fx - fy + w11
// which add up to 65535, not 65536: a full 255 comes out as 254. Each
// channel is (p00*w00 + p10*w10 + p01*w01 + p11*w11) / 65536, truncated.
// On the last column or row of the bounds two taps (or the corner pixel
// alone) take the place of four, so nothing outside the bounds is read.
struct BilinearSampler {
  [[gnu::always_inline]] bool operator()(const SourceRows& src, const SampleBounds& b, Fixed16 u,
                                         Fixed16 v, uint32_t* out) const {
    const int64_t ix = Fixed16Int(u), iy = Fixed16Int(v);
    const int fx = static_cast<int>(Fixed16Frac(u)), fy = static_cast<int>(Fixed16Frac(v));
    const bool innerRow = iy >= b.minY && iy < b.maxY - 1;
    const bool innerColumn = ix >= b.minX && ix < b.maxX - 1;
    if (innerRow && innerColumn) {
      const uint32_t* p = src.At(ix, iy);
      const int w11 =
          static_cast<int>((static_cast<uint32_t>(fx) * static_cast<uint32_t>(fy)) >> 16);
      *out = Mix4(p[0], 65535 - fx - fy + w11, p[1], fx - w11, p[src.step], fy - w11,
                  p[src.step + 1], w11);
      return true;
    }
    // Empty bounds have no last row or column.
    const bool lastRow = iy == b.maxY - 1 && iy >= b.minY;
    const bool lastColumn = ix == b.maxX - 1 && ix >= b.minX;
    if (innerRow && lastColumn) {
      const uint32_t* p = src.At(ix, iy);
      *out = Mix2(p[0], 65535 - fy, p[src.step], fy);
    } else if (lastRow && innerColumn) {
      const uint32_t* p = src.At(ix, iy);
      *out = Mix2(p[0], 65535 - fx, p[1], fx);
    } else if (lastRow && lastColumn) {
      *out = *src.At(ix, iy);
    } else {
      return false;
    }
    return true;
  }

  static uint32_t Mix2(uint32_t p, int wp, uint32_t q, int wq) {
    return MixTaps(p, q, 0, 0, wp, wq, 0, 0);
  }

  // w00 dips to -2 when both fractions are near 1; that rare case takes
  // signed sums per channel, whose truncating division still yields 0 ... 254.
  static uint32_t Mix4(uint32_t p00, int w00, uint32_t p10, int w10, uint32_t p01, int w01,
                       uint32_t p11, int w11) {
    if (w00 < 0) return Mix4Signed(p00, w00, p10, w10, p01, w01, p11, w11);
    return MixTaps(p00, p10, p01, p11, w00, w10, w01, w11);
  }

  static uint32_t Mix4Signed(uint32_t p00, int w00, uint32_t p10, int w10, uint32_t p01, int w01,
                             uint32_t p11, int w11) {
    const Channels a = Unpack(p00), b = Unpack(p10), c = Unpack(p01), d = Unpack(p11);
    auto mix = [&](int Channels::*ch) {
      return static_cast<uint32_t>((a.*ch * w00 + b.*ch * w10 + c.*ch * w01 + d.*ch * w11) / 65536);
    };
    return mix(&Channels::b) | mix(&Channels::g) << 8 | mix(&Channels::r) << 16 |
           mix(&Channels::a) << 24;
  }
};

// One function per operation and sampler, kept out of line so that each
// loop gets the registers to itself.
template <PixelOp op, class Sampler>
[[gnu::noinline]] void WalkRows(const PixelView& dest, const SourceRows& src,
                                const SampleBounds& bounds, const Walk& w, int e) {
  const Sampler sample;
  Fixed16 rowU = w.u0, rowV = w.v0;
  for (int row = 0; row < w.height; ++row) {
    uint32_t* d = dest.Row(w.y + row) + w.x;
    Fixed16 u = rowU, v = rowV;
    for (int i = 0; i < w.width; ++i) {
      uint32_t s;
      if (sample(src, bounds, u, v, &s)) CombinePixel<op>(d + i, s, e);
      u += w.dudx;
      v += w.dvdx;
    }
    rowU += w.dudy;
    rowV += w.dvdy;
  }
}

bool AllFinite(std::initializer_list<float> values) {
  for (float v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

void RotatedBlit(Bitmap* dest, const Bitmap* src, int destX, int destY, int destWidth,
                 int destHeight, const SourceArea& area, float angle, bool clipToSource,
                 float weight, BlendMode code, float centreOffsetX, float centreOffsetY) {
  if (!dest || !src || destWidth == 0 || destHeight == 0) return;
  if (!AllFinite({area.x, area.y, area.width, area.height, angle, centreOffsetX, centreOffsetY}))
    return;
  const PixelView d = ViewOf(dest);
  const PixelView s = ViewOf(src);

  SampleBounds bounds = {0, 0, s.width, s.height};
  if (clipToSource) {
    bounds.minX = TruncSaturated(std::max(0.0f, area.x));
    bounds.minY = TruncSaturated(std::max(0.0f, area.y));
    bounds.maxX = TruncSaturated(std::min(static_cast<float>(s.width), area.x + area.width));
    bounds.maxY = TruncSaturated(std::min(static_cast<float>(s.height), area.y + area.height));
  }

  // Mirroring: a negative size moves the rectangle's origin back by it and
  // walks the source from the far edge.
  int64_t dx = destX, dy = destY, dw = destWidth, dh = destHeight;
  float sx = area.x, sy = area.y, sw = area.width, sh = area.height;
  if (dw < 0) dx += dw, dw = -dw, sx += sw, sw = -sw;
  if (dh < 0) dy += dh, dh = -dh, sy += sh, sh = -sh;

  // Steps through the source per destination column and row. A positive
  // angle turns the image clockwise on screen.
  const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
  const float sn = static_cast<float>(std::sin(static_cast<double>(angle)));
  const float kx = sw / static_cast<float>(dw), ky = sh / static_cast<float>(dh);
  const double dudx = double{kx} * c, dvdx = -double{ky} * sn;
  const double dudy = double{kx} * sn, dvdy = double{ky} * c;

  // The source point under the top-left destination pixel, chosen so that
  // the rectangle's centre samples the area's centre plus the offsets.
  float u0 = static_cast<float>(sx - ((dh * dudy + dw * dudx - sw) * 0.5 - centreOffsetX));
  float v0 = static_cast<float>(sy - ((dw * dvdx + dh * dvdy - sh) * 0.5 - centreOffsetY));

  if (dx < 0) {
    dw += dx;
    u0 = static_cast<float>(u0 + -dx * dudx);
    v0 = static_cast<float>(v0 + -dx * dvdx);
    dx = 0;
  }
  if (dy < 0) {
    dh += dy;
    u0 = static_cast<float>(u0 + -dy * dudy);
    v0 = static_cast<float>(v0 + -dy * dvdy);
    dy = 0;
  }
  dw = std::min<int64_t>(dw, d.width - dx);
  dh = std::min<int64_t>(dh, d.height - dy);
  if (dw <= 0 || dh <= 0 || !d || !s || !AllFinite({u0, v0})) return;

  const Walk walk = {static_cast<int>(dx), static_cast<int>(dy), static_cast<int>(dw),
                     static_cast<int>(dh), ToFixed16(u0),        ToFixed16(v0),
                     ToFixed16(dudx),      ToFixed16(dvdx),      ToFixed16(dudy),
                     ToFixed16(dvdy)};
  const int e = WeightToInt(weight);
  const bool bilinear = (code & 0xFF00) == kBlendFilter;
  WithPixelOp(OpOfCode(code, weight), [&](auto op) {
    constexpr PixelOp kOp = decltype(op)::value;
    if (bilinear)
      WalkRows<kOp, BilinearSampler>(d, SourceRows(s), bounds, walk, e);
    else
      WalkRows<kOp, NearestSampler>(d, SourceRows(s), bounds, walk, e);
  });
}
