// A window of qvhost's own for the plug-in's editor to open in, as a host's
// window is: a real top-level window, an HWND from win32/, an X11 Window
// (its XID) from x11/.
#pragma once

#include <functional>

struct EditorCapture;

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
// [UI thread] The pixels of the editor's window, the first child of
// `parent`, width x height from its top-left corner; false when `parent` has
// no child or its pixels cannot be read.
bool CaptureChildWindow(void* parent, int width, int height, EditorCapture* capture);
