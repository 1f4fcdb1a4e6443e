// The plug-in's graphical editor, platform-free core: the ordered control
// list, the bitmap cache, parameter binding in both directions, dirty
// tracking, hit testing and mouse routing. Drawing and window operations are
// pure virtual; WindowedEditor adds the window and its services, SurfaceEditor
// the drawing surface and Paint. A plug-in creates a SurfaceEditor, attaches
// its controls and hands it over as its PlugEditor, which it then owns.
//
// Threads:
//   [UI thread]      construction, attaching controls, opening and closing.
//   [window thread]  drawing, hit testing and mouse routing: the thread that
//                    handles the window's messages (WindowedEditor), the UI
//                    thread on Windows, the window's event thread under X11.
//   [any thread, plug-in's lock]  SetParameterFromPlug and RedrawParameter.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/plug_editor.h"
#include "editor/control.h"
#include "editor/editor_types.h"

class Bitmap;
class Param;
class PlugParams;
class PlugLock;

class Editor : public PlugEditor {
 public:
  // Replaces the process-wide frame rate when `frameRate` is above 0.
  Editor(PlugParams* plug, int width, int height, double frameRate);
  // Deletes every control and cached image.
  ~Editor() override;
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  // ---- Drawing surface (SurfaceEditor) --------------------------------------
  // [AttachEditor] Creates the surface once all controls are attached.
  void PrepareDrawing() override = 0;
  // [UI thread, paint message] Redraws the dirty regions and copies the
  // window's paint region; true when the copy succeeded.
  virtual bool Paint() = 0;
  // Drawing operations for controls. A null blend copies with source alpha
  // at weight 1.0. DrawBitmap and DrawRotatedMask stay inside the region being
  // redrawn; the others are not clipped to it.
  virtual bool DrawBitmap(const BitmapRef& bitmap, const Rect& dest, int sourceX, int sourceY,
                          const Blend* blend) = 0;
  virtual bool DrawRotatedBitmap(const BitmapRef& bitmap, int centreX, int centreY, double degrees,
                                 int yOffset, const Blend* blend) = 0;
  // False, drawing nothing, when any of the three images is missing.
  virtual bool DrawRotatedMask(const BitmapRef& base, const BitmapRef& mask, const BitmapRef& top,
                               int x, int y, double degrees, const Blend* blend) = 0;
  virtual bool DrawPoint(const Colour& colour, float x, float y, const Blend* blend) = 0;
  virtual bool ForcePixel(const Colour& colour, int x, int y) = 0;
  virtual bool DrawLine(const Colour& colour, float x1, float y1, float x2, float y2,
                        const Blend* blend, bool antialias) = 0;
  virtual bool DrawArc(const Colour& colour, float centreX, float centreY, float radius,
                       float startAngle, float endAngle, const Blend* blend, bool antialias) = 0;
  virtual bool DrawCircle(const Colour& colour, float centreX, float centreY, float radius,
                          const Blend* blend, bool antialias) = 0;
  virtual bool FillRect(const Colour& colour, const Rect& rect, const Blend* blend) = 0;
  virtual bool DrawText(const TextStyle& style, const char* text, const Rect& rect) = 0;
  virtual Colour GetPixel(int x, int y) = 0;

  // ---- Window and services (WindowedEditor) --------------------------------------
  // [UI thread] Creates the editor's child window in `parent` (HWND on
  // Windows); an open window is re-created in the same place and size.
  bool OpenWindow(void* parent) override = 0;
  // [UI thread] Destroys the window, if open, with any value entry box.
  void CloseWindow() override = 0;
  virtual bool IsWindowOpen() { return GetWindow() != nullptr; }
  // [UI thread] Opens the value entry box for `control` editing `param`.
  virtual void PromptUserInput(Control* control, Param* param) = 0;
  // Directory of the host's executable / of the plug-in library, with the
  // trailing separator; empty when the system cannot tell.
  virtual std::string GetHostDirectory() = 0;
  virtual std::string GetPluginDirectory() = 0;
  // The chosen file, or empty text when cancelled or the window is closed.
  // `extensions` is a space-separated list ("wav aif").
  virtual void PromptForFile(std::string* path, bool save, const std::string& directory,
                             const std::string& extensions) = 0;
  // True when the user confirmed a colour, stored in `colour` (A unchanged).
  virtual bool PromptForColour(Colour* colour, const char* prompt) = 0;
  // Opens a document, folder or URL with the system's shell.
  virtual bool OpenUrl(const char* target) = 0;
  // The window handle (HWND on Windows), null while closed.
  virtual void* GetWindow() = 0;

