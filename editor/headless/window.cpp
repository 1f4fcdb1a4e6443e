#include <vector>

#include "draw/blit.h"
#include "draw/system_bitmap.h"
#include "editor/window.h"
#include "editor/headless/headless.h"
#include "editor/headless/objects.h"
#include "editor/windowed_editor.h"

namespace {

bool classRegistered = false;
int classRegistrations = 0;
void* captured = nullptr;

}  // namespace

bool HeadlessClassRegistered() { return classRegistered; }

int HeadlessClassRegistrations() { return classRegistrations; }

HeadlessWindow* FindHeadlessWindow(void* window) {
  return HeadlessObjects::Contains(HeadlessObjects::windows, window)
             ? static_cast<HeadlessWindow*>(window)
             : nullptr;
}

// ---- Class and windows ------------------------------------------------------------

bool RegisterEditorWindowClass() {
  classRegistered = true;
  ++classRegistrations;
  return true;
}

// As on Windows, a class cannot go while one of its windows exists.
bool UnregisterEditorWindowClass() {
  if (!HeadlessObjects::windows.empty()) return false;
  classRegistered = false;
  return true;
}

void* CreateEditorWindow(void* parent, const Rect& placement, WindowedEditor* editor) {
  // A child window needs a parent and a registered class.
  if (parent == nullptr || !classRegistered) return nullptr;
  const int width = placement.right - placement.left;
  const int height = placement.bottom - placement.top;
  // A new window waits for its first paint of the whole client area.
  auto* window = new HeadlessWindow{parent,
                                    placement,
                                    placement.left,
                                    placement.top,
                                    editor,
                                    true,
                                    FrameIntervalMs(),
                                    Rect{0, 0, width, height},
                                    MemoryBitmap(width, height),
                                    0};
  HeadlessObjects::windows.insert(window);
  return window;
}

// Messages are delivered by the tests, on their own thread.
void StartEditorWindow(void*, HostLoop*) {}

void StopEditorWindow(void*) {}

// As the system destroys a window: it loses the capture, is told of its
// destruction while it still exists, and its boxes go with it.
void DestroyEditorWindow(void* window) {
  HeadlessWindow* found = FindHeadlessWindow(window);
  if (found == nullptr) return;
  if (captured == window) ReleaseMouse();
  WindowMessage destroy;
  destroy.event = WindowEvent::kDestroy;
  SendHeadlessMessage(window, destroy);
  HeadlessObjects::DestroyChildBoxes(window);
  HeadlessObjects::windows.erase(window);
  delete found;
}

void DestroyHeadlessChildren(void* parent) {
  std::vector<void*> children;
  for (void* window : HeadlessObjects::windows) {
    if (static_cast<HeadlessWindow*>(window)->parent == parent) children.push_back(window);
  }
  for (void* window : children) DestroyEditorWindow(window);
}

bool EditorWindowExists(void* window) { return FindHeadlessWindow(window) != nullptr; }

void* NativeEditorWindow(void* window) { return FindHeadlessWindow(window); }

// Headless windows have no window manager to ask.
bool EditorWindowCloseRequested(void*) { return false; }

Rect EditorWindowPlacement(void* window) {
  HeadlessWindow* found = FindHeadlessWindow(window);
  return found ? found->placement : Rect{0, 0, 0, 0};
}

void EditorWindowOrigin(void* window, int* x, int* y) {
  HeadlessWindow* found = FindHeadlessWindow(window);
  *x = found ? found->screenX : 0;
  *y = found ? found->screenY : 0;
}

// The window that loses the capture is told, as the system tells it.
void TakeCapture(void* window) {
  void* losing = captured;
  captured = window;
  if (losing == nullptr || losing == window) return;
  WindowMessage lost;
  lost.event = WindowEvent::kCaptureLost;
  SendHeadlessMessage(losing, lost);
}

void CaptureMouse(void* window) {
  if (FindHeadlessWindow(window)) TakeCapture(window);
}

void ReleaseMouse() { TakeCapture(nullptr); }

void TakeHeadlessCapture() {
  static int otherWindow;  // a window of someone else's
  TakeCapture(&otherWindow);
}

bool HasMouseCapture(void* window) { return window != nullptr && captured == window; }

// ---- Painting -----------------------------------------------------------------------

void RepaintLater(void* window, const Rect& area) {
  if (HeadlessWindow* found = FindHeadlessWindow(window)) {
    found->invalid = Union(found->invalid, area);
  }
}

void RepaintNow(void* window, const Rect& area) {
  RepaintLater(window, area);
  PumpHeadlessWindow(window);
}

void PumpHeadlessWindow(void* window) {
  HeadlessWindow* found = FindHeadlessWindow(window);
  if (found == nullptr || IsEmpty(found->invalid)) return;
  WindowMessage paint;
  paint.event = WindowEvent::kPaint;
  // Left to the default procedure, a paint just validates the region.
  if (!SendHeadlessMessage(window, paint)) found->invalid = Rect{0, 0, 0, 0};
}

bool SendHeadlessMessage(void* window, const WindowMessage& message) {
  HeadlessWindow* found = FindHeadlessWindow(window);
  if (found == nullptr) return false;
  if (found->editor && found->editor->GetWindow() == window &&
      found->editor->HandleWindowMessage(message)) {
    return true;
  }
  // The default procedure: a close destroys the window. Once it is gone its
  // class can go too.
  if (message.event == WindowEvent::kClose) DestroyEditorWindow(window);
  SettleEditorWindowClass();
  return false;
}

WindowPaint::WindowPaint(void* window) : window(window) {
  if (HeadlessWindow* found = FindHeadlessWindow(window)) {
    region = found->invalid;
    found->invalid = Rect{0, 0, 0, 0};
    ++found->paints;
  }
}

WindowPaint::~WindowPaint() = default;

bool WindowPaint::CopyFrom(const SystemBitmap& surface) {
  HeadlessWindow* found = FindHeadlessWindow(window);
  if (found == nullptr || surface.Bits() == nullptr) return false;
  BlitRect(&found->screen, &surface, region.left, region.top, region.left, region.top,
           region.right - region.left, region.bottom - region.top, 1.0f, kBlendCopy);
  return true;
}
