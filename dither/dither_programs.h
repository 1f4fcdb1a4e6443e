// The plug-in's parameters and programs as plain values, in actual (not
// normalised) units: the plug-in defines its parameters' defaults and its
// programs from them, and the file tool reads the programs without building
// a plug-in.
#pragma once

// Parameter indices.
enum DitherParam : int {
  kParamDither = 0,
  kParamShaping = 1,  // "psychoacoustic power": the shaping order, 0 is off
  kParamTargetBits = 2,
  kParamShowGraph = 3,
  kDitherParamCount = 4,
};

struct DitherProgram {
  const char* name;
  double dither;     // 0 or 1
  double shaping;    // 0 (off) .. 12
  double bits;       // 6 .. 32
  double showGraph;  // 0 or 1
};

// Every parameter's default, which the "Default" program and the empty
// programs hold.
constexpr DitherProgram DefaultProgram(const char* name) { return {name, 0.0, 9.0, 16.0, 1.0}; }

constexpr DitherProgram kDitherPrograms[] = {
    DefaultProgram("Default"),
    {"CD render (hard)", 0.0, 9.0, 16.0, 1.0},
    {"CD render (soft)", 1.0, 9.0, 16.0, 1.0},
    DefaultProgram("-"),
    DefaultProgram("-"),
    DefaultProgram("-"),
    DefaultProgram("-"),
    DefaultProgram("-"),
};
constexpr int kDitherProgramCount = sizeof kDitherPrograms / sizeof kDitherPrograms[0];
