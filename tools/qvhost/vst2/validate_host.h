// What every group of `qvhost validate` shares: its options, the group entry
// points, and the host-side helpers that read the plug-in back the way a
// host does (texts through guarded buffers, values through getParameter).
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/validation_log.h"

struct ValidateOptions {
  const char* library = nullptr;
  bool quick = false;  // fewer frames per audio combination, fewer rounds
  uint32_t seed = 1;   // every random choice follows from it
};

// The groups, in the order the command runs them. Each prints its checks.
void ValidateLifecycle(const ValidateOptions& options, ValidationLog& log);
void ValidatePrograms(const ValidateOptions& options, ValidationLog& log);
void ValidateSavedState(const ValidateOptions& options, ValidationLog& log);
void ValidateAudio(const ValidateOptions& options, ValidationLog& log);
void ValidateEditorThreads(const ValidateOptions& options, ValidationLog& log);

// The plug-in's four parameters.
constexpr int32_t kParamCount = 4;
// "target bits", whose display text gives the output grid.
constexpr int32_t kTargetBitsParam = 2;

// effOpen, then sample rate, block size and resume, as hosts start audio.
void StartAudio(LoadedPlugin& plugin, float rate, int32_t block);

// A text request into a guarded buffer of `capacity` bytes; a write past it
// or a missing terminator is recorded in `findings`.
std::string TextAnswer(LoadedPlugin& plugin, int32_t opcode, int32_t index, size_t capacity,
                       Findings& findings);
std::string ParamDisplay(LoadedPlugin& plugin, int32_t index, Findings& findings);
float GetParam(LoadedPlugin& plugin, int32_t index);
void SetParam(LoadedPlugin& plugin, int32_t index, float value);

// Steps per unit of amplitude of the current "target bits": 2^(bits - 1),
// bits read from its display text; 0 when the text is no whole number.
double GridScale(LoadedPlugin& plugin, Findings& findings);
// The finest grid any setting gives, 32 bits.
constexpr double kFinestGridScale = 2147483648.0;

// Finite, not subnormal, and a whole number of steps of 1/scale. Values of
// exactly +1 and -1 are on every grid.
bool OnGrid(double sample, double scale);

// One block through the float replacing callback, `input` on both channels:
// every output sample on the grid of `scale`, nothing written past the block.
void ProcessAndCheck(LoadedPlugin& plugin, const std::vector<float>& input, double scale,
                     Findings& findings);
// `frames` samples of a sine at 0.4 of full scale, starting at `phase`.
std::vector<float> SineBlock(int32_t frames, int64_t phase);

// A normalised value as hosts send them: mostly anywhere in [0, 1], now and
// then exactly 0 or 1.
float RandomNormalised(std::mt19937& random);
