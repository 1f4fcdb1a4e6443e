// The checks every plug-in format passes, each run through every format's
// wrapper: the VST 2.x build's output, bit for bit, in both sample sizes;
// changes at their frames; state that round-trips and refuses what could not
// have been saved; no allocation in processing; every shown text read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "counting/counting_new.h"
#include "dither/dither_programs.h"
#include "formats/format_under_test.h"
#include "plug/plug_base.h"

namespace {

constexpr double kRate = 44100.0;

// A tone on the left, two on the right, loud enough to reach every bit.
template <typename Sample>
void Tone(int frames, int offset, std::vector<Sample>& left, std::vector<Sample>& right) {
  left.resize(static_cast<size_t>(frames));
  right.resize(static_cast<size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const double t = i + offset;
    left[i] = static_cast<Sample>(0.7 * std::sin(0.0712 * t));
    right[i] = static_cast<Sample>(0.4 * std::sin(0.31 * t) + 0.3 * std::sin(0.0173 * t));
  }
}

// Settings whose output is deterministic (no dither) and shaped.
void Deterministic(FormatUnderTest& format) {
  format.SetParam(kParamDither, 0.0);
  format.SetParam(kParamShaping, 9.0);
  format.SetParam(kParamTargetBits, 12.0);
}

// `blocks` blocks of `frames` through a prepared format, each with the same
// changes; both channels of every block, one after the other.
template <typename Sample>
std::vector<Sample> Render(FormatUnderTest& format, int blocks, int frames,
                           const std::vector<ParamChange>& changes = {}) {
  std::vector<Sample> all;
  for (int b = 0; b < blocks; ++b) {
    std::vector<Sample> left, right;
    Tone(frames, b * frames, left, right);
    EXPECT_TRUE(format.Process(left, right, changes));
    all.insert(all.end(), left.begin(), left.end());
    all.insert(all.end(), right.begin(), right.end());
  }
  return all;
}

class Conformance : public ::testing::TestWithParam<FormatEntry> {
 protected:
  std::unique_ptr<FormatUnderTest> Make() const { return GetParam().make(); }
  // A new instance of the format and of the reference, both prepared.
  bool PreparePair(std::unique_ptr<FormatUnderTest>& format,
                   std::unique_ptr<FormatUnderTest>& reference, int maxBlock, bool wide) {
    format = Make();
    reference = MakeVst2Format();
    Deterministic(*format);
    Deterministic(*reference);
    return format->Prepare(kRate, maxBlock, wide) && reference->Prepare(kRate, maxBlock, wide);
  }
};

// The same blocks through a format and the reference, sample for sample.
template <typename Sample>
void ExpectSameAsReference(FormatUnderTest& format, FormatUnderTest& reference, int blocks,
                           int frames, const std::vector<ParamChange>& changes = {}) {
  const std::vector<Sample> got = Render<Sample>(format, blocks, frames, changes);
  const std::vector<Sample> want = Render<Sample>(reference, blocks, frames, changes);
  ASSERT_EQ(got.size(), want.size());
  size_t differing = 0;
  for (size_t i = 0; i < got.size(); ++i) differing += got[i] != want[i];
  EXPECT_EQ(differing, 0u) << "of " << got.size() << " samples";
}

TEST_P(Conformance, OutputIsTheVst2BuildsBitForBitInBothSampleSizes) {
  for (const int block : {512, 100}) {
    for (const bool wide : {false, true}) {
      std::unique_ptr<FormatUnderTest> format, reference;
      if (!PreparePair(format, reference, block, wide)) {
        EXPECT_TRUE(wide) << "the format cannot take 32-bit samples";
        continue;
      }
      SCOPED_TRACE(std::string(wide ? "64" : "32") + "-bit, blocks of " + std::to_string(block));
      if (wide) {
        ExpectSameAsReference<double>(*format, *reference, 6, block);
      } else {
        ExpectSameAsReference<float>(*format, *reference, 6, block);
      }
    }
  }
}

TEST_P(Conformance, ChangesWithinABlockTakeEffectAtTheirFrames) {
  // The reference cuts its blocks at the changes, as a VST 2.x host does.
  // Each change is to another value (an LV2 port that keeps its value is no
  // change), and each block ends with the values it began with.
  const std::vector<ParamChange> changes = {{100, kParamTargetBits, 8.0},
                                            {300, kParamShaping, 3.0},
                                            {301, kParamTargetBits, 20.0},
                                            {450, kParamTargetBits, 12.0},
                                            {451, kParamShaping, 9.0}};
  for (const bool wide : {false, true}) {
    std::unique_ptr<FormatUnderTest> format, reference;
    if (!PreparePair(format, reference, 512, wide)) continue;
    SCOPED_TRACE(wide ? "64-bit" : "32-bit");
    if (wide) {
      ExpectSameAsReference<double>(*format, *reference, 3, 512, changes);
    } else {
      ExpectSameAsReference<float>(*format, *reference, 3, 512, changes);
    }
  }
}

TEST_P(Conformance, AHostsLongerBlockThanAnnouncedSoundsAsTheAnnouncedOnes) {
  // Announced 128, handed 1,000 at once: the same as blocks of 128.
  std::unique_ptr<FormatUnderTest> format, reference;
  ASSERT_TRUE(PreparePair(format, reference, 128, false));
  std::vector<float> left, right;
  Tone(1000, 0, left, right);
  std::vector<float> refLeft = left, refRight = right;
  ASSERT_TRUE(format->Process(left, right, {}));
  for (size_t at = 0; at < 1000; at += 128) {
    const size_t n = std::min<size_t>(128, 1000 - at);
    std::vector<float> l(refLeft.begin() + at, refLeft.begin() + at + n);
    std::vector<float> r(refRight.begin() + at, refRight.begin() + at + n);
    ASSERT_TRUE(reference->Process(l, r, {}));
    std::copy(l.begin(), l.end(), refLeft.begin() + at);
    std::copy(r.begin(), r.end(), refRight.begin() + at);
  }
  EXPECT_EQ(left, refLeft);
  EXPECT_EQ(right, refRight);
}

TEST_P(Conformance, StateRoundTripsIntoANewInstanceAndReachesTheSoundAtOnce) {
  std::unique_ptr<FormatUnderTest> saved = Make();
  if (!saved->HasState()) GTEST_SKIP() << "the host keeps the values";
  Deterministic(*saved);
  saved->SetParam(kParamShaping, 4.0);
  saved->SetParam(kParamTargetBits, 10.0);
  const std::vector<unsigned char> state = saved->SaveState();
  ASSERT_FALSE(state.empty());

  std::unique_ptr<FormatUnderTest> loaded = Make();
  ASSERT_TRUE(loaded->Prepare(kRate, 256, false));
  ASSERT_TRUE(loaded->LoadState(state));
  EXPECT_EQ(loaded->SaveState(), state);
  for (int i = 0; i < kDitherParamCount; ++i) {
    EXPECT_EQ(loaded->Plug().ParamAt(i).Value(), saved->Plug().ParamAt(i).Value()) << i;
  }
  // The engine has the loaded values from the first block on.
  ASSERT_TRUE(saved->Prepare(kRate, 256, false));
  EXPECT_EQ(Render<float>(*loaded, 2, 256), Render<float>(*saved, 2, 256));
}

TEST_P(Conformance, AStateThatCouldNotHaveBeenSavedIsRefusedAndChangesNothing) {
  std::unique_ptr<FormatUnderTest> format = Make();
  if (!format->HasState()) GTEST_SKIP() << "the host keeps the values";
  format->SetParam(kParamTargetBits, 10.0);
  const std::vector<unsigned char> state = format->SaveState();
  ASSERT_GT(state.size(), 8u);
  format->SetParam(kParamTargetBits, 20.0);
  const std::vector<unsigned char> current = format->SaveState();

  std::vector<std::vector<unsigned char>> refused = {{}};
  refused.emplace_back(state.begin(), state.end() - 1);  // cut short
  refused.emplace_back(state.begin(), state.begin() + 4);
  for (size_t at : {size_t{0}, size_t{4}}) {  // another tag, another version
    refused.push_back(state);
    refused.back()[at] ^= 0x01;
  }
  for (size_t i = 0; i < refused.size(); ++i) {
    EXPECT_FALSE(format->LoadState(refused[i])) << "state " << i;
    EXPECT_EQ(format->SaveState(), current) << "state " << i;
  }
}

TEST_P(Conformance, ProcessingAllocatesNothingWithChangesWithinTheBlock) {
  const std::vector<ParamChange> changes = {{10, kParamTargetBits, 8.0},
                                            {200, kParamShaping, 3.0},
                                            {400, kParamDither, 1.0},
                                            {500, kParamTargetBits, 12.0}};
  for (const bool wide : {false, true}) {
    std::unique_ptr<FormatUnderTest> format = Make();
    if (!format->Prepare(kRate, 512, wide)) continue;
    std::vector<float> left32, right32;
    std::vector<double> left64, right64;
    Tone(512, 0, left32, right32);
    Tone(512, 0, left64, right64);
    const auto block = [&] {
      return wide ? format->Process(left64, right64, changes)
                  : format->Process(left32, right32, changes);
    };
    // The first block may settle what the set-up left.
    ASSERT_TRUE(block());
    const int32_t scratch = format->Plug().ScratchAllocations();
    CountAllocations(true);
    for (int b = 0; b < 10; ++b) block();
    CountAllocations(false);
    EXPECT_EQ(CountedAllocations(), 0) << (wide ? "64-bit" : "32-bit");
    EXPECT_EQ(format->Plug().ScratchAllocations(), scratch);
  }
}

TEST_P(Conformance, EveryShownTextIsTheReferencesAndReadsBackAsItsValue) {
  std::unique_ptr<FormatUnderTest> format = Make();
  if (!format->ShowsText()) GTEST_SKIP() << "the format shows no text";
  std::unique_ptr<FormatUnderTest> reference = MakeVst2Format();
  for (int i = 0; i < kDitherParamCount; ++i) {
    const Param& param = format->Plug().ParamAt(i);
    for (double v = param.Min(); v <= param.Max(); v += param.Step()) {
      const std::string text = format->ValueToText(i, v);
      EXPECT_EQ(text, reference->ValueToText(i, v)) << param.Name();
      if (!format->ReadsText()) continue;
      double back = -100.0;
      EXPECT_TRUE(format->TextToValue(i, text, back)) << param.Name() << " \"" << text << "\"";
      EXPECT_EQ(back, v) << param.Name() << " \"" << text << "\"";
    }
  }
  if (!format->ReadsText()) return;
  double value = -100.0;
  EXPECT_TRUE(format->TextToValue(kParamTargetBits, "-5", value));
  EXPECT_EQ(value, 6.0);
  EXPECT_FALSE(format->TextToValue(kParamTargetBits, "many", value));
  EXPECT_FALSE(format->TextToValue(kParamDither, "perhaps", value));
  // A list takes the numbers of its values as well as its texts.
  EXPECT_TRUE(format->TextToValue(kParamDither, "1", value));
  EXPECT_EQ(value, 1.0);
}

// (Exactly at a step's midpoint a format that carries values as 32-bit
// normalised numbers may land on either side; the core's rule is tested
// there on its own.)
TEST_P(Conformance, PlainValuesTakeTheNearestStepAndTheRange) {
  std::unique_ptr<FormatUnderTest> format = Make();
  ASSERT_TRUE(format->Prepare(kRate, 64, false));
  std::vector<float> left(64), right(64);
  const struct {
    double plain, taken;
  } cases[] = {{15.6, 16.0}, {15.4, 15.0}, {-7.0, 6.0}, {99.0, 32.0}};
  for (const auto& c : cases) {
    format->SetParam(kParamTargetBits, c.plain);
    ASSERT_TRUE(format->Process(left, right, {}));  // where a format applies it
    EXPECT_EQ(format->Plug().ParamAt(kParamTargetBits).Value(), c.taken) << c.plain;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, Conformance, ::testing::ValuesIn(Formats()),
                         [](const ::testing::TestParamInfo<FormatEntry>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace

const std::vector<FormatEntry>& Formats() {
  static const std::vector<FormatEntry> formats = {{"Vst2", MakeVst2Format},
                                                   {"Vst3", MakeVst3Format},
                                                   {"Clap", MakeClapFormat},
                                                   {"Lv2", MakeLv2Format}};
  return formats;
}
