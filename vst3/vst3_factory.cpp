#include "vst3/vst3_factory.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "plug/create_plugin.h"
#include "plug/plug_base.h"
#include "plug/plug_identity.h"
#include "vst3/vst3_effect.h"

namespace vst3 {

namespace {

template <size_t N>
void CopyField(char (&field)[N], const char* text) {
  std::strncpy(field, text, N - 1);
  field[N - 1] = '\0';
}

class Factory final : public IPluginFactory2 {
 public:
  explicit Factory(std::string version) : version(std::move(version)) {}

  Tresult QV_VST3_CALL queryInterface(const char* iid, void** object) override {
    if (object == nullptr) return kInvalidArgument;
    *object = nullptr;
    if (!SameTuid(iid, kFUnknownIid) && !SameTuid(iid, kIPluginFactoryIid) &&
        !SameTuid(iid, kIPluginFactory2Iid)) {
      return kNoInterface;
    }
    *object = static_cast<IPluginFactory2*>(this);
    addRef();
    return kResultOk;
  }
  // The factory lives as long as the module; counting only tells hosts
  // what they expect.
  uint32_t QV_VST3_CALL addRef() override { return ++references; }
  uint32_t QV_VST3_CALL release() override { return references > 0 ? --references : 0; }

  Tresult QV_VST3_CALL getFactoryInfo(PFactoryInfo* info) override {
    if (info == nullptr) return kInvalidArgument;
    *info = PFactoryInfo{};
    CopyField(info->vendor, PluginIdentity().vendor);
    return kResultOk;
  }

  int32_t QV_VST3_CALL countClasses() override { return 1; }

  Tresult QV_VST3_CALL getClassInfo(int32_t index, PClassInfo* info) override {
    if (info == nullptr || index != 0) return kInvalidArgument;
    *info = PClassInfo{};
    info->cid = EffectClassId();
    info->cardinality = kManyInstances;
    CopyField(info->category, "Audio Module Class");
    CopyField(info->name, PluginIdentity().name);
    return kResultOk;
  }

  Tresult QV_VST3_CALL getClassInfo2(int32_t index, PClassInfo2* info) override {
    PClassInfo base;
    if (info == nullptr || getClassInfo(index, &base) != kResultOk) return kInvalidArgument;
    *info = PClassInfo2{};
    info->cid = base.cid;
    info->cardinality = base.cardinality;
    std::memcpy(info->category, base.category, sizeof info->category);
    std::memcpy(info->name, base.name, sizeof info->name);
    CopyField(info->subCategories, PluginIdentity().vst3Categories);
    CopyField(info->vendor, PluginIdentity().vendor);
    CopyField(info->version, version.c_str());
    CopyField(info->sdkVersion, "VST 3.7.0");
    return kResultOk;
  }

  Tresult QV_VST3_CALL createInstance(const char* cid, const char* iid, void** object) override {
    if (object == nullptr) return kInvalidArgument;
    *object = nullptr;
    if (!SameTuid(cid, EffectClassId())) return kNoInterface;
    // Nothing may throw into the host: a plug-in that cannot be made is none.
    try {
      std::unique_ptr<PlugBase> plug(CreatePlugin());
      if (plug == nullptr || !CreatePluginEditor(*plug)) return kOutOfMemory;
      auto* effect = new Vst3Effect(plug.release());
      const Tresult result = effect->queryInterface(iid, object);
      effect->release();
      return result;
    } catch (...) {
      return kOutOfMemory;
    }
  }

 private:
  const std::string version;  // the plug-in's, as hosts show it
  std::atomic<uint32_t> references{0};
};

}  // namespace

Tuid EffectClassId() {
  const uint32_t* words = PluginIdentity().vst3ClassId;
  return MakeTuid(words[0], words[1], words[2], words[3]);
}

IPluginFactory2* PluginFactory() {
  static Factory factory(VersionText(PluginIdentity().version));
  factory.addRef();
  return &factory;
}

}  // namespace vst3
