// The engine's set-up from the settings: the word length's floor, the
// order's range, and what it leaves to its owner.
#include "dsp/dither_engine.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(DitherEngine, OrdersOutsideTheRangeAreClampedAndWordsFloorAtOneBit) {
  DitherEngine engine;
  engine.Configure(44100.0, 512, 0, false, kMaxShapingOrder + 8);
  EXPECT_EQ(engine.Core().QuantScale(), 1.0);
  EXPECT_EQ(engine.Core().ShapingOrder(), kMaxShapingOrder);
  EXPECT_EQ(engine.Core().Coefficients().Count(), kMaxShapingOrder);
  engine.Configure(44100.0, 512, 24, true, -3);
  EXPECT_EQ(engine.Core().QuantScale(), 8388608.0);
  EXPECT_TRUE(engine.Core().DitherOn());
  EXPECT_FALSE(engine.Core().ShapingOn());
}

// Without a block size there is nothing to design for: the shaper runs with
// zero coefficients, which leaves plain rounding.
TEST(DitherEngine, NoBlockSizeLeavesTheCoefficientsZero) {
  DitherEngine engine;
  engine.Configure(48000.0, 0, 16, false, 9);
  ASSERT_EQ(engine.Core().Coefficients().Count(), 9);
  for (int k = 0; k < 9; ++k) EXPECT_EQ(engine.Core().Coefficients()[k], 0.0) << k;
  engine.Configure(48000.0, 256, 16, false, 9);
  EXPECT_NE(engine.Core().Coefficients()[0], 0.0);
}

// The owner seeds the generator once; set-ups that follow (a new rate, a
// new value) must not move its sequence.
TEST(DitherEngine, ConfiguringLeavesTheGeneratorWhereItWas) {
  DitherEngine configured, untouched;
  for (DitherEngine* engine : {&configured, &untouched}) {
    engine->Core().Random().SeedState(5);
    engine->Core().Random().Regenerate();
  }
  configured.Configure(44100.0, 512, 16, true, 9);
  configured.Configure(96000.0, 64, 8, true, 3);
  for (int i = 0; i < 8; ++i) {
    ASSERT_EQ(configured.Core().Random().NextWord(), untouched.Core().Random().NextWord()) << i;
  }
}
