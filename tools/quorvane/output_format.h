// How an output file is stored: the format named by its extension, and the
// container that holds the target word length.
#pragma once

#include <cstdint>
#include <string>

struct OutputFormat {
  int sndfileFormat = 0;  // major | subtype, as libsndfile names them
  int containerBits = 0;  // 16, 24 or 32 for integers; 32 or 64 for floats
  bool isFloat = false;
  std::string description;  // "16-bit PCM WAV"
};

// The format for writing `bits`-bit words to `path`: the major format from the
// extension (.wav .flac .aif .aiff .w64 .caf, any case); integers in the
// smallest of 16, 24 and 32 bits that holds them, or with `floatOutput` 32-bit
// floats up to 24 bits and 64-bit floats above (a float's mantissa must hold
// every step of the grid). False, with a one-line reason, for an unknown
// extension, FLAC above 24 bits and FLAC floats.
[[nodiscard]] bool ChooseOutputFormat(const std::string& path, int bits, bool floatOutput,
                                      OutputFormat& format, std::string& error);

// The most audio bytes a format whose sizes are 32-bit fields can describe,
// with room left for its headers and metadata; -1 for formats without such
// a limit.
int64_t AudioByteLimit(int sndfileFormat);

// The format a WAV is written in for `frames` frames (-1: not known before
// the end) of `frameBytes` bytes: RF64 when the audio may not fit a WAV's
// sizes, WAVE_FORMAT_EXTENSIBLE when `extensible` (a channel layout to
// keep), a plain WAV otherwise. Other formats are returned as they are.
int FormatForSize(int sndfileFormat, int64_t frames, int64_t frameBytes, bool extensible);
