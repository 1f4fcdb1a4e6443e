// What a window manager does to a top-level window, done by a test on a
// connection of its own: find the window, read its protocols, press its
// close button. Windows are XIDs; every call waits for the server.
#pragma once

#include <cstdint>

class TestWindowManager {
 public:
  // Connects to the display the environment names, waiting up to 5 seconds
  // for a server that was just started; Connected() says whether it did.
  TestWindowManager();
  ~TestWindowManager();
  TestWindowManager(const TestWindowManager&) = delete;
  TestWindowManager& operator=(const TestWindowManager&) = delete;

  bool Connected() const { return display != nullptr; }
  // A mapped child of the root of that size, waited for up to `seconds`;
  // 0 when none appears.
  uint64_t TopLevelOfSize(int width, int height, double seconds = 5.0) const;
  // Whether the window asks to be told of its close button (WM_DELETE_WINDOW).
  bool TakesCloseRequests(uint64_t window) const;
  // The close button pressed, as a window manager reports it.
  void PressCloseButton(uint64_t window) const;

 private:
  void* display = nullptr;  // Display*
};
