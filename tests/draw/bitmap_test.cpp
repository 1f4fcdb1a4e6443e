// Memory and system bitmaps: sizes, resizing and storage order.
#include <gtest/gtest.h>

#include <climits>

#include "draw/blit.h"
#include "draw/memory_bitmap.h"
#include "draw/pixel.h"
#include "draw/system_bitmap.h"
#include "test_bitmap.h"

TEST(MemoryBitmap, EmptyBitmapHasNoPixelsAndBlitsChangeNothing) {
  MemoryBitmap empty(0, 0);
  EXPECT_EQ(empty.Bits(), nullptr);
  TestBitmap target(4, 4, 0x11223344);
  Blit(&target, &empty, 0, 0, nullptr, 1.0f, kBlendCopy);
  Blit(&empty, &target, 0, 0, nullptr, 1.0f, kBlendCopy);
  EXPECT_EQ(target.CountNot(0x11223344), 0);
  EXPECT_TRUE(target.GuardsIntact());
}

TEST(MemoryBitmap, ResizeToTheSameSizeReturnsFalseAndKeepsThePixels) {
  MemoryBitmap b(3, 2);
  b.Bits()[5] = 0xABCDEF01;
  EXPECT_FALSE(b.Resize(3, 2));
  EXPECT_EQ(b.Bits()[5], 0xABCDEF01u);
}

TEST(MemoryBitmap, ResizeKeepsTheOldBytesAtTheStartOfTheBlock) {
  MemoryBitmap b(2, 2);
  for (int i = 0; i < 4; ++i) b.Bits()[i] = 100u + i;
  EXPECT_TRUE(b.Resize(3, 3));
  EXPECT_EQ(b.Width(), 3);
  ASSERT_NE(b.Bits(), nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(b.Bits()[i], 100u + i);
  EXPECT_TRUE(b.Resize(0, 5));
  EXPECT_EQ(b.Bits(), nullptr);
  EXPECT_EQ(b.Height(), 5);
}

TEST(MemoryBitmap, NegativeAndOverflowingSizesHaveNoPixels) {
  // INT_MAX^2 * 4 bytes wraps in 32 and even 64 bits; a product of two
  // negative sizes is positive.
  const int sizes[][2] = {{-1, 5}, {5, -1}, {-4, -4}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MIN}};
  for (const auto& s : sizes) {
    MemoryBitmap b(s[0], s[1]);
    EXPECT_EQ(b.Width(), s[0]);
    EXPECT_EQ(b.Height(), s[1]);
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_TRUE(b.Resize(s[1], s[0]) || s[0] == s[1]);
    EXPECT_EQ(b.Bits(), nullptr);
    PutPixel(&b, 1, 1, 0xFFFFFFFF, 1.0f, kBlendCopy);  // must not crash
    EXPECT_EQ(GetPixel(&b, 1, 1), 0u);
  }
}

TEST(SystemBitmap, ResizeToZeroReportsTheSizeButKeepsThePreviousPixels) {
  SystemBitmap b(4, 3);
  ASSERT_NE(b.Bits(), nullptr);
  uint32_t* before = b.Bits();
  EXPECT_FALSE(b.Resize(4, 3));
  EXPECT_FALSE(b.Resize(0, 3));
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Bits(), before);
  EXPECT_TRUE(b.Resize(5, 5));
  EXPECT_NE(b.Bits(), nullptr);
  EXPECT_EQ(b.RowSpan(), 5);
  EXPECT_FALSE(b.IsFlipped());
}

TEST(SystemBitmap, ImpossibleSizesLeaveNoPixels) {
  SystemBitmap b(2, 2);
  EXPECT_TRUE(b.Resize(-3, 2));
  EXPECT_EQ(b.Bits(), nullptr);
  EXPECT_TRUE(b.Resize(INT_MAX, INT_MAX));
  PutPixel(&b, 0, 0, 0xFFFFFFFF, 1.0f, kBlendCopy);  // must not crash
}

TEST(FlippedBitmap, PixelZeroZeroIsTheFirstPixelOfTheLastMemoryRow) {
  TestBitmap b(3, 4, 0, true);
  b.MemoryRow(3)[0] = 0x01020304;
  EXPECT_EQ(GetPixel(&b, 0, 0), 0x01020304u);
  PutPixel(&b, 2, 0, 0xFFFFFFFF, 1.0f, kBlendCopy);
  EXPECT_EQ(b.MemoryRow(3)[2], 0xFFFFFFFFu);
}

TEST(GetPixel, OutsideOrMissingGivesZero) {
  TestBitmap b(3, 3, 0x55555555);
  EXPECT_EQ(GetPixel(&b, 2, 2), 0x55555555u);
  for (int xy : {-1, 3, INT_MIN, INT_MAX}) {
    EXPECT_EQ(GetPixel(&b, xy, 0), 0u);
    EXPECT_EQ(GetPixel(&b, 0, xy), 0u);
  }
  EXPECT_EQ(GetPixel(nullptr, 0, 0), 0u);
}

TEST(ForcePixel, StoresTheColourAsItIsOnMemoryRows) {
  TestBitmap b(3, 3, 0xFFFFFFFF, true);
  ForcePixel(&b, 1, 0, 0x00123456);
  EXPECT_EQ(b.MemoryRow(0)[1], 0x00123456u);
  ForcePixel(&b, 3, 0, 0);
  ForcePixel(&b, -1, 2, 0);
  ForcePixel(&b, 0, INT_MIN, 0);
  EXPECT_TRUE(b.GuardsIntact());
}
