#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "dither/editor/graph_grid.h"
#include "dither/editor/level_bar.h"
#include "dither/editor/response_graph.h"
#include "editor/editor.h"
#include "support/test_host.h"

namespace {

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestHost::Install();
    plug = OpenPlugin();
    Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Dispatch(plug, effSetBlockSize, 0, 512);
  }
  void TearDown() override { ClosePlugin(plug); }

  void Process(const std::vector<double>& in) {
    std::vector<double> out(in.size());
    double* ins[2] = {const_cast<double*>(in.data()), const_cast<double*>(in.data())};
    double* outs[2] = {out.data(), out.data()};
    RecordOf(plug)->processDoubleReplacing(RecordOf(plug), ins, outs,
                                           static_cast<int32_t>(in.size()));
  }
  Editor* GetEditor() { return static_cast<Editor*>(plug->GetEditor()); }
  uint32_t Pixel(int x, int y) {
    const Colour c = GetEditor()->GetPixel(x, y);
    return PackColour(c);
  }

  DitherPlugin* plug = nullptr;
};

}  // namespace

TEST(SpectrumGraphRange, FrequenciesLandOnTheWarpedAxis) {
  // 4096-point analysis, 2048 magnitudes.
  const WarpedRange cd = FindWarpedRange(44100.0, 100.0, 20000.0, 4096, 2048);
  EXPECT_EQ(cd.lowBin, 9);
  EXPECT_EQ(cd.highBin, 1858);
  EXPECT_EQ(cd.first, 67);
  EXPECT_EQ(cd.end, 2045);
  const WarpedRange hires = FindWarpedRange(96000.0, 100.0, 20000.0, 4096, 2048);
  EXPECT_EQ(hires.lowBin, 4);
  EXPECT_EQ(hires.highBin, 853);
  EXPECT_EQ(hires.first, 30);
  EXPECT_EQ(hires.end, 1962);
  // At 48 kHz the bins round to nearest: 8.53 gives 9 and 1706.67 gives 1707.
  const WarpedRange dat = FindWarpedRange(48000.0, 100.0, 20000.0, 4096, 2048);
  EXPECT_EQ(dat.lowBin, 9);
  EXPECT_EQ(dat.highBin, 1707);
  // Before any rate is known the axis from 0 to M - 1 is averaged.
  const WarpedRange unset = FindWarpedRange(0.0, 0.0, 0.0, 4096, 2048);
  EXPECT_EQ(unset.first, 0);
  EXPECT_EQ(unset.end, 2047);
  // A rate of zero with frequencies set still reads inside the spectrum.
  // So does a negative rate, which a host may send.
  for (double rate : {0.0, -44100.0, -1.0, -1e9}) {
    const WarpedRange broken = FindWarpedRange(rate, 100.0, 20000.0, 4096, 2048);
    EXPECT_GE(broken.first, 0) << rate;
    EXPECT_LE(broken.end, 2048) << rate;
    EXPECT_LE(broken.first, broken.end) << rate;
  }
}

TEST_F(DisplayTest, GraphsHaveOneHundredSeventyOnePointsAndFollowTheBlocks) {
  SpectrumGraph* input = EditorOf(plug)->InputGraph();
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(input->PointCount(), 171);
  EXPECT_EQ(EditorOf(plug)->NoiseGraph()->PointCount(), 171);
  EXPECT_FALSE(input->IsHidden());
  input->SetClean();
  Process(std::vector<double>(100, 0.25));
  EXPECT_TRUE(input->IsDirty());
  EXPECT_EQ(input->Analyser().WritePosition(), 100);
  EXPECT_EQ(input->Analyser().Ring()[99], 0.25);
  EXPECT_DOUBLE_EQ(EditorOf(plug)->GetLevelBar()->Value(), 0.25);
  // A block longer than the ring keeps only its first 4096 samples.
  std::vector<double> longBlock(5000, 0.0);
  for (size_t j = 0; j < longBlock.size(); ++j) longBlock[j] = j < 4096 ? 0.5 : -0.5;
  Process(longBlock);
  EXPECT_EQ(input->Analyser().WritePosition(), 100);
  for (int i = 0; i < 4096; ++i) ASSERT_EQ(input->Analyser().Ring()[i], 0.5) << i;
}

