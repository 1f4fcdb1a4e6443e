// `qvhost view MODULE OUT.png [--hold MS] [--no-loop]`: a VST 3 or CLAP
// module's editor opened the way such a host opens it, in a window of
// qvhost's own at the size it reports, its messages run for a while,
// captured, then closed.
//
// A VST 3 view is made by the controller, asked about the platform's window
// type, attached, removed and released. A CLAP GUI is created for the
// platform's window API, embedded with set_parent and shown, hidden and
// destroyed; on Linux it runs on qvhost's loop through the file-descriptor
// and timer support qvhost offers, unless --no-loop withholds them.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "tools/qvhost/commands.h"
#include "tools/qvhost/editor_command.h"
#include "tools/qvhost/loaded_clap.h"
#include "tools/qvhost/loaded_vst3.h"
#include "tools/qvhost/parent_window.h"

namespace {

#ifdef _WIN32
constexpr const char* kVst3PlatformType = "HWND";
#else
constexpr const char* kVst3PlatformType = "X11EmbedWindowID";
#endif

// Opens the editor in a new window of width x height with `attach`, runs the
// window's messages (and `tick` between them) for `holdMs`, captures it to
// `output` and closes it with `detach`.
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

bool ShowVst3(const char* path, const char* output, int holdMs) {
  using namespace vst3;
  LoadedVst3 plugin;
  if (!plugin.Load(path)) return false;
  IPlugView* view = plugin.Controller().createView("editor");
  if (view == nullptr) {
    std::fprintf(stderr, "qvhost: the controller made no view\n");
    return false;
  }
  std::printf("view platform %s %d\n", kVst3PlatformType,
              static_cast<int>(view->isPlatformTypeSupported(kVst3PlatformType)));
  ViewRect size{};
  bool shown = false;
  if (view->getSize(&size) == kResultOk) {
    const int width = size.right - size.left;
    const int height = size.bottom - size.top;
    std::printf("view size %d %d resizable %d\n", width, height,
                view->canResize() == kResultTrue ? 1 : 0);
    shown = ShowInWindow(
        width, height, output, holdMs,
        [view](void* parent) {
          const Tresult attached = view->attached(parent, kVst3PlatformType);
          std::printf("view attached %d\n", static_cast<int>(attached));
          return attached == kResultOk;
        },
        [view] { std::printf("view removed %d\n", static_cast<int>(view->removed())); }, nullptr);
  }
  view->release();
  return shown;
}

bool ShowClap(const char* path, const char* output, int holdMs, bool offerLoop) {
  using namespace clap;
  LoadedClap plugin;
  plugin.Host().offersLoop = offerLoop;
  if (!plugin.Load(path)) return false;
  const Plugin* p = &plugin.Plugin();
  const auto* gui = plugin.Ask<PluginGui>(kExtGui);
  const char* api = nullptr;
  bool floating = true;
  if (gui == nullptr || !gui->getPreferredApi(p, &api, &floating) || api == nullptr) {
    std::fprintf(stderr, "qvhost: the plug-in has no GUI\n");
    return false;
  }
  std::printf("gui api %s floating %d supported %d\n", api, floating ? 1 : 0,
              gui->isApiSupported(p, api, false) ? 1 : 0);
  uint32_t width = 0;
  uint32_t height = 0;
  if (!gui->create(p, api, false) || !gui->getSize(p, &width, &height)) {
    std::fprintf(stderr, "qvhost: the plug-in made no GUI\n");
    return false;
  }
  std::printf("gui size %u %u resizable %d\n", width, height, gui->canResize(p) ? 1 : 0);
  ClapHost& host = plugin.Host();
  const bool shown = ShowInWindow(
      static_cast<int>(width), static_cast<int>(height), output, holdMs,
      [&](void* parent) {
        Window window = EmbeddingWindow(parent);
        window.api = api;
        const bool embedded = gui->setParent(p, &window) && gui->show(p);
        std::printf("gui embedded %d host loop fds %d timers %d\n", embedded ? 1 : 0,
                    static_cast<int>(host.RegisteredFds()),
                    static_cast<int>(host.RegisteredTimers()));
        return embedded;
      },
      [&] {
        std::printf("gui loop calls %d\n", host.loopCalls.load());
        gui->hide(p);
        gui->destroy(p);
        std::printf("gui destroyed host loop fds %d timers %d\n",
                    static_cast<int>(host.RegisteredFds()),
                    static_cast<int>(host.RegisteredTimers()));
      },
      [&host](double) { host.RunLoopOnce(); });
  return host.KeptThreadRules() && shown;
}

}  // namespace

int ViewCommand(int argc, char** argv) {
  if (argc < 4) return kExitUsage;
  int holdMs = 400;
  bool offerLoop = true;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) {
      holdMs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--no-loop") == 0) {
      offerLoop = false;
    } else {
      return kExitUsage;
    }
  }
  const bool shown = IsClapPath(argv[2]) ? ShowClap(argv[2], argv[3], holdMs, offerLoop)
                                         : ShowVst3(argv[2], argv[3], holdMs);
  return shown ? kExitSuccess : kExitFailure;
}
