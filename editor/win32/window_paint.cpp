#include <new>

#include "draw/system_bitmap.h"
#include "editor/window.h"
#include "editor/win32/win32_api.h"

WindowPaint::WindowPaint(void* window) : window(window) {
  static_assert(sizeof(PAINTSTRUCT) <= sizeof state, "the paint record must fit");
  if (window == nullptr) return;
  auto* paint = new (state) PAINTSTRUCT{};
  context = BeginPaint(static_cast<HWND>(window), paint);
  const RECT& r = paint->rcPaint;
  region = Rect{r.left, r.top, r.right, r.bottom};
}

WindowPaint::~WindowPaint() {
  if (window) EndPaint(static_cast<HWND>(window), reinterpret_cast<PAINTSTRUCT*>(state));
}

bool WindowPaint::CopyFrom(const SystemBitmap& surface) {
  if (context == nullptr || surface.DeviceContext() == nullptr) return false;
  return BitBlt(static_cast<HDC>(context), region.left, region.top, region.right - region.left,
                region.bottom - region.top, static_cast<HDC>(surface.DeviceContext()), region.left,
                region.top, SRCCOPY) != 0;
}
