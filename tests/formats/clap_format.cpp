// CLAP: the plug-in made by the module's factory with qvhost's host, activated
// and started as a host does, with changes as parameter events at their
// frames, values set between blocks through the parameters' flush, its texts
// through the parameters extension and its state through the state
// extension.
#include <cstring>

#include "clap/clap_fixture.h"
#include "formats/format_under_test.h"

namespace clap {
namespace {

class ClapFormat final : public FormatUnderTest {
 public:
  ~ClapFormat() override {
    if (!active) return;
    hosted.plugin->stopProcessing(hosted.plugin);
    hosted.plugin->deactivate(hosted.plugin);
  }

  bool Prepare(double rate, int maxBlock, bool) override {
    active = hosted.plugin->activate(hosted.plugin, rate, 1, static_cast<uint32_t>(maxBlock)) &&
             hosted.plugin->startProcessing(hosted.plugin);
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
    InputEventList events;
    events.AddValue(static_cast<Id>(index), 0, plain);
    OutputEventList sink;
    Params().flush(hosted.plugin, events.Record(), sink.Record());
  }
  std::string ValueToText(int index, double plain) override {
    char text[kNameSize] = {};
    if (!Params().valueToText(hosted.plugin, static_cast<Id>(index), plain, text, sizeof text)) {
      return "(none)";
    }
    return text;
  }
  bool TextToValue(int index, const std::string& text, double& plain) override {
    return Params().textToValue(hosted.plugin, static_cast<Id>(index), text.c_str(), &plain);
  }
  std::vector<unsigned char> SaveState() override {
    MemoryOutStream stream;
    return State().save(hosted.plugin, stream.Record()) ? stream.bytes
                                                        : std::vector<unsigned char>();
  }
  bool LoadState(const std::vector<unsigned char>& state) override {
    MemoryInStream stream(state);
    return State().load(hosted.plugin, stream.Record());
  }
  PlugBase& Plug() override { return hosted.Instance().Plug(); }

 private:
  const PluginParams& Params() const { return hosted.Ask<PluginParams>(kExtParams); }
  const PluginState& State() const { return hosted.Ask<PluginState>(kExtState); }
  // The events are listed again only for other changes, so that a block
  // with the same changes allocates nothing on the host's side either.
  template <typename Sample>
  bool Run(std::vector<Sample>& left, std::vector<Sample>& right,
           const std::vector<ParamChange>& changes) {
    if (changes != listed) {
      events.Clear();
      for (const ParamChange& change : changes) {
        events.AddValue(static_cast<Id>(change.index), static_cast<uint32_t>(change.frame),
                        change.plain);
      }
      listed = changes;
    }
    return hosted.Process(left, right, events, &sink) != kProcessError;
  }

  HostedClap hosted;
  InputEventList events;
  std::vector<ParamChange> listed;
  OutputEventList sink;
  bool active = false;
};

}  // namespace
}  // namespace clap

std::unique_ptr<FormatUnderTest> MakeClapFormat() { return std::make_unique<clap::ClapFormat>(); }
