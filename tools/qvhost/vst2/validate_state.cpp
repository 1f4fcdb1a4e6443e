// The state a host keeps for this plug-in (it offers no chunk): the four
// normalised values and the program number. Read, disturbed and written back
// in the host's order (program first, then the values), it must give the
// same values and the same display texts, in the same instance and in a
// freshly loaded one, as when a project is reopened.
#include <array>
#include <random>
#include <string>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/validate_host.h"

namespace {

struct HostState {
  int32_t program = 0;
  std::array<float, kParamCount> values{};
  std::array<std::string, kParamCount> texts;
};

HostState Save(LoadedPlugin& plugin, Findings& findings) {
  HostState state;
  state.program = static_cast<int32_t>(plugin.Dispatch(effGetProgram));
  for (int32_t i = 0; i < kParamCount; ++i) {
    state.values[i] = GetParam(plugin, i);
    state.texts[i] = ParamDisplay(plugin, i, findings);
  }
  return state;
}

void Restore(LoadedPlugin& plugin, const HostState& state) {
  plugin.Dispatch(effSetProgram, 0, state.program);
  for (int32_t i = 0; i < kParamCount; ++i) SetParam(plugin, i, state.values[i]);
}

// Another program and other values.
void Disturb(LoadedPlugin& plugin, std::mt19937& random) {
  plugin.Dispatch(effSetProgram, 0, static_cast<intptr_t>(random() % 8));
  for (int32_t i = 0; i < kParamCount; ++i) SetParam(plugin, i, RandomNormalised(random));
}

void Compare(const HostState& saved, const HostState& now, const char* where, int round,
             Findings& findings) {
  for (int32_t i = 0; i < kParamCount; ++i) {
    if (now.values[i] != saved.values[i] || now.texts[i] != saved.texts[i]) {
      findings.Add(Format("round %d, %s: parameter %d saved %.9g \"%s\", restored %.9g \"%s\"",
                          round, where, i, saved.values[i], saved.texts[i].c_str(), now.values[i],
                          now.texts[i].c_str()));
    }
  }
  if (now.program != saved.program) {
    findings.Add(Format("round %d, %s: program %d saved, %d restored", round, where, saved.program,
                        now.program));
  }
}

}  // namespace

void ValidateSavedState(const ValidateOptions& options, ValidationLog& log) {
  LoadedPlugin plugin;
  LoadedPlugin reopened;
  if (!log.Check(plugin.Load(options.library) && reopened.Load(options.library),
                 "plug-in loads twice for the saved-state checks")) {
    return;
  }
  StartAudio(plugin, 44100.0f, 512);
  StartAudio(reopened, 44100.0f, 512);
  std::mt19937 random(options.seed + 1);
  Findings findings;
  const int rounds = options.quick ? 30 : 200;
  for (int round = 0; round < rounds; ++round) {
    Disturb(plugin, random);
    const HostState saved = Save(plugin, findings);
    Disturb(plugin, random);
    Restore(plugin, saved);
    Compare(saved, Save(plugin, findings), "same instance", round, findings);
    Disturb(reopened, random);
    Restore(reopened, saved);
    Compare(saved, Save(reopened, findings), "second instance", round, findings);
  }
  log.Check(findings, Format("%d saved host states (4 values, program) restore the same values "
                             "and display texts",
                             rounds));
}
