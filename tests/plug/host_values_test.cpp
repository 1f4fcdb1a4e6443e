// Values in the parameters' own units and their texts: the one stepping rule
// and the texts every format shows and reads back.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "support/test_host.h"

TEST(PlainValues, SteppedParametersTakeTheNearestStepAndAMidpointGoesUp) {
  const std::unique_ptr<DitherPlugin> plug = BarePlugin();
  // "target bits", 6 to 32 in whole bits.
  EXPECT_EQ(plug->PlainValue(kParamTargetBits, 15.4999), 15.0);
  EXPECT_EQ(plug->PlainValue(kParamTargetBits, 15.5), 16.0);
  EXPECT_EQ(plug->PlainValue(kParamTargetBits, 16.5), 17.0);
  EXPECT_EQ(plug->PlainValue(kParamTargetBits, 16.4999), 16.0);
  EXPECT_EQ(plug->PlainValue(kParamTargetBits, -7.0), 6.0);
  EXPECT_EQ(plug->PlainValue(kParamTargetBits, 1e9), 32.0);
  EXPECT_EQ(plug->PlainValue(kParamDither, 0.5), 1.0);
  EXPECT_EQ(plug->PlainValue(kParamDither, 0.4999), 0.0);
  // A NaN stands for the current value; an index out of range for nothing.
  EXPECT_EQ(plug->PlainValue(kParamTargetBits, std::nan("")), 16.0);
  EXPECT_EQ(plug->PlainValue(kDitherParamCount, 3.0), 0.0);
  EXPECT_EQ(plug->PlainValue(-1, 3.0), 0.0);
}

TEST(PlainValues, SetParamPlainStepsSetsAndResetsAndIgnoresWhatIsNoValue) {
  const std::unique_ptr<DitherPlugin> plug = BarePlugin();
  plug->SetParamPlain(kParamShaping, 4.5);
  EXPECT_EQ(plug->ParamAt(kParamShaping).Value(), 5.0);
  plug->SetParamPlain(kParamTargetBits, -7.0);
  EXPECT_EQ(plug->ParamAt(kParamTargetBits).Value(), 6.0);
  plug->SetParamPlain(kParamTargetBits, std::nan(""));
  EXPECT_EQ(plug->ParamAt(kParamTargetBits).Value(), 6.0);
  plug->SetParamPlain(kDitherParamCount, 1.0);  // nothing, and no crash
  // The editor's knob follows the value.
  const Param& bits = plug->ParamAt(kParamTargetBits);
  plug->SetParamPlain(kParamTargetBits, 20.0);
  const DitherEditor* editor = EditorOf(plug.get());
  int bound = 0;
  for (int c = 0; c < editor->ControlCount(); ++c) {
    if (editor->ControlAt(c)->ParamIdx() != kParamTargetBits) continue;
    EXPECT_DOUBLE_EQ(editor->ControlAt(c)->Value(), bits.ToNormalized(20.0));
    ++bound;
  }
  EXPECT_GT(bound, 0);
}

TEST(ValueTexts, EveryShownTextReadsBackAsItsValueForEveryParameter) {
  const std::unique_ptr<DitherPlugin> plug = BarePlugin();
  for (int i = 0; i < plug->ParamCount(); ++i) {
    const Param& param = plug->ParamAt(i);
    for (double v = param.Min(); v <= param.Max(); v += param.Step()) {
      const std::string text = plug->ValueText(i, v);
      double back = -100.0;
      ASSERT_TRUE(plug->ValueFromText(i, text, back)) << param.Name() << " " << text;
      EXPECT_EQ(back, v) << param.Name() << " " << text;
    }
  }
  EXPECT_EQ(plug->ValueText(kParamShaping, 0.0), "off");
  EXPECT_EQ(plug->ValueText(kParamDither, 1.0), "on");
  EXPECT_EQ(plug->ValueText(kParamTargetBits, 15.6), "16");
  EXPECT_EQ(plug->ValueText(kParamTargetBits, std::nan("")), "");
  EXPECT_EQ(plug->ValueText(kDitherParamCount, 1.0), "");
}

TEST(ValueTexts, TypedTextIsSteppedAndLimitedAndTextForNoValueIsRefused) {
  const std::unique_ptr<DitherPlugin> plug = BarePlugin();
  double value = -100.0;
  ASSERT_TRUE(plug->ValueFromText(kParamTargetBits, "-5", value));
  EXPECT_EQ(value, 6.0);
  ASSERT_TRUE(plug->ValueFromText(kParamTargetBits, " 20.6 bits", value));
  EXPECT_EQ(value, 21.0);
  ASSERT_TRUE(plug->ValueFromText(kParamShaping, "off", value));
  EXPECT_EQ(value, 0.0);
  value = -100.0;
  EXPECT_FALSE(plug->ValueFromText(kParamTargetBits, "loud", value));
  EXPECT_FALSE(plug->ValueFromText(kParamTargetBits, "nan", value));
  EXPECT_FALSE(plug->ValueFromText(kParamDither, "maybe", value));
  // A list takes its texts and the numbers of its values, nothing else.
  EXPECT_FALSE(plug->ValueFromText(kParamDither, "0.5", value));
  EXPECT_FALSE(plug->ValueFromText(kParamDither, "1 banana", value));
  EXPECT_FALSE(plug->ValueFromText(kParamDither, "", value));
  EXPECT_FALSE(plug->ValueFromText(kDitherParamCount, "1", value));
  EXPECT_EQ(value, -100.0);
  ASSERT_TRUE(plug->ValueFromText(kParamDither, "1", value));
  EXPECT_EQ(value, 1.0);
  ASSERT_TRUE(plug->ValueFromText(kParamDither, "0 ", value));
  EXPECT_EQ(value, 0.0);
}
