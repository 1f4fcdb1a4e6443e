#include "tests/fuzz/fuzz_host.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "dither/dither_plugin.h"
#include "plug/create_plugin.h"
#include "editor/load_bitmap_resource.h"
#include "vst2/dispatcher.h"
#include "vst2/host_services.h"
#include "vst2/vst2_effect.h"
#include "tests/fuzz/shared_pictures.h"
#include "tools/qvhost/vst2/guarded_channels.h"

namespace {

constexpr int32_t kMaxFrames = 1 << 14;

intptr_t QV_CDECL FuzzCallback(EffectRecord*, int32_t opcode, int32_t index, intptr_t, void* ptr,
                               float) {
  if (opcode == kHostExtensionOpcode && index == kHostExtensionIndex && ptr &&
      std::strcmp(static_cast<const char*>(ptr), kHostPngLoaderName) == 0) {
    return reinterpret_cast<intptr_t>(&SharedPictureLoader);
  }
  switch (opcode) {
    case 32: std::snprintf(static_cast<char*>(ptr), 256, "Fuzz Vendor"); return 1;
    case 33: std::snprintf(static_cast<char*>(ptr), 256, "fuzz host"); return 1;
    case 8: return 1;
    default: return 0;
  }
}

void Fail(const char* what, int32_t channel, int32_t frame) {
  std::fprintf(stderr, "fuzz host: %s, channel %d frame %d\n", what, channel, frame);
  std::abort();
}

// One block's channels: inputs from the fuzzed bytes, outputs cleared, both
// with guards after every channel.
template <typename Sample, typename Consume>
void RunBlock(int32_t inCount, int32_t outCount, int32_t frames, Consume consume,
              void (*process)(EffectRecord*, Sample**, Sample**, int32_t), EffectRecord* record) {
  GuardedChannels<Sample> inputs(inCount, frames);
  GuardedChannels<Sample> outputs(outCount, frames);
  for (int32_t c = 0; c < inCount; ++c) {
    for (int32_t j = 0; j < inputs.Frames(); ++j) inputs.Channel(c)[j] = consume();
  }
  outputs.Fill(Sample(0));
  process(record, inputs.Pointers(), outputs.Pointers(), frames);
  int32_t channel = 0, frame = 0;
  if (!outputs.GuardsIntact(&channel, &frame)) Fail("written past the block", channel, frame);
  for (int32_t c = 0; c < outCount; ++c) {
    for (int32_t j = 0; j < outputs.Frames(); ++j) {
      const int kind = std::fpclassify(outputs.Channel(c)[j]);
      if (kind != FP_NORMAL && kind != FP_ZERO) Fail("sample not finite or subnormal", c, j);
    }
  }
}

}  // namespace

FuzzHost::FuzzHost(FuzzedDataProvider& bytes) : in(bytes) {
  SetHostCallback(&FuzzCallback);
  // As the entry does: the editor asks the host for its image loader.
  SetHostFunctionLookup(&HostExtension);
  Open();
}

FuzzHost::~FuzzHost() {
  if (record) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

void FuzzHost::Open() {
  plug = new DitherPlugin();
  if (!CreatePluginEditor(*plug)) std::abort();
  record = (new Vst2Effect(plug))->Record();
}

bool FuzzHost::Step() {
  if (in.remaining_bytes() == 0) return false;
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: Dispatch(); break;
    case 1: SetParameter(); break;
    case 2: (void)record->getParameter(record, in.ConsumeIntegralInRange<int32_t>(-2, 6)); break;
    default: Process(); break;
  }
  return true;
}

float FuzzHost::ConsumeSample() {
  static const float kSpecial[] = {0.0f,
                                   -0.0f,
                                   1.0f,
                                   -1.0f,
                                   1e30f,
                                   -1e30f,
                                   1e-40f,
                                   std::numeric_limits<float>::infinity(),
                                   -std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::quiet_NaN()};
  if (in.ConsumeBool()) return in.PickValueInArray(kSpecial);
  const uint32_t bits = in.ConsumeIntegral<uint32_t>();
  float sample;
  std::memcpy(&sample, &bits, sizeof sample);
  return sample;
}

double FuzzHost::ConsumeDoubleSample() {
  if (in.ConsumeBool()) return ConsumeSample();
  const uint64_t bits = in.ConsumeIntegral<uint64_t>();
  double sample;
  std::memcpy(&sample, &bits, sizeof sample);
  return sample;
}

void FuzzHost::SetParameter() {
  const int32_t index =
      in.ConsumeBool() ? in.ConsumeIntegralInRange<int32_t>(-1, 4) : in.ConsumeIntegral<int32_t>();
  record->setParameter(record, index, ConsumeSample());
}

// The host's channel arrays hold as many channels as the plug-in uses (at
// least two, what it declares).
void FuzzHost::Process() {
  const int path = in.ConsumeIntegralInRange(0, 2);
  const int32_t frames = in.ConsumeBool()
                             ? in.ConsumeIntegralInRange<int32_t>(-4, 70)
                             : in.ConsumeIntegralInRange<int32_t>(-kMaxFrames, kMaxFrames);
  const int32_t inCount = plug->InputsInUse() > 2 ? plug->InputsInUse() : 2;
  const int32_t outCount = plug->OutputsInUse() > 2 ? plug->OutputsInUse() : 2;
  auto floats = [this] { return ConsumeSample(); };
  switch (path) {
    case 0:
      RunBlock<float>(inCount, outCount, frames, floats, record->processReplacing, record);
      break;
    case 1:
      RunBlock<double>(
          inCount, outCount, frames, [this] { return ConsumeDoubleSample(); },
          record->processDoubleReplacing, record);
      break;
    default:
      RunBlock<float>(inCount, outCount, frames, floats, record->processAccumulating, record);
      break;
  }
}
