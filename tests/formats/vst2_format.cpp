// VST 2.x: the effect record a host gets from the entry, driven through its
// dispatcher and audio callbacks. A host automates within a block by
// cutting the block at each change; it keeps the values itself, so the
// plug-in has no state of its own, and it reads no text.
#include <cstdint>

#include "formats/format_under_test.h"
#include "support/test_host.h"

namespace {

class Vst2Format final : public FormatUnderTest {
 public:
  Vst2Format() : plug(OpenPlugin()), record(RecordOf(plug)) {}
  ~Vst2Format() override { ClosePlugin(plug); }

  bool Prepare(double rate, int maxBlock, bool) override {
    Dispatch(plug, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    Dispatch(plug, effSetBlockSize, 0, maxBlock);
    Dispatch(plug, effMainsChanged, 0, 1);
    return true;
  }
  bool Process(std::vector<float>& left, std::vector<float>& right,
               const std::vector<ParamChange>& changes) override {
    return Run(left, right, changes, record->processReplacing);
  }
  bool Process(std::vector<double>& left, std::vector<double>& right,
               const std::vector<ParamChange>& changes) override {
    return Run(left, right, changes, record->processDoubleReplacing);
  }
  void SetParam(int index, double plain) override {
    record->setParameter(record, index, Normalised(index, plain));
  }
  std::string ValueToText(int index, double plain) override {
    const float before = record->getParameter(record, index);
    SetParam(index, plain);
    char text[64] = {};
    Dispatch(plug, effGetParamDisplay, index, 0, text);
    record->setParameter(record, index, before);
    return text;
  }
  bool TextToValue(int, const std::string&, double&) override { return false; }
  bool ReadsText() const override { return false; }
  std::vector<unsigned char> SaveState() override { return {}; }
  bool LoadState(const std::vector<unsigned char>&) override { return false; }
  bool HasState() const override { return false; }
  PlugBase& Plug() override { return *plug; }

 private:
  float Normalised(int index, double plain) {
    return static_cast<float>(plug->ParamAt(index).ToNormalized(plain));
  }
  template <typename Sample, typename Callback>
  bool Run(std::vector<Sample>& left, std::vector<Sample>& right,
           const std::vector<ParamChange>& changes, Callback callback) {
    CutAtChanges(
        static_cast<int>(left.size()), changes,
        [this](const ParamChange& change) { SetParam(change.index, change.plain); },
        [&](int first, int count) {
          Sample* channels[2] = {left.data() + first, right.data() + first};
          callback(record, channels, channels, count);
        });
    return true;
  }

  DitherPlugin* plug;
  EffectRecord* record;
};

}  // namespace

std::unique_ptr<FormatUnderTest> MakeVst2Format() { return std::make_unique<Vst2Format>(); }
