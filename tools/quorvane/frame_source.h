// Where the reader thread takes a file's frames from: the input file itself,
// or a rate converter reading it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Sizes the buffers of ReadPlanar for up to `frames` frames at a time;
  // throws std::bad_alloc when they cannot be had.
  virtual void PrepareReading(int64_t frames) = 0;
  // Reads up to `frames` frames, channel c's to planar + c * stride; the
  // frames read, 0 at the end of the stream or on a failure.
  virtual int64_t ReadPlanar(double* planar, size_t stride, int64_t frames) = 0;
  // Why reading stopped before the stream's end; empty when it did not.
  virtual std::string ReadError() const = 0;
};
