// Dirty tracking and the paint: the union the timer invalidates, the merge
// of touching regions, what is redrawn and what reaches the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "draw/pixel.h"
#include "draw/system_bitmap.h"
#include "editor_fixture.h"

namespace {

// A control that counts its drawings and fills its rectangle.
class CountingControl : public Control {
 public:
  CountingControl(PlugParams* plug, const Rect& rect, uint32_t colour)
      : Control(plug, rect, -1, 1, 1.0f), colour(colour) {}
  bool Draw(Editor* editor) override {
    ++draws;
    return editor->FillRect(UnpackColour(colour), DrawRect(), nullptr);
  }
  uint32_t colour;
  int draws = 0;
};

// A control whose text stands above its rectangle, as the graph grid's
// frequency labels stand above the grid.
class LabelledControl : public Control {
 public:
  explicit LabelledControl(PlugParams* plug) : Control(plug, Rect{10, 60, 110, 90}, -1, 1, 1.0f) {}
  bool Draw(Editor* editor) override {
    const TextStyle style(12, Colour{255, 255, 255, 255}, "Arial", 0, 1, 0);
    return editor->DrawText(style, "1k 2k 5k", Rect{10, 44, 110, 58});
  }
};

void CleanAll(Editor* editor) {
  for (int i = 0; i < editor->ControlCount(); ++i) editor->ControlAt(i)->SetClean();
}

}  // namespace

TEST(EditorPaint, TheDirtyUnionCoversDirtyControlsHiddenOnesIncluded) {
  EditorSetup s;
  Rect area;
  CleanAll(s.editor);
  EXPECT_FALSE(s.editor->IsDirty(&area));
  EXPECT_TRUE(IsEmpty(area));
  s.toggle->Hide(true);
  s.caption->SetDirty();
  ASSERT_TRUE(s.editor->IsDirty(&area));
  EXPECT_EQ(area.left, 10);
  EXPECT_EQ(area.top, 10);
  EXPECT_EQ(area.right, 71);
  EXPECT_EQ(area.bottom, 57);
}

TEST(EditorPaint, TheFirstPaintDrawsEverythingAndCleansEveryControl) {
  EditorSetup s;
  EXPECT_FALSE(s.editor->Paint());  // no window to copy to
  Rect area;
  EXPECT_FALSE(s.editor->IsDirty(&area));
  EXPECT_EQ(SurfacePixel(s.editor, 100, 90), kGrey);
  EXPECT_EQ(SurfacePixel(s.editor, 15, 15), kRed);
}

TEST(EditorPaint, OnlyDirtyRegionsAreRedrawnAndTouchingOnesMergeIntoOne) {
  TestPlug plug;
  auto* editor = new TestEditor(&plug);
  auto* a = new CountingControl(&plug, Rect{0, 0, 10, 10}, kRed);
  auto* b = new CountingControl(&plug, Rect{10, 0, 20, 10}, kGreen);   // touches a
  auto* c = new CountingControl(&plug, Rect{50, 50, 60, 60}, kWhite);  // apart
  editor->AttachControl(a);
  editor->AttachControl(b);
  editor->AttachControl(c);
  plug.AttachEditor(editor);
  editor->Paint();
  a->SetDirty();
  b->SetDirty();
  editor->Paint();
  // One merged region (0, 0, 20, 10): a and b each draw once in it; c not.
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(b->draws, 2);
  EXPECT_EQ(c->draws, 1);
  c->SetDirty();
  editor->Paint();
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(c->draws, 2);
}

TEST(EditorPaint, TextOutsideTheRedrawnRegionLooksTheSameAfterAnyNumberOfRedraws) {
  TestPlug plug;
  auto* editor = new TestEditor(&plug);
  editor->AttachBackground(kImageBackground);
  auto* labelled = new LabelledControl(&plug);
  editor->AttachControl(labelled);
  plug.AttachEditor(editor);
  editor->Paint();
  std::vector<uint32_t> first;
  for (int y = 44; y < 58; ++y)
    for (int x = 10; x < 110; ++x) first.push_back(SurfacePixel(editor, x, y));
  ASSERT_NE(std::count(first.begin(), first.end(), kGrey), static_cast<long>(first.size()))
      << "the text was drawn";
  // Redrawn on every tick, as the grid is under the spectra: the text, which
  // is blended over what is there, must not be drawn over itself.
  for (int tick = 0; tick < 100; ++tick) {
    labelled->SetDirty();
    editor->Paint();
  }
  std::vector<uint32_t> later;
  for (int y = 44; y < 58; ++y)
    for (int x = 10; x < 110; ++x) later.push_back(SurfacePixel(editor, x, y));
  EXPECT_EQ(later, first);
}

TEST(EditorPaint, HidingAControlErasesItByRedrawingWhatLiesBeneath) {
  EditorSetup s;
  s.editor->Paint();
  s.toggle->Hide(true);
  s.editor->Paint();
  EXPECT_EQ(SurfacePixel(s.editor, 15, 15), kGrey);
  s.toggle->Hide(false);
  s.editor->Paint();
  EXPECT_EQ(SurfacePixel(s.editor, 15, 15), kRed);
}

TEST(EditorPaint, AHostChangeBetweenTwoTicksReachesTheWindowAtTheNextTick) {
  EditorSetup s;
  void* window = OpenTestWindow(s.editor);
  Tick(s.editor);
  EXPECT_EQ(ScreenPixel(s.editor, 15, 15), kRed);
  EXPECT_EQ(ScreenPixel(s.editor, 100, 90), kGrey);
  s.plug->SetFromHost(kParamSwitch, 1.0f);
  const int paints = FindHeadlessWindow(window)->paints;
  Tick(s.editor);
  EXPECT_EQ(ScreenPixel(s.editor, 15, 15), kGreen);
  Tick(s.editor);  // nothing dirty: no paint
  EXPECT_EQ(FindHeadlessWindow(window)->paints, paints + 1);
}

TEST(EditorPaint, AControlMarkedAfterTheTimersCheckStillReachesTheWindow) {
  EditorSetup s;
  void* window = OpenTestWindow(s.editor);
  Tick(s.editor);
  // The timer has found the knob dirty and invalidated only its rectangle;
  // before the paint runs, the switch changes too.
  s.knob->SetValueFromUserInput(0.0);
  Rect area;
  ASSERT_TRUE(s.editor->IsDirty(&area));
  s.toggle->SetValueFromUserInput(1.0);
  RepaintNow(window, Rect{40, 10, 71, 57});
  EXPECT_FALSE(s.editor->IsDirty(&area));
  // The switch was drawn outside the paint region, which asked for another
  // paint; the message loop delivers it.
  EXPECT_EQ(ScreenPixel(s.editor, 15, 15), kRed);
  PumpHeadlessWindow(window);
  EXPECT_EQ(ScreenPixel(s.editor, 15, 15), kGreen);
}

TEST(EditorPaint, APaintCopiesOnlyItsRegionToTheWindow) {
  EditorSetup s;
  void* window = OpenTestWindow(s.editor);
  Tick(s.editor);
  ForcePixel(s.editor->Surface(), 100, 90, kWhite);  // changed, but not dirty
  s.toggle->SetValueFromUserInput(1.0);
  Tick(s.editor);
  EXPECT_EQ(ScreenPixel(s.editor, 100, 90), kGrey);
  RepaintNow(window, Rect{90, 80, 110, 95});
  EXPECT_EQ(ScreenPixel(s.editor, 100, 90), kWhite);
}
