// Edits made in the editor reach the host as gestures, through flush while
// the host is not processing (it is asked for one) and through process while
// it is; parameter events from the host reach the editor's controls.
#include <vector>

#include "clap_fixture.h"
#include "dither/dither_programs.h"
#include "dither/editor/dither_editor.h"

namespace clap {
namespace {

std::vector<uint16_t> Types(const OutputEventList& sink) {
  std::vector<uint16_t> types;
  for (const OutputEventList::Pushed& pushed : sink.pushed) types.push_back(pushed.type);
  return types;
}

// The normalised value the editor's first control of `param` shows.
double ControlValue(PlugBase& plug, int param) {
  auto* editor = static_cast<DitherEditor*>(plug.GetEditor());
  for (int i = 0; i < editor->ControlCount(); ++i) {
    if (editor->ControlAt(i)->ParamIdx() == param) return editor->ControlAt(i)->Value();
  }
  return -1.0;
}

const std::vector<uint16_t> kGesture = {kEventParamGestureBegin, kEventParamValue,
                                        kEventParamGestureEnd};

TEST(ClapEdits, AnEditWhileIdleAsksForAFlushWhichSendsItAsAGesture) {
  HostedClap hosted;
  PlugBase& plug = hosted.Instance().Plug();
  plug.SetParamFromEditor(kParamTargetBits, 18.0 / 26.0);  // 24 bits
  EXPECT_EQ(hosted.host.flushRequests, 1);
  double value = 0.0;
  hosted.Ask<PluginParams>(kExtParams).getValue(hosted.plugin, kParamTargetBits, &value);
  EXPECT_EQ(value, 24.0) << "the plug-in applies its editor's edits at once";
  OutputEventList sink;
  hosted.Ask<PluginParams>(kExtParams).flush(hosted.plugin, nullptr, sink.Record());
  ASSERT_EQ(Types(sink), kGesture);
  EXPECT_EQ(sink.pushed[1].paramId, static_cast<Id>(kParamTargetBits));
  EXPECT_EQ(sink.pushed[1].value, 24.0);
  OutputEventList again;
  hosted.Ask<PluginParams>(kExtParams).flush(hosted.plugin, nullptr, again.Record());
  EXPECT_TRUE(again.pushed.empty()) << "an edit is sent once";
}

TEST(ClapEdits, AnEditWhileProcessingGoesOutWithTheNextBlock) {
  HostedClap hosted;
  hosted.Start(256);
  hosted.Instance().Plug().SetParamFromEditor(kParamDither, 1.0);
  EXPECT_EQ(hosted.host.flushRequests, 0);
  std::vector<float> left(256, 0.1f), right = left;
  OutputEventList sink;
  hosted.Process(left, right, InputEventList(), &sink);
  ASSERT_EQ(Types(sink), kGesture);
  EXPECT_EQ(sink.pushed[1].value, 1.0);
}

TEST(ClapEdits, AFullOutputListKeepsTheEditForTheNextCall) {
  HostedClap hosted;
  hosted.Instance().Plug().SetParamFromEditor(kParamShaping, 4.0 / 12.0);
  OutputEventList full;
  full.capacity = 0;
  hosted.Ask<PluginParams>(kExtParams).flush(hosted.plugin, nullptr, full.Record());
  OutputEventList open;
  hosted.Ask<PluginParams>(kExtParams).flush(hosted.plugin, nullptr, open.Record());
  ASSERT_EQ(Types(open), kGesture);
  EXPECT_EQ(open.pushed[1].value, 4.0);
}

TEST(ClapEdits, ADragFromPressToReleaseIsOneGesture) {
  HostedClap hosted;
  PlugBase& plug = hosted.Instance().Plug();
  const auto& params = hosted.Ask<PluginParams>(kExtParams);
  plug.BeginGesture(kParamShaping);
  plug.SetParamFromEditor(kParamShaping, 5.0 / 12.0);
  plug.SetParamFromEditor(kParamShaping, 6.0 / 12.0);
  // The host flushes in the middle of the drag: the gesture stays open.
  OutputEventList middle;
  params.flush(hosted.plugin, nullptr, middle.Record());
  ASSERT_EQ(Types(middle), (std::vector<uint16_t>{kEventParamGestureBegin, kEventParamValue}));
  EXPECT_EQ(middle.pushed[1].value, 6.0);
  plug.SetParamFromEditor(kParamShaping, 7.0 / 12.0);
  plug.SetParamFromEditor(kParamShaping, 8.0 / 12.0);
  plug.EndGesture(kParamShaping);
  OutputEventList rest;
  params.flush(hosted.plugin, nullptr, rest.Record());
  ASSERT_EQ(Types(rest), (std::vector<uint16_t>{kEventParamValue, kEventParamGestureEnd}));
  EXPECT_EQ(rest.pushed[0].value, 8.0) << "only the last value of a drag is still needed";
}

TEST(ClapEdits, EventsTheListRefusesAreSentWholeAndInOrderLater) {
  HostedClap hosted;
  PlugBase& plug = hosted.Instance().Plug();
  const auto& params = hosted.Ask<PluginParams>(kExtParams);
  plug.SetParamFromEditor(kParamDither, 1.0);
  // Room for the begin alone: the value and the end wait.
  OutputEventList tight;
  tight.capacity = 1;
  params.flush(hosted.plugin, nullptr, tight.Record());
  ASSERT_EQ(Types(tight), (std::vector<uint16_t>{kEventParamGestureBegin}));
  // The next edit, before the host took the rest, continues the same
  // gesture: the host never hears a second begin before an end.
  plug.SetParamFromEditor(kParamTargetBits, 2.0 / 26.0);
  OutputEventList open;
  params.flush(hosted.plugin, nullptr, open.Record());
  ASSERT_EQ(Types(open),
            (std::vector<uint16_t>{kEventParamValue, kEventParamGestureEnd, kEventParamGestureBegin,
                                   kEventParamValue, kEventParamGestureEnd}));
  EXPECT_EQ(open.pushed[0].paramId, static_cast<Id>(kParamDither));
  EXPECT_EQ(open.pushed[3].paramId, static_cast<Id>(kParamTargetBits));
  EXPECT_EQ(open.pushed[3].value, 8.0);
}

TEST(ClapEdits, HostEventsMoveTheEditorsControls) {
  HostedClap hosted;
  const auto& gui = hosted.Ask<PluginGui>(kExtGui);
  ASSERT_TRUE(gui.create(hosted.plugin, kGuiApi, false));
  InputEventList events;
  events.AddValue(kParamTargetBits, 0, 32.0);
  hosted.Ask<PluginParams>(kExtParams).flush(hosted.plugin, events.Record(), nullptr);
  PlugBase& plug = hosted.Instance().Plug();
  ASSERT_NE(plug.GetEditor(), nullptr);
  EXPECT_EQ(ControlValue(plug, kParamTargetBits), 1.0);
  gui.destroy(hosted.plugin);
  EXPECT_EQ(plug.GetEditor(), nullptr) << "the editor goes with the GUI";
}

}  // namespace
}  // namespace clap
