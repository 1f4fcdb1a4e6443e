// `qvhost identity [FIELD]`: the plug-in's identity, as every format names
// it, for the scripts that drive real hosts: every field as FIELD=VALUE
// lines, or one field's value alone.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "plug/plug_identity.h"
#include "tools/qvhost/commands.h"

namespace {

std::vector<std::pair<const char*, std::string>> Fields() {
  const PlugIdentity& identity = PluginIdentity();
  char vst3Id[33];
  std::snprintf(vst3Id, sizeof vst3Id, "%08X%08X%08X%08X", identity.vst3ClassId[0],
                identity.vst3ClassId[1], identity.vst3ClassId[2], identity.vst3ClassId[3]);
  std::string features;
  for (const char* const* f = identity.clapFeatures; *f; ++f) {
    features += (features.empty() ? "" : " ") + std::string(*f);
  }
  return {{"name", identity.name},
          {"vendor", identity.vendor},
          {"version", VersionText(identity.version)},
          {"vst2_id", std::to_string(identity.vst2Id)},
          {"vst3_class_id", vst3Id},
          {"vst3_categories", identity.vst3Categories},
          {"clap_id", identity.clapId},
          {"clap_features", features},
          {"lv2_uri", identity.lv2Uri},
          {"lv2_ui_uri", identity.lv2UiUri},
          {"lv2_preset_prefix", identity.lv2PresetPrefix},
          {"preset_provider_id", identity.presetProviderId}};
}

}  // namespace

int IdentityCommand(int argc, char** argv) {
  if (argc > 3) return kExitUsage;
  for (const auto& field : Fields()) {
    if (argc == 2) {
      std::printf("%s=%s\n", field.first, field.second.c_str());
    } else if (std::strcmp(argv[2], field.first) == 0) {
      std::printf("%s\n", field.second.c_str());
      return kExitSuccess;
    }
  }
  if (argc == 3) std::fprintf(stderr, "qvhost: no identity field %s\n", argv[2]);
  return argc == 2 ? kExitSuccess : kExitUsage;
}
