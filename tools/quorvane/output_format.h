// How an output file is stored: the format named by its extension, and the
// container that holds the target word length.
#pragma once

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
