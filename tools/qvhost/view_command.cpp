// `qvhost view MODULE OUT.png [--hold MS] [--no-loop] [--cycles N]
// [--break-display]`: a plug-in's editor opened the way a host of its format
// opens it, in a window of qvhost's own at the size it reports, its messages
// run for a while, captured, then closed, and the module unloaded; N times
// with --cycles. --no-loop withholds the host's loop from a format that
// offers one (CLAP's file-descriptor and timer support on Linux).
// --break-display: qvhost's own answer to a lost display, installed before
// the first load, must still be the process's after the last unload
// ("host display handler kept 1"); then qvhost breaks its own connection,
// and that answer ends it (see BreakHostDisplay).
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/qvhost/commands.h"
#include "tools/qvhost/hosted_plugin.h"
#include "tools/qvhost/parent_window.h"

int ViewCommand(int argc, char** argv) {
  if (argc < 4) return kExitUsage;
  int holdMs = 400;
  int cycles = 1;
  bool breakDisplay = false;
  HostOffers offers;
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) {
      holdMs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--cycles") == 0 && i + 1 < argc) {
      cycles = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--no-loop") == 0) {
      offers.loop = false;
    } else if (std::strcmp(argv[i], "--break-display") == 0) {
      breakDisplay = true;
    } else {
      return kExitUsage;
    }
  }
  if (cycles < 1) return kExitUsage;
  if (breakDisplay) HoldDisplayLoss();
  for (int cycle = 0; cycle < cycles; ++cycle) {
    // Loaded, shown and unloaded each time.
    const std::unique_ptr<HostedPlugin> plugin = LoadHostedPlugin(argv[2], offers);
    if (!plugin || !plugin->View(argv[3], holdMs)) return kExitFailure;
  }
  if (!breakDisplay) return kExitSuccess;
  const bool kept = DisplayLossHeld();
  std::printf("host display handler kept %d\n", kept ? 1 : 0);
  std::fflush(stdout);
  return kept && BreakHostDisplay() ? kExitSuccess : kExitFailure;
}
