// `qvhost validate LIB [--quick] [--seed N] [--only GROUP]...`: what a
// plug-in validator does to a plug-in, in groups, each printing
// "ok - NAME" / "not ok - NAME" lines with "# " diagnostics. Exits 0 when
// every check passed.
#include <cstdio>
#include <cstring>

#include "tools/qvhost/arguments.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/vst2/validate_host.h"

namespace {

struct Group {
  const char* name;
  void (*run)(const ValidateOptions& options, ValidationLog& log);
};

const Group kGroups[] = {
    {"lifecycle", ValidateLifecycle},  {"programs", ValidatePrograms},
    {"state", ValidateSavedState},     {"audio", ValidateAudio},
    {"editor", ValidateEditorThreads},
};
constexpr size_t kGroupCount = sizeof kGroups / sizeof kGroups[0];

// Marks the group named `name` as chosen; false for an unknown name.
bool Choose(const char* name, bool (&chosen)[kGroupCount]) {
  for (size_t g = 0; g < kGroupCount; ++g) {
    if (std::strcmp(name, kGroups[g].name) != 0) continue;
    chosen[g] = true;
    return true;
  }
  std::fprintf(stderr, "qvhost: no check group %s\n", name);
  return false;
}

}  // namespace

int ValidateCommand(int argc, char** argv) {
  if (argc < 3) return kExitUsage;
  ValidateOptions options;
  options.library = argv[2];
  bool chosen[kGroupCount] = {};
  bool any = false;
  for (int i = 3; i < argc; ++i) {
    int32_t seed = 0;
    if (std::strcmp(argv[i], "--quick") == 0) {
      options.quick = true;
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc && ParseInt(argv[++i], seed)) {
      options.seed = static_cast<uint32_t>(seed);
    } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
      if (!Choose(argv[++i], chosen)) return kExitUsage;
      any = true;
    } else {
      return kExitUsage;
    }
  }
  ValidationLog log;
  for (size_t g = 0; g < kGroupCount; ++g) {
    if (!any || chosen[g]) kGroups[g].run(options, log);
  }
  return log.Failures() == 0 ? kExitSuccess : kExitFailure;
}
