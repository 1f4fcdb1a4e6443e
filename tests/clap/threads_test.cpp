// The main thread's calls while the audio thread processes: state, values,
// presets and the GUI built and taken down, as hosts make them. Run under
// ThreadSanitizer by the sanitizer tier.
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "clap_fixture.h"
#include "dither/dither_programs.h"

namespace clap {
namespace {

TEST(ClapThreads, StateValuesPresetsAndGuiOnTheMainThreadWhileProcessing) {
  HostedClap hosted;
  hosted.Start(128);
  std::atomic<bool> running{true};
  std::atomic<bool> finite{true};
  std::thread audio([&] {
    ClapHost::BecomeAudioThread();
    for (uint32_t i = 0; running; ++i) {
      InputEventList events;
      events.AddValue(kParamTargetBits, i % 128, 8.0 + i % 16);
      std::vector<float> left(128, 0.3f), right(128, -0.3f);
      OutputEventList sink;
      hosted.Process(left, right, events, &sink);
      for (size_t f = 0; f < left.size(); ++f) {
        if (!std::isfinite(left[f]) || !std::isfinite(right[f])) finite = false;
      }
    }
  });
  const auto& state = hosted.Ask<PluginState>(kExtState);
  const auto& params = hosted.Ask<PluginParams>(kExtParams);
  const auto& presets = hosted.Ask<PluginPresetLoad>(kExtPresetLoad);
  const auto& gui = hosted.Ask<PluginGui>(kExtGui);
  for (int i = 0; i < 100; ++i) {
    MemoryOutStream out;
    EXPECT_TRUE(state.save(hosted.plugin, out.Record()));
    MemoryInStream in(out.bytes);
    EXPECT_TRUE(state.load(hosted.plugin, in.Record()));
    double value = 0.0;
    params.getValue(hosted.plugin, kParamShaping, &value);
    const char key[2] = {static_cast<char>('0' + i % 3), '\0'};
    EXPECT_TRUE(presets.fromLocation(hosted.plugin, kPresetLocationPlugin, nullptr, key));
    if (i % 10 == 0) {
      ASSERT_TRUE(gui.create(hosted.plugin, kGuiApi, false));
      hosted.Instance().Plug().SetParamFromEditor(kParamDither, i % 20 == 0 ? 1.0 : 0.0);
      gui.destroy(hosted.plugin);
    }
  }
  running = false;
  audio.join();
  EXPECT_TRUE(finite);
  EXPECT_EQ(hosted.host.violations, 0) << hosted.host.firstViolation.load();
}

}  // namespace
}  // namespace clap
