// The plug-in's editor as the host boundary sees it: it is attached once,
// receives parameter values from the plug-in side, and opens and closes its
// window on the host's request.
#pragma once

class PlugLock;

class Editor {
 public:
  Editor(int width, int height) : width(width), height(height) {}
  virtual ~Editor() = default;
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // [any thread, takes `lock` when given] A value from the plug-in side for
  // every control bound to the parameter.
  virtual void SetParameterFromPlug(int index, double normalised, PlugLock* lock) = 0;
  // [constructor] Called once after all controls are attached.
  virtual void PrepareDrawing() = 0;
  // [UI thread] Creates the window inside the host's parent window.
  virtual bool OpenWindow(void* parent) = 0;
  // [UI thread] Destroys the window if it is open.
  virtual void CloseWindow() = 0;

  int Width() const { return width; }
  int Height() const { return height; }

 protected:
  int width;
  int height;
};
