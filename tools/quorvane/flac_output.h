// A FLAC output's final form. libsndfile encodes the audio into a file of
// its own; the output is then that file's STREAMINFO (its MD5 and length
// are the new audio's) and frames, with the metadata blocks to keep between
// them: the Vorbis comments, blocks copied from a FLAC input in pieces, a
// cue sheet of a WAV's cue points, a seek table made for the new frames,
// and padding for taggers to fill.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/quorvane/flac_blocks.h"

struct FlacExtras {
  std::string comments;         // a VORBIS_COMMENT block's body; empty for none
  int source = -1;              // the file holding `kept`
  std::vector<FlacBlock> kept;  // copied as they are, in this order
  // The samples a seek table points to, as a FLAC input's table had them;
  // each point is made for the frame that holds its sample. Empty for no
  // table.
  std::vector<uint64_t> seekSamples;
  // Cue points, in samples, for a CUESHEET (one track each) when the input
  // had no cue sheet of its own.
  std::vector<uint64_t> cuePositions;
};

// Writes to `target` (empty, from its start) the FLAC file libsndfile wrote
// on `encoded`, with `extras`. False, with the reason, when `encoded` is no
// FLAC file of fixed-size blocks or writing fails.
[[nodiscard]] bool AssembleFlac(int encoded, int target, const FlacExtras& extras,
                                std::string& error);
