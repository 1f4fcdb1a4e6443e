// Double-clicks made from presses, for window systems that report only
// presses: the interval, the distance, the button and the clock's wrap.
#include <gtest/gtest.h>

#include "editor/double_click.h"

TEST(DoubleClick, ASecondPressWithin400MsAndTwoPixelsCompletesIt) {
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.Press(1, 100, 100, 1000));
  EXPECT_TRUE(clicks.Press(1, 102, 98, 1400));
  // The press after a double-click starts afresh; the one after that pairs.
  EXPECT_FALSE(clicks.Press(1, 102, 98, 1450));
  EXPECT_TRUE(clicks.Press(1, 102, 98, 1500));
}

TEST(DoubleClick, TooLateTooFarOrAnotherButtonIsAPlainPress) {
  DoubleClickDetector late;
  EXPECT_FALSE(late.Press(1, 10, 10, 0));
  EXPECT_FALSE(late.Press(1, 10, 10, 401));
  // ... which may itself start the next double-click.
  EXPECT_TRUE(late.Press(1, 10, 10, 500));

  DoubleClickDetector far;
  EXPECT_FALSE(far.Press(1, 10, 10, 0));
  EXPECT_FALSE(far.Press(1, 13, 10, 100));
  EXPECT_FALSE(far.Press(1, 13, 7, 200));

  DoubleClickDetector other;
  EXPECT_FALSE(other.Press(1, 10, 10, 0));
  EXPECT_FALSE(other.Press(3, 10, 10, 100));
  EXPECT_TRUE(other.Press(3, 10, 10, 200));
}

TEST(DoubleClick, TheIntervalIsMeasuredAcrossTheClocksWrap) {
  DoubleClickDetector clicks;
  EXPECT_FALSE(clicks.Press(1, 0, 0, 0xFFFFFF00u));
  EXPECT_TRUE(clicks.Press(1, 0, 0, 0x40u));  // 320 ms later
}
