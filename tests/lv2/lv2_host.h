// A minimal LV2 host for tests: loads the bundle's DSP binary, maps URIs,
// offers the buf-size options, and owns every instance it makes.
#pragma once

#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Port indices of the bundle's layout.
enum Lv2Port : uint32_t {
  kPortDither = 0,
  kPortShaping = 1,
  kPortTargetBits = 2,
  kPortShowGraph = 3,
  kPortInLeft = 4,
  kPortInRight = 5,
  kPortOutLeft = 6,
  kPortOutRight = 7,
};

// A maximum block length the host does not announce: no options feature.
constexpr int32_t kNoMaximum = -1;

// The DSP binary's descriptor: the shipped binary, loaded once per process
// (lv2_binary.cpp), or one compiled into the test.
const LV2_Descriptor* Lv2Descriptor();

class Lv2TestInstance {
 public:
  // maxBlock kNoMaximum: no options feature at all, as lv2apply; any other
  // value is announced as it is, and so is a positive nominalBlock.
  Lv2TestInstance(double rate, int32_t maxBlock, int32_t bufferFrames, int32_t nominalBlock = 0);
  ~Lv2TestInstance();
  Lv2TestInstance(const Lv2TestInstance&) = delete;
  Lv2TestInstance& operator=(const Lv2TestInstance&) = delete;

  bool Valid() const { return handle != nullptr; }
  LV2_Handle Handle() const { return handle; }
  void Activate();
  void Deactivate();
  // Copies `frames` of the inputs in, runs once, keeps the outputs.
  void Run(uint32_t frames);
  // Runs the whole of `left`/`right` in calls of `frames` and returns both
  // output channels one after the other.
  std::vector<float> Render(const std::vector<float>& left, const std::vector<float>& right,
                            uint32_t frames);

  // The ports' defaults: dither off, shaping 9, 16 bits, graph shown.
  static constexpr std::array<float, 4> kDefaultControls = {0.0f, 9.0f, 16.0f, 1.0f};
  std::array<float, 4> controls = kDefaultControls;
  std::vector<float> in[2];
  std::vector<float> out[2];

 private:
  LV2_URID Map(const char* uri);
  static LV2_URID MapEntry(LV2_URID_Map_Handle handle, const char* uri);

  std::vector<std::string> uris;
  LV2_URID_Map map = {this, &MapEntry};
  int32_t maxBlock;
  int32_t nominalBlock;
  LV2_Options_Option options[3] = {};
  LV2_Feature mapFeature = {LV2_URID__map, &map};
  LV2_Feature optionsFeature = {LV2_OPTIONS__options, options};
  const LV2_Feature* features[3] = {};
  LV2_Handle handle = nullptr;
  bool active = false;
};

// A test signal: a tone on the left, a different one on the right.
void TestSignal(uint32_t frames, std::vector<float>* left, std::vector<float>* right);
