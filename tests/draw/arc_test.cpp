// Arcs and circles.
#include "draw/arc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <limits>

#include "test_bitmap.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;

// Set pixels per screen quadrant about (cx, cy): 0 upper right, 1 lower
// right, 2 lower left, 3 upper left; pixels on an axis count for neither side.
std::array<int, 4> Quadrants(TestBitmap& b, int cx, int cy) {
  std::array<int, 4> n = {0, 0, 0, 0};
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      if (!b.At(x, y) || x == cx || y == cy) continue;
      n[x > cx ? (y < cy ? 0 : 1) : (y > cy ? 2 : 3)]++;
    }
  return n;
}

// An angle brought into 0 ... 2 pi by whole float turns, one at a time.
float TurnedByTurns(float angle) {
  while (angle < 0.0f) angle += 6.2831855f;
  while (angle > 6.2831855f) angle -= 6.2831855f;
  return angle;
}

}  // namespace

TEST(DrawCircle, DrawsAllFourQuarters) {
  TestBitmap b(41, 41, 0);
  DrawCircle(&b, 20, 20, 15, kWhite, 1.0f, kBlendCopy, false);
  for (int n : Quadrants(b, 20, 20)) EXPECT_GT(n, 10);
  EXPECT_EQ(b.At(20, 5), kWhite);   // 12 o'clock
  EXPECT_EQ(b.At(35, 20), kWhite);  // 3 o'clock
  EXPECT_EQ(b.At(20, 35), kWhite);  // 6 o'clock
  EXPECT_EQ(b.At(5, 20), kWhite);   // 9 o'clock
}

TEST(DrawArc, StartsAtTwelveOClockAndRunsClockwise) {
  TestBitmap b(41, 41, 0);
  DrawArc(&b, 20, 20, 15, 0.0f, 1.0f, kWhite, 1.0f, kBlendCopy, false);
  const auto n = Quadrants(b, 20, 20);
  EXPECT_GT(n[0], 5);
  EXPECT_EQ(n[1] + n[2] + n[3], 0);
  EXPECT_EQ(b.At(20, 5), kWhite);
  // It ends near 1 rad: (20 + 15 sin 1, 20 - 15 cos 1) = (32.6, 11.9).
  EXPECT_EQ(b.At(34, 13), 0u);
}

