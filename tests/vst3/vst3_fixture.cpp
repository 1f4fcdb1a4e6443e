#include "vst3/vst3_fixture.h"

#include <cstdlib>

namespace vst3 {

namespace {

template <typename Interface>
Interface* Query(IComponent* component, const Tuid& iid) {
  void* object = nullptr;
  EXPECT_EQ(component->queryInterface(iid.bytes, &object), kResultOk);
  return static_cast<Interface*>(object);
}

}  // namespace

HostedEffect::HostedEffect() {
  IPluginFactory2* factory = PluginFactory();
  void* object = nullptr;
  const Tresult made =
      factory->createInstance(EffectClassId().bytes, kIComponentIid.bytes, &object);
  factory->release();
  // Every test needs the effect; without one there is nothing to test.
  if (made != kResultOk || object == nullptr) std::abort();
  component = static_cast<IComponent*>(object);
  EXPECT_EQ(component->initialize(nullptr), kResultOk);
  processor = Query<IAudioProcessor>(component, kIAudioProcessorIid);
  controller = Query<IEditController>(component, kIEditControllerIid);
  units = Query<IUnitInfo>(component, kIUnitInfoIid);
}

HostedEffect::~HostedEffect() {
  processor->release();
  controller->release();
  units->release();
  component->terminate();
  component->release();
}

void HostedEffect::Start(int32_t maxBlock, int32_t sampleSize) {
  ProcessSetup setup{kRealtime, sampleSize, maxBlock, 44100.0};
  EXPECT_EQ(processor->setupProcessing(&setup), kResultOk);
  EXPECT_EQ(component->setActive(1), kResultOk);
  EXPECT_EQ(processor->setProcessing(1), kResultOk);
}

}  // namespace vst3
