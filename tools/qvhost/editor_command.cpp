// `qvhost editor LIB OUT.png [--hold MS] [--cycles N] [--instances N] [--second]
//                 [--parent-depth 32] [--audio FILE [--play SECONDS]] [--param INDEX=NORMALISED]...
//                 [--dialog] [--click X,Y] [--rclick X,Y] [--dblclick X,Y] [--drag X,Y,DX,DY]
//                 [--wheel X,Y,NOTCHES] [--finewheel X,Y,NOTCHES] [--type KEYS] [--escape X,Y]
//                 [--lost-press X,Y] [--reframe]...`
#include "tools/qvhost/editor_command.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "vst2/dispatcher.h"
#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/editor_feed.h"
#include "tools/qvhost/vst2/host_callback.h"
#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/render_options.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include "stb_image_write.h"

namespace {

// Reads "A,B" or "A,B,C[,D]" into `values`; false unless exactly `count`.
bool ReadNumbers(const char* text, int count, int* values) {
  int found = 0;
  const char* p = text;
  while (found < count) {
    char* end = nullptr;
    values[found++] = static_cast<int>(std::strtol(p, &end, 10));
    if (end == p) return false;
    p = end;
    if (*p == '\0') break;
    if (*p++ != ',') return false;
  }
  return found == count && *p == '\0';
}

bool ReadAction(const char* option, const char* value, EditorScript* script) {
  int n[4] = {};
  EditorAction action{EditorAction::kClick, 0, 0, 0, 0, {}};
  if (std::strcmp(option, "--type") == 0) {
    action.kind = EditorAction::kType;
    action.keys = value;
    script->actions.push_back(action);
    return true;
  }
  if (std::strcmp(option, "--click") == 0 && ReadNumbers(value, 2, n)) {
    action.kind = EditorAction::kClick;
  } else if (std::strcmp(option, "--rclick") == 0 && ReadNumbers(value, 2, n)) {
    action.kind = EditorAction::kRightClick;
  } else if (std::strcmp(option, "--dblclick") == 0 && ReadNumbers(value, 2, n)) {
    action.kind = EditorAction::kDoubleClick;
  } else if (std::strcmp(option, "--drag") == 0 && ReadNumbers(value, 4, n)) {
    action.kind = EditorAction::kDrag;
  } else if (std::strcmp(option, "--wheel") == 0 && ReadNumbers(value, 3, n)) {
    action.kind = EditorAction::kWheel;
  } else if (std::strcmp(option, "--finewheel") == 0 && ReadNumbers(value, 3, n)) {
    action.kind = EditorAction::kFineWheel;
  } else if (std::strcmp(option, "--escape") == 0 && ReadNumbers(value, 2, n)) {
    action.kind = EditorAction::kEscape;
  } else if (std::strcmp(option, "--lost-press") == 0 && ReadNumbers(value, 2, n)) {
    action.kind = EditorAction::kLostPress;
  } else {
    return false;
  }
  action.x = n[0];
  action.y = n[1];
  action.dx = n[2];
  action.dy = n[3];
  script->actions.push_back(action);
  return true;
}

// What the editor is shown: audio to play and parameters to set first.
struct EditorInput {
  const char* audio = nullptr;
  double playSeconds = 0.0;
  std::vector<ParamSetting> params;
};

bool ReadInput(const char* option, const char* value, EditorInput* input) {
  if (std::strcmp(option, "--audio") == 0) {
    input->audio = value;
    return true;
  }
  if (std::strcmp(option, "--play") == 0) {
    input->playSeconds = std::atof(value);
    return input->playSeconds >= 0.0;
  }
  ParamSetting setting;
  if (std::strcmp(option, "--param") != 0 || !ParseParamSetting(value, setting)) return false;
  input->params.push_back(setting);
  return true;
}

bool ReadScript(int argc, char** argv, EditorScript* script, EditorInput* input) {
  if (argc < 4) return false;
  script->library = argv[2];
  script->output = argv[3];
  for (int i = 4; i < argc; ++i) {
    if (std::strcmp(argv[i], "--second") == 0) {
      script->second = true;
      continue;
    }
    if (std::strcmp(argv[i], "--dialog") == 0) {
      script->dialog = true;
      continue;
    }
    if (std::strcmp(argv[i], "--reframe") == 0) {
      script->actions.push_back(EditorAction{EditorAction::kReframe, 0, 0, 0, 0, {}});
      continue;
    }
    if (i + 1 >= argc) return false;
    const char* value = argv[++i];
    if (std::strcmp(argv[i - 1], "--hold") == 0) {
      script->holdMs = std::atoi(value);
    } else if (std::strcmp(argv[i - 1], "--cycles") == 0) {
      script->cycles = std::atoi(value);
    } else if (std::strcmp(argv[i - 1], "--instances") == 0) {
      script->instances = std::atoi(value);
    } else if (std::strcmp(argv[i - 1], "--parent-depth") == 0) {
      script->parentDepth = std::atoi(value);
    } else if (!ReadAction(argv[i - 1], value, script) && !ReadInput(argv[i - 1], value, input)) {
      return false;
    }
  }
  return true;
}

void PrintParameters(LoadedPlugin& plugin) {
  EffectRecord& r = plugin.Record();
  for (int32_t i = 0; i < r.numParams; ++i) {
    std::printf("param %d %.6f\n", i, static_cast<double>(r.getParameter(&r, i)));
  }
}

}  // namespace

