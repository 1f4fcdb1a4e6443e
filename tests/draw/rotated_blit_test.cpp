// Rotated, scaled and mirrored blits in 16.16 fixed point.
#include "draw/rotated_blit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "test_bitmap.h"

namespace {

constexpr float kHalfPi = 1.5707964f;

void Number(TestBitmap* b) {
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) b->At(x, y) = 0xFF000000u | uint32_t(y) << 8 | uint32_t(x);
}

// Whole-image rotation of src into dest (same size) about the centre.
void Rotate(TestBitmap* dest, const TestBitmap& src, float angle, BlendMode code,
            float offsetX = 0.0f, float offsetY = 0.0f) {
  const int w = src.Width(), h = src.Height();
  RotatedBlit(dest, &src, 0, 0, w, h, {0.0f, 0.0f, float(w), float(h)}, angle, false, 1.0f, code,
              offsetX, offsetY);
}

}  // namespace

TEST(RotatedBlit, AngleZeroWithNearestSamplingIsAPlainCopy) {
  for (int size : {1, 2, 8, 31}) {
    TestBitmap src(size, size + 3), dest(size, size + 3);
    Number(&src);
    Rotate(&dest, src, 0.0f, kBlendCopy);
    for (int y = 0; y < size + 3; ++y)
      for (int x = 0; x < size; ++x) ASSERT_EQ(dest.At(x, y), src.At(x, y)) << size;
    EXPECT_TRUE(dest.GuardsIntact());
  }
}

TEST(RotatedBlit, BilinearWeightsAddUpTo65535SoFullTurnsTo254) {
  TestBitmap src(4, 4, 0xFFFFFFFF), dest(4, 4, 0);
  // Half-pixel offsets give every sample a fraction, so the four-tap path runs.
  Rotate(&dest, src, 0.0f, kBlendCopy | kBlendFilter, 0.5f, 0.5f);
  EXPECT_EQ(dest.At(1, 1), 0xFEFEFEFEu);
  // The last column and row fall back to two taps, the corner to one pixel.
  EXPECT_EQ(dest.At(3, 1), 0xFEFEFEFEu);
  EXPECT_EQ(dest.At(3, 3), 0xFFFFFFFFu);
}

TEST(RotatedBlit, QuarterTurnMovesTheRightColumnToTheBottomRow) {
  const int n = 9;
  TestBitmap src(n, n), dest(n, n);
  Number(&src);
  Rotate(&dest, src, kHalfPi, kBlendCopy);
  // The sampler reads at pixel corners, so the turned grid lands one pixel
  // over: dest (x, y) takes source (y, n - x), and column 0 samples row n,
  // outside the image.
  for (int x = 1; x < n; ++x) EXPECT_EQ(dest.At(x, n - 1), src.At(n - 1, n - x));
  for (int y = 0; y < n; ++y) EXPECT_EQ(dest.At(0, y), 0u);
}

// Property: with the centre moved up one pixel the quarter turn is an exact
// permutation of a square image, and four of them give the image back.
TEST(RotatedBlit, FourQuarterTurnsReturnASquareImage) {
  for (int n = 1; n <= 40; ++n) {
    TestBitmap a(n, n), b(n, n);
    Number(&a);
    TestBitmap original(n, n);
    Number(&original);
    for (int turn = 0; turn < 2; ++turn) {
      Rotate(&b, a, kHalfPi, kBlendCopy, 0.0f, -1.0f);
      Rotate(&a, b, kHalfPi, kBlendCopy, 0.0f, -1.0f);
    }
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) ASSERT_EQ(a.At(x, y), original.At(x, y)) << "size " << n;
  }
}

TEST(RotatedBlit, NegativeWidthMirrorsIntoTheRectangleEndingAtDestX) {
  const int w = 6;
  TestBitmap src(w, 2), dest(w, 2, 0x12345678);
  Number(&src);
  RotatedBlit(&dest, &src, w, 0, -w, 2, {0, 0, float(w), 2}, 0.0f, false, 1.0f, kBlendCopy, 0, 0);
  // Column x samples source column w - x (corner sampling again).
  for (int x = 1; x < w; ++x) EXPECT_EQ(dest.At(x, 1), src.At(w - x, 1));
  EXPECT_EQ(dest.At(0, 1), 0x12345678u);
}

TEST(RotatedBlit, SamplesOutsideTheImageLeaveTheDestinationVisible) {
  TestBitmap src(10, 10, 0xFF0000FF), dest(10, 10, 0x00FF0000);
  Rotate(&dest, src, 0.785398f, kBlendCopy | kBlendFilter);
  EXPECT_EQ(dest.At(0, 0), 0x00FF0000u);
  EXPECT_EQ(dest.At(9, 9), 0x00FF0000u);
  EXPECT_NE(dest.At(5, 5), 0x00FF0000u);
}

