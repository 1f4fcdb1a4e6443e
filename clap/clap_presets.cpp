// The plug-in's programs as presets a host loads from the plug-in itself:
// the load key is the program's number, as the preset-discovery provider
// lists them (preset_discovery.cpp). Loading one is a program change.
#include "clap/clap_plugin.h"

namespace clap {

namespace {

bool QV_CLAP_CALL FromLocation(const Plugin* plugin, uint32_t locationKind, const char* location,
                               const char* loadKey) {
  ClapPlugin* self = ClapPlugin::From(plugin);
  return self && self->LoadPreset(locationKind, location, loadKey);
}

// The program a load key names: its number, digits only; -1 for anything
// else.
int ProgramOfKey(const char* key, int programs) {
  if (key == nullptr || *key == '\0') return -1;
  int program = 0;
  for (const char* c = key; *c; ++c) {
    if (*c < '0' || *c > '9' || program >= programs) return -1;
    program = program * 10 + (*c - '0');
  }
  return program < programs ? program : -1;
}

}  // namespace

const PluginPresetLoad kPresetLoadExtension{FromLocation};

bool ClapPlugin::LoadPreset(uint32_t locationKind, const char* location, const char* loadKey) {
  const int program = locationKind == kPresetLocationPlugin && location == nullptr
                          ? ProgramOfKey(loadKey, plug->ProgramCount())
                          : -1;
  if (program < 0 || !plug->SelectProgram(program)) {
    if (hostPresetLoad && hostPresetLoad->onError) {
      hostPresetLoad->onError(host, locationKind, location, loadKey, 0, "no such program");
    }
    return false;
  }
  // Every value may have changed: the host reads them again.
  if (hostParams && hostParams->rescan) hostParams->rescan(host, kParamRescanValues);
  if (hostPresetLoad && hostPresetLoad->loaded) {
    hostPresetLoad->loaded(host, locationKind, location, loadKey);
  }
  return true;
}

}  // namespace clap
