// The module's entry: factories only while an init is in force, init and
// deinit counted in pairs from any thread, unknown ids refused.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "clap/clap_abi.h"

extern "C" const clap::PluginEntry clap_entry;

namespace clap {
namespace {

TEST(ClapEntry, FactoriesOnlyWhileAnInitIsInForce) {
  EXPECT_EQ(clap_entry.getFactory(kPluginFactoryId), nullptr);
  ASSERT_TRUE(clap_entry.init("/nowhere/Quorvane.clap"));
  ASSERT_TRUE(clap_entry.init("/nowhere/Quorvane.clap"));
  EXPECT_NE(clap_entry.getFactory(kPluginFactoryId), nullptr);
  EXPECT_NE(clap_entry.getFactory(kPresetDiscoveryFactoryId), nullptr);
  EXPECT_NE(clap_entry.getFactory(kPresetDiscoveryFactoryIdCompat), nullptr);
  EXPECT_EQ(clap_entry.getFactory("clap.plugin-factory/2"), nullptr);
  EXPECT_EQ(clap_entry.getFactory(nullptr), nullptr);
  clap_entry.deinit();
  EXPECT_NE(clap_entry.getFactory(kPluginFactoryId), nullptr) << "one init is still in force";
  clap_entry.deinit();
  EXPECT_EQ(clap_entry.getFactory(kPluginFactoryId), nullptr);
  clap_entry.deinit();  // without its init: ignored
  ASSERT_TRUE(clap_entry.init(nullptr));
  EXPECT_NE(clap_entry.getFactory(kPluginFactoryId), nullptr);
  clap_entry.deinit();
}

TEST(ClapEntry, ThreadsPairingInitAndDeinitLeaveItBalanced) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 200; ++i) {
        if (clap_entry.init("/nowhere/Quorvane.clap")) clap_entry.deinit();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(clap_entry.getFactory(kPluginFactoryId), nullptr);
}

}  // namespace
}  // namespace clap
