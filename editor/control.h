// One rectangular element of the editor: a normalised value, optionally bound
// to a parameter, drawn through the editor's drawing operations and operated
// by the mouse calls the editor routes to it. The editor owns every control
// attached to it and deletes them when it is destroyed.
//
// Threads: the mouse handlers, Draw, Hide/GrayOut from the editor's own code,
// SetClean and IsDirty run on the user-interface thread.
// SetValueFromPlug runs on whatever thread pushes a parameter (the audio
// thread included) under the plug-in's lock, and the plug-in may Hide or
// GrayOut from there too. Value, default, dirty, hidden, greyed-out and the
// blend weight are therefore atomics: every reader sees a whole value and no
// mark is lost.
#pragma once

#include <atomic>
#include <string>

#include "editor/editor_types.h"

class Editor;
class Param;
class PlugParams;
class PlugLock;

class Control {
 public:
  // Binds to parameter `paramIdx` (-1 for none). The drawing and target
  // rectangles are both `rect`; the control starts dirty so that the first
  // paint draws it.
  Control(PlugParams* plug, const Rect& rect, int paramIdx, int blendKind, float blendWeight);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // ---- Mouse, routed by the editor [UI thread] ------------------------------
  // A press with R opens the value entry for a bound control.
  virtual void OnMouseDown(int x, int y, const Modifiers& mods);
  virtual void OnMouseUp(int, int) {}
  virtual void OnMouseDrag(int, int, int, int, const Modifiers&) {}
  // Restores the default value, once the plug-in side has given one.
  virtual void OnMouseDblClick(int x, int y, const Modifiers& mods);
  // One notch moves the value by 0.01, or 0.001 with the control key.
  virtual void OnMouseWheel(int x, int y, const Modifiers& mods, int notches);

  // ---- Drawing [UI thread, during the editor's paint] -----------------------
  // Draws the control on the editor's surface; true when it drew.
  virtual bool Draw(Editor* editor) = 0;

  // ---- State ----------------------------------------------------------------
  // Hidden controls are neither drawn nor hit; hiding marks the rectangle for
  // redraw, which erases the control.
  virtual void Hide(bool hide);
  // Greyed-out controls are not hit and draw at weight 0.25.
  virtual void GrayOut(bool grey);
  // Limits the value to [minimum, maximum] and marks the control for redraw;
  // a linked display takes the value and is marked the same way. Nothing is
  // reported: a value pushed from the plug-in side must not come back to the
  // host as automation.
  void SetDirty();
  // The user changed the value: SetDirty, then a bound control (and its
  // linked display) tells the plug-in, and so the host, the new value.
  void ApplyEdit();
  virtual void SetClean() { dirty.store(false); }
  virtual bool IsDirty() const { return dirty.load(); }

  // [any thread, takes `lock` when given] A value from the plug-in side. The
  // first one becomes the default; a changed value is stored and drawn at the
  // next paint, without reporting back.
  void SetValueFromPlug(double v, PlugLock* lock);
  // [UI thread] A typed value: stored and reported when it differs.
  void SetValueFromUserInput(double v);

  // ---- Accessors --------------------------------------------------------------
  const Rect& DrawRect() const { return rect; }
  const Rect& TargetRect() const { return targetRect; }
  // [constructor of the plug-in] Where the editor's hit test finds the control.
  void SetTargetRect(const Rect& target) { targetRect = target; }
  int ParamIdx() const { return paramIdx; }
  double Value() const { return value.load(); }
  double DefaultValue() const { return defaultValue.load(); }
  bool IsHidden() const { return hidden.load(); }
  bool IsGrayedOut() const { return greyedOut.load(); }
  Blend CurrentBlend() const { return Blend{blendKind, blendWeight.load()}; }
  // [editor] The control that mirrors this one's value (not owned).
  void SetLinkedDisplay(Control* display) { linkedDisplay = display; }
  // [editor, when attaching] The editor that holds the control.
  void SetEditor(Editor* holder) { editor = holder; }
  PlugParams* Plug() const { return plug; }

 protected:
  void SetValue(double v) { value.store(v); }
  // The editor the control is attached to; null before it is attached.
  Editor* GetEditor() const { return editor; }

 private:
  // A bound control, then its linked display, tells the plug-in its value.
  void ReportValue();

  PlugParams* plug;
  Editor* editor = nullptr;
  Rect rect;
  Rect targetRect;
  int paramIdx;
  std::atomic<double> value{0.0};
  std::atomic<double> defaultValue{-1.0};  // below 0: none yet
  double minimum = 0.0;
  double maximum = 1.0;
  std::atomic<bool> dirty{true};
  std::atomic<bool> hidden{false};
  std::atomic<bool> greyedOut{false};
  int blendKind;
  std::atomic<float> blendWeight;
  Control* linkedDisplay = nullptr;
};
