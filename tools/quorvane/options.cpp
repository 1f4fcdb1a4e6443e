#include "tools/quorvane/options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <cstring>
#include <strings.h>

const char* const kDefaultProgram = "CD render (soft)";

namespace {

// A whole decimal integer within [low, high]; nothing else may follow it.
bool ParseInteger(const std::string& text, long long low, long long high, long long& value) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
  errno = 0;
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool SameText(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

// Which settings the command line gives explicitly.
struct Explicit {
  bool dither = false;
  bool power = false;
  bool bits = false;
};

enum class Option {
  kBits,
  kDither,
  kPower,
  kProgram,
  kBlock,
  kSeed,
  kRate,
  kRateQuality,
  kAutoBlank,
  kFloat,
  kOutput,
  kOutdir,
  kFormat,
  kStripMetadata,
  kOverwrite,
  kQuiet,
  kPlot,
  kHelp,
  kVersion,
};

// Every option, once: its names, the value it takes (null for none) and its
// help, lines after the first indented under it. Parsing, its errors and the
// help text all read this table.
struct KnownOption {
  Option id;
  const char* name;
  const char* alias;  // another name, or null
  const char* value;  // how the help names the value; null for a flag
  const char* help;
};

constexpr KnownOption kOptions[] = {
    {Option::kBits, "--bits", nullptr, "N", "target word length, 6 to 32 (default 16)"},
    {Option::kDither, "--dither", nullptr, "on|off", "triangular dither before rounding"},
    {Option::kPower, "--power", nullptr, "off|1..12",
     "psychoacoustic power: the noise shaper's order (off above 96 kHz)"},
    {Option::kProgram, "--program", nullptr, "NAME|N",
     "start from one of the plug-in's programs (default \"CD render\n"
     "(soft)\": dither on, power 9, 16 bits); --bits, --dither and\n"
     "--power then change single values"},
    {Option::kBlock, "--block", nullptr, "N",
     "block size, 1 to 65536 (default 512); the shaping filter is\n"
     "designed for it, so the result depends on it as in a host"},
    {Option::kSeed, "--seed", nullptr, "N",
     "seed for the dither, 0 to 4294967295: the same seed gives the\n"
     "same file (without it a fresh seed is drawn and reported);\n"
     "in a batch each file gets a seed of its own from it, printed\n"
     "on its report line"},
    {Option::kRate, "--rate", nullptr, "HZ",
     "convert to this sample rate first (libsoxr: very high\n"
     "quality, linear phase); the shaping is made for the new rate"},
    {Option::kRateQuality, "--rate-quality", nullptr, "Q",
     "the converter's precision: very-high (28 bits, the default),\n"
     "high (20 bits) or medium (16 bits)"},
    {Option::kAutoBlank, "--auto-blank", nullptr, nullptr,
     "digital silence stays digital silence: where every channel\n"
     "of a pair is exactly zero for 10 ms or more, so is the output"},
    {Option::kFloat, "--float", nullptr, nullptr,
     "write floats on the target grid instead of integers"},
    {Option::kOutput, "-o", "--output", "OUTPUT", "the output file (single input)"},
    {Option::kOutdir, "--outdir", nullptr, "DIR",
     "write each output into DIR (made when missing) under its\ninput's name"},
    {Option::kFormat, "--format", nullptr, "EXT",
     "write every output in this format (wav, flac, aiff, w64,\n"
     "caf): --outdir gives each output this extension"},
    {Option::kStripMetadata, "--strip-metadata", nullptr, nullptr,
     "write no tags, markers, broadcast data or channel layout"},
    {Option::kOverwrite, "-y", nullptr, nullptr, "overwrite existing outputs"},
    {Option::kQuiet, "-q", nullptr, nullptr, "quiet: no report lines and no progress"},
    {Option::kPlot, "--plot", nullptr, "FILE.png",
     "draw the input and error spectra (single input)"},
    {Option::kHelp, "--help", "-h", nullptr, "this text"},
    {Option::kVersion, "--version", nullptr, nullptr, "the version"},
};

const KnownOption* FindOption(const std::string& name) {
  for (const KnownOption& known : kOptions) {
    if (name == known.name || (known.alias && name == known.alias)) return &known;
  }
  return nullptr;
}

class Parser {
 public:
  Parser(const std::vector<ProgramEntry>& programs, ToolOptions& options, std::string& error)
      : programs(programs), options(options), error(error) {}

  ParseOutcome Run(int argc, const char* const* argv);

 private:
  bool Apply(Option id, const std::string& name, const std::string& value);
  bool SelectProgram(const std::string& value);
  bool Fail(const std::string& message) {
    error = message;
    return false;
  }
  bool Check();

  const std::vector<ProgramEntry>& programs;
  ToolOptions& options;
  std::string& error;
  Explicit given;
  DitherSettings explicitSettings;
  bool outputGiven = false;
  bool outdirGiven = false;
};

bool Parser::SelectProgram(const std::string& value) {
  long long number;
  for (const ProgramEntry& program : programs) {
    const bool byNumber = ParseInteger(value, 0, 1000, number) && number == program.number;
    if (byNumber || SameText(value, program.name.c_str())) {
      options.settings = program.settings;
      options.program = program.name;
      return true;
    }
  }
  return Fail("unknown program \"" + value + "\" (see --help for the list)");
}

bool Parser::Apply(Option id, const std::string& name, const std::string& value) {
  long long number;
  switch (id) {
    case Option::kBits:
      if (!ParseInteger(value, kMinBits, kMaxBits, number)) {
        return Fail("--bits must be a whole number from 6 to 32, not \"" + value + "\"");
      }
      explicitSettings.bits = static_cast<int>(number);
      given.bits = true;
      return true;
    case Option::kDither:
      if (!SameText(value, "on") && !SameText(value, "off")) {
        return Fail("--dither must be on or off, not \"" + value + "\"");
      }
      explicitSettings.dither = SameText(value, "on");
      given.dither = true;
      return true;
    case Option::kPower:
      if (SameText(value, "off")) {
        number = 0;
      } else if (!ParseInteger(value, 0, kMaxPower, number)) {
        return Fail("--power must be off or a whole number from 1 to 12, not \"" + value + "\"");
      }
      explicitSettings.power = static_cast<int>(number);
      given.power = true;
      return true;
    case Option::kProgram: return SelectProgram(value);
    case Option::kBlock:
      if (!ParseInteger(value, kMinBlock, kMaxBlock, number)) {
        return Fail("--block must be a whole number from 1 to 65536, not \"" + value + "\"");
      }
      options.block = static_cast<int32_t>(number);
      return true;
    case Option::kSeed:
      if (!ParseInteger(value, 0, UINT32_MAX, number)) {
        return Fail("--seed must be a whole number from 0 to 4294967295, not \"" + value + "\"");
      }
      options.seed = static_cast<uint32_t>(number);
      options.seedGiven = true;
      return true;
    case Option::kRate:
      if (!ParseInteger(value, 1, 10000000, number)) {
        return Fail("--rate must be a whole number of hertz from 1 to 10000000, not \"" + value +
                    "\"");
      }
      options.rate = static_cast<int>(number);
      return true;
    case Option::kRateQuality:
      if (SameText(value, "very-high")) {
        options.rateQuality = RateQuality::kVeryHigh;
      } else if (SameText(value, "high")) {
        options.rateQuality = RateQuality::kHigh;
      } else if (SameText(value, "medium")) {
        options.rateQuality = RateQuality::kMedium;
      } else {
        return Fail("--rate-quality must be very-high, high or medium, not \"" + value + "\"");
      }
      return true;
    case Option::kOutput:
      if (value.empty()) return Fail("-o needs a file name");
      options.output = value;
      outputGiven = true;
      return true;
    case Option::kOutdir:
      if (value.empty()) return Fail("--outdir needs a folder");
      options.outdir = value;
      outdirGiven = true;
      return true;
    case Option::kFormat: {
      std::string extension = value;
      if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
      if (extension.empty() || extension.find('/') != std::string::npos) {
        return Fail("--format needs an extension, such as flac or wav");
      }
      options.format = extension;
      return true;
    }
    case Option::kPlot: {
      const size_t dot = value.rfind('.');
      if (value.empty() || dot == std::string::npos || !SameText(value.substr(dot), ".png") ||
          value.back() == '/') {
        return Fail("--plot writes a PNG picture: give a name ending in .png, not \"" + value +
                    "\"");
      }
      options.plot = value;
      return true;
    }
    case Option::kFloat: options.floatOutput = true; return true;
    case Option::kAutoBlank: options.autoBlank = true; return true;
    case Option::kStripMetadata: options.stripMetadata = true; return true;
    case Option::kOverwrite: options.overwrite = true; return true;
    case Option::kQuiet: options.quiet = true; return true;
    case Option::kHelp:
    case Option::kVersion: return true;
  }
  return Fail("unknown option " + name);
}

bool Parser::Check() {
  if (options.inputs.empty()) return Fail("no input file (see --help)");
  if (outputGiven == outdirGiven) return Fail("give either -o OUTPUT or --outdir DIR");
  if (outputGiven && options.inputs.size() > 1) {
    return Fail("-o takes a single input; use --outdir DIR for several");
  }
  if (!options.plot.empty() && options.inputs.size() > 1) {
    return Fail("--plot takes a single input");
  }
  return true;
}

ParseOutcome Parser::Run(int argc, const char* const* argv) {
  if (!SelectProgram(kDefaultProgram)) return ParseOutcome::kError;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
      options.inputs.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    // "--name=value" or "--name value"; flags take none.
    const size_t equals = argument.find('=');
    const bool hasInline = equals != std::string::npos && argument.compare(0, 2, "--") == 0;
    const std::string name = hasInline ? argument.substr(0, equals) : argument;
    const KnownOption* known = FindOption(name);
    if (known == nullptr) {
      error = "unknown option " + name + " (see --help)";
      return ParseOutcome::kError;
    }
    if (known->id == Option::kHelp) return ParseOutcome::kHelp;
    if (known->id == Option::kVersion) return ParseOutcome::kVersion;
    std::string value;
    if (known->value == nullptr && hasInline) {
      error = name + " takes no value";
      return ParseOutcome::kError;
    }
    if (known->value != nullptr) {
      if (hasInline) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < argc) {
        value = argv[++i];
      } else {
        error = name + " needs a value";
        return ParseOutcome::kError;
      }
    }
    if (!Apply(known->id, name, value)) return ParseOutcome::kError;
  }
  if (given.dither) options.settings.dither = explicitSettings.dither;
  if (given.power) options.settings.power = explicitSettings.power;
  if (given.bits) options.settings.bits = explicitSettings.bits;
  return Check() ? ParseOutcome::kRun : ParseOutcome::kError;
}

