// A plug-in as the commands that take any format use it: loaded through its
// format's entry, rendered through and its editor shown as that format's
// hosts do. Each format's room implements it; LoadHostedPlugin is the one
// place where a module's format is chosen, by its name.
#pragma once

#include <memory>

#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/render_options.h"

class HostedPlugin {
 public:
  virtual ~HostedPlugin() = default;

  // Set up for `out`'s rate and the options' block, the options' program
  // and parameters given as the format's hosts give them, the whole of `in`
  // processed into `out` block by block, then switched off. On failure
  // prints the reason to stderr and returns false.
  [[nodiscard]] virtual bool Render(const RenderOptions& options, const AudioData& in,
                                    AudioData& out) = 0;
  // The editor opened as the format's hosts open it, in a window of
  // qvhost's own at the size it asks for, its messages run for `holdMs`,
  // captured to the PNG file `output`, then closed. What happens is printed
  // line by line; on failure the reason goes to stderr.
  [[nodiscard]] virtual bool View(const char* output, int holdMs) = 0;
};

// What qvhost offers a plug-in as its host.
struct HostOffers {
  bool loop = true;  // the host's loop for the editor's window, where the format has one
};

// The plug-in in `path`: a VST 3 module (.vst3, or inside a .vst3 bundle), a
// CLAP module (.clap) or a VST 2.x plug-in. Null, with the reason printed to
// stderr, when it cannot be loaded.
std::unique_ptr<HostedPlugin> LoadHostedPlugin(const char* path, const HostOffers& offers = {});

// Each format's room.
std::unique_ptr<HostedPlugin> LoadHostedVst2(const char* path);
std::unique_ptr<HostedPlugin> LoadHostedVst3(const char* path);
std::unique_ptr<HostedPlugin> LoadHostedClap(const char* path, const HostOffers& offers);
