// The headless stand-in for the editor's window system, used where there is
// no Win32: windows and entry boxes are plain records, paints copy the
// surface into a pixel buffer per window, and nothing reaches a screen. The
// unit tests inspect these records and deliver messages through them as a
// window procedure and message loop would.
//
// Threads: user-interface thread only (the tests' main thread).
#pragma once

#include <string>
#include <vector>

#include "draw/memory_bitmap.h"
#include "editor/editor_types.h"
#include "editor/window_message.h"

class ValueEntry;
class WindowedEditor;

struct HeadlessWindow {
  void* parent;
  Rect placement;  // relative to the parent
  int screenX;     // screen position of the top-left corner
  int screenY;
  WindowedEditor* editor;  // the editor recorded for the window procedure
  bool visible;
  int timerInterval;    // frame timer period in ms; 0 when stopped
  Rect invalid;         // region waiting for a paint; empty when none
  MemoryBitmap screen;  // what the window shows
  int paints;           // paint messages the editor handled
};

struct HeadlessEntryBox {
  void* parent;
  Rect box;
  bool isList;
  std::string text;                // edit box text
  std::vector<std::string> items;  // list items
  int selection;                   // list selection, -1 for none
  void* font;
  ValueEntry* entry;
};

// The record behind a handle, or null for a handle that is not (or no
// longer) a window or box.
HeadlessWindow* FindHeadlessWindow(void* window);
HeadlessEntryBox* FindHeadlessEntryBox(void* box);

// Delivers a message as the window procedure does; a message the editor
// leaves to the default procedure does nothing, except a close, which
// destroys the window, and a paint, which then only validates the region.
// False when the editor left it.
bool SendHeadlessMessage(void* window, const WindowMessage& message);
// Delivers the pending paint, if any, as a message loop would.
void PumpHeadlessWindow(void* window);
// Destroys the editor windows inside `parent`, as destroying the parent does.
void DestroyHeadlessChildren(void* parent);
// Another window takes the mouse capture; the window that had it is told.
void TakeHeadlessCapture();

// The window class: whether it is registered, and how often it has been.
bool HeadlessClassRegistered();
int HeadlessClassRegistrations();
// Windows, entry boxes and fonts alive in the process.
int LiveHeadlessObjects();
// Every target handed to the shell, in order.
const std::vector<std::string>& HeadlessShellOpened();
