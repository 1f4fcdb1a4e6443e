#include "tools/quorvane/pair_engine.h"

#include "dither/dither_programs.h"

PairEngine::PairEngine(int channels, double rate, int32_t block, const DitherSettings& settings,
                       uint32_t seed)
    : channels(channels), power(settings.power) {
  // The tool shows no display: the requantiser keeps no averages for one.
  engine.Core().KeepAverages(false);
  // A host passes the rate in single precision; the filter design sees it so.
  engine.Configure(static_cast<float>(rate), block, settings.bits, settings.dither, settings.power);
  engine.Core().Random().SeedState(seed);
  engine.Core().Random().Regenerate();
}

void PairEngine::Process(double* const* inputs, double* const* outputs, int32_t frames) {
  engine.Core().ProcessBlock(const_cast<double**>(inputs), const_cast<double**>(outputs), channels,
                             frames);
}

bool PairEngine::ShapingActive() const { return engine.Core().ShapingOrder() > 0 || power < 1; }

std::vector<ProgramEntry> PairEngine::Programs() {
  std::vector<ProgramEntry> programs;
  for (int i = 0; i < kDitherProgramCount; ++i) {
    const DitherProgram& program = kDitherPrograms[i];
    DitherSettings settings;
    settings.dither = program.dither >= 0.5;
    settings.power = static_cast<int>(program.shaping);
    settings.bits = static_cast<int>(program.bits);
    programs.push_back({i, program.name, settings});
  }
  return programs;
}
