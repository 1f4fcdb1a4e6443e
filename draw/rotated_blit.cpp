#include "draw/rotated_blit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "draw/fixed16.h"
#include "draw/pixel_ops.h"
#include "draw/pixel_view.h"

namespace {

// Source pixels that may be read: minX <= x < maxX, minY <= y < maxY.
struct SampleBounds {
  int64_t minX, minY, maxX, maxY;
};

// float -> integer truncation that saturates instead of overflowing.
int64_t TruncSaturated(float v) {
  return static_cast<int64_t>(std::clamp(v, -1e18f, 1e18f));
}

// The destination rectangle inside the destination bitmap, with the source
// position of its top-left pixel and the steps per column and per row.
struct Walk {
  int x, y, width, height;
  Fixed16 u0, v0, dudx, dvdx, dudy, dvdy;
};

// Nearest pixel: the source pixel holding (u, v), if it may be read.
struct NearestSampler {
  bool operator()(const PixelView& src, const SampleBounds& b, Fixed16 u, Fixed16 v,
                  Channels* out) const {
    const int64_t ix = Fixed16Int(u), iy = Fixed16Int(v);
    if (iy < b.minY || iy >= b.maxY || ix < b.minX || ix >= b.maxX) return false;
    *out = Unpack(src.Row(static_cast<int>(iy))[ix]);
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
  bool operator()(const PixelView& src, const SampleBounds& b, Fixed16 u, Fixed16 v,
                  Channels* out) const {
    const int64_t ix = Fixed16Int(u), iy = Fixed16Int(v);
    const int fx = static_cast<int>(Fixed16Frac(u)), fy = static_cast<int>(Fixed16Frac(v));
    const bool innerRow = iy >= b.minY && iy < b.maxY - 1;
    const bool innerColumn = ix >= b.minX && ix < b.maxX - 1;
    // Empty bounds have no last row or column.
    const bool lastRow = iy == b.maxY - 1 && iy >= b.minY;
    const bool lastColumn = ix == b.maxX - 1 && ix >= b.minX;
    if (innerRow && innerColumn) {
      const uint32_t* row0 = src.Row(static_cast<int>(iy)) + ix;
      const uint32_t* row1 = src.Row(static_cast<int>(iy) + 1) + ix;
      const int w11 = static_cast<int>((static_cast<uint32_t>(fx) * static_cast<uint32_t>(fy)) >> 16);
      *out = Mix4(Unpack(row0[0]), 65535 - fx - fy + w11, Unpack(row0[1]), fx - w11,
                  Unpack(row1[0]), fy - w11, Unpack(row1[1]), w11);
    } else if (innerRow && lastColumn) {
      *out = Mix2(Unpack(src.Row(static_cast<int>(iy))[ix]), 65535 - fy,
                  Unpack(src.Row(static_cast<int>(iy) + 1)[ix]), fy);
    } else if (lastRow && innerColumn) {
      const uint32_t* row = src.Row(static_cast<int>(iy)) + ix;
      *out = Mix2(Unpack(row[0]), 65535 - fx, Unpack(row[1]), fx);
    } else if (lastRow && lastColumn) {
      *out = Unpack(src.Row(static_cast<int>(iy))[ix]);
    } else {
      return false;
    }
    return true;
  }

  static Channels Mix2(const Channels& p, int wp, const Channels& q, int wq) {
    return {(p.b * wp + q.b * wq) / 65536, (p.g * wp + q.g * wq) / 65536,
            (p.r * wp + q.r * wq) / 65536, (p.a * wp + q.a * wq) / 65536};
  }

  // Signed sums: w00 dips to -2 when both fractions are near 1, and the
  // truncating division then still yields 0 ... 254.
  static Channels Mix4(const Channels& p00, int w00, const Channels& p10, int w10,
                       const Channels& p01, int w01, const Channels& p11, int w11) {
    return {(p00.b * w00 + p10.b * w10 + p01.b * w01 + p11.b * w11) / 65536,
            (p00.g * w00 + p10.g * w10 + p01.g * w01 + p11.g * w11) / 65536,
            (p00.r * w00 + p10.r * w10 + p01.r * w01 + p11.r * w11) / 65536,
            (p00.a * w00 + p10.a * w10 + p01.a * w01 + p11.a * w11) / 65536};
  }
};

template <PixelOp op, class Sampler>
void WalkRows(const PixelView& dest, const PixelView& src, const SampleBounds& bounds,
              const Walk& w, int e) {
  const Sampler sample;
  Fixed16 rowU = w.u0, rowV = w.v0;
  for (int row = 0; row < w.height; ++row) {
    uint32_t* d = dest.Row(w.y + row) + w.x;
    Fixed16 u = rowU, v = rowV;
    for (int i = 0; i < w.width; ++i) {
      Channels s;
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
                     static_cast<int>(dh), ToFixed16(u0), ToFixed16(v0), ToFixed16(dudx),
                     ToFixed16(dvdx), ToFixed16(dudy), ToFixed16(dvdy)};
  const int e = WeightToInt(weight);
  const bool bilinear = (code & 0xFF00) == kBlendFilter;
  WithPixelOp(OpOfCode(code, weight), [&](auto op) {
    constexpr PixelOp kOp = decltype(op)::value;
    if (bilinear)
      WalkRows<kOp, BilinearSampler>(d, s, bounds, walk, e);
    else
      WalkRows<kOp, NearestSampler>(d, s, bounds, walk, e);
  });
}
