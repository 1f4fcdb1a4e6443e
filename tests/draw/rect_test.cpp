// The rectangle rules the editor's dirty tracking and clipping rely on.
#include "draw/rect.h"

#include <gtest/gtest.h>

TEST(Rect, EmptyOnlyWhenAllFourAreZero) {
  EXPECT_TRUE(IsEmpty({0, 0, 0, 0}));
  EXPECT_FALSE(IsEmpty({5, 0, 5, 10}));  // zero width, but not empty
}

TEST(Rect, UnionIgnoresAnEmptyOperand) {
  const Rect a = {1, 2, 3, 4};
  const Rect u = Union({0, 0, 0, 0}, a);
  EXPECT_EQ(u.left, 1);
  EXPECT_EQ(u.bottom, 4);
  const Rect both = Union(a, {-5, 3, 2, 9});
  EXPECT_EQ(both.left, -5);
  EXPECT_EQ(both.top, 2);
  EXPECT_EQ(both.right, 3);
  EXPECT_EQ(both.bottom, 9);
}

TEST(Rect, TouchingAtTheFirstRightOrBottomEdgeIntersects) {
  const Rect a = {0, 0, 10, 10};
  EXPECT_TRUE(Intersects(a, {10, 0, 20, 10}));
  EXPECT_FALSE(Intersects({10, 0, 20, 10}, a));  // a's left edge is exclusive
  EXPECT_TRUE(Intersects(a, {0, 10, 10, 20}));
  EXPECT_FALSE(Intersects(a, {0, 0, 0, 0}));
  const Rect cut = Intersection(a, {5, -5, 15, 5});
  EXPECT_EQ(cut.left, 5);
  EXPECT_EQ(cut.top, 0);
  EXPECT_EQ(cut.right, 10);
  EXPECT_EQ(cut.bottom, 5);
  EXPECT_TRUE(IsEmpty(Intersection(a, {20, 20, 30, 30})));
}

TEST(Rect, ContainsIsHalfOpen) {
  const Rect r = {0, 0, 4, 4};
  EXPECT_TRUE(Contains(r, 0, 3));
  EXPECT_FALSE(Contains(r, 4, 0));
  EXPECT_FALSE(Contains({0, 0, 0, 0}, 0, 0));
}
