// The editor's window, as each window layer makes it: Win32 on Windows
// (editor/win32/), X11 on other systems (editor/x11/), a headless stand-in
// for the unit tests (editor/headless/). Handles are void*: the HWND on
// Windows, the layer's own record elsewhere.
//
// Threads: creation, start, stop, placement and destruction [the host's
// thread that opens and closes the editor]; everything else [the thread that
// delivers the window's messages: the host's user-interface thread on
// Windows, the window's own event thread under X11].
#pragma once

#include "editor/editor_types.h"

class HostLoop;
class SystemBitmap;
class WindowedEditor;

// The window class shared by every editor window of the process; false when
// it cannot be registered. Unregistering fails while a window of the class
// exists, even one being destroyed.
[[nodiscard]] bool RegisterEditorWindowClass();
[[nodiscard]] bool UnregisterEditorWindowClass();

// Creates the editor's child window of `parent` at `placement` (relative to
// the parent) and records `editor` in it for the window procedure. On
// creation the window starts its frame timer and shows itself without
// activation. Null on failure.
void* CreateEditorWindow(void* parent, const Rect& placement, WindowedEditor* editor);
// Starts delivering the window's messages to its editor, once the editor has
// recorded the window. Windows delivers them from creation on, through the
// host's message loop; under X11 this maps the window and runs its messages
// on the host's loop when one is given and takes it, on an event thread of
// the window's own otherwise.
void StartEditorWindow(void* window, HostLoop* loop);
// Stops delivering them: on return no message of the window is being handled
// and none will be, so the caller may touch the editor's window state. Under
// X11 this stops the host's loop or ends the event thread; elsewhere
// messages arrive on the caller's own thread and there is nothing to wait
// for.
void StopEditorWindow(void* window);
// Stops the frame timer and destroys the window (with its child windows).
void DestroyEditorWindow(void* window);
// Whether the window still exists; a window is destroyed with its parent.
[[nodiscard]] bool EditorWindowExists(void* window);
// The window as the window system names it to other programs: the HWND on
// Windows, the window's XID under X11 (as a pointer, the way hosts pass
// parents), the stand-in itself when headless. Null for no window.
void* NativeEditorWindow(void* window);
// Whether the user asked the window manager to close the window: only a
// window opened as a top-level window (in the screen's root) has a close
// button. The window stays until it is destroyed.
[[nodiscard]] bool EditorWindowCloseRequested(void* window);
// The window's position relative to its parent, and its size.
Rect EditorWindowPlacement(void* window);
// The screen position of the window's top-left corner.
void EditorWindowOrigin(void* window, int* x, int* y);

// Taking or releasing the capture tells the window that loses it
// (WindowEvent::kCaptureLost).
void CaptureMouse(void* window);
void ReleaseMouse();
[[nodiscard]] bool HasMouseCapture(void* window);

// Marks `area` for repaint without erasing and paints it at once.
void RepaintNow(void* window, const Rect& area);
// Marks `area` for a repaint that arrives with a later paint message.
void RepaintLater(void* window, const Rect& area);

// One paint message: begins painting on construction and ends it on
// destruction. A null window paints nothing.
class WindowPaint {
 public:
  explicit WindowPaint(void* window);
  ~WindowPaint();
  WindowPaint(const WindowPaint&) = delete;
  WindowPaint& operator=(const WindowPaint&) = delete;

  // The region the window system asks to be painted; empty when none.
  Rect Region() const { return region; }
  // Copies the paint region from the surface to the window at the same
  // place; true when the copy succeeded.
  bool CopyFrom(const SystemBitmap& surface);

 private:
  void* window;
  void* context = nullptr;  // the window's paint DC on Windows
  Rect region = {0, 0, 0, 0};
  alignas(8) unsigned char state[96];  // the platform's paint record
};
