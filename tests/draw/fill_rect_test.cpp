// Filled and masked rectangles.
#include "draw/fill_rect.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

#include "test_bitmap.h"

TEST(FillRect, NegativeOriginShortensTheRectangle) {
  TestBitmap b(6, 6, 0);
  FillRect(&b, -3, -3, 5, 5, 0xFFFFFFFF, 1.0f, kBlendCopy);
  EXPECT_EQ(b.CountNot(0), 4);
  EXPECT_EQ(b.At(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(b.At(2, 1), 0u);
}

TEST(FillRect, SourceAlphaScalesTheWeightSoAlphaZeroChangesNothing) {
  TestBitmap b(2, 2, 0x80402010);
  FillRect(&b, 0, 0, 2, 2, 0x00FFFFFF, 1.0f, kBlendSourceAlpha);
  EXPECT_EQ(b.CountNot(0x80402010), 0);
}

TEST(FillRect, TheWeightItselfIsTheSourceAlpha) {
  TestBitmap b(1, 1, 0x64000000);  // alpha 100
  FillRect(&b, 0, 0, 1, 1, 0x00000000, 1.0f, kBlendCopy);
  EXPECT_EQ(b.At(0, 0) >> 24, 255u);  // 256*256/256, clamped
  b.At(0, 0) = 0x64000000;
  FillRect(&b, 0, 0, 1, 1, 0x00000000, 0.5f, kBlendCopy);
  EXPECT_EQ(b.At(0, 0) >> 24, 114u);  // 100/2 + 64
}

TEST(FillRect, NoWeightRuleSoNegativeWeightsApply) {
  TestBitmap b(1, 1, 0xFF646464);
  FillRect(&b, 0, 0, 1, 1, 0x00323232, -1.0f, kBlendAdd);
  // Colour: 100 + 50*(-256)/256 = 50. Alpha: the source alpha is e = -256
  // itself, and 255 + (-256)*(-256)/256 clamps at 255.
  EXPECT_EQ(b.At(0, 0), 0xFF323232u);
}

// The source alpha e*e outgrows 32 bits from a weight of about 181 on; the
// colour channels still follow the weight exactly.
TEST(FillRect, LargeWeightsKeepTheirColourArithmetic) {
  struct Case {
    uint32_t pixel;
    float weight;
    BlendMode code;
    uint32_t expected;
  } const cases[] = {
      {0x00000000, 200.0f, kBlendCopy, 0xFFC8C8C8},   // 1*51200/256 = 200
      {0x00000000, 181.02f, kBlendCopy, 0xFFB5B5B5},  // e = 46341, e*e just past 2^31
      {0x00000000, 200.0f, kBlendAdd, 0xFFC8C8C8},    // 0 + 200
      {0xFFFFFFFF, -200.0f, kBlendAdd, 0xFF373737},   // 255 - 200; alpha 255 + e*e/256
      {0x00101010, 200.0f, kBlendDodge, 0x004A4A4A},  // 16*256/(255 - 200); alpha k < 1
  };
  for (const Case& c : cases) {
    TestBitmap b(1, 1, c.pixel);
    FillRect(&b, 0, 0, 1, 1, 0x00010101, c.weight, c.code);
    EXPECT_EQ(b.At(0, 0), c.expected) << c.weight << " code " << c.code;
  }
}

TEST(FillRect, ExtremeRectanglesAndWeightsStayInsideAndSaturate) {
  TestBitmap b(5, 5, 0x80808080);
  const int v[] = {INT_MIN, -3, 0, 2, 5, INT_MAX};
  for (int x : v)
    for (int y : v)
      for (int w : v)
        for (int h : v) FillRect(&b, x, y, w, h, 0xFF102030, 0.1f, kBlendAdd);
  EXPECT_TRUE(b.GuardsIntact());
  FillRect(&b, 0, 0, INT_MAX, INT_MAX, 0x00000000, 1e30f, kBlendCopy);
  EXPECT_EQ(b.At(4, 4), 0xFF000000u);
  FillRect(&b, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0xFFFFFFFF, -1e30f, kBlendCopy);
  FillRect(&b, 1, 1, 1, 1, 0xFFFFFFFF, std::numeric_limits<float>::infinity(), kBlendDodge);
  FillRect(&b, 2, 2, 1, 1, 0xFFFFFFFF, std::numeric_limits<float>::quiet_NaN(), kBlendAdd);
  EXPECT_TRUE(b.GuardsIntact());
}

TEST(MaskRect, AndsThenOrsEveryPixelOfTheClippedRectangle) {
  TestBitmap b(4, 4, 0xAABBCCDD, true);
  MaskRect(&b, -1, 2, 3, 9, 0x00FFFFFF, 0x01000000);
  EXPECT_EQ(b.At(1, 3), 0x01BBCCDDu);
  EXPECT_EQ(b.At(2, 3), 0xAABBCCDDu);
  EXPECT_EQ(b.At(1, 1), 0xAABBCCDDu);
  EXPECT_EQ(b.CountNot(0xAABBCCDD), 4);
  MaskRect(&b, INT_MAX, INT_MIN, INT_MAX, INT_MAX, 0, 0);
  MaskRect(nullptr, 0, 0, 1, 1, 0, 0);
  EXPECT_TRUE(b.GuardsIntact());
}
