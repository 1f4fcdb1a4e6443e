#include <windows.h>

#include <cstdint>

#include "tools/qvhost/editor_command.h"
#include "tools/qvhost/parent_window.h"

namespace {
constexpr const char* kClassName = "QvHostParent";
HWND dialogFrame = nullptr;  // the window IsDialogMessage is asked about, if any
}  // namespace

void* CreateParentWindow(int width, int height, int x) {
  static const bool registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  if (!registered) return nullptr;
  return CreateWindowExA(0, kClassName, "qvhost", WS_POPUP | WS_VISIBLE, x, 0, width, height,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void DestroyParentWindow(void* window) {
  if (window != nullptr) DestroyWindow(static_cast<HWND>(window));
}

void RouteThroughDialog(void* frame) { dialogFrame = static_cast<HWND>(frame); }

void PumpWindowMessages(int ms, const std::function<void(double)>& tick) {
  const DWORD start = GetTickCount();
  const DWORD end = start + static_cast<DWORD>(ms);
  do {
    if (tick) tick(static_cast<double>(GetTickCount() - start));
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (dialogFrame && IsDialogMessageA(dialogFrame, &message)) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(1);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// Copies the window's pixels from its device context into a top-down DIB.
bool CaptureChildWindow(void* parent, int width, int height, EditorCapture* capture) {
  HWND window = GetWindow(static_cast<HWND>(parent), GW_CHILD);
  if (window == nullptr) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC windowDc = GetDC(window);
  HDC memoryDc = CreateCompatibleDC(windowDc);
  HBITMAP section = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memoryDc, section);
  BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  GdiFlush();
  capture->width = width;
  capture->height = height;
  capture->pixels.assign(static_cast<const uint32_t*>(bits),
                         static_cast<const uint32_t*>(bits) + static_cast<size_t>(width) * height);
  SelectObject(memoryDc, previous);
  DeleteObject(section);
  DeleteDC(memoryDc);
  ReleaseDC(window, windowDc);
  return true;
}

bool DragInEditor(void* parent, int x, int y, int dy, int steps,
                  const std::function<void(double)>& tick) {
  HWND editor = GetWindow(static_cast<HWND>(parent), GW_CHILD);
  if (editor == nullptr || steps < 1) return false;
  constexpr int kDragStepMs = 30;  // between the events of a drag, as a hand is slower
  PostMessageA(editor, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PumpWindowMessages(kDragStepMs, tick);
  for (int step = 1; step <= steps; ++step) {
    PostMessageA(editor, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + dy * step / steps));
    PumpWindowMessages(kDragStepMs, tick);
  }
  PostMessageA(editor, WM_LBUTTONUP, 0, MAKELPARAM(x, y + dy));
  PumpWindowMessages(kDragStepMs, tick);
  return true;
}

// Windows has no process-wide answer to a lost window system for a plug-in
// to take over.
void HoldDisplayLoss() {}
bool DisplayLossHeld() { return true; }
bool BreakHostDisplay() { return false; }
