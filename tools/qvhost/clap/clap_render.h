// `qvhost render` for a CLAP module: the same blocks as for a VST 2.x
// plug-in, processed in place on an audio thread of qvhost's own, as hosts
// do. The command line's program is loaded as a preset before activation;
// its parameters go as plain values (a host's rounding of the normalised
// ones) at the first frame of the first block.
#pragma once

#include "clap/clap_abi.h"
#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/render_options.h"

class LoadedClap;

// On failure prints the reason to stderr and returns false.
[[nodiscard]] bool RenderClap(LoadedClap& plugin, const RenderOptions& options, const AudioData& in,
                              AudioData& out);

// The plain value a host sends for a parameter set to `normalised` (0..1):
// its place in the range, rounded to a whole number for a stepped one.
double PlainValue(const clap::ParamInfo& info, float normalised);
