#include <cstdio>

#include "vst2/dispatcher.h"
#include "tools/qvhost/vst2/dispatch_script.h"
#include "tools/qvhost/vst2/queries.h"
#include "tools/qvhost/report.h"

namespace {

constexpr int32_t kTargetBitsParam = 2;  // changed in one program, expected back in it

void SetProgram(LoadedPlugin& plugin, intptr_t program) {
  std::printf("effSetProgram value %s -> %s\n", FormatAnswer(program).c_str(),
              FormatAnswer(plugin.Dispatch(effSetProgram, 0, program)).c_str());
  PrintAnswer("effGetProgram", plugin.Dispatch(effGetProgram));
  PrintTextQuery(plugin, "effGetProgramName", effGetProgramName, 0, kProgramNameBytes);
}

void RenameProgram(LoadedPlugin& plugin, const char* name) {
  std::printf(
      "effSetProgramName %s -> %s\n", QuoteText(name).c_str(),
      FormatAnswer(plugin.Dispatch(effSetProgramName, 0, 0, const_cast<char*>(name))).c_str());
  PrintTextQuery(plugin, "effGetProgramName", effGetProgramName, 0, kProgramNameBytes);
}

void PrintAllValues(LoadedPlugin& plugin) {
  for (int32_t i = 0; i < plugin.Record().numParams; ++i) PrintGetParameter(plugin, i);
}

void PrintProgramNames(LoadedPlugin& plugin) {
  for (int32_t i = -1; i <= plugin.Record().numPrograms; ++i) {
    PrintTextQuery(plugin, "effGetProgramNameIndexed", effGetProgramNameIndexed, i,
                   kProgramNameBytes);
  }
}

}  // namespace

void RunProgramScript(LoadedPlugin& plugin) {
  PrintProgramNames(plugin);
  SetProgram(plugin, plugin.Record().numPrograms);
  SetProgram(plugin, -1);
  RenameProgram(plugin, "qvhost renamed");
  EffectRecord& record = plugin.Record();
  record.setParameter(&record, kTargetBitsParam, 0.5f);
  std::printf("setParameter index %d value 0.5\n", kTargetBitsParam);
  for (intptr_t program : {1, 2, 0}) {
    SetProgram(plugin, program);
    PrintAllValues(plugin);
  }
  PrintProgramNames(plugin);
  RenameProgram(plugin, "a program name longer than any buffer a host offers for it");
  PrintProgramNames(plugin);
}
