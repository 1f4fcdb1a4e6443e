// Parameter binding in both directions, the bitmap cache and SetDirty.
#include <gtest/gtest.h>

#include <cmath>

#include "editor_fixture.h"

TEST(EditorBinding, AttachingPushesEveryParameterAndSetsTheDefaults) {
  EditorSetup s;
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.75);  // power 9 of 0 ... 12
  EXPECT_DOUBLE_EQ(s.knob->DefaultValue(), 0.75);
  EXPECT_DOUBLE_EQ(s.caption->DefaultValue(), 0.75);
  EXPECT_EQ(s.toggle->DefaultValue(), 0.0);
}

TEST(EditorBinding, AHostSetReachesTheBoundControlsWithoutComingBackAsAutomation) {
  EditorSetup s;
  s.plug->SetFromHost(kParamPower, 0.25f);
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.25);
  EXPECT_DOUBLE_EQ(s.caption->Value(), 0.25);
  EXPECT_TRUE(s.knob->IsDirty() && s.caption->IsDirty());
  EXPECT_DOUBLE_EQ(s.knob->DefaultValue(), 0.75);  // the default never changes
  EXPECT_TRUE(Automation().empty());
  EXPECT_EQ(s.plug->ParamAt(kParamPower).Value(), 3.0);
}

TEST(EditorBinding, TurningAKnobWithALinkedCaptionReportsTheValueTwice) {
  EditorSetup s;
  s.plug->changed.clear();
  s.knob->SetValueFromUserInput(0.5);
  const std::vector<Report> reports = Automation();
  ASSERT_EQ(reports.size(), 2u);
  for (const Report& call : reports) {
    EXPECT_EQ(call.index, kParamPower);
    EXPECT_EQ(call.opt, 0.5f);
  }
  EXPECT_DOUBLE_EQ(s.caption->Value(), 0.5);
  EXPECT_EQ(s.plug->ParamAt(kParamPower).Value(), 6.0);
  EXPECT_EQ(s.plug->changed, (std::vector<int>{kParamPower, kParamPower}));
}

TEST(EditorBinding, AnUnpairedControlReportsOnceAndAnUnchangedInputReportsNothing) {
  EditorSetup s;
  s.toggle->SetValueFromUserInput(1.0);
  s.toggle->SetValueFromUserInput(1.0);
  ASSERT_EQ(Automation().size(), 1u);
  EXPECT_EQ(Automation()[0].index, kParamSwitch);
}

TEST(EditorBinding, SetDirtyLimitsTheValueToTheRangeBeforeReporting) {
  EditorSetup s;
  s.knob->SetValueFromUserInput(1.7);
  EXPECT_EQ(s.knob->Value(), 1.0);
  EXPECT_EQ(Automation().back().opt, 1.0f);
  s.knob->SetValueFromUserInput(-0.3);
  EXPECT_EQ(s.knob->Value(), 0.0);
  EXPECT_EQ(Automation().back().opt, 0.0f);
  // A pushed value is stored as given and limited by its own SetDirty.
  s.knob->SetValueFromPlug(2.0, nullptr);
  EXPECT_EQ(s.knob->Value(), 1.0);
}

TEST(EditorBinding, TheCacheKeepsTheFirstFrameCountAndAFailedLoad) {
  EditorSetup s;
  const int loads = s.editor->loads;
  const BitmapRef again = s.editor->LoadBitmap(kImageSwitch, 5);
  EXPECT_EQ(again.frames, 2);
  EXPECT_EQ(again.height, 32);
  const BitmapRef missing = s.editor->LoadBitmap(kImageMissing, 1);
  const BitmapRef missingAgain = s.editor->LoadBitmap(kImageMissing, 1);
  EXPECT_EQ(missing.width, 0);
  EXPECT_EQ(missingAgain.height, 0);
  EXPECT_EQ(s.editor->loads, loads + 1);
  // Drawing from a missing image draws nothing and still succeeds.
  EXPECT_TRUE(s.editor->DrawBitmap(missing, Rect{0, 0, 10, 10}, 0, 0, nullptr));
}

TEST(EditorBinding, TheBackgroundGoesFirstCopiedPlainlyAndBoundToNothing) {
  EditorSetup s;
  Control* background = s.editor->ControlAt(0);
  EXPECT_EQ(background->ParamIdx(), -1);
  EXPECT_EQ(background->CurrentBlend().kind, kBlendKindCopy);
  EXPECT_EQ(background->DrawRect().right, 120);
  EXPECT_EQ(background->DrawRect().bottom, 100);
}
