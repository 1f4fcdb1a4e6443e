// Internal to the X11 layer: the record behind an editor window's handle.
//
// Design. Hosts differ in how they drive a plug-in's editor on Linux: some
// call effEditIdle from their user-interface thread every few milliseconds,
// some seldom or never, and none runs our connection's events for us. So each
// open editor window has a thread of its own (the event thread) that waits on
// its connection's file descriptor, with the frame timer's period (62 ms at
// 16 frames per second) as the timeout. Whatever wakes it, it takes the
// window's lock, reads every pending event and hands each to the editor as
// the portable WindowMessage the Win32 window procedure would make, runs the
// frame tick when due, paints what is waiting, and lets go. effEditIdle is
// therefore not needed for anything; hosts that call it lose nothing.
//
// A host that offers a loop of its own (a VST 3 host's run loop) gets the
// same batches on its user-interface thread instead: it watches the
// connection's file descriptor and runs the frame timer, and the window has
// no event thread.
//
// The window's lock orders every use of the connection and of the editor's
// window state: whichever thread runs a batch holds it while it handles the
// batch, the host's thread while it creates, measures, stops or destroys the
// window.
// Handlers that report a value take the plug-in's lock inside it, never the
// other way round, and nothing here runs on the audio thread.
#pragma once

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "core/host_loop.h"
#include "draw/rect.h"
#include "editor/double_click.h"
#include "editor/window_message.h"
#include "editor/x11/window_image.h"

class WindowedEditor;
struct X11EntryBox;

struct X11Window final : HostLoopClient {
  // [host's UI thread, on the host's loop] Handles every pending event, the
  // frame tick when due and the paint waiting.
  void RunPending() override;

  WindowedEditor* editor = nullptr;
  Display* display = nullptr;  // the editor's own connection
  Window window = 0;
  Window parent = 0;
  Visual* visual = nullptr;
  int depth = 0;
  Colormap colormap = 0;  // made for `visual` when the parent's visual is not usable
  GC gc = nullptr;
  WindowImage image;
  Rect placement = {0, 0, 0, 0};            // relative to the parent, as created
  int originX = 0;                          // the window's screen position, as the last
  int originY = 0;                          // pointer event showed it
  Rect invalid = {0, 0, 0, 0};              // exposed or asked for, waiting for a paint
  bool captured = false;                    // a press holds the pointer (X's implicit grab)
  unsigned buttons = 0;                     // kKey* bits of the buttons held
  bool gone = false;                        // destroyed under us, with the host's window
  Atom deleteWindow = 0;                    // WM_DELETE_WINDOW, for a top-level window
  std::atomic<bool> closeRequested{false};  // the window manager's close button
  DoubleClickDetector clicks;
  X11EntryBox* box = nullptr;  // the value entry box, null when none
  int rawPressOpcode = 0;      // X Input's opcode for raw presses; -1 none, 0 not asked

  std::mutex lock;
  // Who runs the window's events: the host's loop, when one took them, or
  // else the event thread.
  HostLoop* loop = nullptr;
  std::thread events;
  int wakeFd = -1;  // eventfd: ends the event thread's wait
  std::atomic<bool> stopping{false};
  std::chrono::steady_clock::time_point nextTick;  // the frame tick due next
};

// ---- Shared by the layer's files [event thread, window's lock held] ----------

// Runs until StopEditorWindow.
void RunEventThread(X11Window* w);
// The window whose batch the calling thread is handling; null elsewhere.
X11Window* HandlingWindow();
// Hands a message to the editor; false when it is left to the default
// procedure, or the window is no longer the editor's.
bool Deliver(X11Window* w, const WindowMessage& message);
// Delivers a paint of the invalid region, if any.
void PaintInvalid(X11Window* w);

// The box's events: keys, focus, presses into it, exposure. False for an
// event of another window.
bool HandleBoxEvent(X11Window* w, const XEvent& event);
// While the entry box holds the keyboard: a press (`pressed`: the server
// reported one) or a button held with the pointer outside the editor (in
// another client's window) gives the keyboard and the focus back. Asks the
// server where the pointer is, once per call.
void LetGoOfKeyboardOnPressOutside(X11Window* w, bool pressed);
