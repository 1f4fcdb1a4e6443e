#include <atomic>
#include <chrono>
#include <cmath>
#include <mutex>
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

// A host whose edit callbacks take a lock of its own that its audio thread
// holds around process: a plug-in that calls them with its lock held waits
// for the audio thread while the audio thread waits for it. The wait is
// bounded, so that such a plug-in fails the test instead of hanging it.
class LockingHandler final : public StackObject<IComponentHandler> {
 public:
  uint32_t QV_VST3_CALL addRef() override { return 1; }
  uint32_t QV_VST3_CALL release() override { return 1; }
  Tresult QV_VST3_CALL beginEdit(ParamId) override { return Take(); }
  Tresult QV_VST3_CALL performEdit(ParamId, ParamValue) override { return Take(); }
  Tresult QV_VST3_CALL endEdit(ParamId) override { return Take(); }
  Tresult QV_VST3_CALL restartComponent(int32_t) override { return Take(); }

  std::mutex hostLock;
  std::atomic<bool> stalled{false};
  std::atomic<int> calls{0};

 private:
  // Tried, not waited for, so that ThreadSanitizer follows the lock too.
  Tresult Take() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!hostLock.try_lock()) {
      if (std::chrono::steady_clock::now() > end) {
        stalled = true;
        return kResultFalse;
      }
      std::this_thread::yield();
    }
    ++calls;
    hostLock.unlock();
    return kResultOk;
  }
};

TEST(Vst3Threads, TheHandlerIsCalledWithoutThePlugInsLock) {
  HostedEffect effect;
  effect.Start(64);
  LockingHandler handler;
  ASSERT_EQ(effect.controller->setComponentHandler(&handler), kResultOk);
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    std::vector<double> left(64, 0.2), right(64, -0.2);
    while (!stop.load()) {
      {
        std::lock_guard<std::mutex> guard(handler.hostLock);
        effect.Process(left, right);
      }
      ++blocks;
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  });
  while (blocks.load() == 0) std::this_thread::yield();
  // Edits for as long as the audio thread needs for 200 blocks at least.
  PlugBase& plug = effect.Effect().Plug();
  for (int i = 0; (i < 200 || blocks.load() < 200) && !handler.stalled.load(); ++i) {
    plug.BeginGesture(kParamShaping);
    plug.SetParamFromEditor(kParamShaping, (i % 13) / 12.0);
    plug.EndGesture(kParamShaping);
    plug.SetParamFromEditor(kParamDither, i % 2);
  }
  stop = true;
  audio.join();
  EXPECT_FALSE(handler.stalled.load());
  EXPECT_GT(handler.calls.load(), 0);
  effect.controller->setComponentHandler(nullptr);
}

}  // namespace
}  // namespace vst3
