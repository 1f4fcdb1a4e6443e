// Clipping and drawing straight lines, plain and antialiased.
#include "draw/line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_bitmap.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// The set pixels of a bitmap drawn on black, as "x,y" strings in row order.
std::vector<std::string> SetPixels(TestBitmap& b) {
  std::vector<std::string> set;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.At(x, y)) set.push_back(std::to_string(x) + "," + std::to_string(y));
  return set;
}

}  // namespace

TEST(ClipLine, RightAndBottomEdgesInterpolateAtTheSizeButPlaceOnTheLastPixel) {
  float x1 = 0, y1 = 0, x2 = 40, y2 = 8;
  ASSERT_TRUE(ClipLine(&x1, &y1, &x2, &y2, 10, 10));
  EXPECT_EQ(x2, 9.0f);
  EXPECT_EQ(y2, 2.0f);  // the line's y at x = 10, not at x = 9 (1.8)
  x1 = 0, y1 = 0, x2 = 8, y2 = 40;
  ASSERT_TRUE(ClipLine(&x1, &y1, &x2, &y2, 10, 10));
  EXPECT_EQ(y2, 9.0f);
  EXPECT_EQ(x2, 2.0f);
  // Both edges crossed: the bottom first, then the right from there.
  x1 = 0, y1 = 0, x2 = 40, y2 = 10;
  ASSERT_TRUE(ClipLine(&x1, &y1, &x2, &y2, 10, 10));
  EXPECT_EQ(x2, 9.0f);
  EXPECT_EQ(y2, 2.25f);
}

TEST(ClipLine, LinesOutsideOrNotFiniteLeaveNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float cases[][4] = {{-5, 0, -2, 9}, {0, 12, 9, 10},  {nan, 1, 2, 2},
                            {1, 1, 2, nan}, {-inf, 1, 5, 2}, {1, inf, 2, 3}};
  for (const auto& c : cases) {
    float x1 = c[0], y1 = c[1], x2 = c[2], y2 = c[3];
    EXPECT_FALSE(ClipLine(&x1, &y1, &x2, &y2, 10, 10)) << c[0] << " " << c[1];
  }
  float x1 = 1, y1 = 1, x2 = 2, y2 = 2;
  EXPECT_FALSE(ClipLine(&x1, &y1, &x2, &y2, 0, 10));
  // Out-codes look at truncated coordinates: trunc(-0.9) is 0, inside.
  x1 = -0.5f, y1 = 0, x2 = -0.9f, y2 = 9;
  EXPECT_TRUE(ClipLine(&x1, &y1, &x2, &y2, 10, 10));
  EXPECT_EQ(x2, -0.9f);
}

