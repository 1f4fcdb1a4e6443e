// The plug-in core and its editor, through the editor's interface: what the
// plug-in pushes to it, and how the host's editor requests reach it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/test_host.h"

namespace {

// Records every call the plug-in makes, in order, into a log that outlives it.
class FakeEditor : public PlugEditor {
 public:
  explicit FakeEditor(std::vector<std::string>* log) : log(log) {}
  ~FakeEditor() override { log->push_back("deleted"); }

  void PrepareDrawing() override { log->push_back("prepare"); }
  void SetParameterFromPlug(int index, double normalised, PlugLock* lock) override {
    log->push_back("set " + std::to_string(index) + " " + std::to_string(normalised) +
                   (lock ? " locked" : ""));
  }
  void RedrawParameter(int index, PlugLock* lock) override {
    log->push_back("redraw " + std::to_string(index) + (lock ? " locked" : ""));
  }
  bool OpenWindow(void* parent) override {
    log->push_back(parent ? "open" : "open without parent");
    return parent != nullptr;
  }
  void CloseWindow() override { log->push_back("close"); }
  int Width() const override { return 40; }
  int Height() const override { return 30; }

 private:
  std::vector<std::string>* log;
};

// Two parameters, 0 ... 4 and 0 ... 1, and one program; the editor attached
// as a plug-in's constructor attaches it.
class EditedPlug : public PlugBase {
 public:
  explicit EditedPlug(std::vector<std::string>* log)
      : PlugBase(TestDescription("edited", 2)), log(log) {
    ParamAt(0).DefineInt("steps", 2, 0, 4, nullptr);
    ParamAt(1).DefineDouble("level", 0.25, 0.0, 1.0, 0.01, nullptr);
    AddPreset("one", {4.0, 1.0});
    AttachEditor(new FakeEditor(log));
  }
  void ParamChanged(int index) override { log->push_back("changed " + std::to_string(index)); }
  void EditorOpened() override { log->push_back("opened"); }
  void EditorClosing() override { log->push_back("closing"); }

 private:
  std::vector<std::string>* log;
};

using Log = std::vector<std::string>;

}  // namespace

TEST(PlugEditor, AttachingPushesEveryValueUnderTheLockThenPreparesDrawing) {
  TestHost::Install();
  Log log;
  PluginHandle<EditedPlug> plug(new EditedPlug(&log));
  EXPECT_EQ(log, (Log{"set 0 0.500000 locked", "set 1 0.250000 locked", "prepare"}));
  EXPECT_TRUE(plug.Record()->flags & kFlagHasEditor);
}

TEST(PlugEditor, HostSetsAndProgramRecallsReachTheEditorBeforeThePlugIn) {
  TestHost::Install();
  Log log;
  PluginHandle<EditedPlug> plug(new EditedPlug(&log));
  log.clear();
  EffectRecord* r = plug.Record();
  r->setParameter(r, 0, 0.75f);
  r->setParameter(r, 2, 0.5f);  // out of range: nothing
  EXPECT_EQ(log, (Log{"set 0 0.750000 locked", "changed 0"}));
  EXPECT_EQ(plug->ParamAt(0).Value(), 3.0);
  log.clear();
  plug->RecallPreset(0);
  EXPECT_EQ(log, (Log{"set 0 1.000000 locked", "changed 0", "set 1 1.000000 locked", "changed 1"}));
  EXPECT_TRUE(TestHost::Current().CallsWith(kHostAutomate).empty());
}

TEST(PlugEditor, ANaNFromTheHostLeavesTheParameterAndTheEditorAsTheyAre) {
  TestHost::Install();
  Log log;
  PluginHandle<EditedPlug> plug(new EditedPlug(&log));
  log.clear();
  EffectRecord* r = plug.Record();
  r->setParameter(r, 0, std::nanf(""));
  EXPECT_EQ(plug->ParamAt(0).Value(), 2.0);
  EXPECT_EQ(log, (Log{"changed 0"}));
}

TEST(PlugEditor, AnEditorChangeForAnIndexPastTheEndChangesAndReportsNothing) {
  TestHost::Install();
  Log log;
  PluginHandle<EditedPlug> plug(new EditedPlug(&log));
  log.clear();
  plug->SetParamFromEditor(2, 0.7);
  plug->SetParamFromEditor(-1, 1.0);
  EXPECT_TRUE(TestHost::Current().CallsWith(kHostAutomate).empty());
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(plug->ParamAt(2).Value(), 0.0);  // the shared inert parameter
}

TEST(PlugEditor, TheHostsWindowRequestsReachTheEditorAndCloseComesFirst) {
  TestHost::Install();
  Log log;
  EditedPlug* plug = new EditedPlug(&log);
  new Vst2Effect(plug);
  log.clear();
  int parent = 0;
  EXPECT_EQ(Dispatch(plug, effEditOpen, 0, 0, &parent), 1);
  EXPECT_EQ(Dispatch(plug, effEditOpen, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(plug, effEditClose), 1);
  EXPECT_EQ(log, (Log{"open", "opened", "open without parent", "closing", "close"}));
  log.clear();
  ClosePlugin(plug);
  EXPECT_EQ(log, (Log{"close", "deleted"}));
}

TEST(PlugEditor, AHostsEchoOfTheValueSentOnlyRedrawsAndAnyOtherValueMovesTheControl) {
  TestHost::Install();
  Log log;
  PluginHandle<EditedPlug> plug(new EditedPlug(&log));
  log.clear();
  // A drag to 0.3 of "steps" (0 to 4) sends 1; the host answers with 1, as
  // its normalised 0.25, as a plain value, or as a port's value.
  plug->SetParamFromEditor(0, 0.3);
  plug->SetParamFromHost(0, 0.25f);
  plug->SetParamPlain(0, 1.0);
  plug->ShowHostValue(0, 1.0);
  EXPECT_EQ(log, (Log{"changed 0", "redraw 0 locked", "changed 0", "redraw 0 locked", "changed 0",
                      "redraw 0 locked"}));
  EXPECT_EQ(plug->ParamAt(0).Value(), 1.0);
  // Another value moves the control and ends the echo: the old value moves
  // it again.
  log.clear();
  plug->SetParamPlain(0, 3.0);
  plug->ShowHostValue(0, 1.0);
  EXPECT_EQ(log, (Log{"set 0 0.750000 locked", "changed 0", "set 0 0.250000 locked"}));
  // A program recalled ends it too.
  plug->SetParamFromEditor(1, 0.5);
  plug->RecallPreset(0);
  log.clear();
  plug->SetParamPlain(1, 0.5);
  EXPECT_EQ(log, (Log{"set 1 0.500000 locked", "changed 1"}));
}

TEST(PlugEditor, AnEchoFromInsideTheAutomationCallIsKnownAlready) {
  // A host that sets the value it is told about at once, as VST 2.x hosts do.
  TestHost::Install().echoAutomation = true;
  Log log;
  EditedPlug* plug = new EditedPlug(&log);
  PluginHandle<EditedPlug> handle(plug);
  log.clear();
  plug->SetParamFromEditor(0, 0.3);
  EXPECT_EQ(log, (Log{"redraw 0 locked", "changed 0", "changed 0"}));
}
