// The concrete controls: switches, knobs, frames, greying, links, captions.
#include <gtest/gtest.h>

#include "editor/link_control.h"
#include "editor/text_control.h"
#include "editor_fixture.h"

namespace {

constexpr Modifiers kLeft = {true, false, false, false, false};
constexpr Modifiers kRight = {false, true, false, false, false};

// Steps a switch of `frames` frames `presses` times and returns its values.
std::vector<double> SwitchSteps(int frames, int presses, const Modifiers& mods) {
  TestPlug plug;
  SwitchControl toggle(&plug, 0, 0, -1, BitmapRef{kImageSwitch, 16, 32, frames}, 1);
  std::vector<double> values;
  for (int i = 0; i < presses; ++i) {
    toggle.OnMouseDown(1, 1, mods);
    values.push_back(toggle.Value());
  }
  return values;
}

}  // namespace

TEST(Controls, ASwitchStepsThroughItsFramesAndWraps) {
  EXPECT_EQ(SwitchSteps(2, 3, kLeft), (std::vector<double>{1.0, 0.0, 1.0}));
  EXPECT_EQ(SwitchSteps(3, 3, kLeft), (std::vector<double>{0.5, 1.0, 0.0}));
  // One frame: each press adds 1.0, which passes 1.001 only from the second.
  EXPECT_EQ(SwitchSteps(1, 3, kLeft), (std::vector<double>{1.0, 0.0, 1.0}));
  // The right button steps too.
  EXPECT_EQ(SwitchSteps(2, 1, kRight), (std::vector<double>{1.0}));
}

TEST(Controls, ASwitchReportsEachStepToTheHost) {
  EditorSetup s;
  s.editor->OnMouseDown(12, 12, kRight);
  s.editor->OnMouseUp(12, 12);
  ASSERT_EQ(Automation().size(), 1u);
  EXPECT_EQ(Automation()[0].index, kParamSwitch);
  EXPECT_EQ(Automation()[0].opt, 1.0f);
  EXPECT_EQ(s.plug->ParamAt(kParamSwitch).Value(), 1.0);
  EXPECT_FALSE(s.editor->Entry().IsOpen());
}

TEST(Controls, DraggingAKnobUpByGearingTimesItsHeightSweepsTheRange) {
  EditorSetup s;
  s.knob->SetValueFromUserInput(0.0);
  s.editor->OnMouseDown(50, 200, kLeft);  // below the knob's target: nothing
  s.editor->OnMouseDown(50, 20, kLeft);
  for (int step = 1; step <= 4; ++step) s.editor->OnMouseDrag(50, 20 - 31 * step, kLeft);
  // 124 pixels over a 31-pixel knob at gearing 4.
  EXPECT_DOUBLE_EQ(s.knob->Value(), 1.0);
  s.editor->OnMouseDrag(50, 20 - 124 - 62, kLeft);  // further up: it stays at 1
  EXPECT_DOUBLE_EQ(s.knob->Value(), 1.0);
  s.editor->OnMouseDrag(60, 20 - 124 - 62, kLeft);  // sideways: a vertical knob ignores dX
  EXPECT_DOUBLE_EQ(s.knob->Value(), 1.0);
  // The typed value and every step report, the linked caption once more
  // each time.
  const std::vector<Report> reports = Automation();
  ASSERT_EQ(reports.size(), 2u + 4 * 2 + 2 * 2);
  EXPECT_EQ(reports.back().opt, 1.0f);
  EXPECT_EQ(reports[reports.size() - 3].opt, 1.0f);
}

TEST(Controls, AHorizontalKnobFollowsTheWidth) {
  TestPlug plug;
  KnobControl knob(&plug, 0, 0, -1, BitmapRef{kImageKnob, 20, 10, 1}, -135, 135, 0, kKnobHorizontal,
                   2.0);
  knob.OnMouseDrag(0, 0, 10, -50, kLeft);
  EXPECT_DOUBLE_EQ(knob.Value(), 0.25);  // 10 / 20 / 2
}

