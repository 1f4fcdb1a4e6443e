// A message of the editor's window in portable form. The platform's window
// procedure translates each real message it receives into one of these and
// hands it to WindowedEditor::HandleWindowMessage; the unit tests send them
// directly.
#pragma once

enum class WindowEvent {
  kPaint,
  kClose,
  kTimer,
  kMouseMove,
  kLeftDown,
  kRightDown,
  kLeftUp,
  kRightUp,
  kLeftDoubleClick,
  kWheel,
  kCaptureLost,  // the mouse capture went to another window, or to none
  kDestroy,      // the window is being destroyed, by whomever
  kOther,        // anything else: always left to the default procedure
};

// Bits of a mouse message's key state.
constexpr unsigned kKeyLeftButton = 0x1;
constexpr unsigned kKeyRightButton = 0x2;
constexpr unsigned kKeyShift = 0x4;
constexpr unsigned kKeyControl = 0x8;

// The editor window's frame timer.
constexpr int kFrameTimerId = 2;

struct WindowMessage {
  WindowEvent event = WindowEvent::kOther;
  int x = 0;  // client coordinates; screen coordinates for kWheel
  int y = 0;
  unsigned keyState = 0;  // kKey* bits of a mouse message
  bool altDown = false;   // the Alt key, read when the message arrived
  int wheelNotches = 0;   // kWheel: whole notches, positive away from the user
  int timerId = 0;        // kTimer
};
