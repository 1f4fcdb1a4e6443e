// The editor's window: class bookkeeping, re-opening, the frame timer, and
// how each window message is routed.
#include <gtest/gtest.h>

#include "editor/file_names.h"
#include "editor_fixture.h"

namespace {

// Records the wheel calls and releases routed to it.
class WheelProbe : public Control {
 public:
  WheelProbe(PlugParams* plug, const Rect& rect) : Control(plug, rect, -1, 0, 1.0f) {}
  void OnMouseWheel(int x, int y, const Modifiers&, int n) override {
    lastX = x;
    lastY = y;
    notches.push_back(n);
  }
  void OnMouseUp(int, int) override { ++ups; }
  bool Draw(Editor*) override { return true; }
  int lastX = 0, lastY = 0, ups = 0;
  std::vector<int> notches;
};

// The window's place in its parent, and its size.
void ExpectPlacement(void* window, int right, int bottom) {
  HeadlessWindow* found = FindHeadlessWindow(window);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->placement.left, 0);
  EXPECT_EQ(found->placement.top, 0);
  EXPECT_EQ(found->placement.right, right);
  EXPECT_EQ(found->placement.bottom, bottom);
}

}  // namespace

TEST(EditorWindow, TwoEditorsShareOneClassRegisteredUntilTheLastCloses) {
  EditorSetup a;
  EditorSetup b;
  const int registrations = HeadlessClassRegistrations();
  ASSERT_NE(OpenTestWindow(a.editor), nullptr);
  ASSERT_NE(OpenTestWindow(b.editor), nullptr);
  EXPECT_EQ(HeadlessClassRegistrations(), registrations + 1);
  EXPECT_EQ(OpenEditorWindowCount(), 2);
  a.editor->CloseWindow();
  EXPECT_TRUE(HeadlessClassRegistered());
  EXPECT_FALSE(a.editor->IsWindowOpen());
  b.Close();  // closes its open window first
  EXPECT_FALSE(HeadlessClassRegistered());
  EXPECT_EQ(OpenEditorWindowCount(), 0);
}

TEST(EditorWindow, AFailedCreationRestoresTheCountAndTheClass) {
  EditorSetup s;
  EXPECT_FALSE(s.editor->OpenWindow(nullptr));  // no parent window
  EXPECT_EQ(OpenEditorWindowCount(), 0);
  EXPECT_FALSE(HeadlessClassRegistered());
}

TEST(EditorWindow, ReopeningAnOpenEditorKeepsItsPlaceAndSize) {
  EditorSetup s;
  HeadlessWindow* first = FindHeadlessWindow(OpenTestWindow(s.editor));
  EXPECT_EQ(first->timerInterval, 62);  // trunc(1000 / 16)
  EXPECT_TRUE(first->visible);
  first->placement = Rect{30, 40, 230, 140};  // the host moved and sized it
  static int parent;
  ASSERT_TRUE(s.editor->OpenWindow(&parent));
  HeadlessWindow* second = FindHeadlessWindow(s.editor->GetWindow());
  EXPECT_EQ(second->placement.left, 30);
  EXPECT_EQ(second->placement.bottom, 140);
  EXPECT_EQ(OpenEditorWindowCount(), 1);
}

TEST(EditorWindow, ACloseMessageClosesTheWindow) {
  EditorSetup s;
  OpenTestWindow(s.editor);
  Send(s.editor, WindowEvent::kClose);
  EXPECT_FALSE(s.editor->IsWindowOpen());
  EXPECT_EQ(OpenEditorWindowCount(), 0);
}

TEST(EditorWindow, AWindowDestroyedWithTheHostsFrameIsForgottenAndAReopenIsWhole) {
  EditorSetup s;
  static int frame, newFrame;
  ASSERT_TRUE(s.editor->OpenWindow(&frame));
  Send(s.editor, WindowEvent::kRightDown, 50, 20, kKeyRightButton);  // a box open, a press held
  ASSERT_TRUE(s.editor->Entry().IsOpen());
  DestroyHeadlessChildren(&frame);  // the host destroys its frame without closing the editor
  EXPECT_FALSE(s.editor->IsWindowOpen());
  EXPECT_FALSE(s.editor->Entry().IsOpen());
  EXPECT_EQ(OpenEditorWindowCount(), 0);
  ASSERT_TRUE(s.editor->OpenWindow(&newFrame));
  ExpectPlacement(s.editor->GetWindow(), 120, 100);
  EXPECT_EQ(OpenEditorWindowCount(), 1);
  Send(s.editor, WindowEvent::kWheel, 15, 15, 0, 1);  // the press died with the old window
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.75);
  EXPECT_DOUBLE_EQ(s.toggle->Value(), 0.01);
  s.Close();
  EXPECT_FALSE(HeadlessClassRegistered());
  EXPECT_EQ(OpenEditorWindowCount(), 0);
}

TEST(EditorWindow, AWindowThatVanishedUnannouncedCountsAsClosed) {
  EditorSetup s;
  static int frame, newFrame;
  ASSERT_TRUE(s.editor->OpenWindow(&frame));
  // A host's subclass of the window swallows its messages, so the editor
  // never hears of its destruction.
  FindHeadlessWindow(s.editor->GetWindow())->editor = nullptr;
  DestroyHeadlessChildren(&frame);
  ASSERT_TRUE(s.editor->OpenWindow(&newFrame));
  ExpectPlacement(s.editor->GetWindow(), 120, 100);  // not the dead window's size
  EXPECT_EQ(OpenEditorWindowCount(), 1);
  s.Close();
  EXPECT_FALSE(HeadlessClassRegistered());
}

