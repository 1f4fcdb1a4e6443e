#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/text_copy.h"
#include "plug/plug_identity.h"
#include "support/test_host.h"

namespace {

class DispatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Install();
    plug = OpenPlugin();
  }
  void TearDown() override { ClosePlugin(plug); }

  intptr_t Call(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                float opt = 0.0f) {
    return Dispatch(plug, opcode, index, value, ptr, opt);
  }
  std::string Text(int32_t opcode, int32_t index = 0) {
    char buffer[128];
    std::memset(buffer, '#', sizeof buffer);
    Call(opcode, index, 0, buffer);
    return std::string(buffer, strnlen(buffer, sizeof buffer));
  }

  DitherPlugin* plug = nullptr;
};

}  // namespace

TEST_F(DispatcherTest, FixedAnswers) {
  EXPECT_EQ(Call(effGetVstVersion), 2400);
  EXPECT_EQ(Call(effIdentify), 0x4E764566);
  EXPECT_EQ(Call(effGetPlugCategory), 1);
  EXPECT_EQ(Call(effCanBeAutomated, 3), 1);
  EXPECT_EQ(Call(44), 0);
  EXPECT_EQ(Call(67), 0);
  EXPECT_EQ(Call(-5), 0);
  EXPECT_EQ(Call(effEditIdle), 0);
  EXPECT_EQ(Call(effIdle), 0);
}