TEST(RotatedBlit, ClipToSourceReadsOnlyTheArea) {
  TestBitmap src(8, 8, 0xFFFFFFFF), dest(8, 8, 0);
  for (int x = 0; x < 8; ++x) src.At(x, 0) = 0xFF00FF00;  // a row outside the area
  RotatedBlit(&dest, &src, 0, 0, 8, 8, {0, 1, 8, 7}, 0.3f, true, 1.0f, kBlendCopy | kBlendFilter, 0,
              0);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const uint32_t p = dest.At(x, y);
      ASSERT_TRUE(p == 0 || (p & 0xFF) >= 0xFE) << x << "," << y << " " << std::hex << p;
    }
}

// Bilinear taps stop at the area's last row and column, and an empty area
// has no last row or column at all, even where the taps would still lie in
// the bitmap.
TEST(RotatedBlit, BilinearTapsStayInsideTheAreaAtItsEdges) {
  TestBitmap src(6, 6, 0xFF00FF00);  // green outside the area
  for (int y = 1; y < 5; ++y)
    for (int x = 1; x < 5; ++x) src.At(x, y) = 0xFFFFFFFF;
  TestBitmap dest(4, 4, 0);
  // Half-pixel offsets: every sample has fractions, the last ones sit on
  // the area's last column and row.
  RotatedBlit(&dest, &src, 0, 0, 4, 4, {1, 1, 4, 4}, 0.0f, true, 1.0f, kBlendCopy | kBlendFilter,
              0.5f, 0.5f);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint32_t p = dest.At(x, y);
      EXPECT_TRUE(p == 0xFEFEFEFE || p == 0xFFFFFFFF) << x << "," << y << " " << std::hex << p;
    }
  // A zero-width area at column 1: the samples fall on column 0, just before it.
  TestBitmap empty(4, 4, 0);
  RotatedBlit(&empty, &src, 0, 0, 4, 4, {1, 0, 0, 4}, 0.0f, true, 1.0f, kBlendCopy | kBlendFilter,
              -0.5f, 0.0f);
  EXPECT_EQ(empty.CountNot(0), 0);
}

TEST(RotatedBlit, SourceAlphaAddUsesTheFilteredAlpha) {
  TestBitmap src(4, 4, 0x80404040), dest(4, 4, 0xFF101010);
  Rotate(&dest, src, 0.0f, kBlendSourceAlpha | kBlendAdd | kBlendFilter);
  // Corner sample: alpha 128, e' = 128; 0x10 + 0x40*128/256 = 0x30; alpha 255.
  EXPECT_EQ(dest.At(3, 3), 0xFF303030u);
}

TEST(RotatedBlit, BadGeometryDrawsNothingAndNeverWritesOutside) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  TestBitmap src(5, 5, 0xFFFFFFFF), dest(6, 6, 0);
  const SourceArea bad[] = {{nan, 0, 5, 5}, {0, 0, inf, 5}, {0, 0, 5, -inf}, {1e30f, 1e30f, 5, 5}};
  for (const SourceArea& a : bad)
    RotatedBlit(&dest, &src, 0, 0, 6, 6, a, 0.0f, false, 1.0f, kBlendCopy, 0, 0);
  RotatedBlit(&dest, &src, 0, 0, 6, 6, {0, 0, 5, 5}, nan, false, 1.0f, kBlendCopy, 0, 0);
  RotatedBlit(&dest, &src, 0, 0, 6, 6, {0, 0, 5, 5}, 0.0f, false, 1.0f, kBlendCopy, inf, 0);
  EXPECT_EQ(dest.CountNot(0), 0);
  TestRandom random(7);
  const int sizes[] = {INT_MIN, -70000, -7, -1, 1, 3, 70000, INT_MAX};
  for (int run = 0; run < 3000; ++run) {
    const int x = sizes[random.Int(0, 7)] / random.Int(1, 3), y = random.Int(-20, 20);
    const int w = sizes[random.Int(0, 7)], h = sizes[random.Int(0, 7)];
    const SourceArea a = {random.Float(-1e6f, 1e6f), random.Float(-10, 10),
                          random.Float(-1e7f, 1e7f), random.Float(-10, 10)};
    RotatedBlit(&dest, &src, x, y, w, h, a, random.Float(-100, 100), run & 1, 1e9f,
                kBlendSourceAlpha | kBlendAdd | (run & 2 ? kBlendFilter : 0),
                random.Float(-1e9f, 1e9f), 0);
  }
  EXPECT_TRUE(dest.GuardsIntact());
}
