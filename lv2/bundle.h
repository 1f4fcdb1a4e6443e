// What the LV2 bundle's description, its DSP binary and its UI binary agree
// on besides the plug-in's identity (its URIs): the file names and the port
// layout.
//
// Ports: first one control input per parameter, in parameter index order and
// in the parameter's own units (a port value is the actual value, never a
// normalised one); then the audio inputs; then the audio outputs.
#pragma once

#include <cstdint>

constexpr const char* kLv2DspBinary = "Quorvane_dsp.so";
constexpr const char* kLv2UiBinary = "Quorvane_ui.so";

// The block size the shaping filter is designed for when the host gives
// neither its nominal nor its maximum block length (buf-size options). Blocks of any length are
// processed; this only sets the design and the scratch size.
constexpr int32_t kLv2DefaultBlockLength = 512;

struct Lv2PortLayout {
  uint32_t params;
  uint32_t inputs;
  uint32_t outputs;

  uint32_t FirstInput() const { return params; }
  uint32_t FirstOutput() const { return params + inputs; }
  uint32_t Count() const { return params + inputs + outputs; }
};
