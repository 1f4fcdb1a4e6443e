// Mouse routing through the editor: hit testing, z-order, capture, and the
// base behaviour of controls under the pointer.
#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace {

// A control that records the calls routed to it.
class ProbeControl : public Control {
 public:
  ProbeControl(PlugParams* plug, const Rect& rect, int paramIdx = -1)
      : Control(plug, rect, paramIdx, 0, 1.0f) {}
  void OnMouseDown(int x, int y, const Modifiers& mods) override {
    ++downs;
    Control::OnMouseDown(x, y, mods);
  }
  void OnMouseUp(int, int) override { ++ups; }
  void OnMouseDrag(int, int, int dX, int dY, const Modifiers&) override {
    ++drags;
    lastDX = dX;
    lastDY = dY;
  }
  bool Draw(Editor*) override { return true; }

  int downs = 0, ups = 0, drags = 0, lastDX = 0, lastDY = 0;
};

// The plug-in owns the editor, which owns the probes.
struct Probes {
  Probes() : owner(new TestPlug()), plug(owner.get()) {
    editor = new TestEditor(plug);
    lower = new ProbeControl(plug, Rect{0, 0, 50, 50}, kParamGain);
    upper = new ProbeControl(plug, Rect{25, 25, 75, 75});
    editor->AttachControl(lower);
    editor->AttachControl(upper);
    plug->AttachEditor(editor);
  }

  std::unique_ptr<TestPlug> owner;
  TestPlug* plug;
  TestEditor* editor;
  ProbeControl* lower;  // (0, 0, 50, 50)
  ProbeControl* upper;  // (25, 25, 75, 75), attached later
};

constexpr Modifiers kLeft = {true, false, false, false, false};
constexpr Modifiers kNone = {false, false, false, false, false};

}  // namespace

TEST(EditorRouting, TheLaterOfTwoOverlappingControlsGetsThePress) {
  Probes p;
  p.editor->OnMouseDown(30, 30, kLeft);
  EXPECT_EQ(p.upper->downs, 1);
  EXPECT_EQ(p.lower->downs, 0);
}

TEST(EditorRouting, HiddenAndGreyedOutControlsAreSkippedForTheOneBeneath) {
  Probes p;
  p.upper->Hide(true);
  p.editor->OnMouseDown(30, 30, kLeft);
  p.editor->OnMouseUp(30, 30);
  p.upper->Hide(false);
  p.upper->GrayOut(true);
  p.editor->OnMouseDown(30, 30, kLeft);
  EXPECT_EQ(p.lower->downs, 2);
  EXPECT_EQ(p.upper->downs, 0);
}

TEST(EditorRouting, TheTargetRectangleDecidesTheHit) {
  Probes p;
  p.upper->SetTargetRect(Rect{60, 60, 75, 75});
  p.editor->OnMouseDown(30, 30, kLeft);  // drawn there, but no longer a target
  EXPECT_EQ(p.lower->downs, 1);
  EXPECT_EQ(p.upper->downs, 0);
}

TEST(EditorRouting, ACapturedControlKeepsDragAndReleaseOutsideItself) {
  Probes p;
  p.editor->OnMouseDown(10, 10, kLeft);
  p.editor->OnMouseDrag(60, 70, kLeft);  // over the upper control
  p.editor->OnMouseDrag(90, 95, kLeft);  // over nothing
  p.editor->OnMouseUp(90, 95);
  EXPECT_EQ(p.lower->drags, 2);
  EXPECT_EQ(p.lower->lastDX, 30);
  EXPECT_EQ(p.lower->lastDY, 25);
  EXPECT_EQ(p.lower->ups, 1);
  EXPECT_EQ(p.upper->drags + p.upper->ups, 0);
}

TEST(EditorRouting, APressOnNothingMovesNothingButItsReleaseReachesTheControlBelow) {
  Probes p;
  p.editor->OnMouseDown(100, 90, kLeft);
  p.editor->OnMouseDrag(30, 30, kLeft);
  p.editor->OnMouseDrag(31, 20, kLeft);
  p.editor->OnMouseUp(30, 30);
  EXPECT_EQ(p.upper->drags, 0);
  EXPECT_EQ(p.upper->ups, 1);
}

