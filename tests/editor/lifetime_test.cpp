// The editor releases everything it creates: windows, entry boxes and
// fonts are counted here; heap objects are checked by the leak sanitizer.
#include <gtest/gtest.h>

#include "editor_fixture.h"

TEST(EditorLifetime, OpenCloseCyclesAndInstancesLeaveNothingBehind) {
  const int live = LiveHeadlessObjects();
  EditorSetup s;
  for (int cycle = 0; cycle < 100; ++cycle) {
    ASSERT_TRUE(s.editor->OpenWindow(&s));
    Tick(s.editor);  // draws the captions' text: the surface's font
    Send(s.editor, WindowEvent::kRightDown, 50, 20, kKeyRightButton);  // an entry box and its font
    s.editor->CloseWindow();
  }
  s.Close();
  for (int instance = 0; instance < 20; ++instance) {
    EditorSetup other;
    other.editor->OpenWindow(&other);
    Tick(other.editor);
    Send(other.editor, WindowEvent::kRightDown, 50, 50, kKeyRightButton);
    other.Close();  // with the window and its box still open
  }
  EXPECT_EQ(LiveHeadlessObjects(), live);
  EXPECT_EQ(OpenEditorWindowCount(), 0);
  EXPECT_FALSE(HeadlessClassRegistered());
}
