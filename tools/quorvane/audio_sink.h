// Where the writer thread puts the requantised audio: interleaved frames,
// as left-justified integers or as samples for a float file.
#pragma once

#include <cstdint>
#include <string>

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  // Appends `frames` frames; false when they could not all be written.
  virtual bool WriteInts(const int32_t* words, int64_t frames) = 0;
  virtual bool WriteDoubles(const double* samples, int64_t frames) = 0;
  // Why the last write failed.
  virtual std::string WriteError() const = 0;
};
