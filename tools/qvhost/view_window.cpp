#include "tools/qvhost/view_window.h"

#include <cstdio>

#include "tools/qvhost/editor_command.h"
#include "tools/qvhost/parent_window.h"

bool ShowInWindow(int width, int height, const char* output, int holdMs,
                  const std::function<bool(void* parent)>& attach,
                  const std::function<void()>& detach, const std::function<void(double)>& tick) {
  void* parent = CreateParentWindow(width, height);
  if (parent == nullptr) return false;
  EditorCapture capture;
  bool captured = false;
  if (attach(parent)) {
    PumpWindowMessages(holdMs, tick);
    captured = CaptureChildWindow(parent, width, height, &capture);
    detach();
  }
  DestroyParentWindow(parent);
  if (!captured) return false;
  if (!WritePng(output, capture)) {
    std::fprintf(stderr, "qvhost: cannot write %s\n", output);
    return false;
  }
  std::printf("capture %dx%d %s\n", capture.width, capture.height, output);
  return true;
}
