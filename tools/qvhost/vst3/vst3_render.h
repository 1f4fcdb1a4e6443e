// `qvhost render` for a VST 3 module: the same blocks as for a VST 2.x
// plug-in, processed in place as hosts do, with the command line's program
// and parameters sent as changes at the start of the first block.
#pragma once

#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/render_options.h"

class LoadedVst3;

// On failure prints the reason to stderr and returns false.
[[nodiscard]] bool RenderVst3(LoadedVst3& plugin, const RenderOptions& options, const AudioData& in,
                              AudioData& out);