TEST_F(DispatcherTest, CanDoComparesExactly) {
  char timeInfo[] = "receiveVstTimeInfo";
  char events[] = "receiveVstEvents";
  char cockos[] = "hasCockosExtensions";
  char capital[] = "ReceiveVstTimeInfo";
  EXPECT_EQ(Call(effCanDo, 0, 0, timeInfo), 1);
  EXPECT_EQ(Call(effCanDo, 0, 0, events), 0);
  EXPECT_EQ(Call(effCanDo, 0, 0, cockos), static_cast<intptr_t>(0xbeef0000));
  EXPECT_EQ(Call(effCanDo, 0, 0, capital), 0);
  EXPECT_EQ(Call(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, NamesAreBoundedAndTerminated) {
  EXPECT_EQ(Text(effGetEffectName), PluginIdentity().name);
  EXPECT_EQ(Text(effGetVendorString), PluginIdentity().vendor);
  EXPECT_EQ(Text(effGetProductString), "");
  char buffer[64];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(Call(effGetEffectName, 0, 0, buffer), 1);
  for (size_t i = 8; i < kEffectNameCapacity; ++i) EXPECT_EQ(buffer[i], 0);
  EXPECT_EQ(buffer[kEffectNameCapacity], '#');
  EXPECT_EQ(Call(effGetEffectName), 0);
  EXPECT_EQ(Call(effGetVendorString), 0);
  EXPECT_EQ(Call(effGetProductString), 0);
}

TEST_F(DispatcherTest, ParameterTextsServeOutOfRangeIndicesFromTheInertParameter) {
  EXPECT_EQ(Text(effGetParamName, 0), "dither");
  EXPECT_EQ(Text(effGetParamName, 1), "psychoacoustic power");
  EXPECT_EQ(Text(effGetParamName, 2), "target bits");
  EXPECT_EQ(Text(effGetParamName, 3), "show graph");
  EXPECT_EQ(Text(effGetParamDisplay, 0), "off");
  EXPECT_EQ(Text(effGetParamDisplay, 1), "9");
  EXPECT_EQ(Text(effGetParamDisplay, 2), "16");
  EXPECT_EQ(Text(effGetParamDisplay, 3), "on");
  EXPECT_EQ(Text(effGetParamLabel, 2), "");
  for (int index : {-1, 4, 1000}) {
    EXPECT_EQ(Text(effGetParamName, index), "");
    EXPECT_EQ(Text(effGetParamLabel, index), "");
    EXPECT_EQ(Text(effGetParamDisplay, index), "0");
    EXPECT_EQ(RecordOf(plug)->getParameter(RecordOf(plug), index), 0.0f);
    RecordOf(plug)->setParameter(RecordOf(plug), index, 1.0f);
  }
  EXPECT_EQ(Text(effGetParamDisplay, 4), "0");  // the inert parameter stayed inert
  EXPECT_EQ(Call(effGetParamName, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, PinPropertiesForTwoInputsAndTwoOutputs) {
  PinProperties pin;
  std::memset(&pin, 0, sizeof pin);
  EXPECT_EQ(Call(effGetInputProperties, 0, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 0");
  EXPECT_EQ(pin.flags, 3);
  EXPECT_EQ(Call(effGetInputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Input 1");
  EXPECT_EQ(pin.flags, 1);
  EXPECT_EQ(Call(effGetInputProperties, 2, 0, &pin), 0);
  EXPECT_EQ(Call(effGetInputProperties, -1, 0, &pin), 0);
  EXPECT_EQ(Call(effGetOutputProperties, 1, 0, &pin), 1);
  EXPECT_STREQ(pin.label, "Output 1");
  EXPECT_EQ(Call(effGetOutputProperties, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, ChunksAreNotOffered) {
  void* data = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(Call(effGetChunk, 0, 0, &data), 0);
  EXPECT_EQ(data, reinterpret_cast<void*>(0x1));
  char bytes[16] = "anything";
  RecordOf(plug)->setParameter(RecordOf(plug), kParamTargetBits, 1.0f);
  EXPECT_EQ(Call(effSetChunk, 0, sizeof bytes, bytes), 0);
  EXPECT_EQ(plug->ParamAt(kParamTargetBits).Value(), 32.0);
  // A null buffer with a size is refused before anything is read.
  EXPECT_EQ(Call(effSetChunk, 0, 1 << 20, nullptr), 0);
  EXPECT_EQ(Call(effSetChunk, 0, -4, bytes), 0);
  EXPECT_EQ(Call(effGetChunk, 0, 0, nullptr), 0);
}

TEST_F(DispatcherTest, EditorRectangleIsSharedByEveryInstance) {
  EditorRect* rect = nullptr;
  EXPECT_EQ(Call(effEditGetRect, 0, 0, &rect), 1);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->top, 0);
  EXPECT_EQ(rect->left, 0);
  EXPECT_EQ(rect->bottom, 525);
  EXPECT_EQ(rect->right, 500);
  DitherPlugin* other = OpenPlugin();
  EditorRect* otherRect = nullptr;
  EXPECT_EQ(Dispatch(other, effEditGetRect, 0, 0, &otherRect), 1);
  EXPECT_EQ(otherRect, rect);
  ClosePlugin(other);
  EXPECT_EQ(Call(effEditGetRect, 0, 0, nullptr), 0);
}

TEST(Dispatcher, EditorRequestsWithoutEditorAnswerZero) {
  TestHost::Install();
  PluginHandle<PlugBase> plain(new PlugBase(TestDescription("plain", 1)));
  EditorRect* rect = nullptr;
  EXPECT_EQ(Dispatch(plain.get(), effEditGetRect, 0, 0, &rect), 0);
  EXPECT_EQ(rect, nullptr);
  EXPECT_EQ(Dispatch(plain.get(), effEditOpen), 0);
  EXPECT_EQ(Dispatch(plain.get(), effEditClose), 0);
  EXPECT_EQ(plain.Record()->flags & kFlagHasEditor, 0);
}

TEST_F(DispatcherTest, RateAndBlockSizeResetTheEngine) {
  Call(effSetSampleRate, 0, 0, nullptr, 176400.0f);
  EXPECT_EQ(plug->SampleRate(), 176400.0);
  EXPECT_EQ(plug->ShapingOrder(), 0);
  Call(effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_EQ(plug->ShapingOrder(), 9);
  Call(effSetBlockSize, 0, 441);
  EXPECT_EQ(plug->BlockSize(), 441);
  EXPECT_EQ(Call(effMainsChanged, 0, 1), 0);
  EXPECT_EQ(Call(effMainsChanged, 0, 0), 0);
}

// Switching processing off resets the engine, so that a restart begins from
// a clean state; switching it on keeps what the last block left.
TEST_F(DispatcherTest, SuspendResetsTheEngineAndResumeDoesNot) {
  Call(effSetBlockSize, 0, 64);
  RecordOf(plug)->setParameter(RecordOf(plug), kParamDither, 1.0f);
  std::vector<double> in(64, 1.0), out(64);
  double* ins[2] = {in.data(), in.data()};
  double* outs[2] = {out.data(), out.data()};
  RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs, 64);
  const double loud = plug->Channel(0).ditherGain;
  ASSERT_NEAR(loud, 0.4, 1e-12);  // 1 - 0.6 * rms of a full-scale block
  Call(effMainsChanged, 0, 1);
  EXPECT_EQ(plug->Channel(0).ditherGain, loud);
  Call(effMainsChanged, 0, 0);
  EXPECT_EQ(plug->Channel(0).ditherGain, 1.0);
}

TEST_F(DispatcherTest, SpeakerArrangementSettlesTheChannelCounts) {
  SpeakerArrangement six = {0, 6};
  EXPECT_EQ(Call(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&six), &six), 1);
  EXPECT_EQ(plug->InputsInUse(), 6);
  EXPECT_EQ(plug->OutputsInUse(), 6);
  SpeakerArrangement negative = {0, -3};
  EXPECT_EQ(Call(effSetSpeakerArrangement, 0, 0, &negative), 1);
  EXPECT_EQ(plug->OutputsInUse(), 6);
}

TEST_F(DispatcherTest, MidiKeyNamesAreEmpty) {
  MidiKeyName request;
  std::memset(&request, '#', sizeof request);
  request.thisKeyNumber = 60;
  EXPECT_EQ(Call(effGetMidiKeyName, 0, 0, &request), 0);
  EXPECT_EQ(request.keyName[0], 0);
  EXPECT_EQ(Call(effGetMidiKeyName), 0);
}
