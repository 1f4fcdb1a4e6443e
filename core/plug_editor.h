// What a plug-in needs of its editor: the values it pushes, the window the
// host opens and closes, the size the host asks for, and the drawing prepared
// once every control is attached. The plug-in owns its editor and deletes it
// through this interface.
#pragma once

class HostLoop;
class PlugLock;

class PlugEditor {
 public:
  virtual ~PlugEditor() = default;

  // [plug-in, once, when the editor is handed over] Creates what drawing needs.
  virtual void PrepareDrawing() = 0;
  // [any thread, takes `lock` when given] Every control bound to `index`
  // receives the normalised value, without reporting it back.
  virtual void SetParameterFromPlug(int index, double normalised, PlugLock* lock) = 0;
  // [any thread, takes `lock` when given] Every control bound to `index`
  // keeps its value and is drawn again.
  virtual void RedrawParameter(int index, PlugLock* lock) = 0;
  // [UI thread] Creates the editor's child window in `parent` (HWND on
  // Windows); false when it cannot.
  virtual bool OpenWindow(void* parent) = 0;
  // [UI thread] Destroys the window, if open.
  virtual void CloseWindow() = 0;
  // [UI thread, window closed] The windows opened from now on run their
  // messages on the host's loop (null: in the window layer's own way).
  virtual void UseHostLoop(HostLoop*) {}
  // The editor's size in pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};
