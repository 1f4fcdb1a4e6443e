// The command line of quorvane: options in user units, each range-checked.
//
//   quorvane [options] INPUT -o OUTPUT
//   quorvane [options] INPUT... --outdir DIR
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/quorvane/settings.h"

// libsoxr's recipes that --rate-quality offers: very high (28-bit
// precision), high (20-bit) and medium (16-bit, a wider roll-off).
enum class RateQuality { kVeryHigh, kHigh, kMedium };

struct ToolOptions {
  DitherSettings settings;  // the program's values, then any explicit option
  std::string program;      // name of the program the settings started from
  int32_t block = 512;      // frames per engine call: the shaping filter's design size
  bool seedGiven = false;   // --seed: reproducible dither
  uint32_t seed = 0;
  int rate = 0;  // --rate: the output's sample rate; 0 keeps the input's
  RateQuality rateQuality = RateQuality::kVeryHigh;
  bool autoBlank = false;      // --auto-blank: digital silence in, digital silence out
  bool floatOutput = false;    // floats on the target grid instead of integers
  bool overwrite = false;      // -y
  bool quiet = false;          // -q
  bool stripMetadata = false;  // --strip-metadata: no tags, markers or layout in the outputs
  std::string format;          // --format EXT: every output's format, empty for its own name's
  std::string plot;            // --plot FILE.png, empty for none
  std::vector<std::string> inputs;
  std::string output;  // -o, for a single input
  std::string outdir;  // --outdir, for any number of inputs
};

enum class ParseOutcome {
  kRun,      // options complete and valid
  kHelp,     // --help: print HelpText on stdout, exit 0
  kVersion,  // --version
  kError,    // `error` says what is wrong
};

// The name of the program used when none is asked for.
extern const char* const kDefaultProgram;

// Parses argv[1 .. argc) against the plug-in's programs. Options may come in
// any order, as "--name VALUE" or "--name=VALUE"; "--" ends them. An explicit
// --dither, --power or --bits wins over the program's value whatever the
// order. On kError, `error` holds one line for the user.
[[nodiscard]] ParseOutcome ParseOptions(int argc, const char* const* argv,
                                        const std::vector<ProgramEntry>& programs,
                                        ToolOptions& options, std::string& error);

// The --help text, listing the programs.
std::string HelpText(const std::vector<ProgramEntry>& programs);

// "16 bits, dither on, power 9": the settings as the report shows them.
// `shapingActive` false says that the rate switched shaping off.
std::string DescribeSettings(const DitherSettings& settings, bool shapingActive);
