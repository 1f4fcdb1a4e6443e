#include "dither/dither_plugin.h"

DitherPlugin::DitherPlugin()
    : PlugBase(kDitherParamCount, 2, 2, "Quorvane", "", "Varek", 1000, kDitherUniqueId, 0, false,
               true, false) {
  DefineParameters();
  DefinePresets();
}

DitherPlugin::~DitherPlugin() = default;

void DitherPlugin::DefineParameters() {
  ParamAt(kParamDither).DefineBool("dither", false, nullptr);
  ParamAt(kParamShaping).DefineInt("psychoacoustic power", 9, 0, 12, nullptr);
  ParamAt(kParamShaping).SetValueText(0.0f, "off");
  ParamAt(kParamTargetBits).DefineInt("target bits", 16, 6, 32, nullptr);
  ParamAt(kParamShowGraph).DefineBool("show graph", true, nullptr);
}

void DitherPlugin::DefinePresets() {
  AddPresetsFromCurrent("Default", 1);
  //                           dither shaping bits graph
  AddPreset("CD render (hard)", {0.0, 9.0, 16.0, 1.0});
  AddPreset("CD render (soft)", {1.0, 9.0, 16.0, 1.0});
  AddPresetsFromCurrent("-", 5);
}
