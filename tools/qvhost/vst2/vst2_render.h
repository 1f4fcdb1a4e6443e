// `qvhost render` and `qvhost speed` for a VST 2.x plug-in: opened as a host
// opens it, the command line's program and parameters set, blocks through the
// callback of the options' path.
#pragma once

#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/render_options.h"

class LoadedPlugin;

// Opens the plug-in for rendering: rate, block size and processing on, then
// the program and the parameters. Prints the problem to stderr and returns
// false when the plug-in refuses the program.
[[nodiscard]] bool StartRendering(LoadedPlugin& plugin, const RenderOptions& options, double rate);

// The whole of `in` through the plug-in to `out`, then processing off and
// closed. On failure prints the reason to stderr and returns false.
[[nodiscard]] bool RenderVst2(LoadedPlugin& plugin, const RenderOptions& options,
                              const AudioData& in, AudioData& out);
