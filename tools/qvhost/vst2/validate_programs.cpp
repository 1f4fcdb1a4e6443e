// Programs selected in a seeded random order with edits in between: each
// program must come back with the values and the name it had when it was
// left, and the current program must be the one selected last.
#include <array>
#include <random>
#include <string>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/queries.h"
#include "tools/qvhost/vst2/validate_host.h"

namespace {

constexpr int32_t kPrograms = 8;

// What a host sees of the current program.
struct ProgramView {
  std::string name;
  std::array<float, kParamCount> values;
  std::array<std::string, kParamCount> texts;

  bool operator==(const ProgramView& other) const {
    return name == other.name && values == other.values && texts == other.texts;
  }
};

ProgramView ReadCurrent(LoadedPlugin& plugin, Findings& textFaults) {
  ProgramView view;
  const auto current = static_cast<int32_t>(plugin.Dispatch(effGetProgram));
  view.name = TextAnswer(plugin, effGetProgramNameIndexed, current, kProgramNameBytes, textFaults);
  for (int32_t i = 0; i < kParamCount; ++i) {
    view.values[i] = GetParam(plugin, i);
    view.texts[i] = ParamDisplay(plugin, i, textFaults);
  }
  return view;
}

std::string Describe(const ProgramView& view) {
  std::string text = "\"" + view.name + "\"";
  for (int32_t i = 0; i < kParamCount; ++i) {
    text += Format(" %.9g (%s)", view.values[i], view.texts[i].c_str());
  }
  return text;
}

struct ProgramFindings {
  Findings values;   // a program came back with other values
  Findings names;    // a program came back with another name
  Findings current;  // effGetProgram is not the program selected last
  Findings refused;  // an out-of-range selection was taken or changed something
  Findings texts;    // a text written past its buffer
};

void Select(LoadedPlugin& plugin, int32_t program, const ProgramView& expected, int step,
            ProgramFindings& found) {
  if (plugin.Dispatch(effSetProgram, 0, program) != 1) {
    found.current.Add(Format("step %d: program %d refused", step, program));
  }
  if (plugin.Dispatch(effGetProgram) != program) {
    found.current.Add(Format("step %d: current program is not %d", step, program));
  }
  const ProgramView seen = ReadCurrent(plugin, found.texts);
  if (seen.values != expected.values || seen.texts != expected.texts) {
    found.values.Add(Format("step %d, program %d: expected %s, got %s", step, program,
                            Describe(expected).c_str(), Describe(seen).c_str()));
  }
  const std::string current =
      TextAnswer(plugin, effGetProgramName, 0, kProgramNameBytes, found.texts);
  if (seen.name != expected.name || current != expected.name) {
    found.names.Add(Format("step %d, program %d: expected \"%s\", got \"%s\" and current \"%s\"",
                           step, program, expected.name.c_str(), seen.name.c_str(),
                           current.c_str()));
  }
}

// Selections no program answers to must change nothing.
void SelectOutOfRange(LoadedPlugin& plugin, int32_t current, const ProgramView& expected, int step,
                      ProgramFindings& found) {
  for (intptr_t program : {intptr_t{kPrograms}, intptr_t{-1}, intptr_t{0x7fffffff}}) {
    const intptr_t answer = plugin.Dispatch(effSetProgram, 0, program);
    if (answer != 0 || plugin.Dispatch(effGetProgram) != current ||
        !(ReadCurrent(plugin, found.texts) == expected)) {
      found.refused.Add(Format("step %d: selecting %lld answered %lld or changed program %d", step,
                               static_cast<long long>(program), static_cast<long long>(answer),
                               current));
    }
  }
}

// An edit of the current program: a parameter set, or a new name.
void Edit(LoadedPlugin& plugin, std::mt19937& random, int step, ProgramView& view,
          ProgramFindings& found) {
  if (random() % 4 != 0) {
    SetParam(plugin, static_cast<int32_t>(random() % kParamCount), RandomNormalised(random));
    view = ReadCurrent(plugin, found.texts);
    return;
  }
  std::string name = Format("edit %d", step);
  plugin.Dispatch(effSetProgramName, 0, 0, &name[0]);
  view.name = name;
}

}  // namespace

void ValidatePrograms(const ValidateOptions& options, ValidationLog& log) {
  LoadedPlugin plugin;
  if (!log.Check(plugin.Load(options.library), "plug-in loads for the program checks")) return;
  StartAudio(plugin, 44100.0f, 512);
  ProgramFindings found;
  std::array<ProgramView, kPrograms> views;
  for (int32_t p = 0; p < kPrograms; ++p) {
    plugin.Dispatch(effSetProgram, 0, p);
    views[p] = ReadCurrent(plugin, found.texts);
  }
  std::mt19937 random(options.seed);
  const int steps = options.quick ? 100 : 500;
  for (int step = 0; step < steps; ++step) {
    const auto program = static_cast<int32_t>(random() % kPrograms);
    Select(plugin, program, views[program], step, found);
    if (step % 10 == 0) SelectOutOfRange(plugin, program, views[program], step, found);
    Edit(plugin, random, step, views[program], found);
  }
  const std::string order = Format("%d programs in random order (seed %u), %d selections",
                                   kPrograms, options.seed, steps);
  log.Check(found.values, order + ": each comes back with the edits made in it");
  log.Check(found.names, order + ": each keeps the name given in it");
  log.Check(found.current, order + ": the current program is the one selected");
  log.Check(found.refused, "selecting program 8, -1 or 0x7fffffff is refused and changes nothing");
  log.Check(found.texts, "program names and parameter texts stay inside their buffers");
}
