// VST 3: the effect made by the module's factory, set up and switched on as
// a host does, with changes as points of the block's parameter queues, its
// texts through the controller and its state through the component.
#include "formats/format_under_test.h"
#include "vst3/vst3_fixture.h"

namespace vst3 {
namespace {

class Vst3Format final : public FormatUnderTest {
 public:
  ~Vst3Format() override {
    if (!active) return;
    hosted.processor->setProcessing(0);
    hosted.component->setActive(0);
  }

  bool Prepare(double rate, int maxBlock, bool wide) override {
    ProcessSetup setup{kRealtime, wide ? kSample64 : kSample32, maxBlock, rate};
    active = hosted.processor->setupProcessing(&setup) == kResultOk &&
             hosted.component->setActive(1) == kResultOk &&
             hosted.processor->setProcessing(1) == kResultOk;
    return active;
  }
  bool Process(std::vector<float>& left, std::vector<float>& right,
               const std::vector<ParamChange>& changes) override {
    return Run(left, right, changes);
  }
  bool Process(std::vector<double>& left, std::vector<double>& right,
               const std::vector<ParamChange>& changes) override {
    return Run(left, right, changes);
  }
  void SetParam(int index, double plain) override {
    hosted.controller->setParamNormalized(index, Normalised(index, plain));
  }
  std::string ValueToText(int index, double plain) override {
    char16_t text[128] = {};
    if (hosted.controller->getParamStringByValue(index, Normalised(index, plain), text) !=
        kResultOk) {
      return "(none)";
    }
    std::string narrow;
    for (const char16_t* c = text; *c; ++c) narrow += static_cast<char>(*c);
    return narrow;
  }
  bool TextToValue(int index, const std::string& text, double& plain) override {
    char16_t wide[128] = {};
    for (size_t i = 0; i < text.size() && i < 127; ++i) wide[i] = static_cast<char16_t>(text[i]);
    ParamValue normalised = 0.0;
    if (hosted.controller->getParamValueByString(index, wide, &normalised) != kResultOk) {
      return false;
    }
    plain = hosted.controller->normalizedParamToPlain(index, normalised);
    return true;
  }
  std::vector<unsigned char> SaveState() override {
    MemoryStream stream;
    return hosted.component->getState(&stream) == kResultOk ? stream.bytes
                                                            : std::vector<unsigned char>();
  }
  bool LoadState(const std::vector<unsigned char>& state) override {
    MemoryStream stream(state);
    return hosted.component->setState(&stream) == kResultOk;
  }
  PlugBase& Plug() override { return hosted.Effect().Plug(); }

 private:
  ParamValue Normalised(int index, double plain) {
    return hosted.controller->plainParamToNormalized(index, plain);
  }
  // The queues are built again only for other changes, so that a block
  // with the same changes allocates nothing on the host's side either.
  template <typename Sample>
  bool Run(std::vector<Sample>& left, std::vector<Sample>& right,
           const std::vector<ParamChange>& changes) {
    if (changes != queued) {
      queues.queues.clear();
      for (const ParamChange& change : changes) {
        queues.Add(change.index, change.frame, Normalised(change.index, change.plain));
      }
      queued = changes;
    }
    return hosted.Process(left, right, &queues) == kResultOk;
  }

  HostedEffect hosted;
  ParameterChanges queues;
  std::vector<ParamChange> queued;
  bool active = false;
};

}  // namespace
}  // namespace vst3

std::unique_ptr<FormatUnderTest> MakeVst3Format() { return std::make_unique<vst3::Vst3Format>(); }
