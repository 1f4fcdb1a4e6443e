// The LV2 DSP binary's entry: the descriptor and its trampolines into
// Lv2Instance.
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/core/lv2_util.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <new>

#include "plug/create_plugin.h"
#include "lv2/lv2_instance.h"
#include "plug/plug_base.h"
#include "plug/plug_identity.h"

namespace {

constexpr const char* kAtomInt = "http://lv2plug.in/ns/ext/atom#Int";

// An instance option the host gives as an atom:Int, or 0 without it.
int32_t IntOption(const LV2_Feature* const* features, const char* uri) {
  const auto* map = static_cast<const LV2_URID_Map*>(lv2_features_data(features, LV2_URID__map));
  const auto* options =
      static_cast<const LV2_Options_Option*>(lv2_features_data(features, LV2_OPTIONS__options));
  if (map == nullptr || options == nullptr) return 0;
  const LV2_URID key = map->map(map->handle, uri);
  const LV2_URID intType = map->map(map->handle, kAtomInt);
  for (const LV2_Options_Option* o = options; o->key != 0; ++o) {
    if (o->context != LV2_OPTIONS_INSTANCE || o->key != key || o->type != intType ||
        o->size != sizeof(int32_t) || o->value == nullptr) {
      continue;
    }
    const int32_t value = *static_cast<const int32_t*>(o->value);
    if (value > 0) return value;
  }
  return 0;
}

// The host's block lengths from the options feature: its maximum (the
// default without one) and the length it usually runs (0 when not given).
Lv2BlockLengths BlockLengths(const LV2_Feature* const* features) {
  const int32_t longest = IntOption(features, LV2_BUF_SIZE__maxBlockLength);
  return {longest > 0 ? longest : kLv2DefaultBlockLength,
          IntOption(features, LV2_BUF_SIZE__nominalBlockLength)};
}

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
  // Nothing may throw into the host: a failed allocation is a failed
  // instantiation.
  try {
    std::unique_ptr<PlugBase> plugin(CreatePlugin());
    if (!plugin) return nullptr;
    std::unique_ptr<Lv2Instance> instance(
        new Lv2Instance(std::move(plugin), rate, BlockLengths(features)));
    return instance->Ready() ? instance.release() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

Lv2Instance* Of(LV2_Handle handle) { return static_cast<Lv2Instance*>(handle); }

void ConnectPort(LV2_Handle handle, uint32_t port, void* data) {
  Of(handle)->ConnectPort(port, data);
}
void Activate(LV2_Handle handle) { Of(handle)->Activate(); }
void Run(LV2_Handle handle, uint32_t frames) { Of(handle)->Run(frames); }
void Deactivate(LV2_Handle handle) { Of(handle)->Deactivate(); }
void Cleanup(LV2_Handle handle) { delete Of(handle); }
const void* ExtensionData(const char*) { return nullptr; }

const LV2_Descriptor kDescriptor = {PluginIdentity().lv2Uri,
                                    Instantiate,
                                    ConnectPort,
                                    Activate,
                                    Run,
                                    Deactivate,
                                    Cleanup,
                                    ExtensionData};

}  // namespace

Lv2Instance::Lv2Instance(std::unique_ptr<PlugBase> plug, double rate, Lv2BlockLengths blocks)
    : plugin(std::move(plug)),
      layout{static_cast<uint32_t>(plugin->ParamCount()),
             static_cast<uint32_t>(plugin->InputsInUse()),
             static_cast<uint32_t>(plugin->OutputsInUse())},
      controls(layout.params, nullptr),
      applied(layout.params),
      audio(layout.inputs + layout.outputs, nullptr) {
  // The order a VST 2.x host uses: open, rate, block size.
  plugin->SetHost(this);
  plugin->NotifyAllParamsChanged();
  ready = plugin->Prepare(rate, blocks.longest, blocks.usual) > 0;
  for (uint32_t i = 0; i < layout.params; ++i) {
    applied[i] = static_cast<float>(plugin->ParamAt(static_cast<int>(i)).Value());
  }
}

Lv2Instance::~Lv2Instance() = default;

void Lv2Instance::AutomateParam(int index, float normalised) {
  if (editSink) editSink(editContext, index, normalised);
}

void Lv2Instance::ConnectPort(uint32_t port, void* data) {
  if (port < layout.params) {
    controls[port] = static_cast<const float*>(data);
  } else if (port < layout.Count()) {
    audio[port - layout.params] = static_cast<float*>(data);
  }
}

void Lv2Instance::Activate() { plugin->SetActive(true); }

void Lv2Instance::Deactivate() { plugin->SetActive(false); }

void Lv2Instance::ApplyControlPorts() {
  for (uint32_t i = 0; i < layout.params; ++i) {
    if (controls[i] == nullptr) continue;
    const float value = *controls[i];
    // Unchanged, or no value at all: nothing to do.
    if (value == applied[i] || std::isnan(value)) continue;
    applied[i] = value;
    plugin->SetParamPlain(static_cast<int>(i), value);
  }
}

void Lv2Instance::Run(uint32_t frames) {
  for (float* buffer : audio) {
    if (buffer == nullptr) return;
  }
  LockGuard guard(&plugin->Lock());
  ApplyControlPorts();
  plugin->RunBlock(audio.data(), audio.data() + layout.inputs, frames);
}

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(
    uint32_t index) {
  return index == 0 ? &kDescriptor : nullptr;
}
