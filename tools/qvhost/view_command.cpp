// `qvhost view MODULE OUT.png [--hold MS] [--no-loop]`: a plug-in's editor
// opened the way a host of its format opens it, in a window of qvhost's own
// at the size it reports, its messages run for a while, captured, then
// closed. --no-loop withholds the host's loop from a format that offers one
// (CLAP's file-descriptor and timer support on Linux).
#include <cstdlib>
#include <cstring>

#include "tools/qvhost/commands.h"
#include "tools/qvhost/hosted_plugin.h"

int ViewCommand(int argc, char** argv) {
  if (argc < 4) return kExitUsage;
  int holdMs = 400;
  HostOffers offers;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) {
      holdMs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--no-loop") == 0) {
      offers.loop = false;
    } else {
      return kExitUsage;
    }
  }
  const std::unique_ptr<HostedPlugin> plugin = LoadHostedPlugin(argv[2], offers);
  return plugin && plugin->View(argv[3], holdMs) ? kExitSuccess : kExitFailure;
}
