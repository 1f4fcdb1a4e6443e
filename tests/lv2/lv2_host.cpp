#include "lv2_host.h"

#include <lv2/buf-size/buf-size.h>

#include <cmath>
#include <cstring>

Lv2TestInstance::Lv2TestInstance(double rate, int32_t maxBlockLength, int32_t bufferFrames,
                                 int32_t nominalBlockLength)
    : maxBlock(maxBlockLength), nominalBlock(nominalBlockLength) {
  for (int c = 0; c < 2; ++c) {
    in[c].assign(static_cast<size_t>(bufferFrames), 0.0f);
    out[c].assign(static_cast<size_t>(bufferFrames), 0.0f);
  }
  if (maxBlock != kNoMaximum) {
    options[0] = {LV2_OPTIONS_INSTANCE,
                  0,
                  Map(LV2_BUF_SIZE__maxBlockLength),
                  sizeof(int32_t),
                  Map("http://lv2plug.in/ns/ext/atom#Int"),
                  &maxBlock};
    if (nominalBlock > 0) {
      options[1] = {LV2_OPTIONS_INSTANCE,
                    0,
                    Map(LV2_BUF_SIZE__nominalBlockLength),
                    sizeof(int32_t),
                    Map("http://lv2plug.in/ns/ext/atom#Int"),
                    &nominalBlock};
    }
    features[0] = &mapFeature;
    features[1] = &optionsFeature;
  }
  const LV2_Descriptor* descriptor = Lv2Descriptor();
  if (descriptor == nullptr) return;
  handle = descriptor->instantiate(descriptor, rate, "", features);
  if (handle == nullptr) return;
  for (uint32_t p = 0; p < 4; ++p) descriptor->connect_port(handle, p, &controls[p]);
  descriptor->connect_port(handle, kPortInLeft, in[0].data());
  descriptor->connect_port(handle, kPortInRight, in[1].data());
  descriptor->connect_port(handle, kPortOutLeft, out[0].data());
  descriptor->connect_port(handle, kPortOutRight, out[1].data());
}

Lv2TestInstance::~Lv2TestInstance() {
  if (handle == nullptr) return;
  if (active) Deactivate();
  Lv2Descriptor()->cleanup(handle);
}

void Lv2TestInstance::Activate() {
  Lv2Descriptor()->activate(handle);
  active = true;
}

void Lv2TestInstance::Deactivate() {
  Lv2Descriptor()->deactivate(handle);
  active = false;
}

void Lv2TestInstance::Run(uint32_t frames) { Lv2Descriptor()->run(handle, frames); }

std::vector<float> Lv2TestInstance::Render(const std::vector<float>& left,
                                           const std::vector<float>& right, uint32_t frames) {
  std::vector<float> result(2 * left.size());
  for (size_t start = 0; start < left.size(); start += frames) {
    const size_t n = std::min<size_t>(frames, left.size() - start);
    std::memcpy(in[0].data(), left.data() + start, n * sizeof(float));
    std::memcpy(in[1].data(), right.data() + start, n * sizeof(float));
    Run(static_cast<uint32_t>(n));
    std::memcpy(result.data() + start, out[0].data(), n * sizeof(float));
    std::memcpy(result.data() + left.size() + start, out[1].data(), n * sizeof(float));
  }
  return result;
}

LV2_URID Lv2TestInstance::Map(const char* uri) {
  for (size_t i = 0; i < uris.size(); ++i) {
    if (uris[i] == uri) return static_cast<LV2_URID>(i + 1);
  }
  uris.emplace_back(uri);
  return static_cast<LV2_URID>(uris.size());
}

LV2_URID Lv2TestInstance::MapEntry(LV2_URID_Map_Handle handle, const char* uri) {
  return static_cast<Lv2TestInstance*>(handle)->Map(uri);
}

void TestSignal(uint32_t frames, std::vector<float>* left, std::vector<float>* right) {
  left->resize(frames);
  right->resize(frames);
  for (uint32_t i = 0; i < frames; ++i) {
    left->at(i) = static_cast<float>(0.5 * std::sin(0.0712 * i));
    right->at(i) = static_cast<float>(0.3 * std::sin(0.31 * i) + 0.2 * std::sin(0.0173 * i));
  }
}