// This line runs through the outside corners (-1, 0) and (0, -1): each move
// of its first end lands on the other, whose truncated coordinate is outside
// again. The clip gives up after its bounded passes instead of cycling.
TEST(ClipLine, AFiniteLineThatCyclesBetweenEdgesEnds) {
  float x1 = 1, y1 = -2, x2 = -0.5f, y2 = -0.5f;
  EXPECT_FALSE(ClipLine(&x1, &y1, &x2, &y2, 4, 4));
  TestBitmap b(4, 4, 0);
  DrawLine(&b, 1, -2, -0.5f, -0.5f, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(b.CountNot(0), 0);
}

TEST(DrawLine, EndsInOnePixelDrawItAtFullWeight) {
  TestBitmap b(4, 4, 0);
  DrawLine(&b, 0.2f, 0.2f, 0.4f, 0.7f, 0x80FF8040, 0.5f, kBlendCopy, false);
  EXPECT_EQ(SetPixels(b), std::vector<std::string>{"0,0"});
  EXPECT_EQ(b.At(0, 0), 0x80FF8040u);
}

TEST(DrawLine, HorizontalLineDrawsBothEnds) {
  TestBitmap b(10, 10, 0);
  DrawLine(&b, 2, 5, 6, 5, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(SetPixels(b), (std::vector<std::string>{"2,5", "3,5", "4,5", "5,5", "6,5"}));
}

TEST(DrawLine, DiagonalAndSteepWalks) {
  TestBitmap b(10, 10, 0);
  DrawLine(&b, 1, 1, 4, 4, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(SetPixels(b), (std::vector<std::string>{"1,1", "2,2", "3,3", "4,4"}));
  TestBitmap s(10, 10, 0);
  DrawLine(&s, 2, 7, 3, 1, kWhite, 1.0f, kBlendCopy, false);
  // Steep, walked upward in y from (3, 1): slope 1/6, the minor step after
  // three rows.
  EXPECT_EQ(SetPixels(s),
            (std::vector<std::string>{"3,1", "3,2", "3,3", "2,4", "2,5", "2,6", "2,7"}));
}

TEST(DrawLine, LineLeftOfTheBitmapDrawsNothingAndACrossingOneIsCut) {
  TestBitmap b(8, 8, 0);
  DrawLine(&b, -9, 1, -2, 6, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(b.CountNot(0), 0);
  DrawLine(&b, -10, 3, 3, 3, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(SetPixels(b), (std::vector<std::string>{"0,3", "1,3", "2,3", "3,3"}));
}

TEST(DrawLine, OpaqueColourInAddModeIsAdded) {
  TestBitmap b(5, 1, 0x00646464);
  DrawLine(&b, 0, 0, 4, 0, 0xFF646464, 1.0f, kBlendAdd, false);
  EXPECT_EQ(b.At(2, 0), 0xFFC8C8C8u);
  // Copy of the same colour is stored as it is.
  DrawLine(&b, 0, 0, 4, 0, 0xFF101010, 1.0f, kBlendCopy | kBlendSourceAlpha, false);
  EXPECT_EQ(b.At(2, 0), 0xFF101010u);
}

TEST(DrawLine, LinesAddressMemoryRowsEvenOnAFlippedBitmap) {
  TestBitmap b(4, 4, 0, true);
  DrawLine(&b, 0, 0, 3, 0, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(b.MemoryRow(0)[2], kWhite);
}

TEST(DrawLine, AntialiasedHorizontalLineOnARowIsFullOnThatRowOnly) {
  TestBitmap b(10, 6, 0);
  DrawLine(&b, 1.5f, 2.0f, 8.5f, 2.0f, kWhite, 1.0f, kBlendAdd, true);
  for (int x = 2; x <= 8; ++x) EXPECT_EQ(b.At(x, 2), kWhite) << x;
  for (int x = 0; x < 10; ++x) EXPECT_EQ(b.At(x, 3), 0u) << x;
}

TEST(DrawLine, AntialiasedPixelsAtHalfWeightGetAtMostHalf) {
  // Lines at least three columns long inside the bitmap plot each pixel once.
  TestRandom random(99);
  for (int run = 0; run < 200; ++run) {
    TestBitmap b(20, 20, 0);
    const float x1 = random.Float(1, 6), x2 = random.Float(10, 18);
    const float y1 = random.Float(1, 18), y2 = random.Float(1, 18);
    if (run & 1)
      DrawLine(&b, x1, y1, x2, y2, kWhite, 0.5f, kBlendAdd, true);
    else
      DrawLine(&b, y1, x1, y2, x2, kWhite, 0.5f, kBlendAdd, true);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 20; ++x) ASSERT_LE(b.At(x, y) & 0xFF, 127u) << run;
  }
}

TEST(DrawLine, AntialiasedEndsInOnePixelLightTheirBlock) {
  TestBitmap b(4, 4, 0);
  DrawLine(&b, 1.5f, 1.5f, 1.5f, 1.5f, kWhite, 0.1f, kBlendAdd, true);
  // Coverage (0.5 + 0.5)/4 at full weight: 255*64/256 = 63.
  EXPECT_EQ(b.At(1, 1), 0x3F3F3F3Fu);
  EXPECT_EQ(b.At(2, 2), 0x3F3F3F3Fu);
  EXPECT_EQ(b.CountNot(0), 4);
}

// Property: no end points, however far outside, make a line write outside
// the bitmap; seeded, each run re-creatable from its number.
TEST(DrawLine, RandomFarEndPointsNeverWriteOutside) {
  const float inf = std::numeric_limits<float>::infinity();
  const float scales[] = {30.0f, 1e4f, 1e9f, 3e38f};
  TestBitmap b(17, 13, 0);
  TestRandom random(4242);
  for (int run = 0; run < 20000; ++run) {
    const float s = scales[run % 4];
    float v[4];
    for (float& c : v) c = random.Float(-s, s);
    if (run % 97 == 0) v[run % 4] = (run & 1) ? inf : -inf;
    DrawLine(&b, v[0], v[1], v[2], v[3], 0x80FFFFFF, 0.7f, run % 3 == 0 ? kBlendCopy : kBlendAdd,
             run & 1);
    ASSERT_TRUE(b.GuardsIntact()) << "run " << run;
  }
  EXPECT_GT(b.CountNot(0), 0);
}
