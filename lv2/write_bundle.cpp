// Writes the Turtle files of the LV2 bundle into a directory, from a freshly
// built plug-in: its definition defaults are the ports' defaults.
//
//   qv_lv2_bundle DIR [--ui]
//
// With --ui the description also names the X11 UI binary.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "plug/create_plugin.h"
#include "plug/plug_base.h"
#include "lv2/bundle_ttl.h"

namespace {

[[nodiscard]] bool WriteFile(const std::string& path, const std::string& text) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "--ui") != 0) || argc > 3) {
    std::fprintf(stderr, "usage: %s DIR [--ui]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const bool withUi = argc == 3;
  const std::unique_ptr<PlugBase> plug(CreatePlugin());
  if (plug == nullptr) {
    std::fprintf(stderr, "%s: cannot make the plug-in\n", argv[0]);
    return 1;
  }
  if (!WriteFile(dir + "/manifest.ttl", ManifestTtl(*plug, withUi)) ||
      !WriteFile(dir + "/quorvane.ttl", PluginTtl(*plug, withUi)) ||
      !WriteFile(dir + "/presets.ttl", PresetsTtl(*plug))) {
    std::fprintf(stderr, "%s: cannot write the Turtle files into %s\n", argv[0], dir.c_str());
    return 1;
  }
  return 0;
}
