// The options of `qvhost render`.
#pragma once

#include <cstdint>
#include <vector>

// Which audio path processes the blocks: for VST 2.x the record's callback,
// for the other formats the sample size (they have no accumulating path).
enum class RenderPath {
  kFloat,       // single-precision replacing
  kDouble,      // double-precision replacing
  kAccumulate,  // single-precision accumulating, into outputs cleared to zero
};

struct ParamSetting {
  int32_t index;
  float normalised;
};

struct RenderOptions {
  double rate = 0.0;    // 0: the input file's rate, or 44100 for raw files
  int32_t block = 512;  // frames per call, at most the file's length; the last block may be shorter
  int32_t program = -1;  // -1: no program change
  RenderPath path = RenderPath::kFloat;
  std::vector<ParamSetting> params;  // applied in order, after the program
};

// INDEX=NORMALISED, with the value in 0 .. 1.
[[nodiscard]] bool ParseParamSetting(const char* text, ParamSetting& setting);

// Parses argv[first..argc) into options; prints the problem to stderr and
// returns false on a bad or unknown option.
[[nodiscard]] bool ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options);
