// Audio played through the plug-in while its editor is open, block by block
// at the pace of real time, so that the graphs and the level bar show it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "vst2/effect_record.h"
#include "tools/qvhost/audio_file.h"

class EditorFeed {
 public:
  // Plays `seconds` of `audio` (all of it when seconds is 0 or more than it
  // holds) in blocks of `block` frames through the float callback.
  EditorFeed(const AudioData& audio, double seconds, int32_t block);

  // Processes every block due `elapsedMs` after the start; false once the
  // audio is used up.
  bool Advance(EffectRecord& record, double elapsedMs);
  // How long playing takes, in milliseconds.
  double DurationMs() const { return 1000.0 * static_cast<double>(frames) / rate; }

 private:
  std::vector<float> left, right, outLeft, outRight;
  size_t frames;
  size_t next = 0;
  double rate;
  int32_t block;
};
