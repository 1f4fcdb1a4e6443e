// Double-clicks for a window system that reports only presses (X11): a press
// of the same button within 400 ms of the one before and at most 2 pixels
// from it either way (the 4 x 4 pixel square and the interval of the usual
// desktop settings) completes a double-click; the press after a double-click
// starts afresh, so a triple press is a double-click and a press.
//
// Threads: the thread that delivers the window's messages.
#pragma once

#include <cstdint>

class DoubleClickDetector {
 public:
  static constexpr uint32_t kIntervalMs = 400;
  static constexpr int kDistance = 2;

  // A press of `button` at (x, y) at `timeMs` (a millisecond clock that may
  // wrap around, as the X server's does). True when it completes a
  // double-click.
  bool Press(int button, int x, int y, uint32_t timeMs);

 private:
  bool pending = false;  // the last press may start a double-click
  int button = 0;
  int x = 0;
  int y = 0;
  uint32_t timeMs = 0;
};
