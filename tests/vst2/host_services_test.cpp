#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_host.h"

TEST(IdentifyHost, ProductRowsComeFirstAndEarlierRowsWin) {
  EXPECT_EQ(IdentifyHost("", "My REAPER build", 0), kHostReaper);
  EXPECT_EQ(IdentifyHost("Fruity", "ReApEr", 0), kHostReaper);
  EXPECT_EQ(IdentifyHost("x", "Nuendo and Cubase", 0), kHostCubase);
  EXPECT_EQ(IdentifyHost("x", "nuendo", 0), kHostNuendo);
  EXPECT_EQ(IdentifyHost("x", "Cakewalk", 0), kHostCakewalk);
  EXPECT_EQ(IdentifyHost("x", "Samplitude", 0), kHostSamplitude);
  EXPECT_EQ(IdentifyHost("Image-Line Fruity", "x", 0), kHostFruity);
  EXPECT_EQ(IdentifyHost("x", "fruity loops", 0), kHostUnknown);
  EXPECT_EQ(IdentifyHost("Ableton", "Live 11", 0), kHostAbleton);
  EXPECT_EQ(IdentifyHost("ABLETON", "Push", 0), kHostUnknown);
  EXPECT_EQ(IdentifyHost("x", "Melodyne", 0), kHostMelodyne);
  EXPECT_EQ(IdentifyHost("x", "VstManLib", 0), kHostVstManLib);
  EXPECT_EQ(IdentifyHost(nullptr, nullptr, 0), kHostUnknown);
}

TEST(IdentifyHost, ConstructionAsksTheHostAndStopsAtTheFirstRefusal) {
  TestHost& host = TestHost::Install();
  host.product = "REAPER";
  DitherPlugin* plug = NewPlugin();
  EXPECT_EQ(EffectOf(plug)->HostCode(), kHostReaper);
  EXPECT_EQ(EffectOf(plug)->HostVersion(), 4321);
  ClosePlugin(plug);

  TestHost& refusing = TestHost::Install();
  refusing.product = "REAPER";
  refusing.answerProduct = false;
  plug = NewPlugin();
  EXPECT_EQ(EffectOf(plug)->HostCode(), kHostUnknown);
  EXPECT_TRUE(refusing.CallsWith(kHostGetVendorVersion).empty());
  ClosePlugin(plug);

  TestHost& silent = TestHost::Install();
  silent.vendor = silent.product = "";
  plug = NewPlugin();
  EXPECT_EQ(EffectOf(plug)->HostCode(), kHostUnknown);
  EXPECT_TRUE(silent.CallsWith(kHostGetVendorVersion).empty());
  ClosePlugin(plug);
}

TEST(IdentifyHost, NoCallbackAtAllIsSafe) {
  SetHostCallback(nullptr);
  DitherPlugin* plug = OpenPlugin();
  EXPECT_EQ(EffectOf(plug)->HostCode(), kHostUnknown);
  plug->SetParamFromEditor(kParamTargetBits, 0.5);
  EXPECT_EQ(HostExtension("anything"), nullptr);
  ClosePlugin(plug);
}

TEST(HostServices, AnExtensionIsAskedForByNameWithoutARecord) {
  static std::string asked;
  SetHostCallback([](EffectRecord* effect, int32_t opcode, int32_t index, intptr_t, void* ptr,
                     float) -> intptr_t {
    if (effect || opcode != kHostExtensionOpcode || index != kHostExtensionIndex) return 0;
    asked = static_cast<const char*>(ptr);
    return 42;
  });
  EXPECT_EQ(HostExtension("LICE_LoadPNGFromResource"), reinterpret_cast<void*>(42));
  EXPECT_EQ(asked, "LICE_LoadPNGFromResource");
  SetHostCallback(nullptr);
}

TEST(HostServices, EditorChangesAreReportedAsAutomation) {
  TestHost& host = TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  plug->SetParamFromEditor(kParamTargetBits, 0.5);
  const auto automation = host.CallsWith(kHostAutomate);
  ASSERT_EQ(automation.size(), 1u);
  EXPECT_EQ(automation[0].index, kParamTargetBits);
  EXPECT_EQ(automation[0].opt, 0.5f);
  EXPECT_EQ(automation[0].effect, RecordOf(plug));
  EXPECT_EQ(plug->ParamAt(kParamTargetBits).Value(), 19.0);
  EXPECT_EQ(plug->QuantScale(), 262144.0);  // the engine followed
  ClosePlugin(plug);
}

TEST(HostServices, IncomingMidiComesBackAsAThirtyTwoByteEvent) {
  TestHost& host = TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  MidiEvent note = {};
  note.type = 1;
  note.byteSize = sizeof note;
  note.deltaFrames = 17;
  note.midiData[0] = static_cast<char>(0x90);
  note.midiData[1] = 60;
  note.midiData[2] = 100;
  Event other = {};
  other.type = 6;
  other.byteSize = sizeof other;
  // A list of three: the note, a null entry that is skipped, another event.
  struct {
    int32_t numEvents;
    intptr_t reserved;
    Event* events[3];
  } three = {3, 0, {reinterpret_cast<Event*>(&note), nullptr, &other}};
  EXPECT_EQ(Dispatch(plug, effProcessEvents, 0, 0, &three), 1);
  const auto sent = host.CallsWith(kHostProcessEvents);
  ASSERT_EQ(sent.size(), 2u);
  ASSERT_EQ(sent[0].event.size(), 32u);
  MidiEvent echoed;
  std::memcpy(&echoed, sent[0].event.data(), sizeof echoed);
  EXPECT_EQ(echoed.type, 1);
  EXPECT_EQ(echoed.deltaFrames, 17);
  EXPECT_EQ(static_cast<unsigned char>(echoed.midiData[0]), 0x90);
  EXPECT_EQ(echoed.midiData[1], 60);
  EXPECT_EQ(echoed.midiData[2], 100);
  EXPECT_EQ(echoed.midiData[3], 0);
  EXPECT_EQ(sent[1].event.size(), sizeof other);  // passed on unchanged
  EXPECT_EQ(Dispatch(plug, effProcessEvents, 0, 0, nullptr), 0);
  ClosePlugin(plug);
}
