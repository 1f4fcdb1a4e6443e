#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "support/test_host.h"

// A host thread sets parameters and selects programs while the audio thread
// processes: every output sample must stay on the grid of some word length
// and finite, and nothing may race (the ThreadSanitizer tier runs this).
TEST(Threads, ParameterAndProgramChangesDuringAudio) {
  TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  EffectRecord* r = RecordOf(plug);
  r->dispatcher(r, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  r->dispatcher(r, effSetBlockSize, 0, 256, nullptr, 0.0f);

  std::atomic<bool> done{false};
  std::atomic<int> badSamples{0};
  std::thread audio([&] {
    std::vector<float> left(256), right(256), outLeft(256), outRight(256);
    float* in[2] = {left.data(), right.data()};
    float* out[2] = {outLeft.data(), outRight.data()};
    for (int block = 0; !done.load() || block < 50; ++block) {
      for (int j = 0; j < 256; ++j) left[j] = right[j] = 0.3f * std::sin(0.01f * (block * 256 + j));
      r->processReplacing(r, in, out, 256);
      for (float y : outLeft) {
        // 32 bits is the finest grid a parameter can ask for.
        const double steps = static_cast<double>(y) * 2147483648.0;
        if (!std::isfinite(y) || steps != std::floor(steps)) ++badSamples;
      }
    }
  });
  for (int i = 0; i < 200; ++i) {
    r->setParameter(r, i % 4, (i % 7) / 6.0f);
    r->dispatcher(r, effSetProgram, 0, i % 8, nullptr, 0.0f);
    (void)r->getParameter(r, i % 4);
  }
  done = true;
  audio.join();
  EXPECT_EQ(badSamples.load(), 0);
  ClosePlugin(plug);
}

// A host's interface thread reads the display texts while its automation
// thread sets the same parameters: the texts must be those of whole values
// (the ThreadSanitizer tier checks that the two never race).
TEST(Threads, DisplayTextsDuringHostParameterChanges) {
  TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  EffectRecord* r = RecordOf(plug);
  r->setParameter(r, kParamTargetBits, 0.0f);
  std::atomic<bool> done{false};
  std::thread automation([&] {
    for (int i = 0; i < 2000; ++i) r->setParameter(r, kParamTargetBits, (i % 2) * 1.0f);
    done = true;
  });
  int readings = 0;
  std::vector<std::string> odd;
  while (!done.load() || readings < 100) {
    char text[64];
    r->dispatcher(r, effGetParamDisplay, kParamTargetBits, 0, text, 0.0f);
    if (std::string(text) != "6" && std::string(text) != "32") odd.push_back(text);
    ++readings;
  }
  automation.join();
  EXPECT_TRUE(odd.empty()) << odd.front();
  ClosePlugin(plug);
}