bool WritePng(const char* path, const EditorCapture& capture) {
  std::vector<unsigned char> rgba(capture.pixels.size() * 4);
  for (size_t i = 0; i < capture.pixels.size(); ++i) {
    const uint32_t p = capture.pixels[i];
    rgba[i * 4 + 0] = static_cast<unsigned char>(p >> 16);
    rgba[i * 4 + 1] = static_cast<unsigned char>(p >> 8);
    rgba[i * 4 + 2] = static_cast<unsigned char>(p);
    rgba[i * 4 + 3] = 255;
  }
  return stbi_write_png(path, capture.width, capture.height, 4, rgba.data(), capture.width * 4) !=
         0;
}

std::vector<std::string> KeyTokens(const std::string& keys) {
  std::vector<std::string> tokens;
  for (size_t i = 0; i < keys.size(); ++i) {
    const size_t close = keys[i] == '{' ? keys.find('}', i) : std::string::npos;
    if (close == std::string::npos) {
      tokens.emplace_back(1, keys[i]);
      continue;
    }
    tokens.push_back(keys.substr(i + 1, close - i - 1));
    i = close;
  }
  return tokens;
}

int EditorCommand(int argc, char** argv) {
  EditorScript script;
  EditorInput input;
  if (!ReadScript(argc, argv, &script, &input)) return kExitUsage;
  AudioData audio;
  if (input.audio && !ReadAudio(input.audio, audio)) return kExitFailure;
  LoadedPlugin plugin;
  if (!plugin.Load(script.library)) return kExitFailure;
  plugin.Dispatch(effOpen);
  // Prepared as a host prepares playback.
  constexpr int32_t kBlock = 512;
  plugin.Dispatch(effSetSampleRate, 0, 0, nullptr,
                  static_cast<float>(audio.rate > 0.0 ? audio.rate : 44100.0));
  plugin.Dispatch(effSetBlockSize, 0, kBlock);
  plugin.Dispatch(effMainsChanged, 0, 1);
  EffectRecord& record = plugin.Record();
  for (const ParamSetting& p : input.params) record.setParameter(&record, p.index, p.normalised);
  EditorFeed feed(audio, input.playSeconds, kBlock);
  if (input.audio) script.feed = &feed;
  if ((plugin.Record().flags & kFlagHasEditor) == 0) {
    std::printf("editor absent\n");
    return kExitFailure;
  }
  EditorCapture capture;
  if (!RunEditorWindow(plugin, script, &capture)) return kExitFailure;
  PrintHostRequests(&plugin.Record());
  PrintParameters(plugin);
  if (!WritePng(script.output, capture)) {
    std::fprintf(stderr, "qvhost: cannot write %s\n", script.output);
    return kExitFailure;
  }
  std::printf("capture %dx%d %s\n", capture.width, capture.height, script.output);
  RunEditorCycles(plugin, script);
  return kExitSuccess;
}
