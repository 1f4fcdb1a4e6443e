// Who the plug-in is, in every format's terms: read by each format's
// adapter, the LV2 Turtle writer, qvhost's checks and the tests, without
// making a plug-in. Hosts store these names and ids with every project and
// preset, so once shipped they never change.
#pragma once

#include <cstdint>
#include <string>

struct PlugIdentity {
  const char* name;     // the effect's name
  const char* vendor;   // who makes it
  const char* summary;  // what it does, in one line
  int version;          // 1000 for 1.0.0.0
  int32_t vst2Id;       // the VST 2.x unique id
  // The VST 3 class id as its four 32-bit words, most significant byte
  // first, and the class's sub-categories.
  uint32_t vst3ClassId[4];
  const char* vst3Categories;
  const char* clapId;
  const char* const* clapFeatures;  // ends with a null
  const char* lv2Uri;
  const char* lv2UiUri;
  // A factory program's LV2 preset is this prefix and a name made from the
  // program's name.
  const char* lv2PresetPrefix;
  const char* presetProviderId;  // the CLAP preset-discovery provider
};

// The plug-in's identity, defined by the plug-in beside CreatePlugin.
const PlugIdentity& PluginIdentity();

// A version as hosts show it: 1000 is "1.0.0.0".
std::string VersionText(int version);
