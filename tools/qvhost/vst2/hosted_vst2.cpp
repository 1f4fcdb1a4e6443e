// A VST 2.x plug-in as qvhost's commands use it. Its editor is opened as a
// VST 2.x host opens it: the size from effEditGetRect, effEditOpen in the
// window, effEditIdle between messages, effEditClose.
#include <cstdio>
#include <memory>

#include "tools/qvhost/hosted_plugin.h"
#include "tools/qvhost/view_window.h"
#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/vst2/vst2_render.h"
#include "vst2/dispatcher.h"

namespace {

class HostedVst2 final : public HostedPlugin {
 public:
  bool Load(const char* path) { return plugin.Load(path); }
  bool Render(const RenderOptions& options, const AudioData& in, AudioData& out) override {
    return RenderVst2(plugin, options, in, out);
  }
  bool View(const char* output, int holdMs) override {
    plugin.Dispatch(effOpen);
    EditorRect* rect = nullptr;
    if (plugin.Dispatch(effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
      std::fprintf(stderr, "qvhost: the plug-in has no editor\n");
      return false;
    }
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    std::printf("editor size %d %d\n", width, height);
    return ShowInWindow(
        width, height, output, holdMs,
        [this](void* parent) {
          const intptr_t opened = plugin.Dispatch(effEditOpen, 0, 0, parent);
          std::printf("editor opened %d\n", static_cast<int>(opened));
          return opened != 0;
        },
        [this] { plugin.Dispatch(effEditClose); },
        [this](double) { plugin.Dispatch(effEditIdle); });
  }

 private:
  LoadedPlugin plugin;
};

}  // namespace

std::unique_ptr<HostedPlugin> LoadHostedVst2(const char* path) {
  auto hosted = std::make_unique<HostedVst2>();
  if (!hosted->Load(path)) return nullptr;
  return hosted;
}