// The options' lines of the help: names and value in a column of 20, the
// help beside them.
std::string OptionsHelp() {
  std::string text;
  for (const KnownOption& known : kOptions) {
    std::string names = known.name;
    if (known.alias) names += std::string(", ") + known.alias;
    if (known.value) names += std::string(" ") + known.value;
    std::string line = "  " + names;
    line += line.size() < 22 ? std::string(22 - line.size(), ' ') : std::string(" ");
    for (const char* c = known.help; *c != '\0'; ++c) {
      line += *c;
      if (*c == '\n') line += std::string(22, ' ');
    }
    text += line + "\n";
  }
  return text;
}

}  // namespace

ParseOutcome ParseOptions(int argc, const char* const* argv,
                          const std::vector<ProgramEntry>& programs, ToolOptions& options,
                          std::string& error) {
  options = ToolOptions();
  error.clear();
  return Parser(programs, options, error).Run(argc, argv);
}

std::string DescribeSettings(const DitherSettings& settings, bool shapingActive) {
  std::string text = std::to_string(settings.bits) + " bits, dither ";
  text += settings.dither ? "on" : "off";
  text += ", power ";
  if (settings.power == 0) {
    text += "off";
  } else {
    text += std::to_string(settings.power);
    if (!shapingActive) text += " (off above 96 kHz)";
  }
  return text;
}

