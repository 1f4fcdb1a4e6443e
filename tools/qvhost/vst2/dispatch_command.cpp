// `qvhost dispatch LIB`: a fixed script of dispatcher and parameter requests,
// good and bad, one printed line per request. The script never depends on a
// platform service, so every build of the plug-in must print the same lines.
#include <climits>
#include <cstdio>
#include <vector>

#include "vst2/dispatcher.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/vst2/dispatch_script.h"
#include "tools/qvhost/vst2/host_callback.h"
#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/vst2/queries.h"
#include "tools/qvhost/report.h"

namespace {

// Every opcode with index 0, value 0, a null ptr and opt 0, including those
// without an entry and far out-of-range ones. effClose ends the script
// instead; effEditOpen is left out because it creates a window, which is a
// platform service (the editor tests open it for real).
void NullPointerSweep(LoadedPlugin& plugin) {
  std::vector<int32_t> opcodes = {INT32_MIN, -1};
  for (int32_t opcode = 0; opcode <= 70; ++opcode) {
    if (opcode != effClose && opcode != effEditOpen) opcodes.push_back(opcode);
  }
  opcodes.push_back(INT32_MAX);
  for (int32_t opcode : opcodes) {
    std::printf("null ptr opcode %d -> %s\n", static_cast<int>(opcode),
                FormatAnswer(plugin.Dispatch(opcode)).c_str());
  }
  // The sweep set the rate and the block size to 0; a host would not leave them so.
  plugin.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  plugin.Dispatch(effSetBlockSize, 0, 512);
}

}  // namespace

int DispatchCommand(int argc, char** argv) {
  if (argc != 3) return kExitUsage;
  LoadedPlugin plugin;
  if (!plugin.Load(argv[2])) return kExitFailure;
  PrintHostRequests(&plugin.Record());
  PrintAnswer("effOpen", plugin.Dispatch(effOpen));
  NullPointerSweep(plugin);
  RunProgramScript(plugin);
  RunParameterScript(plugin);
  RunChunkScript(plugin);
  RunQuestionScript(plugin);
  RunEventScript(plugin);
  PrintHostRequests(&plugin.Record());
  PrintAnswer("effClose", plugin.Close());
  return kExitSuccess;
}