TEST(Controls, AKnobTurnsItsPictureWithItsValue) {
  // White through the filter becomes 254 (its weights add up to 65535), and
  // copied with that alpha over grey: (64 * 1 + 254 * 254) / 256 = 252.
  constexpr uint32_t kKnobOverGrey = 0xFCFCFC;
  EditorSetup s;
  s.editor->Paint();
  // Value 0.75 of -135 ... 135 degrees is 67.5: the square's corner lies
  // outside, its middle inside.
  EXPECT_EQ(SurfacePixel(s.editor, 40, 10), kGrey);
  EXPECT_EQ(SurfacePixel(s.editor, 55, 25) & 0xFFFFFF, kKnobOverGrey);
  s.knob->SetValueFromUserInput(0.5);  // 0 degrees: the whole square
  s.editor->Paint();
  EXPECT_EQ(SurfacePixel(s.editor, 40, 10) & 0xFFFFFF, kKnobOverGrey);
}

TEST(Controls, ABitmapShowsTheFrameNearestItsValue) {
  EditorSetup s;
  const double values[] = {0.0, 0.49, 0.5, 1.0};
  const uint32_t expected[] = {kRed, kRed, kGreen, kGreen};
  for (int i = 0; i < 4; ++i) {
    s.toggle->SetValueFromUserInput(values[i]);
    s.editor->Paint();
    EXPECT_EQ(SurfacePixel(s.editor, 15, 15), expected[i]) << "value " << values[i];
  }
}

TEST(Controls, AGreyedOutControlDrawsAtAQuarterWeightAndGreyingOffRestoresFullWeight) {
  EditorSetup s;
  s.toggle->GrayOut(true);
  s.editor->Paint();
  // Red copied at weight 0.25 over the grey background: (64*192 + 255*64) / 256.
  EXPECT_EQ(SurfacePixel(s.editor, 15, 15) & 0xFFFFFF, 0x6F3030u);
  s.toggle->GrayOut(false);
  s.editor->Paint();
  EXPECT_EQ(SurfacePixel(s.editor, 15, 15), kRed);
}

TEST(Controls, ALinkOpensItsTargetOnAnyButton) {
  EditorSetup s;
  const size_t opened = HeadlessShellOpened().size();
  auto* link = new LinkControl(s.plug, Rect{80, 60, 110, 90}, "/docs/read me.txt");
  s.editor->AttachControl(link);
  s.editor->OnMouseDown(85, 65, kRight);
  s.editor->OnMouseUp(85, 65);
  s.editor->OnMouseDown(85, 65, kLeft);
  ASSERT_EQ(HeadlessShellOpened().size(), opened + 2);
  EXPECT_EQ(HeadlessShellOpened().back(), "/docs/read me.txt");
  EXPECT_TRUE(link->Draw(s.editor));
}

TEST(Controls, APlainControlWithoutAParameterNeverOpensTheEntry) {
  EditorSetup s;
  OpenTestWindow(s.editor);
  auto* text = new TextControl(s.plug, Rect{80, 60, 110, 90}, TextStyle(), "x");
  s.editor->AttachControl(text);
  s.editor->OnMouseDown(85, 65, kRight);
  EXPECT_FALSE(s.editor->Entry().IsOpen());
  s.editor->OnMouseDown(50, 20, kRight);
  EXPECT_TRUE(s.editor->Entry().IsOpen());
}

TEST(Controls, APictureWithoutFramesCountsAsOneFrame) {
  TestPlug plug;
  BitmapControl picture(&plug, 5, 5, -1, BitmapRef{kImageSwitch, 16, 32, 0}, 1);
  EXPECT_EQ(picture.DrawRect().bottom, 37);
  KnobControl flat(&plug, 0, 0, -1, BitmapRef{kImageMissing, 0, 0, 1}, -135, 135, 0, kKnobVertical,
                   4.0);
  flat.OnMouseDrag(0, 0, 0, -10, kLeft);  // no height to turn over: it stays
  EXPECT_EQ(flat.Value(), 0.0);
}
