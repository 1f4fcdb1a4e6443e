// One file through the requantiser: read, processed channel pair by channel
// pair, stored on the target grid, measured, and renamed into place only
// when everything succeeded.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/quorvane/options.h"

struct FileJob {
  std::string input;
  std::string output;
};

struct FileOutcome {
  bool ok = false;
  std::string report;   // the report line, when ok
  std::string problem;  // why nothing was written, when not ok
  uint64_t overs = 0;
  std::vector<std::string> notKept;  // the input's metadata the output could not hold
};

// Frames processed so far and frames expected, over every file of a run;
// read by the progress display on another thread.
struct Progress {
  std::atomic<int64_t> done{0};
  std::atomic<int64_t> total{0};
};

// The engine seed of channel group `group` of a file dithered with `seed`:
// each pair draws its own dither.
uint32_t GroupSeed(uint32_t seed, int group);

// Dithers one file with `options` (settings, block, seed, output form, -y,
// --plot), using `seed` for the dither. Streams with a reader and a writer
// thread beside the calling one; memory does not depend on the file's length.
// On any failure nothing is left under the output's name (or the plot's).
FileOutcome DitherFile(const FileJob& job, const ToolOptions& options, uint32_t seed,
                       Progress& progress);
