// `qvhost speed LIB [--seconds S] [render options]`: how many samples per
// second of processor time the plug-in processes through its audio callback,
// two channels of blocks of --block frames, over S seconds of processor time
// (1 by default) after a short warm-up.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "vst2/dispatcher.h"
#include "tools/qvhost/arguments.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/cpu_clock.h"
#include "tools/qvhost/vst2/loaded_plugin.h"
#include "tools/qvhost/render_options.h"
#include "tools/qvhost/vst2/vst2_render.h"

namespace {

constexpr double kRate = 44100.0;
constexpr int kWarmUpBlocks = 200;
constexpr int kBlocksPerClockRead = 64;

// Calls the callback of the chosen path on the same block until `seconds`
// of processor time have passed; returns the samples (frames times two channels) per second.
template <typename Sample, typename Process>
double TimeBlocks(int32_t block, double seconds, Process process) {
  std::vector<Sample> left(block), right(block), outLeft(block), outRight(block);
  for (int32_t j = 0; j < block; ++j) {
    left[j] = static_cast<Sample>(0.5 * std::sin(0.031 * j));
    right[j] = static_cast<Sample>(0.5 * std::cos(0.017 * j));
  }
  Sample* ins[2] = {left.data(), right.data()};
  Sample* outs[2] = {outLeft.data(), outRight.data()};
  for (int i = 0; i < kWarmUpBlocks; ++i) process(ins, outs, block);
  const double start = ProcessCpuSeconds();
  double elapsed = 0.0;
  int64_t blocks = 0;
  while (elapsed < seconds) {
    for (int i = 0; i < kBlocksPerClockRead; ++i) process(ins, outs, block);
    blocks += kBlocksPerClockRead;
    elapsed = ProcessCpuSeconds() - start;
  }
  return static_cast<double>(blocks) * block * 2.0 / elapsed;
}

double Time(EffectRecord& r, RenderPath path, int32_t block, double seconds) {
  switch (path) {
    case RenderPath::kFloat:
      return TimeBlocks<float>(block, seconds, [&r](float** i, float** o, int32_t n) {
        r.processReplacing(&r, i, o, n);
      });
    case RenderPath::kDouble:
      return TimeBlocks<double>(block, seconds, [&r](double** i, double** o, int32_t n) {
        r.processDoubleReplacing(&r, i, o, n);
      });
    case RenderPath::kAccumulate:
      return TimeBlocks<float>(block, seconds, [&r](float** i, float** o, int32_t n) {
        r.processAccumulating(&r, i, o, n);
      });
  }
  return 0.0;
}

}  // namespace

int SpeedCommand(int argc, char** argv) {
  if (argc < 3) return kExitUsage;
  double seconds = 1.0;
  int first = 3;
  if (argc >= 5 && std::strcmp(argv[3], "--seconds") == 0) {
    if (!ParseDouble(argv[4], seconds) || !(seconds > 0.0)) return kExitUsage;
    first = 5;
  }
  RenderOptions options;
  options.path = RenderPath::kDouble;
  if (!ParseRenderOptions(argc, argv, first, options)) return kExitUsage;
  LoadedPlugin plugin;
  if (!plugin.Load(argv[2])) return kExitFailure;
  const double rate = options.rate > 0.0 ? options.rate : kRate;
  if (!StartRendering(plugin, options, rate)) return kExitFailure;
  EffectRecord& r = plugin.Record();
  const bool hasPath = options.path == RenderPath::kFloat    ? r.processReplacing != nullptr
                       : options.path == RenderPath::kDouble ? r.processDoubleReplacing != nullptr
                                                             : r.processAccumulating != nullptr;
  if (!hasPath) {
    std::fprintf(stderr, "qvhost: the plug-in has no callback for that path\n");
    return kExitFailure;
  }
  const double rateOfSamples = Time(r, options.path, options.block, seconds);
  plugin.Dispatch(effMainsChanged, 0, 0);
  std::printf("%.0f samples/s\n", rateOfSamples);
  return kExitSuccess;
}
