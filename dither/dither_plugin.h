// The plug-in: requantises a stereo stream to a chosen word length with
// optional triangular dither and psychoacoustic noise shaping.
#pragma once

#include "host/plug_base.h"

// Parameter indices.
enum DitherParam : int {
  kParamDither = 0,
  kParamShaping = 1,     // "psychoacoustic power": shaping order, 0 is off
  kParamTargetBits = 2,
  kParamShowGraph = 3,
  kDitherParamCount = 4,
};

constexpr int32_t kDitherUniqueId = 0x7172766E;  // 'qrvn'

class DitherPlugin : public PlugBase {
 public:
  DitherPlugin();
  ~DitherPlugin() override;

 private:
  void DefineParameters();
  void DefinePresets();
};
