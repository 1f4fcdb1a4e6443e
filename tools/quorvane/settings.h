// What the requantiser is asked to do, in the plug-in's own units, and the
// plug-in's programs that name such settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dsp/dither_engine.h"

struct DitherSettings {
  bool dither = true;  // triangular dither before rounding
  int power = 9;       // "psychoacoustic power": the shaping order, 0 (off) to 12
  int bits = 16;       // target word length, 6 to 32
};

// A program of the plug-in, by its number (as hosts count them, from 0).
struct ProgramEntry {
  int number;
  std::string name;
  DitherSettings settings;
};

constexpr int kMinBits = 6;
constexpr int kMaxBits = 32;
constexpr int kMaxPower = kMaxShapingOrder;
constexpr int32_t kMinBlock = 1;
constexpr int32_t kMaxBlock = 65536;
