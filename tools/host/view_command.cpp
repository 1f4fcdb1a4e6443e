// `qvhost view MODULE OUT.png [--hold MS]`: a VST 3 module's editor opened
// the way a VST 3 host opens it: a view from the controller, asked about the
// platform's window type, attached to a window of qvhost's own at the size
// it reports, its messages run for a while, captured, removed and released.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/host/commands.h"
#include "tools/host/editor_command.h"
#include "tools/host/loaded_vst3.h"
#include "tools/host/parent_window.h"

using namespace vst3;

namespace {

#ifdef _WIN32
constexpr const char* kPlatformType = "HWND";
#else
constexpr const char* kPlatformType = "X11EmbedWindowID";
#endif

bool ShowView(IPlugView& view, const char* output, int holdMs) {
  std::printf("view platform %s %d\n", kPlatformType,
              static_cast<int>(view.isPlatformTypeSupported(kPlatformType)));
  ViewRect size{};
  if (view.getSize(&size) != kResultOk) return false;
  const int width = size.right - size.left;
  const int height = size.bottom - size.top;
  std::printf("view size %d %d resizable %d\n", width, height,
              view.canResize() == kResultTrue ? 1 : 0);
  void* parent = CreateParentWindow(width, height);
  if (parent == nullptr) return false;
  const Tresult attached = view.attached(parent, kPlatformType);
  std::printf("view attached %d\n", static_cast<int>(attached));
  EditorCapture capture;
  bool captured = false;
  if (attached == kResultOk) {
    PumpWindowMessages(holdMs);
    captured = CaptureChildWindow(parent, width, height, &capture);
    std::printf("view removed %d\n", static_cast<int>(view.removed()));
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

}  // namespace

int ViewCommand(int argc, char** argv) {
  if (argc != 4 && !(argc == 6 && std::strcmp(argv[4], "--hold") == 0)) return kExitUsage;
  const int holdMs = argc == 6 ? std::atoi(argv[5]) : 400;
  LoadedVst3 plugin;
  if (!plugin.Load(argv[2])) return kExitFailure;
  IPlugView* view = plugin.Controller().createView("editor");
  if (view == nullptr) {
    std::fprintf(stderr, "qvhost: the controller made no view\n");
    return kExitFailure;
  }
  const bool shown = ShowView(*view, argv[3], holdMs);
  view->release();
  return shown ? kExitSuccess : kExitFailure;
}