TEST(EditorWindow, ALostCaptureEndsThePressSoTheWheelGoesToTheControlUnderThePointer) {
  EditorSetup s;
  auto* probe = new WheelProbe(s.plug, Rect{80, 60, 110, 90});
  s.editor->AttachControl(probe);
  OpenTestWindow(s.editor);
  Send(s.editor, WindowEvent::kLeftDown, 50, 20, kKeyLeftButton);  // on the knob
  TakeHeadlessCapture();                                           // another window takes it
  Send(s.editor, WindowEvent::kWheel, 85, 70, 0, -1);
  Send(s.editor, WindowEvent::kLeftDown, 50, 20, kKeyLeftButton);
  ReleaseMouse();  // the host releases it
  Send(s.editor, WindowEvent::kWheel, 85, 70, 0, 1);
  EXPECT_EQ(probe->notches, (std::vector<int>{-1, 1}));
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.75);
  // The editor's own release still reaches the pressed control, wherever it
  // happens.
  Send(s.editor, WindowEvent::kLeftDown, 85, 70, kKeyLeftButton);
  Send(s.editor, WindowEvent::kLeftUp, 5, 5);
  EXPECT_EQ(probe->ups, 1);
}

TEST(EditorWindow, MovesWithAButtonHeldDragOnlyWhileTheWindowHasTheCapture) {
  EditorSetup s;
  void* window = OpenTestWindow(s.editor);
  Send(s.editor, WindowEvent::kMouseMove, 50, 0, 0);  // no button: ignored
  Send(s.editor, WindowEvent::kLeftDown, 50, 20, kKeyLeftButton);
  EXPECT_TRUE(HasMouseCapture(window));
  Send(s.editor, WindowEvent::kMouseMove, 50, 20, 0);
  Send(s.editor, WindowEvent::kMouseMove, 50, -11, kKeyLeftButton);  // 31 up: a quarter
  EXPECT_DOUBLE_EQ(s.knob->Value(), 1.0);
  Send(s.editor, WindowEvent::kLeftUp, 50, -11);
  EXPECT_FALSE(HasMouseCapture(window));
  // A double-click takes no capture: holding the button after it drags nothing.
  Send(s.editor, WindowEvent::kLeftDoubleClick, 50, 20, kKeyLeftButton);
  Send(s.editor, WindowEvent::kMouseMove, 50, 200, kKeyLeftButton);
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.75);  // back to its default, and no further
}

TEST(EditorWindow, ARightPressWithoutAnEntryBoxIsAPressWithRThatTakesTheCapture) {
  EditorSetup s;
  void* window = OpenTestWindow(s.editor);
  Send(s.editor, WindowEvent::kRightDown, 50, 20, kKeyRightButton);
  EXPECT_TRUE(s.editor->Entry().IsOpen());
  EXPECT_TRUE(HasMouseCapture(window));
  Send(s.editor, WindowEvent::kMouseMove, 50, 13, kKeyRightButton);  // dragging on the right
  EXPECT_DOUBLE_EQ(s.knob->Value(), 0.75 + 7.0 / 31 / 4);
  Send(s.editor, WindowEvent::kRightUp, 50, 13);
  EXPECT_FALSE(HasMouseCapture(window));
}

TEST(EditorWindow, TheWheelComesInScreenCoordinatesInWholeNotches) {
  EditorSetup s;
  auto* probe = new WheelProbe(s.plug, Rect{80, 60, 110, 90});
  s.editor->AttachControl(probe);
  HeadlessWindow* window = FindHeadlessWindow(OpenTestWindow(s.editor));
  window->screenX = 300;
  window->screenY = 200;
  for (int notches : {1, -1, 0, -2}) {
    Send(s.editor, WindowEvent::kWheel, 385, 270, 0, notches);
  }
  EXPECT_EQ(probe->notches, (std::vector<int>{1, -1, 0, -2}));
  EXPECT_EQ(probe->lastX, 85);
  EXPECT_EQ(probe->lastY, 70);
}

TEST(EditorWindow, MessagesOfOtherKindsGoToTheDefaultProcedure) {
  EditorSetup s;
  OpenTestWindow(s.editor);
  EXPECT_FALSE(Send(s.editor, WindowEvent::kOther));
  EXPECT_TRUE(Send(s.editor, WindowEvent::kTimer));
}

TEST(EditorWindow, DirectoryQueriesCutAfterTheLastSeparator) {
  EXPECT_EQ(DirectoryPart("C:\\Hosts\\host.exe", '\\'), "C:\\Hosts\\");
  EXPECT_EQ(DirectoryPart("host.exe", '\\'), "host.exe");
  EXPECT_EQ(DirectoryPart("\\host.exe", '\\'), "\\host.exe");    // separator first
  EXPECT_EQ(DirectoryPart("C:\\Hosts\\", '\\'), "C:\\Hosts\\");  // separator last
  EditorSetup s;
  const std::string plugin = s.editor->GetPluginDirectory();
  ASSERT_FALSE(plugin.empty());
  EXPECT_EQ(plugin.back(), '/');
  EXPECT_EQ(s.editor->GetHostDirectory(), plugin);  // the test program holds both
}

TEST(EditorWindow, FilePromptsBuildTheirFilterAndNeedAnOpenWindow) {
  const FileFilter filter = FilterOf("wav aif");
  EXPECT_EQ(filter.pattern, "*.wav;*.aif");
  EXPECT_EQ(filter.defaultExtension, "wav");
  EXPECT_TRUE(FilterOf("").pattern.empty());
  EditorSetup s;
  std::string path = "old";
  s.editor->PromptForFile(&path, false, "", "wav");
  EXPECT_EQ(path, "");
  Colour colour = {255, 1, 2, 3};
  EXPECT_FALSE(s.editor->PromptForColour(&colour, "Pick"));
  EXPECT_EQ(colour.g, 2);
}