TEST(DrawArc, FirstQuarterPlainWalkMatchesTheRunningCoordinate) {
  TestBitmap b(41, 41, 0);
  DrawArc(&b, 20, 20, 10, 0.0f, 1.5707964f, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(b.At(20, 10), kWhite);
  // At a = 5, sqrt(75) = 8.66: D falls from 0.835 to 0.340, so b drops to 9.
  EXPECT_EQ(b.At(25, 11), kWhite);
  EXPECT_EQ(b.At(25, 10), 0u);
  EXPECT_EQ(b.At(24, 10), kWhite);
}

TEST(DrawArc, WrapsPastTwelveWhenTheEndQuarterLiesBeforeTheStart) {
  TestBitmap b(41, 41, 0);
  DrawArc(&b, 20, 20, 15, 5.0f, 1.0f, kWhite, 1.0f, kBlendCopy, false);
  const auto n = Quadrants(b, 20, 20);
  EXPECT_GT(n[3], 0);
  EXPECT_GT(n[0], 0);
  EXPECT_EQ(n[1] + n[2], 0);
  TestBitmap backwards(41, 41, 0);
  DrawArc(&backwards, 20, 20, 15, 1.0f, 0.5f, kWhite, 1.0f, kBlendCopy, false);
  EXPECT_EQ(backwards.CountNot(0), 0);
}

TEST(DrawArc, AntialiasedAtHalfWeightGivesEachPixelAtMostHalf) {
  // An arc short of the diagonal is walked by one octant, each pixel once;
  // added onto black at e <= 128 it reaches at most 255*128/256 = 127.
  TestBitmap b(64, 64, 0);
  DrawArc(&b, 31.3f, 30.6f, 25.2f, 0.1f, 0.7f, kWhite, 0.5f, kBlendAdd, true);
  EXPECT_GT(b.CountNot(0), 20);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_LE(b.At(x, y) & 0xFF, 127u);
}

// Property: every pixel drawn, plain or antialiased, holds a point within
// one pixel of the true circle: the circle's distance to the pixel's square
// (x ... x + 1, y ... y + 1) is at most 1.
TEST(DrawCircle, PixelsLieWithinOnePixelOfTheRadius) {
  for (float r = 0.5f; r <= 60.0f; r += 0.25f)
    for (bool aa : {false, true}) {
      TestBitmap b(130, 130, 0);
      DrawCircle(&b, 64, 64, r, kWhite, 1.0f, kBlendCopy, aa);
      ASSERT_TRUE(b.GuardsIntact());
      for (int y = 0; y < 130; ++y)
        for (int x = 0; x < 130; ++x)
          if (b.At(x, y)) {
            const double nearX = std::clamp(64.0, double(x), x + 1.0);
            const double nearY = std::clamp(64.0, double(y), y + 1.0);
            const double farX = std::max(std::fabs(x - 64.0), std::fabs(x + 1 - 64.0));
            const double farY = std::max(std::fabs(y - 64.0), std::fabs(y + 1 - 64.0));
            ASSERT_LE(std::hypot(nearX - 64, nearY - 64), r + 1.0)
                << "r " << r << " at " << x << "," << y;
            ASSERT_GE(std::hypot(farX, farY), r - 1.0) << "r " << r << " at " << x << "," << y;
          }
    }
}

TEST(DrawArc, BadRadiiAndAnglesDrawNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  TestBitmap b(20, 20, 0);
  for (float r : {0.0f, -5.0f, nan, inf, -inf})
    DrawCircle(&b, 10, 10, r, kWhite, 1, kBlendCopy, true);
  DrawArc(&b, 10, 10, 5, nan, 1, kWhite, 1, kBlendCopy, true);
  DrawArc(&b, 10, 10, 5, 0, inf, kWhite, 1, kBlendCopy, true);
  DrawArc(&b, nan, 10, 5, 0, 1, kWhite, 1, kBlendCopy, true);
  EXPECT_EQ(b.CountNot(0), 0);
  EXPECT_TRUE(b.GuardsIntact());
}

// Each float step of a turn rounds, so far-out angles land away from their
// exact remainder; the arc follows the stepped angle for as long as a step
// still changes the float (up to 2^27).
TEST(DrawArc, LargeAnglesAreReducedByWholeFloatTurns) {
  int differFromRemainder = 0;
  for (float angle : {500.3f, -2345.6f, 98765.4f, 3.3e6f, -2.7e7f, 1.0e8f, 134217728.0f}) {
    TestBitmap stepped(90, 90, 0), expected(90, 90, 0), remainder(90, 90, 0);
    DrawArc(&stepped, 45, 45, 40, angle, 1.0f, kWhite, 1.0f, kBlendCopy, false);
    DrawArc(&expected, 45, 45, 40, TurnedByTurns(angle), 1.0f, kWhite, 1.0f, kBlendCopy, false);
    DrawArc(&remainder, 45, 45, 40, std::fmod(angle, 6.2831855f) + (angle < 0 ? 6.2831855f : 0),
            1.0f, kWhite, 1.0f, kBlendCopy, false);
    bool differs = false;
    for (int y = 0; y < 90; ++y)
      for (int x = 0; x < 90; ++x) {
        ASSERT_EQ(stepped.At(x, y), expected.At(x, y)) << angle;
        differs |= stepped.At(x, y) != remainder.At(x, y);
      }
    differFromRemainder += differs;
  }
  EXPECT_GE(differFromRemainder, 3);
}

TEST(DrawArc, HugeRadiiCentresAndAnglesStayInsideAndFinishQuickly) {
  const auto start = std::chrono::steady_clock::now();
  TestBitmap b(50, 40, 0);
  // A circle of radius 1e6 whose rim crosses the bitmap, drawn in full.
  DrawCircle(&b, 25, 1e6f + 20, 1e6f, kWhite, 1.0f, kBlendCopy, true);
  EXPECT_GT(b.CountNot(0), 40);
  for (float r : {1e4f, 1e7f, 1e9f, 1e20f, 3e38f})
    for (float c : {-1e30f, -1e5f, 20.0f, 1e5f, 1e30f}) {
      DrawCircle(&b, c, 20, r, kWhite, 1.0f, kBlendAdd, true);
      DrawCircle(&b, 25, c, r, kWhite, 1.0f, kBlendAdd, false);
      DrawArc(&b, c, c, r, -1e30f, 1e30f, kWhite, 1.0f, kBlendAdd, true);
    }
  EXPECT_TRUE(b.GuardsIntact());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}
