// The audio thread pushes values into the controls (a host automating a
// parameter) and hides them (a plug-in reacting to a parameter) while the
// user-interface thread runs the frame timer and paints. Nothing may race
// (the ThreadSanitizer tier runs these) and no change may be lost: once the
// pushes stop, one more tick shows the last state in the window.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "editor_fixture.h"

TEST(EditorThreads, PushesDuringPaintsAllReachTheWindow) {
  EditorSetup s;
  OpenTestWindow(s.editor);
  std::atomic<bool> done{false};
  std::thread audio([&] {
    for (int i = 0; i < 3000; ++i) {
      s.plug->SetFromHost(kParamSwitch, static_cast<float>(i % 2));
      s.plug->SetFromHost(kParamPower, static_cast<float>(i % 13) / 12.0f);
      LockGuard guard(&s.plug->Lock());
      s.caption->Hide(i % 3 == 0);
    }
    // The last state: switch on, power 12, caption shown.
    s.plug->SetFromHost(kParamSwitch, 1.0f);
    s.plug->SetFromHost(kParamPower, 1.0f);
    LockGuard guard(&s.plug->Lock());
    s.caption->Hide(false);
    done = true;
  });
  for (int tick = 0; tick < 20 || !done.load(); ++tick) Tick(s.editor);
  audio.join();
  Tick(s.editor);
  PumpHeadlessWindow(s.editor->GetWindow());
  EXPECT_EQ(ScreenPixel(s.editor, 15, 15), kGreen);
  // The knob at 135 degrees (value 1) leaves the corners of its square bare.
  EXPECT_EQ(ScreenPixel(s.editor, 40, 10), kGrey);
  EXPECT_FALSE(s.caption->IsHidden());
  Rect area;
  EXPECT_FALSE(s.editor->IsDirty(&area));
}

TEST(EditorThreads, EditorChangesAndHostSetsMeetUnderTheLock) {
  EditorSetup s;
  std::atomic<bool> done{false};
  std::thread host([&] {
    while (!done.load()) s.plug->SetFromHost(kParamPower, 0.5f);
  });
  for (int i = 0; i < 500; ++i) {
    s.knob->SetValueFromUserInput((i % 10) / 10.0);
    s.editor->Paint();
  }
  done = true;
  host.join();
  EXPECT_EQ(Automation().size() % 2, 0u);  // always the knob and its caption
}
