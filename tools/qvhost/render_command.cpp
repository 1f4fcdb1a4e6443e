// `qvhost render LIB IN OUT [options]`: an audio file through the plug-in,
// block by block, in the order a host drives it. LIB is a VST 2.x plug-in, a
// VST 3 module or a CLAP module.
#include <cstdio>
#include <memory>

#include "tools/qvhost/audio_file.h"
#include "tools/qvhost/commands.h"
#include "tools/qvhost/hosted_plugin.h"
#include "tools/qvhost/render_options.h"

namespace {

constexpr double kDefaultRate = 44100.0;

}  // namespace

int RenderCommand(int argc, char** argv) {
  RenderOptions options;
  if (argc < 5 || !ParseRenderOptions(argc, argv, 5, options)) return kExitUsage;
  AudioData in;
  if (!ReadAudio(argv[3], in)) return kExitFailure;
  AudioData out;
  out.rate = options.rate > 0.0 ? options.rate : in.rate > 0.0 ? in.rate : kDefaultRate;
  out.sampleType =
      options.path == RenderPath::kDouble ? SampleType::kFloat64 : SampleType::kFloat32;
  out.samples.assign(in.samples.size(), 0.0);
  // A block longer than the file would only size buffers for frames that
  // never come; a host announces at most what it will send.
  if (static_cast<size_t>(options.block) > in.Frames()) {
    options.block = in.Frames() > 0 ? static_cast<int32_t>(in.Frames()) : 1;
  }
  const std::unique_ptr<HostedPlugin> plugin = LoadHostedPlugin(argv[2]);
  if (plugin == nullptr || !plugin->Render(options, in, out)) return kExitFailure;
  if (!WriteAudio(argv[4], out)) return kExitFailure;
  std::printf("rendered %zu frames at %g Hz, block %d\n", out.Frames(), out.rate,
              static_cast<int>(options.block));
  return kExitSuccess;
}
