#include "tools/qvhost/hosted_plugin.h"

#include "tools/qvhost/clap/loaded_clap.h"
#include "tools/qvhost/vst3/loaded_vst3.h"

std::unique_ptr<HostedPlugin> LoadHostedPlugin(const char* path, const HostOffers& offers) {
  if (IsVst3Path(path)) return LoadHostedVst3(path);
  if (IsClapPath(path)) return LoadHostedClap(path, offers);
  return LoadHostedVst2(path);
}
