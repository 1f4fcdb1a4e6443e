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

// [UI thread] A left-button drag in the editor's window (the first child of
// `parent`): pressed at (x, y), moved `dy` pixels down in `steps` equal
// steps, released; window messages are handled between the events, with
// `tick` as PumpWindowMessages calls it. False when `parent` has no child.
bool DragInEditor(void* parent, int x, int y, int dy, int steps,
                  const std::function<void(double)>& tick);

// The host's own answer to a broken connection to the window system, as a
// plug-in must leave it: HoldDisplayLoss installs it before any plug-in is
// loaded; DisplayLossHeld says whether it is still the process's;
// BreakHostDisplay breaks the host's own connection, whereupon the host's
// answer prints "host handled the lost display" and ends qvhost with status
// 0 (a handler left pointing into an unloaded module ends it by a signal
// instead). Under X11 this is the process-wide I/O error handler; Windows
// has nothing of the kind, and BreakHostDisplay refuses (false).
void HoldDisplayLoss();
bool DisplayLossHeld();
bool BreakHostDisplay();
