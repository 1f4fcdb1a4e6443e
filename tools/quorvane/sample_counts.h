// The metadata that counts samples, moved to a new sample rate: every
// position scaled by the ratio of the rates and rounded to the nearest
// sample of the new rate.
#pragma once

#include <cstdint>
#include <string>

#include "tools/quorvane/metadata.h"

// `position` at the new rate, `ratio` new frames per old frame.
int64_t ScaledPosition(int64_t position, double ratio);

// The positions of `metadata` at the new rate: the broadcast time reference,
// the cue points, the loops of the instrument, and a FLAC input's
// time_reference comment (FFmpeg's name for the broadcast field).
void ScaleSampleCounts(FileMetadata& metadata, double ratio);

// Whether a WAV chunk counts samples: bext, cue, smpl, LIST adtl, iXML and
// cart. `listType` is a LIST's type ("adtl", "INFO"), empty for others.
bool CountsSamples(const std::string& id, const std::string& listType);

// What a WAV chunk that counts samples becomes at the new rate `rate`:
//   kConverted: `body` rewritten (bext's time reference; cue's positions and
//     offsets; smpl's sample period and loop points; a LIST adtl's ltxt
//     lengths);
//   kUntouched: it counts no samples (or too short a bext holds none), and
//     goes through as it is;
//   kCannot: it counts samples in a way not rewritten here (iXML's
//     timestamp, cart's post timers): it must not go through as it is.
enum class ChunkAtRate { kConverted, kUntouched, kCannot };
ChunkAtRate ChunkAtNewRate(const std::string& id, const std::string& listType, std::string& body,
                           double ratio, int rate);
