// The value entry box through every state: open, focus, refresh, cancel and
// commit, driven by window messages and the box's own messages.
#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace {

struct OpenEntry {
  EditorSetup s;
  ValueEntry* entry = nullptr;
  HeadlessEntryBox* box = nullptr;
};

// Right-presses at (x, y) in an open editor.
OpenEntry RightPressAt(int x, int y) {
  OpenEntry o;
  OpenTestWindow(o.s.editor);
  Tick(o.s.editor);
  Send(o.s.editor, WindowEvent::kRightDown, x, y, kKeyRightButton);
  Send(o.s.editor, WindowEvent::kRightUp, x, y);
  o.entry = &o.s.editor->Entry();
  o.box = FindHeadlessEntryBox(o.entry->Box());
  return o;
}

// The user clicks into the box, types `text` and presses Return.
void TypeAndReturn(OpenEntry& o, const std::string& text) {
  o.entry->HandleBoxMessage(EntryEvent::kSetFocus, 0);
  o.box->text = text;
  EXPECT_TRUE(o.entry->HandleBoxMessage(EntryEvent::kReturnKey, 0));
}

}  // namespace

TEST(ValueEntry, ARightPressOnAKnobOpensAnEditBoxWithTheDisplayTextUnfocused) {
  OpenEntry o = RightPressAt(50, 20);
  ASSERT_NE(o.box, nullptr);
  EXPECT_FALSE(o.box->isList);
  EXPECT_EQ(o.box->text, "9");
  // 32 by 16, centred on the knob's centre (55, 25).
  EXPECT_EQ(o.box->box.left, 39);
  EXPECT_EQ(o.box->box.top, 17);
  EXPECT_EQ(o.box->box.right, 71);
  EXPECT_EQ(o.box->box.bottom, 33);
  EXPECT_NE(o.box->font, nullptr);
  EXPECT_EQ(o.entry->State(), EntryState::kNone);
  EXPECT_EQ(o.entry->EditedControl(), o.s.knob);
}

TEST(ValueEntry, AnOnOffParameterGetsAListOfItsTextsWithTheCurrentOneSelected) {
  OpenEntry o;
  OpenTestWindow(o.s.editor);
  o.s.editor->PromptUserInput(o.s.toggle, &o.s.plug->ParamAt(kParamSwitch));
  HeadlessEntryBox* box = FindHeadlessEntryBox(o.s.editor->Entry().Box());
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isList);
  EXPECT_EQ(box->items, (std::vector<std::string>{"off", "on"}));
  EXPECT_EQ(box->selection, 0);
  EXPECT_EQ(box->box.right - box->box.left, 24 + 8 * 3);
  // A pick in the list commits it at the next tick.
  box->selection = 1;
  EXPECT_FALSE(o.s.editor->Entry().HandleBoxMessage(EntryEvent::kCommand, 2));
  EXPECT_TRUE(o.s.editor->Entry().HandleBoxMessage(EntryEvent::kCommand, 1));
  Tick(o.s.editor);
  EXPECT_EQ(o.s.plug->ParamAt(kParamSwitch).Value(), 1.0);
  EXPECT_FALSE(o.s.editor->Entry().IsOpen());
}

TEST(ValueEntry, CommittingANumberSetsTheParameterAtTheNextTickWithTwoReports) {
  OpenEntry o = RightPressAt(50, 20);
  TypeAndReturn(o, "6");
  EXPECT_EQ(o.entry->State(), EntryState::kCommit);
  EXPECT_TRUE(Automation().empty());
  Tick(o.s.editor);
  EXPECT_EQ(o.s.plug->ParamAt(kParamPower).Value(), 6.0);
  ASSERT_EQ(Automation().size(), 2u);  // the knob and its caption
  EXPECT_EQ(Automation()[1].opt, 0.5f);
  EXPECT_FALSE(o.entry->IsOpen());
  EXPECT_EQ(o.entry->State(), EntryState::kNone);
}

TEST(ValueEntry, CommittingOnTheCaptionReportsOnceAndMovesTheKnobToo) {
  OpenEntry o = RightPressAt(50, 50);
  ASSERT_EQ(o.entry->EditedControl(), o.s.caption);
  TypeAndReturn(o, "3");
  Tick(o.s.editor);
  ASSERT_EQ(Automation().size(), 1u);
  EXPECT_EQ(o.s.plug->ParamAt(kParamPower).Value(), 3.0);
  EXPECT_DOUBLE_EQ(o.s.knob->Value(), 0.25);
  EXPECT_TRUE(o.s.caption->IsDirty());
  EXPECT_TRUE(o.s.knob->IsDirty());
}

