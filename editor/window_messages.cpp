// What each message of the editor's window does.
#include "editor/window.h"
#include "editor/windowed_editor.h"

namespace {

Modifiers ModifiersOf(const WindowMessage& message) {
  return Modifiers{(message.keyState & kKeyLeftButton) != 0,
                   (message.keyState & kKeyRightButton) != 0, (message.keyState & kKeyShift) != 0,
                   (message.keyState & kKeyControl) != 0, message.altDown};
}

}  // namespace

bool WindowedEditor::HandleWindowMessage(const WindowMessage& message) {
  // Notifications, whatever the entry is doing.
  if (message.event == WindowEvent::kDestroy) {
    OnWindowDestroyed();
    return true;
  }
  if (message.event == WindowEvent::kCaptureLost) {
    OnCaptureLost();
    return true;
  }
  // While the box has the keyboard focus the editor stands still: no
  // redraw, no mouse; a right press only cancels the entry.
  if (entry.IsOpen() && entry.State() == EntryState::kTyping) {
    if (message.event != WindowEvent::kRightDown) return false;
    entry.SetState(EntryState::kCancel);
    return true;
  }
  switch (message.event) {
    case WindowEvent::kPaint: Paint(); return true;
    case WindowEvent::kClose: CloseWindow(); return true;
    case WindowEvent::kTimer:
      if (message.timerId == kFrameTimerId) OnFrameTimer();
      return true;
    case WindowEvent::kMouseMove: OnPointerMove(message); return true;
    case WindowEvent::kLeftDown: OnButtonDown(message); return true;
    case WindowEvent::kRightDown: OnRightButtonDown(message); return true;
    case WindowEvent::kLeftUp:
    case WindowEvent::kRightUp: OnButtonUp(message); return true;
    case WindowEvent::kLeftDoubleClick:
      OnMouseDblClick(message.x, message.y, ModifiersOf(message));
      return true;
    case WindowEvent::kWheel: OnWheel(message); return true;
    case WindowEvent::kCaptureLost:
    case WindowEvent::kDestroy:
    case WindowEvent::kOther: return false;
  }
  return false;
}

void WindowedEditor::OnFrameTimer() {
  if (entry.IsOpen() && entry.State() != EntryState::kNone) {
    entry.Step();
    return;
  }
  Rect area;
  if (!IsDirty(&area)) return;
  // Painted at once, so that this tick's changes are not merged with later
  // ones.
  RepaintNow(window, area);
  if (entry.IsOpen()) entry.SetState(EntryState::kRefresh);
}

void WindowedEditor::OnPointerMove(const WindowMessage& message) {
  // Moves without a held button are not routed.
  if ((message.keyState & (kKeyLeftButton | kKeyRightButton)) == 0) return;
  if (!HasMouseCapture(window)) return;
  OnMouseDrag(message.x, message.y, ModifiersOf(message));
}

void WindowedEditor::OnButtonDown(const WindowMessage& message) {
  CaptureMouse(window);
  OnMouseDown(message.x, message.y, ModifiersOf(message));
}

void WindowedEditor::OnRightButtonDown(const WindowMessage& message) {
  if (entry.IsOpen()) {
    entry.SetState(EntryState::kCancel);
    return;
  }
  OnButtonDown(message);
}

void WindowedEditor::OnButtonUp(const WindowMessage& message) {
  // The release goes to the control that took the press before the capture
  // is given up, since losing the capture forgets that control.
  OnMouseUp(message.x, message.y);
  ReleaseMouse();
}

void WindowedEditor::OnWheel(const WindowMessage& message) {
  // The wheel's position comes in screen coordinates.
  int originX = 0;
  int originY = 0;
  EditorWindowOrigin(window, &originX, &originY);
  OnMouseWheel(message.x - originX, message.y - originY, ModifiersOf(message),
               message.wheelNotches);
}