TEST_F(DisplayTest, SilenceDrawsTheInputAsATwoPixelBand) {
  SpectrumGraph* input = EditorOf(plug)->InputGraph();
  Process(std::vector<double>(512, 0.0));
  EXPECT_TRUE(input->Draw(GetEditor()));
  // The middle line sits at (top + bottom) / 2 - 1 and its mirror 2 pixels below.
  for (int i = 0; i < input->PointCount(); ++i) {
    ASSERT_FLOAT_EQ(input->Y()[i], 211.5f) << i;
    ASSERT_FLOAT_EQ(input->Y2()[i], 213.5f) << i;
  }
}

// Each drawn point is s = 0.5 of the new value and 0.5 of the point drawn
// before, starting from 0: over three draws of the same ring the distances
// from the middle line are 1/2, 3/4 and 7/8 of the value, so each step is
// half the one before.
TEST_F(DisplayTest, EachDrawAveragesTheNewCurveWithThePreviousOne) {
  SpectrumGraph* input = EditorOf(plug)->InputGraph();
  // White noise, so that every point has a value of its own.
  std::vector<double> noise(4096);
  uint32_t state = 12345;
  for (double& x : noise) {
    state = state * 1664525u + 1013904223u;
    x = 0.2 * (static_cast<double>(state) / 4294967296.0 - 0.5);
  }
  Process(noise);
  const float middle = 211.5f, bottom = 345.0f;
  std::vector<float> drawn[3];
  for (auto& curve : drawn) {
    ASSERT_TRUE(input->Draw(GetEditor()));
    curve.assign(&input->Y()[0], &input->Y()[0] + input->PointCount());
  }
  int checked = 0;
  for (int i = 0; i < input->PointCount(); ++i) {
    const float first = drawn[0][i] - middle;
    if (first < 1.0f || drawn[2][i] >= bottom) continue;  // too small, or clipped
    EXPECT_NEAR(drawn[1][i] - drawn[0][i], first / 2, 1e-3f * first) << i;
    EXPECT_NEAR(drawn[2][i] - drawn[1][i], first / 4, 1e-3f * first) << i;
    ++checked;
  }
  EXPECT_GT(checked, 100);
}

// A host that sets a rate of 0 gets a meaningless picture, but no value that
// stays in the smoothing: once a real rate is set the curve converges to the
// one a graph that never saw the rate of 0 draws.
TEST_F(DisplayTest, AGraphDrawnAtRateZeroRecoversOnceARateIsSet) {
  DitherPlugin* reference = OpenPlugin();
  Dispatch(reference, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  Dispatch(reference, effSetBlockSize, 0, 512);
  std::vector<double> tone(4096);
  for (size_t j = 0; j < tone.size(); ++j) tone[j] = 0.3 * std::sin(0.05 * j);
  for (DitherPlugin* p : {plug, reference}) {
    std::vector<double> out(tone.size());
    double* ins[2] = {tone.data(), tone.data()};
    double* outs[2] = {out.data(), out.data()};
    RecordOf(p)->processDoubleReplacing(RecordOf(p), ins, outs, 4096);
  }
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 0.0f);
  EXPECT_TRUE(EditorOf(plug)->InputGraph()->Draw(GetEditor()));
  Dispatch(plug, effSetSampleRate, 0, 0, nullptr, 44100.0f);
  for (int draw = 0; draw < 24; ++draw) {
    EditorOf(plug)->InputGraph()->Draw(GetEditor());
    EditorOf(reference)->InputGraph()->Draw(static_cast<Editor*>(reference->GetEditor()));
  }
  SpectrumGraph* graph = EditorOf(plug)->InputGraph();
  for (int i = 0; i < graph->PointCount(); ++i) {
    ASSERT_NEAR(graph->Y()[i], EditorOf(reference)->InputGraph()->Y()[i], 0.01f) << i;
    ASSERT_NEAR(graph->Y2()[i], EditorOf(reference)->InputGraph()->Y2()[i], 0.01f) << i;
  }
  ClosePlugin(reference);
}

// The accumulators are cleared over their whole count before every block, so
// the peak of a short block is not mixed with what a longer one left behind.
TEST_F(DisplayTest, TheLevelBarFollowsAShorterBlock) {
  Process(std::vector<double>(512, 0.8));
  EXPECT_DOUBLE_EQ(EditorOf(plug)->GetLevelBar()->Value(), 0.8);
  Process(std::vector<double>(100, 0.1));
  EXPECT_DOUBLE_EQ(EditorOf(plug)->GetLevelBar()->Value(), 0.1);
}

