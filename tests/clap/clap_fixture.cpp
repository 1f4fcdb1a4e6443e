#include "clap_fixture.h"

#include "clap/clap_factory.h"
#include "plug/plug_identity.h"

namespace clap {

HostedClap::HostedClap() {
  plugin = kPluginFactory.createPlugin(&kPluginFactory, host.Record(), PluginIdentity().clapId);
  EXPECT_NE(plugin, nullptr);
  EXPECT_TRUE(plugin->init(plugin));
  host.Serve(plugin);
}

HostedClap::~HostedClap() { plugin->destroy(plugin); }

void HostedClap::Start(uint32_t maxFrames) {
  ASSERT_TRUE(plugin->activate(plugin, 44100.0, 1, maxFrames));
  ASSERT_TRUE(plugin->startProcessing(plugin));
}

}  // namespace clap
