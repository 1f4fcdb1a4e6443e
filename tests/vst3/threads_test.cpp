#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "dither/dither_programs.h"
#include "vst3/vst3_fixture.h"

namespace vst3 {
namespace {

// A host that restores state, sets parameters and changes programs from its
// user-interface thread while its audio thread processes, as Ardour does.
TEST(Vst3Threads, StateAndParametersChangeConcurrentlyWithProcess) {
  HostedEffect effect;
  effect.Start(256);
  MemoryStream saved;
  ASSERT_EQ(effect.component->getState(&saved), kResultOk);
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::atomic<bool> finite{true};
  std::thread audio([&] {
    std::vector<double> left(256), right(256);
    while (!stop.load()) {
      for (int j = 0; j < 256; ++j) left[j] = right[j] = 0.4 * std::sin(0.01 * j);
      ParameterChanges changes;
      changes.Add(kParamTargetBits, 128, (blocks.load() % 27) / 26.0);
      effect.Process(left, right, &changes);
      for (double v : left) {
        if (!std::isfinite(v)) finite = false;
      }
      ++blocks;
    }
  });
  for (int i = 0; i < 200; ++i) {
    saved.position = 0;
    EXPECT_EQ(effect.component->setState(&saved), kResultOk);
    effect.controller->setParamNormalized(kParamShaping, (i % 13) / 12.0);
    effect.controller->setParamNormalized(kProgramParamId, (i % 8) / 7.0);
    MemoryStream state;
    EXPECT_EQ(effect.component->getState(&state), kResultOk);
  }
  while (blocks.load() < 50) std::this_thread::yield();
  stop = true;
  audio.join();
  EXPECT_TRUE(finite.load());
}

}  // namespace
}  // namespace vst3
