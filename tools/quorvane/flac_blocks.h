// The metadata blocks of a FLAC file, found by walking their headers: where
// each body lies, never what it holds, so that no length a file claims
// decides how much memory is taken.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum FlacBlockType : int {
  kStreamInfo = 0,
  kPadding = 1,
  kApplication = 2,
  kSeekTable = 3,
  kVorbisComment = 4,
  kCueSheet = 5,
  kPicture = 6,
};

struct FlacBlock {
  int type = 0;
  int64_t offset = 0;  // of the body
  int64_t size = 0;
};

struct FlacLayout {
  bool isFlac = false;
  std::vector<FlacBlock> blocks;  // in file order
  int64_t framesAt = -1;          // where the audio starts; -1 when the walk did not get there
  // The blocks not read, one line each for the report.
  std::vector<std::string> damaged;
};

// The most blocks listed.
constexpr size_t kMaxFlacBlocks = 4096;

// Walks the file of `fileBytes` bytes open on `descriptor`.
FlacLayout WalkFlacBlocks(int descriptor, int64_t fileBytes);

// A block type's name, as metaflac prints it ("PICTURE"; "block type 9").
std::string FlacBlockName(int type);

// The blocks of `layout` that a file of another family cannot take, named
// for the report (the comments are the tags' business; a cue sheet's
// points go to cue points, and what else it says is named), and its damage.
std::vector<std::string> FlacBlocksLeftBehind(const FlacLayout& layout, int descriptor);

// The sample of every index point of every track of the CUESHEET `block`
// of the file open on `descriptor`, the lead-out left out, in order. Sets
// `saysMore` when it holds a catalogue number or track ISRCs besides.
std::vector<uint64_t> CueSheetPositions(int descriptor, const FlacBlock& block, bool& saysMore);

// The sample numbers of the points of the SEEKTABLE `block` of the file
// open on `descriptor`, placeholders left out, in order.
std::vector<uint64_t> SeekTargets(int descriptor, const FlacBlock& block);
