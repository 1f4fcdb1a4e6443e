// The lines quorvane prints: one per file, and a summary after a batch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/quorvane/settings.h"

struct FileFigures {
  DitherSettings settings;
  bool shapingActive = true;  // false when the rate switched shaping off
  int32_t block = 0;
  uint32_t seed = 0;
  std::string format;  // "16-bit PCM WAV"
  int channels = 0;
  int rate = 0;
  int inputRate = 0;  // the input's, when the rate was converted; 0 otherwise
  int64_t frames = 0;
  double inputPeak = 0.0;  // largest |x|, full scale 1
  uint64_t clippedInput = 0;
  uint64_t overs = 0;
  double errorPower = 0.0;           // mean square of the error
  double weightedPower = 0.0;        // the same, weighted by the plug-in's curve
  double blankedSeconds = -1.0;      // --auto-blank: silence made exactly zero, per channel
                                     // (negative without the option)
  std::vector<std::string> notKept;  // the input's metadata the output could not hold
  // What was made anew: for the new audio (a frame count), or in the form
  // the output holds ("cue points from the CUESHEET").
  std::vector<std::string> madeAnew;
};

// Level in dB of a power (10·log10); "-inf" for none.
std::string PowerDb(double power);

// "IN -> OUT: settings; format; figures" on one line.
std::string FileReportLine(const std::string& input, const std::string& output,
                           const FileFigures& figures);

// "N files dithered, M failed, ..." after a batch, naming what
// `filesNotKeeping` files could not keep of their metadata (`notKept`, each
// item once).
std::string SummaryLine(int done, int failed, uint64_t overs, double seconds, int filesNotKeeping,
                        const std::vector<std::string>& notKept);
