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

class Parser {
 public:
  Parser(const std::vector<ProgramEntry>& programs, ToolOptions& options, std::string& error)
      : programs(programs), options(options), error(error) {}

  ParseOutcome Run(int argc, const char* const* argv);

 private:
  // The option's value from "--name=value" or the next argument.
  bool TakeValue(const std::string& name, const std::string& inlineValue, bool hasInline, int argc,
                 const char* const* argv, int& i, std::string& value);
  bool Apply(const std::string& name, const std::string& value);
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

bool IsFlag(const std::string& name) {
  return name == "-y" || name == "-q" || name == "--float" || name == "--help" || name == "-h" ||
         name == "--version" || name == "--strip-metadata";
}

bool TakesValue(const std::string& name) {
  for (const char* known : {"--bits", "--dither", "--power", "--program", "--block", "--seed", "-o",
                            "--output", "--outdir", "--plot", "--format"}) {
    if (name == known) return true;
  }
  return false;
}

bool Parser::TakeValue(const std::string& name, const std::string& inlineValue, bool hasInline,
                       int argc, const char* const* argv, int& i, std::string& value) {
  if (hasInline) {
    value = inlineValue;
    return true;
  }
  if (i + 1 >= argc) return Fail(name + " needs a value");
  value = argv[++i];
  return true;
}

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

bool Parser::Apply(const std::string& name, const std::string& value) {
  long long number;
  if (name == "--bits") {
    if (!ParseInteger(value, kMinBits, kMaxBits, number)) {
      return Fail("--bits must be a whole number from 6 to 32, not \"" + value + "\"");
    }
    explicitSettings.bits = static_cast<int>(number);
    given.bits = true;
  } else if (name == "--dither") {
    if (!SameText(value, "on") && !SameText(value, "off")) {
      return Fail("--dither must be on or off, not \"" + value + "\"");
    }
    explicitSettings.dither = SameText(value, "on");
    given.dither = true;
  } else if (name == "--power") {
    if (SameText(value, "off")) {
      number = 0;
    } else if (!ParseInteger(value, 0, kMaxPower, number)) {
      return Fail("--power must be off or a whole number from 1 to 12, not \"" + value + "\"");
    }
    explicitSettings.power = static_cast<int>(number);
    given.power = true;
  } else if (name == "--program") {
    return SelectProgram(value);
  } else if (name == "--block") {
    if (!ParseInteger(value, kMinBlock, kMaxBlock, number)) {
      return Fail("--block must be a whole number from 1 to 65536, not \"" + value + "\"");
    }
    options.block = static_cast<int32_t>(number);
  } else if (name == "--seed") {
    if (!ParseInteger(value, 0, UINT32_MAX, number)) {
      return Fail("--seed must be a whole number from 0 to 4294967295, not \"" + value + "\"");
    }
    options.seed = static_cast<uint32_t>(number);
    options.seedGiven = true;
  } else if (name == "-o" || name == "--output") {
    if (value.empty()) return Fail("-o needs a file name");
    options.output = value;
    outputGiven = true;
  } else if (name == "--outdir") {
    if (value.empty()) return Fail("--outdir needs a folder");
    options.outdir = value;
    outdirGiven = true;
  } else if (name == "--format") {
    std::string extension = value;
    if (!extension.empty() && extension[0] == '.') extension.erase(0, 1);
    if (extension.empty() || extension.find('/') != std::string::npos) {
      return Fail("--format needs an extension, such as flac or wav");
    }
    options.format = extension;
  } else {  // --plot
    const size_t dot = value.rfind('.');
    if (value.empty() || dot == std::string::npos || !SameText(value.substr(dot), ".png") ||
        value.back() == '/') {
      return Fail("--plot writes a PNG picture: give a name ending in .png, not \"" + value + "\"");
    }
    options.plot = value;
  }
  return true;
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
    if (argument == "--help" || argument == "-h") return ParseOutcome::kHelp;
    if (argument == "--version") return ParseOutcome::kVersion;
    if (argument == "-y") {
      options.overwrite = true;
      continue;
    }
    if (argument == "-q") {
      options.quiet = true;
      continue;
    }
    if (argument == "--float") {
      options.floatOutput = true;
      continue;
    }
    if (argument == "--strip-metadata") {
      options.stripMetadata = true;
      continue;
    }
    const size_t equals = argument.find('=');
    const bool hasInline = equals != std::string::npos && argument.compare(0, 2, "--") == 0;
    const std::string name = hasInline ? argument.substr(0, equals) : argument;
    if (!TakesValue(name)) {
      error = IsFlag(name) ? name + " takes no value" : "unknown option " + name + " (see --help)";
      return ParseOutcome::kError;
    }
    std::string value;
    const std::string inlineValue = hasInline ? argument.substr(equals + 1) : std::string();
    if (!TakeValue(name, inlineValue, hasInline, argc, argv, i, value) || !Apply(name, value)) {
      return ParseOutcome::kError;
    }
  }
  if (given.dither) options.settings.dither = explicitSettings.dither;
  if (given.power) options.settings.power = explicitSettings.power;
  if (given.bits) options.settings.bits = explicitSettings.bits;
  return Check() ? ParseOutcome::kRun : ParseOutcome::kError;
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
      "options:\n"
      "  --bits N            target word length, 6 to 32 (default 16)\n"
      "  --dither on|off     triangular dither before rounding\n"
      "  --power off|1..12   psychoacoustic power: the noise shaper's order (off above 96 kHz)\n"
      "  --program NAME|N    start from one of the plug-in's programs (default \"CD render\n"
      "                      (soft)\": dither on, power 9, 16 bits); --bits, --dither and\n"
      "                      --power then change single values\n"
      "  --block N           block size, 1 to 65536 (default 512); the shaping filter is\n"
      "                      designed for it, so the result depends on it as in a host\n"
      "  --seed N            seed for the dither, 0 to 4294967295: the same seed gives the\n"
      "                      same file (without it a fresh seed is drawn and reported)\n"
      "  --float             write floats on the target grid instead of integers\n"
      "  -o OUTPUT           the output file (single input)\n"
      "  --outdir DIR        write each output into DIR under its input's name\n"
      "  -y                  overwrite existing outputs\n"
      "  -q                  quiet: no report lines and no progress\n"
      "  --format EXT        write every output in this format (wav, flac, aiff, w64,\n"
      "                      caf): --outdir gives each output this extension\n"
      "  --strip-metadata    write no tags, markers, broadcast data or channel layout\n"
      "  --plot FILE.png     draw the input and error spectra (single input)\n"
      "  --help, --version\n"
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
      "programs:\n";
  for (const ProgramEntry& program : programs) {
    text += "  " + std::to_string(program.number) + "  " + program.name + ": " +
            DescribeSettings(program.settings, true) + "\n";
  }
  return text;
}
