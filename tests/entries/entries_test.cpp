// Every exported entry, built around a plug-in whose constructor throws:
// the host gets null, never an exception.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <lv2/core/lv2.h>

#include "vst2/effect_record.h"

namespace {

// Opens `path` for the test and closes it after.
class Module {
 public:
  explicit Module(const char* path) : handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
  ~Module() {
    if (handle) dlclose(handle);
  }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;
  void* Symbol(const char* name) const { return handle ? dlsym(handle, name) : nullptr; }
  void* handle;
};

intptr_t AnswerNothing(EffectRecord*, int32_t, int32_t, intptr_t, void*, float) { return 0; }

}  // namespace

TEST(Entries, AVst2HostGetsNullUnderBothNamesWhenThePluginCannotBeMade) {
  Module module(QV_THROWING_VST2_MODULE);
  ASSERT_NE(module.handle, nullptr) << dlerror();
  for (const char* name : {"VSTPluginMain", "main"}) {
    auto entry = reinterpret_cast<EffectRecord* (*)(HostCallback)>(module.Symbol(name));
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry(&AnswerNothing), nullptr) << name;
  }
}

TEST(Entries, AnLv2HostGetsNoInstanceWhenThePluginCannotBeMade) {
  Module module(QV_THROWING_LV2_MODULE);
  ASSERT_NE(module.handle, nullptr) << dlerror();
  auto entry = reinterpret_cast<LV2_Descriptor_Function>(module.Symbol("lv2_descriptor"));
  ASSERT_NE(entry, nullptr);
  const LV2_Descriptor* descriptor = entry(0);
  ASSERT_NE(descriptor, nullptr);
  const LV2_Feature* none[] = {nullptr};
  EXPECT_EQ(descriptor->instantiate(descriptor, 48000.0, "", none), nullptr);
}
