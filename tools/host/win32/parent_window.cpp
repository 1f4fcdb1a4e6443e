#include <windows.h>

#include "tools/host/parent_window.h"

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
