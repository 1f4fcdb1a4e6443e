// A CLAP module as qvhost's commands use it. Its GUI is created for the
// platform's window API, embedded with set_parent and shown, hidden and
// destroyed; on Linux it runs on qvhost's loop through the file-descriptor
// and timer support qvhost offers, unless the loop is withheld.
#include <cstdio>
#include <memory>

#include "tools/qvhost/clap/clap_render.h"
#include "tools/qvhost/clap/loaded_clap.h"
#include "tools/qvhost/hosted_plugin.h"
#include "tools/qvhost/view_window.h"

using namespace clap;

namespace {

class HostedClap final : public HostedPlugin {
 public:
  bool Load(const char* path, const HostOffers& offers) {
    plugin.Host().offersLoop = offers.loop;
    return plugin.Load(path);
  }
  bool Render(const RenderOptions& options, const AudioData& in, AudioData& out) override {
    return RenderClap(plugin, options, in, out);
  }
  bool View(const char* output, int holdMs) override;

 private:
  LoadedClap plugin;
};

bool HostedClap::View(const char* output, int holdMs) {
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

std::unique_ptr<HostedPlugin> LoadHostedClap(const char* path, const HostOffers& offers) {
  auto hosted = std::make_unique<HostedClap>();
  if (!hosted->Load(path, offers)) return nullptr;
  return hosted;
}