TEST(ValueEntry, TextsOutsideTheRangeAreLimitedAndTextWithoutANumberCancels) {
  // "psychoacoustic power" starts at 9; a refused text must leave it there
  // and report nothing, and the box closes as on Escape.
  const struct {
    const char* typed;
    double expected;
    int reports;
  } cases[] = {{"40", 12.0, 2}, {"  7.2abc", 7.0, 2}, {"-5", 0.0, 2}, {"1e999", 12.0, 2},
               {"abc", 9.0, 0}, {"", 9.0, 0},         {"  ", 9.0, 0}, {"nan", 9.0, 0},
               {"-", 9.0, 0},   {".", 9.0, 0}};
  for (const auto& c : cases) {
    OpenEntry o = RightPressAt(50, 20);
    ASSERT_EQ(o.s.plug->ParamAt(kParamPower).Value(), 9.0);
    TypeAndReturn(o, c.typed);
    Tick(o.s.editor);
    EXPECT_EQ(o.s.plug->ParamAt(kParamPower).Value(), c.expected) << c.typed;
    EXPECT_EQ(Automation().size(), static_cast<size_t>(c.reports)) << c.typed;
    EXPECT_FALSE(o.entry->IsOpen()) << c.typed;
    o.s.Close();
  }
}

TEST(ValueEntry, AListTextMatchingNoItemCommitsTheMinimum) {
  OpenEntry o;
  OpenTestWindow(o.s.editor);
  o.s.toggle->SetValueFromUserInput(1.0);
  o.s.editor->PromptUserInput(o.s.toggle, &o.s.plug->ParamAt(kParamSwitch));
  FindHeadlessEntryBox(o.s.editor->Entry().Box())->selection = -1;
  o.s.editor->Entry().SetState(EntryState::kCommit);
  Tick(o.s.editor);
  EXPECT_EQ(o.s.plug->ParamAt(kParamSwitch).Value(), 0.0);
}

TEST(ValueEntry, TypingTheCurrentValueChangesAndReportsNothing) {
  OpenEntry o = RightPressAt(50, 20);
  TypeAndReturn(o, "9");
  Tick(o.s.editor);
  EXPECT_TRUE(Automation().empty());
  EXPECT_FALSE(o.entry->IsOpen());
}

TEST(ValueEntry, WhileTheBoxHasTheFocusTheEditorStandsStillAndARightPressCancels) {
  OpenEntry o = RightPressAt(50, 20);
  o.entry->HandleBoxMessage(EntryEvent::kSetFocus, 0);
  EXPECT_EQ(o.entry->State(), EntryState::kTyping);
  o.s.toggle->SetValueFromUserInput(1.0);
  EXPECT_FALSE(Send(o.s.editor, WindowEvent::kTimer));
  EXPECT_FALSE(Send(o.s.editor, WindowEvent::kLeftDown, 12, 12, kKeyLeftButton));
  EXPECT_EQ(ScreenPixel(o.s.editor, 15, 15), kRed);  // not redrawn
  EXPECT_EQ(o.s.toggle->Value(), 1.0);               // the press reached nothing
  o.box->text = "2";
  EXPECT_TRUE(Send(o.s.editor, WindowEvent::kRightDown, 50, 20, kKeyRightButton));
  EXPECT_EQ(o.entry->State(), EntryState::kCancel);
  Tick(o.s.editor);
  EXPECT_FALSE(o.entry->IsOpen());
  EXPECT_EQ(o.s.plug->ParamAt(kParamPower).Value(), 9.0);
}

TEST(ValueEntry, EscapeInTheBoxCancelsLikeARightPressAndKeepsTheWindow) {
  OpenEntry o = RightPressAt(50, 20);
  o.entry->HandleBoxMessage(EntryEvent::kSetFocus, 0);
  o.box->text = "2";
  // Consumed: the box never passes it on to ask its parent to close.
  EXPECT_TRUE(o.entry->HandleBoxMessage(EntryEvent::kEscapeKey, 0));
  EXPECT_EQ(o.entry->State(), EntryState::kCancel);
  Tick(o.s.editor);
  EXPECT_FALSE(o.entry->IsOpen());
  EXPECT_TRUE(o.s.editor->IsWindowOpen());
  EXPECT_EQ(o.s.plug->ParamAt(kParamPower).Value(), 9.0);
}

