// Writes the bundle's moduleinfo.json from the module's own factory.
//
//   qv_vst3_moduleinfo NAME FILE
//
// NAME is the bundle's name without its extension.
#include <cstdio>
#include <string>

#include "vst3/module_info.h"
#include "vst3/vst3_factory.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s NAME FILE\n", argv[0]);
    return 2;
  }
  vst3::IPluginFactory2* factory = vst3::PluginFactory();
  const std::string json = vst3::ModuleInfoJson(*factory, argv[1]);
  factory->release();
  if (json.empty()) {
    std::fprintf(stderr, "%s: the factory describes no class\n", argv[0]);
    return 1;
  }
  FILE* file = std::fopen(argv[2], "wb");
  const bool written =
      file != nullptr && std::fwrite(json.data(), 1, json.size(), file) == json.size();
  if (file == nullptr || std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
