// The fast paths (two channels per word, raw copies, 64-bit lanes) against a
// plain reference of the pixel arithmetic, over seeded random runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "draw/bilinear_taps.h"
#include "draw/pixel.h"
#include "draw/rotated_blit.h"
#include "test_bitmap.h"

namespace {

int Channel(uint32_t p, int byte) { return static_cast<int>((p >> (8 * byte)) & 0xFF); }

// The pixel arithmetic as the table states it, one channel at a time in
// 64 bits, "/" truncating toward zero.
uint32_t Reference(uint32_t dest, uint32_t src, float weight, BlendMode code) {
  const int operation = code & 0xFF;
  const bool alpha = code & kBlendSourceAlpha;
  const bool copy = operation == 0;
  if (operation > 2 || (copy ? !(weight > 0) : weight == 0)) return dest;
  int64_t e = static_cast<int64_t>(weight * 256.0f);
  const int64_t sa = Channel(src, 3);
  if (alpha) {
    if (sa == 0 && operation != 2) return dest;
    e = sa * e / 256;
  }
  uint32_t out = 0;
  for (int byte = 0; byte < 4; ++byte) {
    const int64_t d = Channel(dest, byte), s = Channel(src, byte);
    int64_t v;
    if (operation == 0) {
      v = alpha ? (d * (255 - e) + s * e) / 256 : (d * (256 - e) + s * e) / 256;
    } else if (operation == 1) {
      v = d + s * e / 256;
    } else {
      const int64_t k = 255 - s * e / 256;
      v = k > 1 ? d * 256 / k : d * 256;
    }
    out |= static_cast<uint32_t>(std::clamp<int64_t>(v, 0, 255)) << (8 * byte);
  }
  return out;
}

}  // namespace

TEST(PixelArithmetic, EveryOperationMatchesTheReference) {
  const BlendMode codes[] = {0, 1, 2, 0x10000, 0x10001, 0x10002};
  const float weights[] = {-3.0f, -1.0f,  -0.3f, 0.0f,  0.004f, 0.25f, 0.5f,
                           0.77f, 0.999f, 1.0f,  1.25f, 2.0f,   9.5f};
  TestRandom random(31337);
  for (int run = 0; run < 60000; ++run) {
    uint32_t dest = random.Next(), src = random.Next();
    if (run % 5 == 0) src &= 0x00FFFFFF;  // alpha 0
    if (run % 5 == 1) src |= 0xFF000000;  // opaque
    const BlendMode code = codes[run % 6];
    const float weight = weights[(run / 6) % 13];
    TestBitmap b(1, 1, dest);
    PutPixel(&b, 0, 0, src, weight, code);
    ASSERT_EQ(b.At(0, 0), Reference(dest, src, weight, code))
        << "run " << run << std::hex << " dest " << dest << " src " << src << " code " << code;
  }
}

// Bilinear sampling of random images at random sub-pixel offsets, copied at
// weight 1 so that the destination shows the filtered sample itself.
TEST(PixelArithmetic, BilinearSamplesMatchTheReference) {
  TestRandom random(2718);
  for (int run = 0; run < 300; ++run) {
    const int w = random.Int(1, 9), h = random.Int(1, 9);
    TestBitmap src(w, h), dest(w, h, 0x5A5A5A5A);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) src.At(x, y) = random.Next() | (run & 1 ? 0xFFFFFF00u : 0);
    const float ox = random.Float(-1.5f, 1.5f), oy = random.Float(-1.5f, 1.5f);
    RotatedBlit(&dest, &src, 0, 0, w, h, {0, 0, float(w), float(h)}, 0.0f, false, 1.0f,
                kBlendCopy | kBlendFilter, ox, oy);
    // At angle 0 and scale 1 the sample for (x, y) is (x + ox, y + oy) in 16.16.
    const int64_t u0 = static_cast<int64_t>(double{ox} * 65536.0);
    const int64_t v0 = static_cast<int64_t>(double{oy} * 65536.0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int64_t u = u0 + int64_t{x} * 65536, v = v0 + int64_t{y} * 65536;
        const int64_t ix = u / 65536, iy = v / 65536;
        const int64_t fx = u & 0xFFFF, fy = v & 0xFFFF;
        uint32_t expected = 0x5A5A5A5A;
        auto at = [&](int64_t px, int64_t py) { return src.At(int(px), int(py)); };
        auto mix = [&](std::initializer_list<std::pair<uint32_t, int64_t>> taps) {
          uint32_t out = 0;
          for (int byte = 0; byte < 4; ++byte) {
            int64_t sum = 0;
            for (const auto& t : taps) sum += Channel(t.first, byte) * t.second;
            out |= static_cast<uint32_t>(sum / 65536) << (8 * byte);
          }
          return out;
        };
        const bool innerY = iy >= 0 && iy < h - 1, innerX = ix >= 0 && ix < w - 1;
        if (innerY && innerX) {
          const int64_t w11 = (fx * fy) >> 16;
          expected = mix({{at(ix, iy), 65535 - fx - fy + w11},
                          {at(ix + 1, iy), fx - w11},
                          {at(ix, iy + 1), fy - w11},
                          {at(ix + 1, iy + 1), w11}});
        } else if (innerY && ix == w - 1) {
          expected = mix({{at(ix, iy), 65535 - fy}, {at(ix, iy + 1), fy}});
        } else if (iy == h - 1 && innerX) {
          expected = mix({{at(ix, iy), 65535 - fx}, {at(ix + 1, iy), fx}});
        } else if (iy == h - 1 && ix == w - 1) {
          expected = at(ix, iy);
        }
        ASSERT_EQ(dest.At(x, y), expected) << "run " << run << " at " << x << "," << y;
      }
  }
}

// Both forms of the tap sum, whichever this build uses, over random taps and
// random weights that add up to at most 65535.
TEST(PixelArithmetic, TapSumsMatchTheReference) {
  TestRandom random(161803);
  for (int run = 0; run < 100000; ++run) {
    const uint32_t p[4] = {random.Next(), random.Next(), random.Next(), random.Next()};
    int w[4];
    int left = 65535;
    for (int i = 0; i < 3; ++i) left -= (w[i] = random.Int(0, left));
    w[3] = run % 3 ? left : random.Int(0, left);
    uint32_t expected = 0;
    for (int byte = 0; byte < 4; ++byte) {
      int64_t sum = 0;
      for (int i = 0; i < 4; ++i) sum += int64_t{Channel(p[i], byte)} * w[i];
      expected |= static_cast<uint32_t>(sum / 65536) << (8 * byte);
    }
    ASSERT_EQ(MixTapsScalar(p[0], p[1], p[2], p[3], w[0], w[1], w[2], w[3]), expected) << run;
#if defined(__SSE2__)
    ASSERT_EQ(MixTapsSse2(p[0], p[1], p[2], p[3], w[0], w[1], w[2], w[3]), expected) << run;
#endif
  }
}