TEST(ValueEntry, AWindowClosedByTheDefaultProcedureWhileTypingLeavesNothingBehind) {
  OpenEntry o = RightPressAt(50, 20);
  o.entry->HandleBoxMessage(EntryEvent::kSetFocus, 0);
  const int live = LiveHeadlessObjects();
  // A close request while the box has the focus goes to the default
  // procedure, which destroys the window.
  EXPECT_FALSE(Send(o.s.editor, WindowEvent::kClose));
  EXPECT_FALSE(o.s.editor->IsWindowOpen());
  EXPECT_FALSE(o.entry->IsOpen());
  EXPECT_EQ(o.entry->State(), EntryState::kNone);
  EXPECT_EQ(OpenEditorWindowCount(), 0);
  EXPECT_FALSE(HeadlessClassRegistered());
  EXPECT_EQ(LiveHeadlessObjects(), live - 3);  // window, box and the box's font
  void* window = OpenTestWindow(o.s.editor);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindHeadlessWindow(window)->placement.right, 120);
  EXPECT_EQ(FindHeadlessWindow(window)->placement.bottom, 100);
}

TEST(ValueEntry, ADisplayNegatedParameterShowsAndTakesNumbersWithTheOppositeSign) {
  OpenEntry o;
  EditorSetup& s = o.s;
  Param& gain = s.plug->ParamAt(kParamGain);
  gain.SetDisplayNegated(true);
  gain.SetClamped(0.5);
  auto* caption =
      new CaptionControl(s.plug, Rect{80, 60, 110, 72}, kParamGain,
                         TextStyle(14, Colour{255, 255, 255, 255}, "Arial", 0, 1, 0), false);
  s.editor->AttachControl(caption);
  OpenTestWindow(s.editor);
  s.editor->PromptUserInput(caption, &gain);
  o.entry = &s.editor->Entry();
  o.box = FindHeadlessEntryBox(o.entry->Box());
  ASSERT_NE(o.box, nullptr);
  EXPECT_EQ(o.box->text, "-0.50");
  TypeAndReturn(o, "0.25");
  Tick(s.editor);
  EXPECT_DOUBLE_EQ(gain.Value(), -0.25);
}

TEST(ValueEntry, ClicksWorkWhileTheBoxIsUnfocusedAndItsTextFollowsAfterATick) {
  OpenEntry o = RightPressAt(50, 20);
  o.entry->HandleBoxMessage(EntryEvent::kSetFocus, 0);
  o.entry->HandleBoxMessage(EntryEvent::kKillFocus, 0);
  EXPECT_EQ(o.entry->State(), EntryState::kNone);
  Send(o.s.editor, WindowEvent::kWheel, 50, 20, 0, -25);  // 0.75 - 0.25: power 6
  Tick(o.s.editor);                                       // paints and asks for a refresh
  EXPECT_EQ(o.entry->State(), EntryState::kRefresh);
  EXPECT_EQ(o.box->text, "9");
  Tick(o.s.editor);
  EXPECT_EQ(o.box->text, "6");
  EXPECT_EQ(o.entry->State(), EntryState::kNone);
  EXPECT_TRUE(o.entry->IsOpen());
}

TEST(ValueEntry, ASecondPromptWhileOpenDoesNothing) {
  OpenEntry o = RightPressAt(50, 20);
  void* box = o.entry->Box();
  o.s.editor->PromptUserInput(o.s.toggle, &o.s.plug->ParamAt(kParamSwitch));
  EXPECT_EQ(o.entry->Box(), box);
  EXPECT_EQ(o.entry->EditedControl(), o.s.knob);
}

TEST(ValueEntry, ClosingTheWindowWithABoxOpenLeavesNoReferenceAndReopeningWorks) {
  OpenEntry o = RightPressAt(50, 20);
  TypeAndReturn(o, "2");  // Return pressed, but the window closes before the tick
  const int live = LiveHeadlessObjects();
  void* box = o.entry->Box();
  o.s.editor->CloseWindow();
  EXPECT_FALSE(o.entry->IsOpen());
  EXPECT_EQ(o.entry->EditedControl(), nullptr);
  EXPECT_EQ(o.entry->State(), EntryState::kNone);
  EXPECT_EQ(FindHeadlessEntryBox(box), nullptr);
  EXPECT_EQ(LiveHeadlessObjects(), live - 3);  // window, box and the box's font
  OpenTestWindow(o.s.editor);
  Tick(o.s.editor);
  EXPECT_EQ(o.s.plug->ParamAt(kParamPower).Value(), 9.0);
  Send(o.s.editor, WindowEvent::kRightDown, 50, 20, kKeyRightButton);
  Tick(o.s.editor);  // no commit left over from the closed box
  ASSERT_TRUE(o.entry->IsOpen());
  o.box = FindHeadlessEntryBox(o.entry->Box());
  TypeAndReturn(o, "4");
  Tick(o.s.editor);
  EXPECT_EQ(o.s.plug->ParamAt(kParamPower).Value(), 4.0);
}
