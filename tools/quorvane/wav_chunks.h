// What a WAV (or RF64) output carries besides its audio. From a WAV, RF64
// or W64 input, its own chunks, byte for byte and in its order, but for
// those the new audio changes; from any other input, chunks made from what
// libsndfile read of it (and every Vorbis comment of a FLAC input that a
// WAV has a field for).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/quorvane/metadata.h"
#include "tools/quorvane/riff_chunks.h"
#include "tools/quorvane/wav_writer.h"

struct WavChunks {
  std::vector<ChunkSource> before;    // the chunks before the audio
  std::vector<ChunkSource> after;     // and after it
  uint32_t channelMask = 0;           // the speaker mask to write; 0 for none
  bool frameCount = false;            // the input had a `fact`: the output gets its own
  bool channelPeaks = false;          // and a `PEAK`
  std::vector<std::string> notKept;   // what the report names as not kept
  std::vector<std::string> madeAnew;  // and as made anew (a frame count, a peak)
};

// The chunks of the input walked as `layout`, open on `descriptor` (which
// must stay open while they are written). `bext` gets `historyLine`. With a
// `ratio` of new frames per old frame other than 1, the chunks that count
// samples are moved to the new `rate`, or named as not kept.
WavChunks ChunksOfInput(const RiffLayout& layout, int descriptor, const FileMetadata& metadata,
                        const std::string& historyLine, double ratio, int rate);

// The chunks that hold `metadata` of audio at `rate`, with `historyLine`
// added to a broadcast coding history.
WavChunks ChunksFromMetadata(const FileMetadata& metadata, const std::string& historyLine,
                             int rate);

// The fields of the LIST INFO chunks of the input walked as `layout`, id and
// text, in order. LIST INFO chunks too large to read are added to `unread`.
std::vector<std::pair<std::string, std::string>> InfoFields(const RiffLayout& layout,
                                                            int descriptor,
                                                            std::vector<std::string>& unread);

// The INFO fields of the input walked as `layout` as Vorbis comments: under
// the names FFmpeg gives them (TITLE, ISRC, ...), and the rest under their
// own ids (IENG). LIST INFO chunks too large to read are added to `unread`.
std::vector<std::string> InfoComments(const RiffLayout& layout, int descriptor,
                                      std::vector<std::string>& unread);

// The chunks of `layout` that a file of another family cannot take, named
// for the report. libsndfile carries the tags, broadcast fields, cue points
// and loops it reads; a file that `takesComments` (FLAC) every INFO field.
// A frame count (`fact`) is made anew by every format: it goes to
// `madeAnew`.
std::vector<std::string> ChunksLeftBehind(const RiffLayout& layout, int descriptor,
                                          bool takesComments, std::vector<std::string>& madeAnew);