std::string HelpText(const std::vector<ProgramEntry>& programs) {
  std::string text =
      "usage: quorvane [options] INPUT -o OUTPUT\n"
      "       quorvane [options] INPUT... --outdir DIR\n"
      "\n"
      "Requantises audio files to a shorter word length with Quorvane's dither and\n"
      "psychoacoustic noise shaping, the same engine as the plug-in.\n"
      "\n"
      "options:\n" +
      OptionsHelp() +
      "\n"
      "Formats follow the output's extension: .wav .flac .aif .aiff .w64 .caf.\n"
      "A WAV that outgrows 4 GiB is written as RF64. The input's metadata is kept\n"
      "where the output format can hold it: tags, broadcast (bext) data with a line\n"
      "of coding history for this run, cue points, loops and the channel layout;\n"
      "the report says what could not be kept.\n"
      "Integers are written in the smallest container that holds the target bits\n"
      "(16, 24 or 32 bits; FLAC at most 24); --float writes 32-bit floats, or 64-bit\n"
      "above 24 bits. Every channel is kept, in pairs (1,2), (3,4)... each through\n"
      "its own engine; a last odd channel is processed alone.\n"
      "\n"
      "The report's ear-weighted error level weighs the error spectrum with the\n"
      "plug-in's own psychoacoustic weighting curve, the one the shaper follows.\n"
      "\n"
      "delivery, from a master exported without the DAW's own dither (as float or\n"
      "24 bits at the session's rate):\n"
      "  CD, 44.1 kHz 16 bits:      quorvane --rate 44100 master.wav -o cd.wav\n"
      "  video, 48 kHz 24 bits:     quorvane --rate 48000 --bits 24 --power off \\\n"
      "                               master.wav -o video.wav\n"
      "  (at 24 bits the plain dither lies far below anything audible: shaping\n"
      "  adds nothing there)\n"
      "\n"
      "programs:\n";
  for (const ProgramEntry& program : programs) {
    text += "  " + std::to_string(program.number) + "  " + program.name + ": " +
            DescribeSettings(program.settings, true) + "\n";
  }
  return text;
}
