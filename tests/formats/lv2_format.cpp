// LV2: an instance of the DSP binary's descriptor (compiled in here, so that
// its allocations are this binary's), driven by the tests' LV2 host. A host
// changes a control port between runs, so it cuts a run at each change; the
// ports are the state and there are no texts beside the Turtle files.
#include <lv2/core/lv2.h>

#include <algorithm>
#include <array>
#include <memory>
#include <cstring>

#include "formats/format_under_test.h"
#include "lv2/lv2_host.h"
#include "lv2/lv2_instance.h"

extern "C" const LV2_Descriptor* lv2_descriptor(uint32_t index);

const LV2_Descriptor* Lv2Descriptor() { return lv2_descriptor(0); }

namespace {

class Lv2Format final : public FormatUnderTest {
 public:
  static constexpr int kBufferFrames = 1 << 14;

  bool Prepare(double rate, int maxBlock, bool wide) override {
    if (wide) return false;
    // The buffers hold more than the host announces: a host may run more.
    instance = std::make_unique<Lv2TestInstance>(rate, maxBlock, kBufferFrames);
    if (!instance->Valid()) return false;
    instance->controls = pending;
    instance->Activate();
    return true;
  }
  bool Process(std::vector<float>& left, std::vector<float>& right,
               const std::vector<ParamChange>& changes) override {
    const int frames = static_cast<int>(left.size());
    if (instance == nullptr || frames > static_cast<int>(instance->in[0].size())) return false;
    CutAtChanges(
        frames, changes,
        [this](const ParamChange& change) { SetParam(change.index, change.plain); },
        [&](int first, int count) {
          const auto n = static_cast<size_t>(count);
          std::copy_n(left.data() + first, n, instance->in[0].data());
          std::copy_n(right.data() + first, n, instance->in[1].data());
          instance->Run(static_cast<uint32_t>(n));
          std::copy_n(instance->out[0].data(), n, left.data() + first);
          std::copy_n(instance->out[1].data(), n, right.data() + first);
        });
    return true;
  }
  bool Process(std::vector<double>&, std::vector<double>&,
               const std::vector<ParamChange>&) override {
    return false;
  }
  void SetParam(int index, double plain) override {
    pending[static_cast<size_t>(index)] = static_cast<float>(plain);
    if (instance) instance->controls = pending;
  }
  std::string ValueToText(int, double) override { return std::string(); }
  bool TextToValue(int, const std::string&, double&) override { return false; }
  bool ShowsText() const override { return false; }
  bool ReadsText() const override { return false; }
  std::vector<unsigned char> SaveState() override { return {}; }
  bool LoadState(const std::vector<unsigned char>&) override { return false; }
  bool HasState() const override { return false; }
  PlugBase& Plug() override { return *static_cast<Lv2Instance*>(instance->Handle())->Plugin(); }

 private:
  std::array<float, 4> pending = Lv2TestInstance::kDefaultControls;
  std::unique_ptr<Lv2TestInstance> instance;
};

}  // namespace

std::unique_ptr<FormatUnderTest> MakeLv2Format() { return std::make_unique<Lv2Format>(); }
