// Sample-rate conversion of an input file as it streams, through libsoxr:
// linear phase, at its very-high quality (28-bit precision, the passband
// flat to 91.3 % of the lower Nyquist frequency) unless asked for less.
// Memory stays flat: the input is read a piece at a time and the converter
// keeps only its filter's state.
//
// The channels are split in two halves, each with a converter of its own,
// and the halves are converted side by side on two threads: conversion is
// the heaviest stage of a converting run. Each converter runs on one thread,
// so the result does not depend on how many threads the machine has.
#pragma once

#include <soxr.h>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tools/quorvane/frame_source.h"
#include "tools/quorvane/input_file.h"
#include "tools/quorvane/options.h"

class RateConverter : public FrameSource {
 public:
  // Converts `input` (opened) to `rate`. Error() says why when it cannot.
  RateConverter(InputFile& input, int rate, RateQuality quality);
  ~RateConverter() override;
  RateConverter(const RateConverter&) = delete;
  RateConverter& operator=(const RateConverter&) = delete;

  // Why the converter cannot run; empty when it can.
  const std::string& Error() const { return error; }
  void PrepareReading(int64_t frames) override;
  int64_t ReadPlanar(double* planar, size_t stride, int64_t frames) override;
  std::string ReadError() const override;

  // The output frames a stream of `frames` input frames gives.
  int64_t OutputFrames(int64_t frames) const;

 private:
  // One half of the channels: its own converter, fed and drained by one
  // call of Convert.
  struct Half {
    soxr_t soxr = nullptr;
    int first = 0;  // its first channel
    int count = 0;
    size_t consumed = 0;
    size_t produced = 0;
    const char* failure = nullptr;
  };
  // Runs one soxr_process on a half: `in` null drains it.
  void Convert(Half& half, const double* in, size_t inStride, size_t frames, double* out,
               size_t outStride, size_t room);
  // The second half's thread: converts whenever asked, until told to stop.
  void Helper();

  InputFile& input;
  double ratio;  // output frames per input frame
  std::string error;
  Half halves[2];
  int used = 0;                // halves in use: 1 for a mono file
  std::vector<double> buffer;  // input frames, planar
  int64_t bufferFrames = 0;    // capacity per channel
  int64_t position = 0;        // frames of the buffer converted
  int64_t length = 0;          // frames in the buffer
  bool ended = false;          // the input is read to its end
  // The request to the helper: the arguments of its next Convert.
  std::thread helper;
  std::mutex mutex;
  std::condition_variable changed;
  bool asked = false;
  bool stopping = false;
  const double* askedIn = nullptr;
  size_t askedInStride = 0, askedFrames = 0, askedOutStride = 0, askedRoom = 0;
  double* askedOut = nullptr;
};