TEST(EditorRouting, ADoubleClickGoesToTheControlUnderThePointerAndEndsTheCapture) {
  EditorSetup s;
  s.toggle->SetValueFromUserInput(1.0);
  s.editor->OnMouseDown(50, 20, kLeft);      // the knob takes the press
  s.editor->OnMouseDblClick(12, 12, kLeft);  // the switch returns to its default, off
  EXPECT_EQ(s.toggle->Value(), 0.0);
  s.editor->OnMouseDrag(50, 0, kLeft);  // no capture left: the knob stays
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.75);
}

TEST(EditorRouting, ADoubleClickRestoresTheValueOfAttachTimeAndTellsTheHost) {
  EditorSetup s;
  s.knob->SetValueFromUserInput(0.25);
  ClearAutomation();
  s.editor->OnMouseDblClick(50, 20, kLeft);
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.75);
  EXPECT_EQ(s.plug->ParamAt(kParamPower).Value(), 9.0);
  ASSERT_FALSE(Automation().empty());
  EXPECT_FLOAT_EQ(Automation()[0].opt, 0.75f);
}

TEST(EditorRouting, ADoubleClickOnAControlWithoutADefaultDoesNothing) {
  Probes p;  // the upper probe is bound to nothing: no value was pushed
  p.upper->SetValueFromUserInput(0.4);
  p.editor->OnMouseDblClick(60, 60, kNone);
  EXPECT_DOUBLE_EQ(p.upper->Value(), 0.4);
}

TEST(EditorRouting, WheelNotchesStepByAHundredthOrAThousandthWithControl) {
  EditorSetup s;
  Modifiers control = kNone;
  control.control = true;
  s.editor->OnMouseWheel(50, 20, kNone, 2);
  EXPECT_NEAR(s.knob->Value(), 0.77, 1e-12);
  s.editor->OnMouseWheel(50, 20, control, -3);
  EXPECT_NEAR(s.knob->Value(), 0.767, 1e-12);
  s.editor->OnMouseWheel(50, 20, kNone, 100);
  EXPECT_EQ(s.knob->Value(), 1.0);
}

TEST(EditorRouting, ALeftPressHoldsTheParameterUntilTheRelease) {
  Probes p;
  p.editor->OnMouseDown(10, 10, kLeft);
  p.editor->OnMouseDrag(10, 5, kLeft);
  EXPECT_EQ(p.plug->gestures, (std::vector<std::string>{"begin 3"}));
  p.editor->OnMouseUp(60, 60);
  EXPECT_EQ(p.plug->gestures, (std::vector<std::string>{"begin 3", "end 3"}));
  // A lost capture ends it too; an unbound control, a right press (the
  // value box) and the wheel begin none.
  p.editor->OnMouseDown(10, 10, kLeft);
  p.editor->OnCaptureLost();
  p.editor->OnMouseDown(60, 60, kLeft);
  p.editor->OnMouseUp(60, 60);
  const Modifiers right = {false, true, false, false, false};
  p.editor->OnMouseDown(10, 10, right);
  p.editor->OnMouseUp(10, 10);
  p.editor->OnMouseWheel(10, 10, kNone, 1);
  EXPECT_EQ(p.plug->gestures, (std::vector<std::string>{"begin 3", "end 3", "begin 3", "end 3"}));
}

TEST(EditorRouting, APointOutsideEveryTargetRoutesNothing) {
  Probes p;
  p.editor->OnMouseDown(-1, 200, kLeft);
  p.editor->OnMouseWheel(-1, 200, kNone, 1);
  EXPECT_EQ(p.lower->downs + p.upper->downs, 0);
  EXPECT_EQ(p.lower->Value(), p.plug->ParamAt(kParamGain).Normalized());
}
