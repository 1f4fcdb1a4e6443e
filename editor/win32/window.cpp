// The editor's child window: its class, creation and destruction, and the
// window procedure, which translates each message into a WindowMessage for
// WindowedEditor::HandleWindowMessage.
#include "editor/window.h"
#include "editor/win32/win32_api.h"
#include "editor/windowed_editor.h"
#include "core/module.h"

namespace {

constexpr const char* kClassName = "KestrelWndClass";

HINSTANCE Instance() { return static_cast<HINSTANCE>(ModuleHandle()); }

// The frame timer starts and the window shows itself, without taking the
// focus, as soon as it exists.
LRESULT OnCreate(HWND hwnd) {
  SetTimer(hwnd, kFrameTimerId, static_cast<UINT>(FrameIntervalMs()), nullptr);
  ShowWindow(hwnd, SW_SHOWNA);
  return 0;
}

WindowEvent EventOf(UINT message) {
  switch (message) {
    case WM_PAINT: return WindowEvent::kPaint;
    case WM_CLOSE: return WindowEvent::kClose;
    case WM_TIMER: return WindowEvent::kTimer;
    case WM_MOUSEMOVE: return WindowEvent::kMouseMove;
    case WM_LBUTTONDOWN: return WindowEvent::kLeftDown;
    case WM_RBUTTONDOWN: return WindowEvent::kRightDown;
    case WM_LBUTTONUP: return WindowEvent::kLeftUp;
    case WM_RBUTTONUP: return WindowEvent::kRightUp;
    case WM_LBUTTONDBLCLK: return WindowEvent::kLeftDoubleClick;
    case WM_MOUSEWHEEL: return WindowEvent::kWheel;
    case WM_CAPTURECHANGED: return WindowEvent::kCaptureLost;
    case WM_DESTROY: return WindowEvent::kDestroy;
    default: return WindowEvent::kOther;
  }
}

// Positions are the signed low and high words; the key state is the low word
// of wParam for every mouse message (the wheel's delta is its high word).
WindowMessage PortableMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowMessage portable;
  portable.event = EventOf(message);
  // A capture change tells the window that loses it; the one that takes it
  // again (a second button pressed) has lost nothing.
  if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) == hwnd) {
    portable.event = WindowEvent::kOther;
  }
  portable.x = GET_X_LPARAM(lParam);
  portable.y = GET_Y_LPARAM(lParam);
  portable.keyState = GET_KEYSTATE_WPARAM(wParam);
  portable.altDown = GetKeyState(VK_MENU) < 0;
  // Windows counts WHEEL_DELTA (120) per notch; whole notches, toward zero:
  // a smooth wheel's 60 is none.
  portable.wheelNotches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
  portable.timerId = static_cast<int>(wParam);
  return portable;
}

LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) return OnCreate(hwnd);
  auto* editor = reinterpret_cast<WindowedEditor*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (editor != nullptr && editor->GetWindow() == hwnd) {
    const WindowMessage portable = PortableMessage(hwnd, message, wParam, lParam);
    if (portable.event != WindowEvent::kOther && editor->HandleWindowMessage(portable)) return 0;
  }
  const LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
  // The default procedure destroys the window on a close message; once it
  // is gone the class can go too.
  SettleEditorWindowClass();
  return result;
}

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

bool RegisterEditorWindowClass() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = EditorWindowProc;
  windowClass.hInstance = Instance();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  return RegisterClassA(&windowClass) != 0;
}

bool UnregisterEditorWindowClass() { return UnregisterClassA(kClassName, Instance()) != 0; }

void* CreateEditorWindow(void* parent, const Rect& placement, WindowedEditor* editor) {
  HWND hwnd = CreateWindowExA(
      0, kClassName, "Kestrel", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, placement.left,
      placement.top, placement.right - placement.left, placement.bottom - placement.top,
      static_cast<HWND>(parent), nullptr, Instance(), nullptr);
  if (hwnd) SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(editor));
  return hwnd;
}

// The window shows itself and runs its timer from creation on, and its
// messages arrive on the thread that opens and closes it.
void StartEditorWindow(void*, HostLoop*) {}

void StopEditorWindow(void*) {}

void DestroyEditorWindow(void* window) {
  HWND hwnd = static_cast<HWND>(window);
  KillTimer(hwnd, kFrameTimerId);
  DestroyWindow(hwnd);
}

bool EditorWindowExists(void* window) { return IsWindow(static_cast<HWND>(window)) != FALSE; }

void* NativeEditorWindow(void* window) { return window; }

// The editor's window is always a child of the host's: it has no close button.
bool EditorWindowCloseRequested(void*) { return false; }

Rect EditorWindowPlacement(void* window) {
  HWND hwnd = static_cast<HWND>(window);
  RECT own = {};
  RECT parent = {};
  GetWindowRect(hwnd, &own);
  if (HWND parentWindow = GetParent(hwnd)) GetWindowRect(parentWindow, &parent);
  const LONG left = own.left - parent.left;
  const LONG top = own.top - parent.top;
  return Rect{left, top, left + (own.right - own.left), top + (own.bottom - own.top)};
}

void EditorWindowOrigin(void* window, int* x, int* y) {
  RECT own = {};
  GetWindowRect(static_cast<HWND>(window), &own);
  *x = own.left;
  *y = own.top;
}

void CaptureMouse(void* window) { SetCapture(static_cast<HWND>(window)); }

void ReleaseMouse() { ReleaseCapture(); }

bool HasMouseCapture(void* window) { return window != nullptr && GetCapture() == window; }

void RepaintNow(void* window, const Rect& area) {
  const RECT r = ToRECT(area);
  InvalidateRect(static_cast<HWND>(window), &r, FALSE);
  UpdateWindow(static_cast<HWND>(window));
}

void RepaintLater(void* window, const Rect& area) {
  const RECT r = ToRECT(area);
  InvalidateRect(static_cast<HWND>(window), &r, FALSE);
}
