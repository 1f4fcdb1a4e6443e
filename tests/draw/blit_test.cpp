// Rectangular blits: clipping, the raw copy, channel copies, storage order.
#include "draw/blit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "draw/memory_bitmap.h"
#include "test_bitmap.h"

namespace {

// Gives pixel (x, y) a unique value: 0xFF000000 | y << 8 | x.
void Number(TestBitmap* b) {
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x) b->At(x, y) = 0xFF000000u | uint32_t(y) << 8 | uint32_t(x);
}

}  // namespace

TEST(Blit, NegativeXSkipsTheFirstSourceColumns) {
  TestBitmap src(10, 3);
  Number(&src);
  TestBitmap dest(10, 3);
  Blit(&dest, &src, -5, 0, nullptr, 1.0f, kBlendCopy);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(dest.At(x, 1), src.At(x + 5, 1));
  EXPECT_EQ(dest.At(5, 1), 0u);
  EXPECT_TRUE(dest.GuardsIntact());
}

TEST(Blit, RectangleWhollyOutsideTheDestinationChangesNothing) {
  TestBitmap src(4, 4);
  Number(&src);
  TestBitmap dest(6, 6);
  const int places[][2] = {{6, 0}, {0, 6}, {-4, 0}, {0, -4}, {INT_MAX, 0}, {INT_MIN, INT_MIN}};
  for (const auto& p : places) Blit(&dest, &src, p[0], p[1], nullptr, 1.0f, kBlendCopy);
  EXPECT_EQ(dest.CountNot(0), 0);
  EXPECT_TRUE(dest.GuardsIntact());
}

TEST(Blit, ChannelCopyMovesOneByteAndKeepsTheRest) {
  TestBitmap src(1, 1, 0x11223344), dest(1, 1, 0xAABBCCDD);
  EXPECT_EQ(ChannelCopyCode(kByteRed, kByteAlpha), 0xFE);
  Blit(&dest, &src, 0, 0, nullptr, 0.0f, 0xFE);
  EXPECT_EQ(dest.At(0, 0), 0x22BBCCDDu);
  Blit(&dest, &src, 0, 0, nullptr, 0.0f, ChannelCopyCode(kByteBlue, kByteGreen));
  EXPECT_EQ(dest.At(0, 0), 0x22BB44DDu);
}

TEST(Blit, OnlyAnUnweightedPlainCopyIsARawCopy) {
  TestBitmap src(1, 1, 0xFFFFFFFF), dest(1, 1, 0);
  Blit(&dest, &src, 0, 0, nullptr, 1.0f, kBlendSourceAlpha);  // per pixel: 254
  EXPECT_EQ(dest.At(0, 0), 0xFEFEFEFEu);
  Blit(&dest, &src, 0, 0, nullptr, 1.0f, kBlendCopy | kBlendFilter);  // filter bits ignored
  EXPECT_EQ(dest.At(0, 0), 0xFFFFFFFFu);
  TestBitmap zero(1, 1, 0);
  Blit(&dest, &zero, 0, 0, nullptr, 0.0f, kBlendCopy);  // weight 0: nothing
  Blit(&dest, &zero, 0, 0, nullptr, 0.0f, kBlendAdd);
  EXPECT_EQ(dest.At(0, 0), 0xFFFFFFFFu);
}

TEST(Blit, FlippedSourceAndDestinationAreWalkedInPictureOrder) {
  TestBitmap src(5, 4, 0, true);
  Number(&src);
  TestBitmap dest(5, 4, 0, true);
  Blit(&dest, &src, 0, 1, nullptr, 0.5f, kBlendAdd);
  for (int y = 1; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint32_t s = src.At(x, y - 1);
      const uint32_t half = (s >> 24) / 2 << 24 | ((s >> 8) & 0xFF) / 2 << 8 | (s & 0xFF) / 2;
      EXPECT_EQ(dest.At(x, y), half);
    }
}

// Property: an opaque copy at weight 1.0 equals a memory copy of the clipped
// rectangle, for random rectangles and places, many partly or wholly outside.
TEST(Blit, OpaqueCopyEqualsMemoryCopyOfTheClippedRectangle) {
  TestRandom random(20240601);
  TestBitmap src(23, 17);
  Number(&src);
  for (int run = 0; run < 2000; ++run) {
    const Rect r = {random.Int(-30, 30), random.Int(-30, 30), random.Int(-30, 40),
                    random.Int(-30, 40)};
    const int x = random.Int(-40, 40), y = random.Int(-40, 40);
    const bool whole = run % 7 == 0;
    TestBitmap dest(19, 21, 0x01010101), expected(19, 21, 0x01010101);

    // Reference: clip the rectangle to the source, then each pixel to the
    // destination.
    const Rect s = whole ? Rect{0, 0, 23, 17}
                         : Rect{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, 23),
                                std::min(r.bottom, 17)};
    for (int sy = s.top; sy < s.bottom; ++sy)
      for (int sx = s.left; sx < s.right; ++sx) {
        const int dx = x + sx - s.left, dy = y + sy - s.top;
        if (dx >= 0 && dx < 19 && dy >= 0 && dy < 21)
          std::memcpy(&expected.At(dx, dy), &src.At(sx, sy), 4);
      }

    Blit(&dest, &src, x, y, whole ? nullptr : &r, 1.0f, kBlendCopy);
    ASSERT_TRUE(dest.GuardsIntact()) << "run " << run;
    for (int py = 0; py < 21; ++py)
      for (int px = 0; px < 19; ++px)
        ASSERT_EQ(dest.At(px, py), expected.At(px, py))
            << "run " << run << " at " << px << "," << py;
  }
}

TEST(BlitRect, ExtremeOriginsAndSizesStayInside) {
  TestBitmap src(8, 8);
  Number(&src);
  TestBitmap dest(8, 8);
  const int v[] = {INT_MIN, -9, -1, 0, 3, 9, INT_MAX};
  for (int a : v)
    for (int b : v)
      for (int c : v) {
        BlitRect(&dest, &src, a, b, c, a, b, c, 0.7f, kBlendAdd);
        BlitRect(&dest, &src, c, a, b, c, INT_MAX, INT_MAX, 1.0f, kBlendCopy);
      }
  EXPECT_TRUE(dest.GuardsIntact());
}

TEST(CopyBitmap, ResizesTheScratchAndCopiesEveryPixel) {
  TestBitmap src(7, 5, 0, true);
  Number(&src);
  MemoryBitmap scratch(0, 0);
  CopyBitmap(&scratch, &src);
  ASSERT_EQ(scratch.Width(), 7);
  ASSERT_EQ(scratch.Height(), 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(scratch.Bits()[y * 7 + x], src.At(x, y));
  CopyBitmap(nullptr, &src);
  CopyBitmap(&scratch, nullptr);
}
