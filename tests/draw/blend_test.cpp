// The pixel arithmetic of every blend operation, seen through PutPixel on a
// single pixel, and the mapping of the editor's blend requests.
#include "draw/blend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "draw/colour.h"
#include "draw/pixel.h"
#include "test_bitmap.h"

namespace {

// The pixel after combining `colour` into `dest` by `code` at `weight`.
uint32_t Combined(uint32_t dest, uint32_t colour, float weight, BlendMode code) {
  TestBitmap b(1, 1, dest);
  PutPixel(&b, 0, 0, colour, weight, code);
  EXPECT_TRUE(b.GuardsIntact());
  return b.At(0, 0);
}

constexpr uint32_t Grey(uint32_t v, uint32_t a) { return a << 24 | v << 16 | v << 8 | v; }

}  // namespace

TEST(PackedColour, OpaqueRedIsStoredAsBlueGreenRedAlphaBytes) {
  const uint32_t red = PackColour({255, 255, 0, 0});
  EXPECT_EQ(red, 0xFFFF0000u);
  unsigned char bytes[4];
  std::memcpy(bytes, &red, 4);
  EXPECT_EQ(bytes[0], 0x00);
  EXPECT_EQ(bytes[1], 0x00);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0xFF);
  const Colour back = UnpackColour(0x80102030u);
  EXPECT_EQ(back.a, 0x80);
  EXPECT_EQ(back.r, 0x10);
  EXPECT_EQ(back.g, 0x20);
  EXPECT_EQ(back.b, 0x30);
}

TEST(BlendCopy, WhiteOntoBlackAtHalfWeightGives127InEveryChannel) {
  EXPECT_EQ(Combined(0x00000000, 0xFFFFFFFF, 0.5f, kBlendCopy), Grey(127, 127));
}

TEST(BlendCopy, SourceAlphaOfOpaqueWhiteGives254NotFull) {
  // e' = 255*256/256 = 255, then (0*0 + 255*255)/256 = 254, alpha included.
  EXPECT_EQ(Combined(0x00000000, 0xFFFFFFFF, 1.0f, kBlendSourceAlpha), Grey(254, 254));
}

TEST(BlendCopy, SourceAlphaZeroLeavesThePixel) {
  EXPECT_EQ(Combined(0x12345678, 0x00FFFFFF, 1.0f, kBlendSourceAlpha), 0x12345678u);
  EXPECT_EQ(Combined(0x12345678, 0x00FFFFFF, 1.0f, kBlendSourceAlpha | kBlendAdd), 0x12345678u);
}

TEST(BlendAdd, ClampsAtFullAndSubtractsAtNegativeWeight) {
  EXPECT_EQ(Combined(Grey(200, 200), Grey(100, 100), 1.0f, kBlendAdd), Grey(255, 255));
  EXPECT_EQ(Combined(Grey(200, 200), Grey(100, 100), -1.0f, kBlendAdd), Grey(100, 100));
}

TEST(BlendAdd, DivisionTruncatesTowardZeroForNegativeWeights) {
  // 100 * -1 / 256 is 0 when truncated, -1 with an arithmetic shift.
  EXPECT_EQ(Combined(Grey(200, 200), Grey(100, 100), -1.0f / 256.0f, kBlendAdd), Grey(200, 200));
}

TEST(BlendDodge, DividesByTheInvertedSource) {
  // k = 255 - 128 = 127; 100*256/127 = 201.
  EXPECT_EQ(Combined(Grey(100, 100), Grey(128, 128), 1.0f, kBlendDodge), Grey(201, 201));
  // k <= 1: d*256, clamped.
  EXPECT_EQ(Combined(Grey(1, 0), Grey(255, 255), 1.0f, kBlendDodge), Grey(255, 0));
}

TEST(BlendWeightRule, CopyNeedsAPositiveWeightAddAndDodgeANonZeroOne) {
  const uint32_t d = Grey(100, 100);
  EXPECT_EQ(Combined(d, 0xFFFFFFFF, 0.0f, kBlendCopy), d);
  EXPECT_EQ(Combined(d, 0xFFFFFFFF, -0.5f, kBlendCopy), d);
  EXPECT_EQ(Combined(d, 0xFFFFFFFF, 0.0f, kBlendAdd), d);
  // Dodge at e = 0 would still scale by 256/255; the rule keeps it away.
  EXPECT_EQ(Combined(Grey(255, 255), Grey(10, 10), 0.0f, kBlendDodge), Grey(255, 255));
  EXPECT_EQ(Combined(d, 0xFFFFFFFF, 1.0f, 0x03), d);  // unknown operation
}

TEST(BlendWeightRule, NaNAndHugeWeightsAreSafe) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const uint32_t d = Grey(100, 100);
  EXPECT_EQ(Combined(d, Grey(50, 50), nan, kBlendDodge), d);
  EXPECT_EQ(Combined(d, Grey(50, 50), nan, kBlendCopy), d);
  // Products that would overflow 32 bits saturate instead.
  EXPECT_EQ(Combined(d, Grey(50, 50), 1e30f, kBlendAdd), Grey(255, 255));
  EXPECT_EQ(Combined(d, Grey(50, 50), -inf, kBlendAdd), Grey(0, 0));
  EXPECT_EQ(Combined(d, Grey(200, 255), inf, kBlendCopy | kBlendSourceAlpha), Grey(255, 255));
  EXPECT_EQ(Combined(d, Grey(50, 255), 1e20f, kBlendCopy), Grey(0, 255));
  EXPECT_EQ(Combined(Grey(100, 100), Grey(50, 255), 1e20f, kBlendDodge), Grey(255, 255));
}

TEST(MapBlend, KindsSelectCodesAndMissingRequestCopiesWithSourceAlpha) {
  const BlendSetting none = MapBlend(nullptr);
  EXPECT_EQ(none.code, 0x10000);
  EXPECT_EQ(none.weight, 1.0f);
  const int expected[] = {0x10000, 0, 0x10001, 0x10002, 0x10000, 0x10000};
  for (int kind = 0; kind < 6; ++kind) {
    const Blend blend = {kind, 0.25f};
    const BlendSetting s = MapBlend(&blend);
    EXPECT_EQ(s.code, expected[kind]) << "kind " << kind;
    EXPECT_EQ(s.weight, 0.25f);
  }
}