// A block of no frames still clears the sums and gives the display its step:
// the graphs are marked for redraw and the bar falls to 0. The dither gains
// stay as they were, since an empty block has no level.
TEST_F(DisplayTest, AnEmptyBlockClearsTheBarAndMarksTheGraphs) {
  RecordOf(plug)->setParameter(RecordOf(plug), kParamDither, 1.0f);
  Process(std::vector<double>(512, 0.8));
  const double gain = plug->Channel(0).ditherGain;
  EditorOf(plug)->InputGraph()->SetClean();
  EditorOf(plug)->NoiseGraph()->SetClean();
  Process(std::vector<double>());
  EXPECT_TRUE(EditorOf(plug)->InputGraph()->IsDirty());
  EXPECT_TRUE(EditorOf(plug)->NoiseGraph()->IsDirty());
  EXPECT_EQ(EditorOf(plug)->GetLevelBar()->Value(), 0.0);
  EXPECT_EQ(plug->Channel(0).ditherGain, gain);
  EXPECT_EQ(EditorOf(plug)->InputGraph()->Analyser().WritePosition(), 512);
}

TEST_F(DisplayTest, ShowGraphHidesTheGraphsAndTheBarButNotTheGrid) {
  RecordOf(plug)->setParameter(RecordOf(plug), kParamShowGraph, 0.0f);
  EXPECT_TRUE(EditorOf(plug)->InputGraph()->IsHidden());
  EXPECT_TRUE(EditorOf(plug)->NoiseGraph()->IsHidden());
  EXPECT_TRUE(EditorOf(plug)->GetLevelBar()->IsHidden());
  Dispatch(plug, effSetProgram, 0, 1);  // programs show the graph again
  EXPECT_FALSE(EditorOf(plug)->InputGraph()->IsHidden());
  EXPECT_FALSE(EditorOf(plug)->GetLevelBar()->IsHidden());
}

TEST_F(DisplayTest, LevelBarIsACapsuleThatFollowsItsValue) {
  LevelBar* bar = EditorOf(plug)->GetLevelBar();
  const Rect r = bar->DrawRect();  // 50, 462, 162, 469: h 7, r 3
  GetEditor()->FillRect(Colour{255, 0, 0, 0}, Rect{40, 455, 175, 475}, nullptr);
  bar->SetValueFromPlug(0.0, nullptr);
  bar->Draw(GetEditor());
  // Value 0: a dot around left + h; nothing past it.
  EXPECT_NE(Pixel(r.left + 7, r.top + 3), 0xFF000000u);
  EXPECT_EQ(Pixel(r.left + 20, r.top + 3), 0xFF000000u);
  bar->SetValueFromPlug(1.0, nullptr);
  bar->Draw(GetEditor());
  EXPECT_NE(Pixel(r.right - 7, r.top + 3), 0xFF000000u);
  EXPECT_EQ(Pixel(r.right + 2, r.top + 3), 0xFF000000u);
  // Every row between the edges is drawn at the bar's centre column, the
  // middle ones included.
  const int centre = (r.left + r.right) / 2;
  for (int y = r.top + 1; y < r.bottom; ++y) EXPECT_NE(Pixel(centre, y), 0xFF000000u) << y;
}

// The user-interface thread paints the graphs while the audio thread feeds
// them blocks of every length: nothing may read outside the rings, and the
// ThreadSanitizer tier checks that the sharing is race-free.
TEST_F(DisplayTest, ThreadsDrawWhileAudioAppends) {
  std::atomic<bool> done{false};
  std::thread audio([&] {
    const int lengths[] = {1, 7, 64, 441, 4096, 4097, 65536};
    for (int round = 0; round < 3; ++round) {
      for (int n : lengths) {
        std::vector<double> block(n);
        for (int j = 0; j < n; ++j) block[j] = 0.5 * std::sin(0.01 * j);
        Process(block);
      }
    }
    done = true;
  });
  int frames = 0;
  while (!done.load() || frames < 3) {
    EditorOf(plug)->InputGraph()->Draw(GetEditor());
    EditorOf(plug)->NoiseGraph()->Draw(GetEditor());
    EditorOf(plug)->GetLevelBar()->Draw(GetEditor());
    ++frames;
  }
  audio.join();
  for (int i = 0; i < EditorOf(plug)->InputGraph()->PointCount(); ++i) {
    ASSERT_TRUE(std::isfinite(EditorOf(plug)->InputGraph()->Y()[i]));
  }
}
