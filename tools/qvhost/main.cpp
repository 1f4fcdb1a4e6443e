// qvhost: a small host for the plug-in. It loads the plug-in library through
// its exported entry, answers the host callback, drives the dispatcher and
// renders audio files through the audio callbacks.
#include <cstdio>
#include <cstring>

#include "tools/qvhost/commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(int argc, char** argv);
  const char* usage;
};

const Command kCommands[] = {
    {"info", InfoCommand, "info LIB"},
    {"dispatch", DispatchCommand, "dispatch LIB"},
    {"render", RenderCommand,
     "render LIB IN OUT [--rate HZ] [--block N] [--param INDEX=NORMALISED]... [--program N]\n"
     "                      [--path float|double|accumulate]"},
    {"speed", SpeedCommand,
     "speed LIB [--seconds S] [--block N] [--param INDEX=NORMALISED]... [--program N]\n"
     "                      [--path float|double|accumulate]"},
    {"tone", ToneCommand, "tone OUT [--rate HZ] [--seconds S]"},
    {"demo", DemoCommand, "demo OUT [--rate HZ]"},
    {"measure", MeasureCommand, "measure IN OUT [--rate HZ]"},
    {"convert", ConvertCommand, "convert IN OUT"},
    {"compare", CompareCommand, "compare A B [--tolerance T]"},
    {"editor", EditorCommand,
     "editor LIB OUT.png [--hold MS] [--cycles N] [--instances N] [--second]\n"
     "                      [--audio FILE [--play SECONDS]] [--param INDEX=NORMALISED]...\n"
     "                      [--dialog] [--click X,Y] [--rclick X,Y] [--drag X,Y,DX,DY]\n"
     "                      [--wheel X,Y,N] [--escape X,Y] [--lost-press X,Y] [--reframe]..."},
    {"view", ViewCommand,
     "view MODULE OUT.png [--hold MS] [--no-loop] [--cycles N] [--break-display]"},
    {"validate", ValidateCommand,
     "validate LIB [--quick] [--seed N] [--only lifecycle|programs|state|audio|editor]..."},
    {"clap", ClapCommand, "clap MODULE [--gui]"},
    {"identity", IdentityCommand, "identity [FIELD]"},
};

int Usage() {
  std::fprintf(stderr, "usage:\n");
  for (const Command& command : kCommands) std::fprintf(stderr, "  qvhost %s\n", command.usage);
  std::fprintf(stderr,
               "audio files: .f32 and .f64 are raw interleaved stereo floats; other names are\n"
               "WAV files, which only the native build reads and writes\n"
               "render and view take a VST 3 module (named .vst3, or in a .vst3 bundle) or a CLAP\n"
               "module (named .clap) too\n");
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) != 0) continue;
    const int result = command.run(argc, argv);
    return result == kExitUsage ? Usage() : result;
  }
  return Usage();
}
