// A window of qvhost's own for the plug-in's editor to open in, as a host's
// window is. win32/ creates a real top-level window and runs its messages;
// posix/ has no window system, and the native plug-in's headless editor
// takes any handle, so it hands out a stand-in.
#pragma once

#include <functional>

// [UI thread] A visible window of width x height pixels, `x` pixels from the
// screen's left edge; null on failure.
void* CreateParentWindow(int width, int height, int x = 0);
// [UI thread] Destroys a window of CreateParentWindow; null is ignored.
void DestroyParentWindow(void* window);
// [UI thread] From now on PumpWindowMessages hands each message to
// IsDialogMessage for `frame` first, as hosts that keep plug-in windows in
// dialogs do; null stops it.
void RouteThroughDialog(void* frame);
// [UI thread] Handles the thread's window messages for `ms` milliseconds,
// so that the editor's frame timer runs and it paints. `tick`, when given,
// is called between messages with the milliseconds elapsed so far.
void PumpWindowMessages(int ms, const std::function<void(double)>& tick = nullptr);
