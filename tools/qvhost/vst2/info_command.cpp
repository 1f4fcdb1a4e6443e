// `qvhost info LIB`: the effect record, the names, every parameter and
// program, and the plug-in's answers to a host's usual questions.
#include <cstdio>
#include <cstring>

#include "vst2/dispatcher.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/vst2/host_callback.h"
#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/vst2/queries.h"
#include "tools/qvhost/report.h"

namespace {

// Addresses differ from run to run and between builds; only their presence is printed.
template <typename Pointer>
const char* SetOrNull(Pointer pointer) {
  return pointer ? "set" : "null";
}

void PrintFlags(int32_t flags) {
  std::printf("record flags 0x%08x", static_cast<unsigned>(flags));
  const struct {
    int32_t bit;
    const char* name;
  } names[] = {{kFlagHasEditor, "hasEditor"},
               {kFlagCanMono, "canMono"},
               {kFlagCanReplacing, "canReplacing"},
               {kFlagProgramChunks, "programChunks"},
               {kFlagCanDoubleReplacing, "canDoubleReplacing"}};
  for (const auto& n : names) {
    if (flags & n.bit) std::printf(" %s", n.name);
  }
  std::printf("\n");
}

void PrintRecord(const EffectRecord& r) {
  std::printf("record magic 0x%08x\n", static_cast<unsigned>(r.magic));
  PrintFlags(r.flags);
  std::printf("record numPrograms %d numParams %d numInputs %d numOutputs %d\n", r.numPrograms,
              r.numParams, r.numInputs, r.numOutputs);
  std::printf("record initialDelay %d realQualities %d offQualities %d\n", r.initialDelay,
              r.realQualities, r.offQualities);
  std::printf("record ioRatio %s\n", FormatFloat(r.ioRatio).c_str());
  std::printf("record uniqueID 0x%08x version %d\n", static_cast<unsigned>(r.uniqueID), r.version);
  std::printf("record reserved %s %s object %s user %s\n", FormatAnswer(r.reserved1).c_str(),
              FormatAnswer(r.reserved2).c_str(), SetOrNull(r.object), SetOrNull(r.user));
  std::printf("record dispatcher %s processAccumulating %s setParameter %s getParameter %s\n",
              SetOrNull(r.dispatcher), SetOrNull(r.processAccumulating), SetOrNull(r.setParameter),
              SetOrNull(r.getParameter));
  std::printf("record processReplacing %s processDoubleReplacing %s\n",
              SetOrNull(r.processReplacing), SetOrNull(r.processDoubleReplacing));
  size_t nonZero = 0;
  for (char byte : r.future) nonZero += byte != 0;
  std::printf("record future bytes non-zero %zu\n", nonZero);
  // The one line that differs between 32-bit and 64-bit builds.
  std::printf("record size %zu\n", sizeof(EffectRecord));
}

void PrintNamesAndAnswers(LoadedPlugin& plugin) {
  PrintTextQuery(plugin, "effGetEffectName", effGetEffectName, 0, kNameBytes);
  PrintTextQuery(plugin, "effGetVendorString", effGetVendorString, 0, kNameBytes);
  PrintTextQuery(plugin, "effGetProductString", effGetProductString, 0, kNameBytes);
  PrintAnswer("effGetVstVersion", plugin.Dispatch(effGetVstVersion));
  PrintAnswer("effGetPlugCategory", plugin.Dispatch(effGetPlugCategory));
  PrintAnswer("effIdentify", plugin.Dispatch(effIdentify));
  for (const char* text : {"receiveVstTimeInfo", "receiveVstEvents", "receiveVstMidiEvent",
                           "sendVstEvents", "sendVstMidiEvent", "hasCockosExtensions", "bypass"}) {
    PrintCanDo(plugin, text);
  }
}

void PrintParameters(LoadedPlugin& plugin) {
  for (int32_t i = 0; i < plugin.Record().numParams; ++i) {
    PrintTextQuery(plugin, "effGetParamName", effGetParamName, i, kParamTextBytes);
    PrintTextQuery(plugin, "effGetParamLabel", effGetParamLabel, i, kParamTextBytes);
    PrintTextQuery(plugin, "effGetParamDisplay", effGetParamDisplay, i, kParamTextBytes);
    PrintGetParameter(plugin, i);
  }
}

void PrintPrograms(LoadedPlugin& plugin) {
  PrintAnswer("effGetProgram", plugin.Dispatch(effGetProgram));
  PrintTextQuery(plugin, "effGetProgramName", effGetProgramName, 0, kProgramNameBytes);
  for (int32_t i = 0; i < plugin.Record().numPrograms; ++i) {
    PrintTextQuery(plugin, "effGetProgramNameIndexed", effGetProgramNameIndexed, i,
                   kProgramNameBytes);
  }
}

// Every pin, and one index beyond the last.
void PrintPins(LoadedPlugin& plugin) {
  for (int32_t i = 0; i <= plugin.Record().numInputs; ++i) {
    PrintPinQuery(plugin, "effGetInputProperties", effGetInputProperties, i);
  }
  for (int32_t i = 0; i <= plugin.Record().numOutputs; ++i) {
    PrintPinQuery(plugin, "effGetOutputProperties", effGetOutputProperties, i);
  }
}

}  // namespace

int InfoCommand(int argc, char** argv) {
  if (argc != 3) return kExitUsage;
  LoadedPlugin plugin;
  if (!plugin.Load(argv[2])) return kExitFailure;
  PrintRecord(plugin.Record());
  PrintHostRequests(&plugin.Record());
  PrintAnswer("effOpen", plugin.Dispatch(effOpen));
  PrintNamesAndAnswers(plugin);
  PrintParameters(plugin);
  PrintPrograms(plugin);
  PrintPins(plugin);
  PrintHostRequests(&plugin.Record());
  PrintAnswer("effClose", plugin.Close());
  return kExitSuccess;
}
