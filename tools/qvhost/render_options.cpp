#include "tools/qvhost/render_options.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/qvhost/arguments.h"

namespace {

bool ParsePath(const char* text, RenderPath& path) {
  if (std::strcmp(text, "float") == 0)
    path = RenderPath::kFloat;
  else if (std::strcmp(text, "double") == 0)
    path = RenderPath::kDouble;
  else if (std::strcmp(text, "accumulate") == 0)
    path = RenderPath::kAccumulate;
  else
    return false;
  return true;
}

}  // namespace

bool ParseParamSetting(const char* text, ParamSetting& setting) {
  const char* equals = std::strchr(text, '=');
  if (equals == nullptr) return false;
  double value;
  // Hosts send normalised values only; anything outside 0 .. 1 is a mistake
  // on the command line, not a value to pass on.
  if (!ParseInt(std::string(text, equals).c_str(), setting.index) ||
      !ParseDouble(equals + 1, value) || !(value >= 0.0 && value <= 1.0)) {
    return false;
  }
  setting.normalised = static_cast<float>(value);
  return true;
}

namespace {

bool ParseOption(const char* name, const char* value, RenderOptions& options) {
  if (std::strcmp(name, "--rate") == 0)
    return ParseDouble(value, options.rate) && options.rate > 0.0;
  if (std::strcmp(name, "--block") == 0) return ParseInt(value, options.block) && options.block > 0;
  if (std::strcmp(name, "--program") == 0) return ParseInt(value, options.program);
  if (std::strcmp(name, "--path") == 0) return ParsePath(value, options.path);
  if (std::strcmp(name, "--param") == 0) {
    ParamSetting setting;
    if (!ParseParamSetting(value, setting)) return false;
    options.params.push_back(setting);
    return true;
  }
  return false;
}

}  // namespace

bool ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options) {
  for (int i = first; i < argc; i += 2) {
    if (i + 1 >= argc || !ParseOption(argv[i], argv[i + 1], options)) {
      std::fprintf(stderr, "qvhost: bad render option %s %s\n", argv[i],
                   i + 1 < argc ? argv[i + 1] : "");
      return false;
    }
  }
  return true;
}