  // ---- Building [the plug-in's editor factory, before AttachEditor] ---------
  // Appends the control (the editor owns it, and is the editor the control
  // reaches) and returns the new count; a null control is not attached.
  int AttachControl(Control* control);
  // `display` mirrors `control`'s value; both are appended, control first.
  int AttachControlPair(Control* control, Control* display);
  // A one-frame picture at (0, 0), bound to nothing, copied plainly, put
  // first so that it is drawn first and hit last.
  virtual void AttachBackground(int resourceId);
  // The image with this resource id, loaded on the first request; later
  // requests get the first request's frame count. A failed load is cached
  // with width and height 0.
  BitmapRef LoadBitmap(int resourceId, int frames);
  // [SurfaceEditor] Decodes an image; null with width and height 0 on failure.
  virtual Bitmap* LoadBitmapResource(int resourceId, int frames, int* width, int* height) = 0;

  // Draws frame `frame` (counted from 1) of a vertically stacked bitmap.
  bool DrawBitmapFrame(const BitmapRef& bitmap, const Rect& dest, int frame, const Blend* blend);

  // ---- Parameter binding ------------------------------------------------------
  // [any thread, takes `lock` when given] Every control bound to `index`
  // receives the normalised value, in list order.
  void SetParameterFromPlug(int index, double normalised, PlugLock* lock) override;
  // [any thread, takes `lock` when given] Every control bound to `index` is
  // drawn again with its value unchanged, so that a text showing the
  // parameter's value follows it.
  void RedrawParameter(int index, PlugLock* lock) override;

  // ---- Redraw [UI thread] -------------------------------------------------------
  // Whether any control (hidden ones included) is dirty; `area` receives the
  // union of their drawing rectangles.
  bool IsDirty(Rect* area) const;

  // ---- Mouse routing [UI thread, client coordinates] ----------------------------
  // A left press on a bound control begins a gesture on its parameter; the
  // release, a lost capture, the next press or a double-click ends it.
  void OnMouseDown(int x, int y, const Modifiers& mods);
  void OnMouseUp(int x, int y);
  void OnMouseDrag(int x, int y, const Modifiers& mods);
  void OnMouseDblClick(int x, int y, const Modifiers& mods);
  void OnMouseWheel(int x, int y, const Modifiers& mods, int notches);
  // The window lost the mouse capture without a release: no control keeps
  // the press, so later calls go to the control under the pointer.
  void OnCaptureLost();

  // ---- Accessors ---------------------------------------------------------------
  int Width() const override { return width; }
  int Height() const override { return height; }
  int ControlCount() const { return static_cast<int>(controls.size()); }
  Control* ControlAt(int index) const { return controls[index].get(); }

 protected:
  // The cached image object of a resource id, or null.
  Bitmap* CachedBitmap(int resourceId) const;

 private:
  struct CacheEntry {
    BitmapRef ref;
    std::unique_ptr<Bitmap> bitmap;  // null when the load failed
  };

  // Ends the gesture a press began, if one is open.
  void EndGesture();
  // The control that receives a mouse call at (x, y): the captured one, else
  // the topmost visible, enabled control whose target rectangle holds the
  // point; -1 for none.
  int FindControl(int x, int y) const;

  std::vector<std::unique_ptr<Control>> controls;  // attach order = drawing order
  PlugParams* plug;                                // the owner; not owned
  std::map<int, CacheEntry> bitmapCache;           // by resource id
  int width;
  int height;
  int captureIndex = -1;  // control that received the last press, -1 for none
  int gestureParam = -1;  // parameter held since a left press, -1 for none
  int lastX = 0;          // pointer at the last press or drag step
  int lastY = 0;
};

// The frame timer's interval in milliseconds: trunc(1000 / frame rate), with
// the process-wide frame rate of 24 frames per second until an editor
// replaces it.
int FrameIntervalMs();
