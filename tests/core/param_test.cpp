#include "core/param.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>

#include "core/text_copy.h"

namespace {

Param TargetBits() {
  Param p;
  p.DefineInt("target bits", 16, 6, 32, nullptr);
  return p;
}

std::string Display(const Param& p) {
  char buffer[kParamTextCapacity];
  p.FormatValue(buffer);
  return buffer;
}

}  // namespace

TEST(Param, IntegerValuesRoundToTheStepAndAreLimitedOnlyFromAbove) {
  Param p = TargetBits();
  EXPECT_NEAR(p.Normalized(), 10.0 / 26.0, 1e-12);
  p.SetFromNormalized(0.5f);
  EXPECT_EQ(p.Value(), 19.0);
  EXPECT_FLOAT_EQ(static_cast<float>(p.Normalized()), 0.5f);
  p.SetFromNormalized(0.52f);
  EXPECT_EQ(p.Value(), 20.0);
  p.SetFromNormalized(1.2f);
  EXPECT_EQ(p.Value(), 32.0);
  // Below the range the value is kept: the host reads 0 but the text tells.
  p.SetFromNormalized(-0.1f);
  EXPECT_EQ(p.Value(), 3.0);
  EXPECT_EQ(p.Normalized(), 0.0);
  EXPECT_EQ(Display(p), "3");
}

TEST(Param, ANaNFromTheHostLeavesTheValueAlone) {
  Param p = TargetBits();
  p.SetFromNormalized(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(p.Value(), 16.0);
  p.SetClamped(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(p.Value(), 16.0);
}

TEST(Param, DisplayTextsWinOverNumbers) {
  Param shaping;
  shaping.DefineInt("psychoacoustic power", 9, 0, 12, nullptr);
  shaping.SetValueText(0.0f, "off");
  EXPECT_EQ(Display(shaping), "9");
  shaping.SetFromNormalized(0.04f);
  EXPECT_EQ(shaping.Value(), 0.0);
  EXPECT_EQ(Display(shaping), "off");

  Param flag;
  flag.DefineBool("dither", false, "ignored label");
  EXPECT_EQ(Display(flag), "off");
  flag.SetFromNormalized(1.0f);
  EXPECT_EQ(Display(flag), "on");
  char label[kParamTextCapacity];
  flag.CopyLabel(label);
  EXPECT_STREQ(label, "");
  EXPECT_EQ(flag.ValueForText("on"), 1);
  EXPECT_EQ(flag.ValueForText("On"), -1);
  EXPECT_EQ(flag.ValueTexts(), (std::vector<std::string>{"off", "on"}));
  EXPECT_TRUE(TargetBits().ValueTexts().empty());
}

TEST(Param, DoubleValuesShowTheirStepsPrecisionButZeroIsPlain) {
  Param p;
  p.DefineDouble("gain", 0.0, 0.0, 10.0, 0.01, "dB");
  EXPECT_EQ(p.Precision(), 2);
  EXPECT_EQ(Display(p), "0");
  p.SetClamped(0.5);
  EXPECT_EQ(Display(p), "0.50");

  Param half;
  half.DefineDouble("half", 0.0, 0.0, 10.0, 0.5, nullptr);
  half.SetClamped(2.7);
  EXPECT_EQ(half.Value(), 2.7);
  half.SetFromNormalized(0.123f);
  EXPECT_NEAR(half.Value(), 1.23, 1e-6);  // not rounded to the step

  Param odd;
  odd.DefineDouble("odd", 0.0, 0.0, 1.0, 1.0 / 3.0, nullptr);
  EXPECT_EQ(odd.Precision(), 6);
}

TEST(Param, HostTextsAreTerminatedWithinSixtyFourBytes) {
  Param p;
  const std::string longName(100, 'n');
  p.DefineDouble(longName.c_str(), 1e300, 0.0, 1e301, 1.0, nullptr);
  char buffer[80];
  std::memset(buffer, '#', sizeof buffer);
  p.CopyName(buffer);
  EXPECT_EQ(std::strlen(buffer), kParamTextCapacity - 1);
  EXPECT_EQ(buffer[kParamTextCapacity], '#');
  // A value beyond the int range still gives a terminated, bounded text.
  std::memset(buffer, '#', sizeof buffer);
  p.FormatValue(buffer);
  EXPECT_LT(std::strlen(buffer), kParamTextCapacity);
  EXPECT_EQ(buffer[kParamTextCapacity], '#');
}

TEST(TextCopy, BoundedCopiesZeroFillAndTerminate) {
  char buffer[40];
  std::memset(buffer, '#', sizeof buffer);
  CopyBounded(buffer, "Default", kProgramNameCapacity);
  EXPECT_STREQ(buffer, "Default");
  for (size_t i = 7; i < kProgramNameCapacity; ++i) EXPECT_EQ(buffer[i], 0) << i;
  EXPECT_EQ(buffer[kProgramNameCapacity], '#');

  CopyBounded(buffer, std::string(50, 'x'), kEffectNameCapacity);
  EXPECT_EQ(std::strlen(buffer), kEffectNameCapacity - 1);
  EXPECT_EQ(buffer[kEffectNameCapacity], '#');
}

TEST(TextCopy, TruncationToIntSaturates) {
  EXPECT_EQ(TruncToInt(2.9), 2);
  EXPECT_EQ(TruncToInt(-2.9), -2);
  EXPECT_EQ(TruncToInt(1e20), INT_MAX);
  EXPECT_EQ(TruncToInt(-1e20), INT_MIN);
  EXPECT_EQ(TruncToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}
