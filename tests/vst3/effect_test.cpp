#include <cstring>
#include <random>
#include <string>

#include "dither/dither_programs.h"
#include "editor/editor.h"
#include "plug/plug_identity.h"
#include "support/test_host.h"
#include "vst3/utf16.h"
#include "vst3/vst3_fixture.h"

namespace vst3 {
namespace {

std::string Text(const char16_t* text) { return Utf16ToUtf8(text, 128); }

// A component handler that counts the references it is given.
class CountedHandler final : public StackObject<IComponentHandler> {
 public:
  uint32_t QV_VST3_CALL addRef() override { return ++references; }
  uint32_t QV_VST3_CALL release() override { return --references; }
  Tresult QV_VST3_CALL beginEdit(ParamId) override { return kResultOk; }
  Tresult QV_VST3_CALL performEdit(ParamId, ParamValue) override { return kResultOk; }
  Tresult QV_VST3_CALL endEdit(ParamId) override { return kResultOk; }
  Tresult QV_VST3_CALL restartComponent(int32_t) override { return kResultOk; }
  int references = 0;
};

// The VST 2.x build's display text of parameter `index` at `normalised`.
std::string Vst2Display(int index, float normalised) {
  TestHost::Install();
  DitherPlugin* plug = OpenPlugin();
  RecordOf(plug)->setParameter(RecordOf(plug), index, normalised);
  char text[64] = {};
  Dispatch(plug, effGetParamDisplay, index, 0, text);
  ClosePlugin(plug);
  return text;
}

TEST(Vst3Abi, IdsAreInTheByteOrderOfThePlatform) {
  // IComponent's id, E831FF31-F2D54301-..., as Linux hosts store it.
  const unsigned char expected[16] = {0xE8, 0x31, 0xFF, 0x31, 0xF2, 0xD5, 0x43, 0x01,
                                      0x92, 0x8E, 0xBB, 0xEE, 0x25, 0x69, 0x78, 0x02};
  EXPECT_EQ(std::memcmp(kIComponentIid.bytes, expected, 16), 0);
  EXPECT_TRUE(SameTuid(kIComponentIid.bytes, kIComponentIid));
  EXPECT_FALSE(SameTuid(kIAudioProcessorIid.bytes, kIComponentIid));
  EXPECT_FALSE(SameTuid(nullptr, kIComponentIid));
}

TEST(Vst3Factory, ListsOneAudioEffectAndMakesOnlyIt) {
  IPluginFactory2* factory = PluginFactory();
  PFactoryInfo info;
  ASSERT_EQ(factory->getFactoryInfo(&info), kResultOk);
  EXPECT_STREQ(info.vendor, PluginIdentity().vendor);
  ASSERT_EQ(factory->countClasses(), 1);
  PClassInfo2 classInfo;
  ASSERT_EQ(factory->getClassInfo2(0, &classInfo), kResultOk);
  EXPECT_STREQ(classInfo.category, "Audio Module Class");
  EXPECT_STREQ(classInfo.name, PluginIdentity().name);
  EXPECT_STREQ(classInfo.subCategories, PluginIdentity().vst3Categories);
  EXPECT_STREQ(classInfo.vendor, PluginIdentity().vendor);
  EXPECT_EQ(classInfo.version, VersionText(PluginIdentity().version));
  EXPECT_TRUE(SameTuid(classInfo.cid.bytes, EffectClassId()));
  EXPECT_EQ(factory->getClassInfo2(1, &classInfo), kInvalidArgument);

  void* object = &info;
  EXPECT_EQ(factory->createInstance(kIComponentIid.bytes, kIComponentIid.bytes, &object),
            kNoInterface);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(factory->createInstance(EffectClassId().bytes, kIPlugViewIid.bytes, &object),
            kNoInterface);
  EXPECT_EQ(object, nullptr);
  factory->release();
}

using Vst3Effect = Vst3Fixture;

TEST_F(Vst3Effect, IsItsOwnControllerWithOneSubObjectPerInterface) {
  EXPECT_NE(static_cast<void*>(component), static_cast<void*>(processor));
  EXPECT_NE(static_cast<void*>(controller), static_cast<void*>(units));
  // Every interface leads back to the same object.
  void* again = nullptr;
  ASSERT_EQ(controller->queryInterface(kIComponentIid.bytes, &again), kResultOk);
  EXPECT_EQ(again, static_cast<void*>(component));
  static_cast<IComponent*>(again)->release();
  EXPECT_EQ(units->queryInterface(kIPlugViewIid.bytes, &again), kNoInterface);
  EXPECT_EQ(again, nullptr);
}

TEST_F(Vst3Effect, ListsTheFourParametersAndTheProgramChange) {
  ASSERT_EQ(controller->getParameterCount(), 5);
  const char* titles[4] = {"dither", "psychoacoustic power", "target bits", "show graph"};
  const int32_t steps[4] = {1, 12, 26, 1};
  DitherPlugin* fresh = NewPlugin();
  for (int i = 0; i < 4; ++i) {
    ParameterInfo info;
    ASSERT_EQ(controller->getParameterInfo(i, &info), kResultOk);
    EXPECT_EQ(info.id, static_cast<ParamId>(i));
    EXPECT_EQ(Text(info.title), titles[i]);
    EXPECT_EQ(info.stepCount, steps[i]) << titles[i];
    EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, fresh->ParamAt(i).Normalized());
    EXPECT_TRUE(info.flags & kCanAutomate);
  }
  ClosePlugin(fresh);
  ParameterInfo program;
  ASSERT_EQ(controller->getParameterInfo(4, &program), kResultOk);
  EXPECT_EQ(program.id, kProgramParamId);
  EXPECT_EQ(program.stepCount, 7);
  EXPECT_EQ(program.flags, kIsProgramChange | kIsList);
  EXPECT_EQ(controller->getParameterInfo(5, &program), kInvalidArgument);
  EXPECT_EQ(controller->getParameterInfo(-1, &program), kInvalidArgument);
  EXPECT_EQ(controller->getParameterInfo(0, nullptr), kInvalidArgument);
}

TEST_F(Vst3Effect, ShowsAndReadsTextsAsTheVst2BuildAndItsValueBox) {
  String128 text;
  for (int index = 0; index < 4; ++index) {
    for (float normalised : {0.0f, 0.1f, 0.5f, 0.77f, 1.0f}) {
      ASSERT_EQ(controller->getParamStringByValue(index, normalised, text), kResultOk);
      EXPECT_EQ(Text(text), Vst2Display(index, normalised)) << index << " at " << normalised;
    }
  }
  ParamValue normalised = -1.0;
  CopyToUtf16(text, 128, " 20 bits");
  ASSERT_EQ(controller->getParamValueByString(kParamTargetBits, text, &normalised), kResultOk);
  EXPECT_DOUBLE_EQ(normalised, 14.0 / 26.0);
  CopyToUtf16(text, 128, "twenty");
  EXPECT_EQ(controller->getParamValueByString(kParamTargetBits, text, &normalised), kResultFalse);
  EXPECT_DOUBLE_EQ(normalised, 14.0 / 26.0);
  CopyToUtf16(text, 128, "CD render (soft)");
  ASSERT_EQ(controller->getParamValueByString(kProgramParamId, text, &normalised), kResultOk);
  EXPECT_DOUBLE_EQ(normalised, 2.0 / 7.0);
  EXPECT_EQ(controller->getParamStringByValue(99, 0.5, text), kInvalidArgument);
  EXPECT_DOUBLE_EQ(controller->normalizedParamToPlain(kParamTargetBits, 10.0 / 26.0), 16.0);
  EXPECT_DOUBLE_EQ(controller->plainParamToNormalized(kParamShaping, 6.0), 0.5);
}

TEST_F(Vst3Effect, ProgramsAreTheRootUnitsListAndKeepTheirEdits) {
  ASSERT_EQ(units->getUnitCount(), 1);
  UnitInfo unit;
  ASSERT_EQ(units->getUnitInfo(0, &unit), kResultOk);
  EXPECT_EQ(unit.id, kRootUnitId);
  EXPECT_EQ(unit.parentUnitId, kNoParentUnitId);
  ProgramListInfo list;
  ASSERT_EQ(units->getProgramListInfo(0, &list), kResultOk);
  EXPECT_EQ(list.id, unit.programListId);
  ASSERT_EQ(list.programCount, 8);
  const char* names[8] = {"Default", "CD render (hard)", "CD render (soft)", "-", "-", "-", "-",
                          "-"};
  String128 name;
  for (int i = 0; i < 8; ++i) {
    ASSERT_EQ(units->getProgramName(list.id, i, name), kResultOk);
    EXPECT_EQ(Text(name), names[i]);
  }
  EXPECT_EQ(units->getProgramName(list.id, 8, name), kInvalidArgument);

  // Select "CD render (hard)", edit it, go to "Default" and back: the edit
  // stayed with the program.
  ASSERT_EQ(controller->setParamNormalized(kProgramParamId, 1.0 / 7.0), kResultOk);
  EXPECT_DOUBLE_EQ(controller->getParamNormalized(kProgramParamId), 1.0 / 7.0);
  EXPECT_EQ(Effect().Plug().CurrentProgram(), 1);
  controller->setParamNormalized(kParamTargetBits, 18.0 / 26.0);
  controller->setParamNormalized(kProgramParamId, 0.0);
  EXPECT_EQ(Effect().Plug().ParamAt(kParamTargetBits).Value(), 16.0);
  controller->setParamNormalized(kProgramParamId, 1.0 / 7.0);
  EXPECT_EQ(Effect().Plug().ParamAt(kParamTargetBits).Value(), 24.0);
}

TEST_F(Vst3Effect, StateRoundTripsByteForByteAndGarbageChangesNothing) {
  controller->setParamNormalized(kProgramParamId, 2.0 / 7.0);
  controller->setParamNormalized(kParamShaping, 5.0 / 12.0);
  MemoryStream saved;
  ASSERT_EQ(component->getState(&saved), kResultOk);
  ASSERT_EQ(saved.bytes.size(), 16u + 4 * 8);

  // Into a fresh effect, read a few bytes at a time, then saved again.
  HostedEffect other;
  saved.position = 0;
  saved.largestStep = 3;
  ASSERT_EQ(other.component->setState(&saved), kResultOk);
  EXPECT_EQ(other.Effect().Plug().CurrentProgram(), 2);
  MemoryStream again;
  ASSERT_EQ(other.component->getState(&again), kResultOk);
  EXPECT_EQ(again.bytes, saved.bytes);

  // Garbage of every kind leaves the other effect as it was.
  std::mt19937 random(7);
  std::vector<std::vector<unsigned char>> garbage = {{}, {'Q', 'V', 's', '3'}};
  garbage.push_back(std::vector<unsigned char>(saved.bytes.begin(), saved.bytes.end() - 1));
  std::vector<unsigned char> wrongCount = saved.bytes;
  wrongCount[12] = 9;
  garbage.push_back(wrongCount);
  std::vector<unsigned char> outOfRange = saved.bytes;
  std::memset(&outOfRange[16], 0x7F, 8);  // a huge value for "dither"
  garbage.push_back(outOfRange);
  for (int i = 0; i < 20; ++i) {
    std::vector<unsigned char> bytes(random() % 64);
    for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
    garbage.push_back(bytes);
  }
  for (const auto& bytes : garbage) {
    MemoryStream stream(bytes);
    EXPECT_NE(other.component->setState(&stream), kResultOk);
  }
  MemoryStream failing(saved.bytes);
  failing.failing = true;
  EXPECT_NE(other.component->setState(&failing), kResultOk);
  EXPECT_NE(other.component->getState(&failing), kResultOk);
  EXPECT_EQ(other.component->setState(nullptr), kInvalidArgument);
  MemoryStream after;
  ASSERT_EQ(other.component->getState(&after), kResultOk);
  EXPECT_EQ(after.bytes, saved.bytes);
}

TEST_F(Vst3Effect, EditorEditsReachTheHandlerAsOneGestureEach) {
  RecordingHandler handler;
  ASSERT_EQ(controller->setComponentHandler(&handler), kResultOk);
  Effect().Plug().SetParamFromEditor(kParamDither, 1.0);
  ASSERT_EQ(handler.edits.size(), 3u);
  EXPECT_EQ(handler.edits[0].what, "begin");
  EXPECT_EQ(handler.edits[1].what, "perform");
  EXPECT_EQ(handler.edits[1].id, static_cast<ParamId>(kParamDither));
  EXPECT_EQ(handler.edits[1].value, 1.0);
  EXPECT_EQ(handler.edits[2].what, "end");
  EXPECT_EQ(Effect().Plug().ParamAt(kParamDither).Value(), 1.0);
  controller->setComponentHandler(nullptr);
  Effect().Plug().SetParamFromEditor(kParamDither, 0.0);
  EXPECT_EQ(handler.edits.size(), 3u);
}

TEST_F(Vst3Effect, ADragFromPressToReleaseIsOneGesture) {
  RecordingHandler handler;
  ASSERT_EQ(controller->setComponentHandler(&handler), kResultOk);
  PlugBase& plug = Effect().Plug();
  plug.BeginGesture(kParamShaping);
  for (int step = 1; step <= 4; ++step) plug.SetParamFromEditor(kParamShaping, step / 40.0);
  plug.EndGesture(kParamShaping);
  // A release on another parameter, or a second one, ends nothing.
  plug.EndGesture(kParamShaping);
  plug.EndGesture(kParamDither);
  std::vector<std::string> seen;
  for (const auto& edit : handler.edits) seen.push_back(edit.what);
  EXPECT_EQ(seen,
            (std::vector<std::string>{"begin", "perform", "perform", "perform", "perform", "end"}));
  // A press on another control ends the gesture still open.
  handler.edits.clear();
  plug.BeginGesture(kParamShaping);
  plug.BeginGesture(kParamTargetBits);
  plug.EndGesture(kParamTargetBits);
  ASSERT_EQ(handler.edits.size(), 4u);
  EXPECT_EQ(handler.edits[1].what, "end");
  EXPECT_EQ(handler.edits[1].id, static_cast<ParamId>(kParamShaping));
  controller->setComponentHandler(nullptr);
}

TEST_F(Vst3Effect, AProgramChangeReachesTheHostAfterTheCallThatMadeIt) {
  RecordingHandler handler;
  ASSERT_EQ(controller->setComponentHandler(&handler), kResultOk);
  Start(64);
  // "CD render (soft)" switches dither on.
  ASSERT_EQ(controller->setParamNormalized(kProgramParamId, Effect().ProgramToNormalized(2)),
            kResultOk);
  EXPECT_TRUE(handler.edits.empty()) << "nothing is asked of the host inside its own call";
  Effect().TellHostOfNewValues();
  ASSERT_EQ(handler.edits.size(), 1u);
  EXPECT_EQ(handler.edits[0].what, "restart");
  EXPECT_EQ(handler.edits[0].value, static_cast<ParamValue>(kParamValuesChanged));
  Effect().TellHostOfNewValues();
  EXPECT_EQ(handler.edits.size(), 1u) << "once per change";
  // The next block also carries every value to the host, once.
  std::vector<float> left(64, 0.0f), right = left;
  ParameterChanges out;
  void* channels[2] = {left.data(), right.data()};
  AudioBusBuffers bus{2, 0, channels};
  ProcessData data{};
  data.symbolicSampleSize = kSample32;
  data.numSamples = 64;
  data.numInputs = data.numOutputs = 1;
  data.inputs = data.outputs = &bus;
  data.outputParameterChanges = &out;
  ASSERT_EQ(processor->process(&data), kResultOk);
  ASSERT_EQ(out.queues.size(), 4u);
  int32_t offset = -1;
  ParamValue dither = 0.0;
  ASSERT_EQ(out.queues[kParamDither].getPoint(0, &offset, &dither), kResultOk);
  EXPECT_EQ(offset, 0);
  EXPECT_EQ(dither, 1.0);
  ParameterChanges again;
  data.outputParameterChanges = &again;
  ASSERT_EQ(processor->process(&data), kResultOk);
  EXPECT_TRUE(again.queues.empty());
  controller->setComponentHandler(nullptr);
}

TEST(Vst3Handler, TheEffectHoldsAReferenceToItsHandlerWhileItKeepsIt) {
  CountedHandler handler;
  {
    HostedEffect hosted;
    ASSERT_EQ(hosted.controller->setComponentHandler(&handler), kResultOk);
    EXPECT_EQ(handler.references, 1);
    hosted.controller->setComponentHandler(&handler);
    EXPECT_EQ(handler.references, 1);
    hosted.controller->setComponentHandler(nullptr);
    EXPECT_EQ(handler.references, 0);
    hosted.controller->setComponentHandler(&handler);
    EXPECT_EQ(handler.references, 1);
  }
  EXPECT_EQ(handler.references, 0);  // let go with the effect
}

TEST_F(Vst3Effect, HostValuesAreLimitedProgramsRoundedAndDefaultsStayDefaults) {
  controller->setParamNormalized(kParamTargetBits, -0.5);
  EXPECT_EQ(Effect().Plug().ParamAt(kParamTargetBits).Value(), 6.0);
  controller->setParamNormalized(kParamTargetBits, 1.5);
  EXPECT_EQ(Effect().Plug().ParamAt(kParamTargetBits).Value(), 32.0);
  // The nearest program, not the one below.
  controller->setParamNormalized(kProgramParamId, 3.0 / 7.0 - 1e-9);
  EXPECT_EQ(Effect().Plug().CurrentProgram(), 3);
  controller->setParamNormalized(kProgramParamId, 2.6 / 7.0);
  EXPECT_EQ(Effect().Plug().CurrentProgram(), 3);
  // A parameter's default is what it was made with, whatever it is now.
  controller->setParamNormalized(kParamShaping, 1.0);
  ParameterInfo info;
  ASSERT_EQ(controller->getParameterInfo(kParamShaping, &info), kResultOk);
  EXPECT_DOUBLE_EQ(info.defaultNormalizedValue, 9.0 / 12.0);
}

TEST_F(Vst3Effect, OnlyOneStereoBusEachWayIsTaken) {
  SpeakerArrangement stereo[2] = {kStereo, kStereo};
  EXPECT_EQ(processor->setBusArrangements(stereo, 1, stereo, 1), kResultOk);
  EXPECT_EQ(processor->setBusArrangements(stereo, 1, stereo, 2), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(stereo, 2, stereo, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(stereo, 0, stereo, 1), kResultFalse);
  EXPECT_EQ(processor->setBusArrangements(nullptr, 1, stereo, 1), kResultFalse);
}

TEST_F(Vst3Effect, AViewReleasedWhileAttachedClosesTheEditorsWindow) {
  auto* editor = static_cast<Editor*>(Effect().Plug().GetEditor());
  IPlugView* view = controller->createView("editor");
  ASSERT_NE(view, nullptr);
  int parent = 0;
  ASSERT_EQ(view->attached(&parent, "X11EmbedWindowID"), kResultOk);
  EXPECT_TRUE(editor->IsWindowOpen());
  view->release();
  EXPECT_FALSE(editor->IsWindowOpen());
  // A new view opens it again.
  view = controller->createView("editor");
  ASSERT_EQ(view->attached(&parent, "X11EmbedWindowID"), kResultOk);
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_FALSE(editor->IsWindowOpen());
  view->release();
}

TEST(Vst3Utf16, ACopyStopsOneUnitShortOfTheCapacityForItsTerminator) {
  char16_t text[6];
  for (char16_t& unit : text) unit = u'#';
  CopyToUtf16(text, 4, "abcdef");
  EXPECT_EQ(Text(text), "abc");
  EXPECT_EQ(text[4], u'#');
  // A pair of units that does not fit whole is left out.
  CopyToUtf16(text, 4, "ab\xF0\x9F\x8E\xB5");
  EXPECT_EQ(text[2], 0);
  EXPECT_EQ(text[4], u'#');
}

TEST_F(Vst3Effect, ViewsAreFixedInSizeAndOnlyOneHasTheWindow) {
  IPlugView* view = controller->createView("editor");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(controller->createView("other"), nullptr);
  EXPECT_EQ(controller->createView(nullptr), nullptr);
  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right, 500);
  EXPECT_EQ(size.bottom, 525);
  EXPECT_EQ(view->canResize(), kResultFalse);
  ViewRect other{10, 10, 300, 300};
  EXPECT_EQ(view->onSize(&other), kResultFalse);
  ASSERT_EQ(view->checkSizeConstraint(&other), kResultOk);
  EXPECT_EQ(other.right - other.left, 500);
  EXPECT_EQ(view->isPlatformTypeSupported("X11EmbedWindowID"), kResultTrue);
  EXPECT_EQ(view->isPlatformTypeSupported("HWND"), kResultFalse);
  EXPECT_EQ(view->removed(), kResultFalse);  // never attached
  // Several views made and let go without being attached.
  for (int i = 0; i < 3; ++i) controller->createView("editor")->release();
  view->release();
}

}  // namespace
}  // namespace vst3
