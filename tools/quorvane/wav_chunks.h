// What a WAV (or RF64) output carries besides its audio. From a WAV, RF64
// or W64 input, its own chunks, byte for byte and in its order, but for
// those the new audio changes; from any other input, chunks made from what
// libsndfile read of it (and every Vorbis comment of a FLAC input that a
// WAV has a field for).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/quorvane/metadata.h"
#include "tools/quorvane/riff_chunks.h"
#include "tools/quorvane/wav_writer.h"

struct WavChunks {
  std::vector<ChunkSource> before;      // the chunks before the audio
  std::vector<ChunkSource> after;       // and after it
  uint32_t channelMask = 0;             // the speaker mask to write; 0 for none
  bool frameCount = false;              // the input had a `fact`: the output gets its own
  bool channelPeaks = false;            // and a `PEAK`
  std::vector<std::string> notKept;     // what the report names as not kept
  std::vector<std::string> recomputed;  // and as made for the new audio
};

// The chunks of the input walked as `layout`, open on `descriptor` (which
// must stay open while they are written). `bext` gets `historyLine`.
WavChunks ChunksOfInput(const RiffLayout& layout, int descriptor, const FileMetadata& metadata,
                        const std::string& historyLine);

// The chunks that hold `metadata` of audio at `rate`, with `historyLine`
// added to a broadcast coding history.
WavChunks ChunksFromMetadata(const FileMetadata& metadata, const std::string& historyLine,
                             int rate);

// The chunks of `layout` that a file of another family cannot take, named
// for the report. libsndfile carries the tags, broadcast fields, cue points
// and loops it reads.
std::vector<std::string> ChunksLeftBehind(const RiffLayout& layout, int descriptor);
