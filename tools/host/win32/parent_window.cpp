#include <windows.h>

#include "tools/host/parent_window.h"

namespace {
constexpr const char* kClassName = "QvHostValidateParent";
}  // namespace

void* CreateParentWindow(int width, int height) {
  static const bool registered = [] {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
  }();
  if (!registered) return nullptr;
  return CreateWindowExA(0, kClassName, "qvhost validate", WS_POPUP | WS_VISIBLE, 0, 0, width,
                         height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void DestroyParentWindow(void* window) {
  if (window != nullptr) DestroyWindow(static_cast<HWND>(window));
}

void PumpWindowMessages(int ms) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(1);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
}
