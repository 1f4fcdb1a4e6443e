// A VST 3 module as qvhost's commands use it. Its view is made by the
// controller, asked about the platform's window type, attached, removed and
// released.
#include <cstdio>
#include <memory>

#include "tools/qvhost/hosted_plugin.h"
#include "tools/qvhost/view_window.h"
#include "tools/qvhost/vst3/loaded_vst3.h"
#include "tools/qvhost/vst3/vst3_render.h"

using namespace vst3;

namespace {

#ifdef _WIN32
constexpr const char* kVst3PlatformType = "HWND";
#else
constexpr const char* kVst3PlatformType = "X11EmbedWindowID";
#endif

class HostedVst3 final : public HostedPlugin {
 public:
  bool Load(const char* path) { return plugin.Load(path); }
  bool Render(const RenderOptions& options, const AudioData& in, AudioData& out) override {
    return RenderVst3(plugin, options, in, out);
  }
  bool View(const char* output, int holdMs) override;

 private:
  LoadedVst3 plugin;
};

bool HostedVst3::View(const char* output, int holdMs) {
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

}  // namespace

std::unique_ptr<HostedPlugin> LoadHostedVst3(const char* path) {
  auto hosted = std::make_unique<HostedVst3>();
  if (!hosted->Load(path)) return nullptr;
  return hosted;
}
