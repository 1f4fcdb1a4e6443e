// An input file opened through libsndfile, with what its header promises.
#pragma once

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/quorvane/frame_source.h"
#include "tools/quorvane/pcm_samples.h"

class InputFile : public FrameSource {
 public:
  InputFile() = default;
  ~InputFile() override;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens `path` for reading. False with a one-line reason for a missing,
  // unreadable, empty or non-audio file, or one with no channels.
  [[nodiscard]] bool Open(const std::string& path, std::string& error);

  SNDFILE* File() const { return file; }
  const SF_INFO& Info() const { return info; }
  // The frames the header promises, or -1 when the stream does not say (a
  // pipe). libsndfile shortens its frame count to the data actually present;
  // this is the header's own figure, so that a truncated file can be told
  // from a complete one.
  int64_t PromisedFrames() const { return promised; }
  // The frames reading will give, as far as they are known before reading:
  // those of a regular file's audio data; -1 for a stream (a pipe), whose
  // header may not say.
  int64_t ExpectedFrames() const { return expected; }

  // Sizes the buffers of ReadPlanar for `frames` frames at a time; throws
  // std::bad_alloc when they cannot be had.
  void PrepareReading(int64_t frames) override;
  // Reads up to `frames` (at most the prepared count) frames, channel c's
  // to planar + c * stride; the frames read, 0 at the end or on a failure
  // (sf_error then says which). Plain PCM and 32-bit floats are taken from
  // the file's bytes in one pass, anything else from libsndfile's doubles.
  int64_t ReadPlanar(double* planar, size_t stride, int64_t frames) override;
  std::string ReadError() const override;
  // The frames ReadPlanar has given so far.
  int64_t FramesRead() const { return framesRead; }

 private:
  SNDFILE* file = nullptr;
  SF_INFO info{};
  int64_t promised = 0;
  int64_t expected = -1;
  PcmEncoding encoding;
  int64_t framesRead = 0;
  std::vector<unsigned char> bytes;  // one read's bytes, when encoding.bytes > 0
  std::vector<double> interleaved;   // one read's frames, otherwise
};

// The frame count a header promises, from libsndfile's log of opening it
// (SFC_GET_LOG_INFO): a WAV data chunk longer than the file, an AIFF COMM
// frame count, a W64 data chunk. At least info.frames; -1 for a WAV whose
// data size is unknown (0 or 0xFFFFFFFF, as written to a pipe), which is
// read to its end.
int64_t HeaderFrames(const std::string& log, const SF_INFO& info);
